// Published-property descriptions: lists with the base's properties first,
// lookup without case, typed access, identifier tables, and the class
// registry that decides what a stream may make.
#include "platform/classes/TypInfo.h"
#include "platform/classes/fuzz/StreamFixture.h"

#include <gtest/gtest.h>

using namespace stream_fixture;

namespace {

std::vector<AnsiString> Names(const TPropList& List) {
    std::vector<AnsiString> Result;
    for (const TPropInfo* Prop : List)
        Result.push_back(Prop->Name);
    return Result;
}

} // namespace

TEST(TypInfo, ListsStartWithTheBaseAndFindPropertiesWithoutCase) {
    RegisterStreamFixture();
    TBoxForm Form(nullptr);
    const TPropList List = GetPropList(&Form);
    const std::vector<AnsiString> Expected{"Name",  "Tag",    "Left",  "Active",  "Letter",
                                           "Wide",  "Ratio",  "Shade", "Shades",  "Caption",
                                           "Extra", "Sample", "Lines", "Entries", "Link"};
    EXPECT_EQ(Names(List), Expected);
    for (std::size_t I = 0; I < List.size(); ++I)
        EXPECT_EQ(List[I]->NameIndex, static_cast<int>(I));

    const TPropInfo* Shades = GetPropInfo(&Form, "sHaDeS");
    ASSERT_NE(Shades, nullptr);
    EXPECT_EQ(Shades->Kind(), tkSet);
    EXPECT_EQ(GetPropInfo(&Form, "Nothing"), nullptr);
    EXPECT_EQ(GetPropInfo(&Form, "Wide")->Kind(), tkInt64);
    EXPECT_EQ(GetPropInfo(&Form, "Letter")->Kind(), tkChar);
    EXPECT_EQ(GetPropInfo(&Form, "Active")->PropType, &BooleanType());
    EXPECT_EQ(GetPropInfo(&Form, "Link")->PropType->IsComponent, true);
    EXPECT_EQ(GetPropInfo(&Form, "Sample")->PropType->IsComponent, false);

    // An object of a class nobody published answers with its nearest
    // published base.
    class TUnpublished : public TBox {
    public:
        using TBox::TBox;
    } Plain(nullptr);
    EXPECT_EQ(GetClassInfo(&Plain), FindPublishedClass("TBox"));
}

TEST(TypInfo, TypedAccessAndIdentifierTables) {
    RegisterStreamFixture();
    TBox Box(nullptr);
    SetOrdProp(&Box, GetPropInfo(&Box, "Left"), 42);
    EXPECT_EQ(Box.Left(), 42);
    SetEnumProp(&Box, GetPropInfo(&Box, "Shade"), "SHDARK");
    EXPECT_EQ(Box.Shade(), shDark);
    EXPECT_EQ(GetEnumProp(&Box, GetPropInfo(&Box, "Shade")), "shDark");
    EXPECT_THROW(SetEnumProp(&Box, GetPropInfo(&Box, "Shade"), "shPink"), EPropertyConvertError);
    EXPECT_THROW(GetStrProp(&Box, GetPropInfo(&Box, "Left")), EPropertyConvertError);
    SetFloatProp(&Box, GetPropInfo(&Box, "Ratio"), 0.5);
    EXPECT_EQ(Box.Ratio(), 0.5);
    SetStrProp(&Box, GetPropInfo(&Box, "Caption"), "text");
    EXPECT_EQ(Box.Caption(), "text");
    SetVariantProp(&Box, GetPropInfo(&Box, "Extra"), Variant("v"));
    EXPECT_EQ(Box.Extra(), Variant("v"));
    // A property asked of an object of another class is refused.
    TSample Sample;
    EXPECT_THROW(GetOrdProp(&Sample, GetPropInfo(&Box, "Left")), EInvalidCast);
    TBox Other(nullptr);
    SetObjectProp(&Box, GetPropInfo(&Box, "Link"), &Other);
    EXPECT_EQ(GetObjectProp(&Box, GetPropInfo(&Box, "Link")), &Other);

    const TTypeInfo* Set = &ShadesType();
    EXPECT_EQ(SetToString(Set, 0b1010, true), "[shLight,shDeep]");
    EXPECT_EQ(SetToString(Set, 0, false), "");
    EXPECT_EQ(StringToSet(Set, "[ shLight , shDeep ]"), 0b1010);
    EXPECT_THROW(StringToSet(Set, "[shLight,shPink]"), EPropertyConvertError);
    EXPECT_EQ(GetEnumName(&ShadeType(), 9), "9");
    EXPECT_EQ(GetEnumValue(&ShadeType(), "SHDEEP"), 3);
    EXPECT_EQ(GetEnumValue(&ShadeType(), "deep"), -1);
}

TEST(TypInfo, OnlyRegisteredClassesAreFoundForStreaming) {
    RegisterStreamFixture();
    EXPECT_EQ(FindClass("tboxform"), FindPublishedClass("TBoxForm"));
    EXPECT_EQ(GetClass("TSample"), nullptr);
    ASSERT_NE(FindPublishedClass("TSample"), nullptr);
    try {
        FindClass("TMissing");
        FAIL();
    } catch (const EClassNotFound& E) {
        EXPECT_EQ(E.Message, "Class TMissing not found");
    }
    const TClassInfo* Box = FindPublishedClass("TBox");
    UnRegisterClass(Box);
    EXPECT_EQ(GetClass("TBox"), nullptr);
    RegisterClass(Box);
    EXPECT_EQ(GetClass("TBox"), Box);
}
