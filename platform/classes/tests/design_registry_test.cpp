// What a component package registers: palette pages with their classes, and
// property editors found by type, class and name.
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/fuzz/StreamFixture.h"
#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace stream_fixture;

namespace {

// Shows the shade in capitals.
class TLoudShadeEditor : public TEnumProperty {
public:
    using TEnumProperty::TEnumProperty;
    AnsiString GetValue() const override { return UpperCase(TEnumProperty::GetValue()); }
};

std::vector<AnsiString> Values(const TPropertyEditor& Editor) {
    std::vector<AnsiString> Result;
    Editor.GetValues([&Result](const AnsiString& S) { Result.push_back(S); });
    return Result;
}

} // namespace

TEST(DesignRegistry, PalettePagesListTheirClassesOnceAndRegisterThemForStreaming) {
    RegisterStreamFixture();
    const TClassInfo* Sample = FindPublishedClass("TSample");
    const TClassInfo* Box = FindPublishedClass("TBox");
    ASSERT_EQ(GetClass("TSample"), nullptr);
    RegisterComponents("Test Page", {Box, Sample});
    RegisterComponents("test page", {Box});
    EXPECT_EQ(PaletteComponents("TEST PAGE"), (std::vector<const TClassInfo*>{Box, Sample}));
    EXPECT_TRUE(PaletteComponents("Nowhere").empty());
    const auto Pages = PalettePages();
    EXPECT_EQ(std::count(Pages.begin(), Pages.end(), "Test Page"), 1);
    EXPECT_EQ(GetClass("TSample"), Sample);
    UnRegisterClass(Sample);
}

TEST(DesignRegistry, EditorsAreChosenByReachAndEnumerationsHaveADefaultOne) {
    RegisterStreamFixture();
    TBox Box(nullptr);
    Box.SetShade(shDark);

    // Without a registration an enumeration gets the identifier editor.
    auto Editor = CreatePropertyEditor(&Box, "shade");
    ASSERT_NE(Editor, nullptr);
    EXPECT_EQ(Editor->GetName(), "Shade");
    EXPECT_TRUE(Editor->GetAttributes().Contains(paValueList));
    EXPECT_EQ(Editor->GetValue(), "shDark");
    EXPECT_EQ(Values(*Editor), (std::vector<AnsiString>{"shNone", "shLight", "shDark", "shDeep"}));
    Editor->SetValue("shDeep");
    EXPECT_EQ(Box.Shade(), shDeep);
    EXPECT_THROW(Editor->SetValue("shPink"), EPropertyError);
    EXPECT_EQ(Box.Shade(), shDeep);
    EXPECT_EQ(CreatePropertyEditor(&Box, "Caption"), nullptr);
    EXPECT_EQ(CreatePropertyEditor(&Box, "Nothing"), nullptr);

    // One for this class and name only: the entries' shade keeps the default.
    RegisterPropertyEditor(
        &ShadeType(), FindPublishedClass("TBox"), "Shade",
        [](TPersistent* I, const TPropInfo* P) -> std::unique_ptr<TPropertyEditor> {
            return std::make_unique<TLoudShadeEditor>(I, P);
        });
    RegisterPropertyEditor(
        &ShadeType(), nullptr, "",
        [](TPersistent* I, const TPropInfo* P) -> std::unique_ptr<TPropertyEditor> {
            return std::make_unique<TEnumProperty>(I, P);
        });
    EXPECT_EQ(CreatePropertyEditor(&Box, "Shade")->GetValue(), "SHDEEP");
    TBoxForm Form(nullptr);
    EXPECT_EQ(CreatePropertyEditor(&Form, "Shade")->GetValue(), "SHNONE");
    TOwnedCollection Entries(nullptr, CollectionItemClass<TEntry>());
    EXPECT_EQ(CreatePropertyEditor(Entries.Add(), "Shade")->GetValue(), "shNone");
}
