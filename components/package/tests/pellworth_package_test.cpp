// The package loaded as a designer loads it: dlopen the library, call its
// Register, and read the palette and the calendar's StartOfWeek editor back
// through the queries the library exports. This program links none of the
// framework, so everything it reads was filled inside the library.
#include "components/package/Pellworth.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Collect(const char* Name, void* Data) {
    static_cast<std::vector<std::string>*>(Data)->push_back(Name);
}

class PellworthPackage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Kept loaded for the rest of the process, as a designer keeps a
        // package: the Qt application the controls made lives in it.
        Library = dlopen(PELLWORTH_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(Library, nullptr) << dlerror();
        BeforeRegister = Palette("Pellworth");
    }

    template <class F> static F* Entry(const char* Name) {
        void* Symbol = dlsym(Library, Name);
        EXPECT_NE(Symbol, nullptr) << Name << ": " << dlerror();
        return reinterpret_cast<F*>(Symbol);
    }

    static std::vector<std::string> Palette(const char* Page) {
        std::vector<std::string> Names;
        const int Count = Entry<decltype(PellworthPaletteComponents)>("PellworthPaletteComponents")(
            Page, &Collect, &Names);
        EXPECT_EQ(Count, static_cast<int>(Names.size()));
        return Names;
    }

    static int Values(const char* ClassName, const char* PropName,
                      std::vector<std::string>& Names) {
        return Entry<decltype(PellworthPropertyValues)>("PellworthPropertyValues")(
            ClassName, PropName, &Collect, &Names);
    }

    static inline void* Library = nullptr;
    // Loading alone registers nothing.
    static inline std::vector<std::string> BeforeRegister;
};

TEST_F(PellworthPackage, RegisterFillsThePalettePageInUnitOrder) {
    ASSERT_NE(Library, nullptr);
    EXPECT_TRUE(BeforeRegister.empty());

    auto* Register = Entry<decltype(::Register)>("Register");
    ASSERT_NE(Register, nullptr);
    Register();
    const std::vector<std::string> Expected{"TColorBitBtn",          "TPWDateEdit",  "TPWCalendar",
                                            "TPellworthGrid",        "TPWPhoneEdit", "TPWZipEdit",
                                            "TCustomDateTimePicker", "TSlidingPanel"};
    EXPECT_EQ(Palette("Pellworth"), Expected);
    EXPECT_EQ(Palette("pellworth"), Expected) << "page names compare without case";
    EXPECT_TRUE(Palette("Standard").empty());
    EXPECT_TRUE(Palette(nullptr).empty());

    // Registering again (a designer reinstalling the package) adds no copies.
    Register();
    EXPECT_EQ(Palette("Pellworth"), Expected);
}

TEST_F(PellworthPackage, StartOfWeekEditorOffersTheWeekdayNames) {
    ASSERT_NE(Library, nullptr);
    Entry<decltype(::Register)>("Register")();

    // The calendar's own editor keeps the week's order; an enumeration
    // left to the framework's editor is offered sorted, so a missing
    // registration would show here.
    std::vector<std::string> Names;
    EXPECT_EQ(Values("TPWCalendar", "StartOfWeek", Names), 7);
    EXPECT_EQ(Names, (std::vector<std::string>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    std::vector<std::string> Edges;
    EXPECT_EQ(Values("TSlidingPanel", "OpenFrom", Edges), 4);
    EXPECT_EQ(Edges, (std::vector<std::string>{"ofBottom", "ofLeft", "ofRight", "ofTop"}));

    // What is not there is told apart from an empty list.
    struct Case {
        const char* ClassName;
        const char* PropName;
    };
    for (const Case& C : {Case{"TPWCalendar", "NoSuchProperty"}, Case{"TNoSuchClass", "Kind"},
                          Case{"TPWCalendar", "DateFormat"}, Case{nullptr, nullptr}}) {
        std::vector<std::string> None;
        EXPECT_EQ(Values(C.ClassName, C.PropName, None), -1)
            << (C.ClassName ? C.ClassName : "null") << "." << (C.PropName ? C.PropName : "null");
        EXPECT_TRUE(None.empty());
    }
}

TEST_F(PellworthPackage, CarriesItsDescriptionAndFivePaletteBitmaps) {
    ASSERT_NE(Library, nullptr);
    EXPECT_STREQ(Entry<decltype(PellworthDescription)>("PellworthDescription")(),
                 "Pellworth Components");
    auto* Bitmap = Entry<decltype(PellworthPaletteBitmap)>("PellworthPaletteBitmap");
    auto* Color = Entry<decltype(PellworthPaletteColor)>("PellworthPaletteColor");
    ASSERT_NE(Bitmap, nullptr);
    ASSERT_NE(Color, nullptr);
    std::vector<std::string> Seen;
    for (const char* Name :
         {"TCOLORBITBTN", "TPWCALENDAR", "TPWDATEEDIT", "TPWPHONEEDIT", "TPWZIPEDIT"}) {
        SCOPED_TRACE(Name);
        const char* Pixels = Bitmap(Name);
        ASSERT_NE(Pixels, nullptr);
        const std::string Text(Pixels);
        ASSERT_EQ(Text.size(), 24u * 24u);
        EXPECT_EQ(Text.find_first_not_of("0123456789abcdef"), std::string::npos);
        // A picture, not a plain square: several colours, the border too.
        EXPECT_GE(std::string(Text).find_first_not_of(Text[0]), 1u);
        int Colours = 0;
        for (char C : std::string("0123456789abcdef"))
            if (Text.find(C) != std::string::npos) ++Colours;
        EXPECT_GE(Colours, 4);
        Seen.push_back(Text);
    }
    // Each of its own; the names are the resources' (any case).
    for (std::size_t I = 0; I < Seen.size(); ++I)
        for (std::size_t J = I + 1; J < Seen.size(); ++J)
            EXPECT_NE(Seen[I], Seen[J]);
    EXPECT_STREQ(Bitmap("tpwcalendar"), Bitmap("TPWCALENDAR"));
    // The other components use the default palette image.
    EXPECT_EQ(Bitmap("TPELLWORTHGRID"), nullptr);
    EXPECT_EQ(Bitmap(nullptr), nullptr);
    EXPECT_EQ(Color(0), 0x000000u);
    EXPECT_EQ(Color(9), 0xFF0000u);
    EXPECT_EQ(Color(15), 0xFFFFFFu);
    EXPECT_EQ(Color(16), 0u);
}

TEST_F(PellworthPackage, ExportsOnlyItsEntryPoints) {
    ASSERT_NE(Library, nullptr);
    // The framework inside the package stays private to it: a loader with a
    // framework of its own never binds to the package's copy.
    for (const char* Hidden : {"_Z18RegisterComponentsRKNSt7__cxx1112basic_stringIcSt11char_"
                               "traitsIcESaIcEEESt16initializer_listIPK10TClassInfoE",
                               "_Z17PaletteComponentsRKNSt7__cxx1112basic_stringIcSt11char_"
                               "traitsIcESaIcEEE"})
        EXPECT_EQ(dlsym(Library, Hidden), nullptr) << Hidden;
}

} // namespace
