#include "grid/foundation/GridCommonCheckBox.h"
#include "grid/foundation/GridCommonText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace grid;

namespace {

TEST(GridCommonText, XmlEscapingCoversMarkupCharacters) {
    EXPECT_EQ(CheckForWhiteSpace("a\"b'c&d<e>f"), "a&quot;b&apos;c&amp;d&lt;e&gt;f");
    EXPECT_EQ(CheckForWhiteSpace("plain text"), "plain text");
    EXPECT_EQ(CheckEscapeChars("a;b;;c", ';', '\\'), "a\\;b\\;\\;c");
}

TEST(GridCommonText, ByteScansStayInsideTheLength) {
    const char Buffer[] = "a,b,c,d";
    EXPECT_EQ(StrNScan(Buffer, ',', 7), Buffer + 1);
    EXPECT_EQ(StrRNScan(Buffer, ',', 7), Buffer + 5);
    EXPECT_EQ(StrRNScan(Buffer, ',', 4), Buffer + 3);
    EXPECT_EQ(StrNScan(Buffer, ',', 1), nullptr);
    EXPECT_EQ(StrNScan(Buffer, 'a', 0), nullptr);
    EXPECT_EQ(StrRNScan(Buffer, 'a', 0), nullptr);
    EXPECT_EQ(AnsiStrNScan(Buffer, 'z', 7), nullptr);
}

TEST(GridCommonText, MultibyteScansSkipBytesInsideACharacter) {
    // "é" is C3 A9; a stray A9 standing alone is a character of its own.
    const char Text[] = "\xC3\xA9x\xA9";
    const int Length = static_cast<int>(std::strlen(Text));
    EXPECT_EQ(StrNScan(Text, '\xA9', Length), Text + 1);
    EXPECT_EQ(AnsiStrNScan(Text, '\xA9', Length), Text + 3);
    EXPECT_EQ(AnsiStrRNScan(Text, '\xA9', 3), nullptr);
    EXPECT_EQ(AnsiStrRNScan(Text, 'x', Length), Text + 2);
    // A character cut off by the length is not read past it.
    EXPECT_EQ(AnsiStrNScan(Text, '\xA9', 1), nullptr);
}

TEST(GridCommonText, AcceleratorMarks) {
    const struct {
        const char* Text;
        const char* Result;
        int Pos;
    } Cases[] = {{"&File", "File", 1}, {"A&&B", "A&B", 0}, {"Sa&ve &As", "Save As", 3},
                 {"&&&X", "&X", 2},    {"End&", "End", 0}, {"", "", 0}};
    for (const auto& C : Cases) {
        AnsiString Result = "old";
        int Pos = -1;
        TextAccelKey(C.Text, Result, Pos);
        EXPECT_EQ(Result, C.Result) << C.Text;
        EXPECT_EQ(Pos, C.Pos) << C.Text;
    }
}

TEST(GridCommonText, SeparateFirstPartConsumesTheText) {
    AnsiString Text = "a;b;c", Part;
    SeparateFirstPart(Text, Part, ';');
    EXPECT_EQ(Part, "a");
    EXPECT_EQ(Text, "b;c");
    Text = "last";
    SeparateFirstPart(Text, Part, ';');
    EXPECT_EQ(Part, "last");
    EXPECT_EQ(Text, "");
}

TEST(GridCommonText, SmallHelpers) {
    EXPECT_EQ(CalcMax(-3, 2), 2);
    EXPECT_EQ(CalcMin(-3, 2), -3);
    int A = 1, B = 2;
    SwapLongint(A, B);
    EXPECT_EQ(A, 2);
    EXPECT_EQ(B, 1);
    EXPECT_EQ(Sign(-7), -1);
    EXPECT_EQ(Sign(0), 0);
    EXPECT_EQ(Sign(0.5), 1);
    const TRect R = Rect(10, 10, 20, 20);
    EXPECT_TRUE(PointInRect(Point(20, 20), R));
    EXPECT_TRUE(PointInRect(Point(10, 15), R));
    EXPECT_FALSE(PointInRect(Point(21, 15), R));
    EXPECT_FALSE(PointInRect(Point(15, 9), R));
    auto* List = new TStringList;
    FreeNil(List);
    EXPECT_EQ(List, nullptr);
}

TEST(GridCommonText, NameListsAndLookUp) {
    auto List = CreateStringList(" Top ;;Height; TopRow;  ;width");
    ASSERT_EQ(List->Count(), 4);
    EXPECT_EQ(List->Strings(0), "Top");
    EXPECT_EQ(List->Strings(3), "width");
    EXPECT_TRUE(StringInList("WIDTH", List.get()));
    EXPECT_TRUE(List->Sorted());
    EXPECT_TRUE(StringInList("Top", List.get()));
    // A shorter entry that sorts before the name must not hide it.
    EXPECT_TRUE(StringInList("toprow", List.get()));
    EXPECT_FALSE(StringInList("To", List.get()));
    EXPECT_FALSE(StringInList("TopRows", List.get()));
    EXPECT_FALSE(StringInList("Left", List.get()));
}

TEST(GridCommonText, PictureReferencesRoundTrip) {
    const AnsiString Text = AddPictureIds("Arrow", 2, 17);
    EXPECT_EQ(Text, AnsiString("Arrow\x01"
                               "2\x01"
                               "17"));
    AnsiString Name;
    int First = 0, Second = 0;
    SeparatePictureIds(Text, Name, First, Second);
    EXPECT_EQ(Name, "Arrow");
    EXPECT_EQ(First, 2);
    EXPECT_EQ(Second, 17);
    SeparatePictureIds("Plain", Name, First, Second);
    EXPECT_EQ(Name, "Plain");
    EXPECT_EQ(First, -1);
    EXPECT_EQ(Second, -1);
    EXPECT_THROW(SeparatePictureIds("Bad\x01x\x01"
                                    "1",
                                    Name, First, Second),
                 EConvertError);
}

TEST(GridCommonCheckBox, ValuesTextCheck) {
    const struct {
        const char* Values;
        bool Ok;
    } Cases[] = {{"", true},      {"Yes|No", true},      {"Yes|No|Maybe", true}, {"Yes", false},
                 {"Yes|", false}, {"Yes||Maybe", false}, {"a|b|c|d", false},     {"|No", true}};
    for (const auto& C : Cases)
        EXPECT_EQ(CheckBoxValuesOk(C.Values), C.Ok) << C.Values;
}

TEST(GridCommonCheckBox, StatesAndTexts) {
    EXPECT_EQ(StringToCheckBox("no", "Yes|No|Maybe"), cbUnchecked);
    EXPECT_EQ(StringToCheckBox("YES", "Yes|No|Maybe"), cbChecked);
    EXPECT_EQ(StringToCheckBox("Maybe", "Yes|No|Maybe"), cbGrayed);
    EXPECT_EQ(StringToCheckBox("Yes", ""), cbGrayed);
    EXPECT_EQ(CheckBoxToString(cbGrayed, "Yes|No"), "");
    EXPECT_EQ(CheckBoxToString(cbUnchecked, "Yes|No|Maybe"), "No");
    EXPECT_EQ(CheckBoxToString(cbGrayed, "Yes|No|Maybe"), "Maybe");
}

TEST(GridCommonCheckBox, VariantForms) {
    const Variant Plain = CheckBoxToVariant(cbGrayed, "");
    EXPECT_EQ(VarType(Plain), varInteger);
    EXPECT_EQ(Plain.AsInteger(), 2);
    EXPECT_EQ(CheckBoxToVariant(cbChecked, "On|Off").AsString(), "On");
    EXPECT_TRUE(VarIsNull(CheckBoxToVariant(cbUnchecked, "On|NULL")));

    EXPECT_EQ(VariantToCheckBox(Variant("off"), "On|Off"), cbUnchecked);
    EXPECT_EQ(VariantToCheckBox(Variant(1), "On|Off"), cbChecked);
    EXPECT_EQ(VariantToCheckBox(Variant(0), ""), cbUnchecked);
    // A number that is no state is grayed, not a state that does not exist.
    EXPECT_EQ(VariantToCheckBox(Variant(7), ""), cbGrayed);
    EXPECT_EQ(VariantToCheckBox(Null(), "Null|Off"), cbChecked);
    EXPECT_EQ(VariantToCheckBox(Null(), "On|Null"), cbUnchecked);
    EXPECT_EQ(VariantToCheckBox(Null(), "On|null"), cbGrayed);
    EXPECT_EQ(VariantToCheckBox(Variant(true), "On|Off"), cbGrayed);
    EXPECT_EQ(VariantToCheckBox(Unassigned(), "On|Off"), cbGrayed);
}

} // namespace
