// The package loaded the way a designer loads it: dlopen, the exported
// Register, then the palette and the property values read back through the
// library's own queries.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <vector>

namespace {

using TNameProc = void (*)(const char* Name, void* Data);

class PellworthPackageReading : public ::testing::Test {
protected:
    void SetUp() override {
        Library = dlopen(PELLWORTH_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(Library, nullptr) << dlerror();
        Register = reinterpret_cast<void (*)()>(dlsym(Library, "Register"));
        Components = reinterpret_cast<int (*)(const char*, TNameProc, void*)>(
            dlsym(Library, "PellworthPaletteComponents"));
        Values = reinterpret_cast<int (*)(const char*, const char*, TNameProc, void*)>(
            dlsym(Library, "PellworthPropertyValues"));
        Description = reinterpret_cast<const char* (*)()>(dlsym(Library, "PellworthDescription"));
        Bitmap = reinterpret_cast<const char* (*)(const char*)>(
            dlsym(Library, "PellworthPaletteBitmap"));
        ASSERT_TRUE(Register && Components && Values && Description && Bitmap);
    }
    static void Collect(const char* Name, void* Data) {
        static_cast<std::vector<std::string>*>(Data)->push_back(Name);
    }
    std::vector<std::string> Page(const char* Name) {
        std::vector<std::string> Names;
        const int N = Components(Name, &Collect, &Names);
        EXPECT_EQ(N, static_cast<int>(Names.size()));
        return Names;
    }

    // Kept loaded, as a designer keeps a package: what the library
    // allocated stays reachable for the leak check.
    void* Library = nullptr;
    void (*Register)() = nullptr;
    int (*Components)(const char*, TNameProc, void*) = nullptr;
    int (*Values)(const char*, const char*, TNameProc, void*) = nullptr;
    const char* (*Description)() = nullptr;
    const char* (*Bitmap)(const char*) = nullptr;
};

TEST_F(PellworthPackageReading, RegisterFillsThePageInUnitOrder) {
    Register();
    const std::vector<std::string> Want{"TColorBitBtn",          "TPWDateEdit",  "TPWCalendar",
                                        "TPellworthGrid",        "TPWPhoneEdit", "TPWZipEdit",
                                        "TCustomDateTimePicker", "TSlidingPanel"};
    EXPECT_EQ(Page("Pellworth"), Want);
    EXPECT_TRUE(Page("Standard").empty());
    // A second call of the loader's registration puts nothing twice.
    Register();
    EXPECT_EQ(Page("Pellworth"), Want);
    EXPECT_STREQ(Description(), "Pellworth Components");
}

TEST_F(PellworthPackageReading, StartOfWeekOffersTheWeekdays) {
    Register();
    std::vector<std::string> Names;
    EXPECT_EQ(Values("TPWCalendar", "StartOfWeek", &Collect, &Names), 7);
    EXPECT_EQ(Names, (std::vector<std::string>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    Names.clear();
    EXPECT_EQ(Values("TPWCalendar", "NoSuchProperty", &Collect, &Names), -1);
    EXPECT_EQ(Values("TNoSuchClass", "StartOfWeek", &Collect, &Names), -1);
}

TEST_F(PellworthPackageReading, PaletteBitmapsForFiveComponents) {
    for (const char* Name :
         {"TCOLORBITBTN", "TPWCALENDAR", "TPWDATEEDIT", "TPWPHONEEDIT", "TPWZIPEDIT"}) {
        const char* B = Bitmap(Name);
        ASSERT_NE(B, nullptr) << Name;
        const std::string Pixels(B);
        EXPECT_EQ(Pixels.size(), 24u * 24u) << Name;
        EXPECT_EQ(Pixels.find_first_not_of("0123456789ABCDEFabcdef"), std::string::npos) << Name;
    }
    for (const char* Name : {"TSLIDINGPANEL", "TPELLWORTHGRID", "TCUSTOMDATETIMEPICKER", "BBOK"})
        EXPECT_EQ(Bitmap(Name), nullptr) << Name;
}

} // namespace
