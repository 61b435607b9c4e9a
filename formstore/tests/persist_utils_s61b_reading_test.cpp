// The persistence helpers as the placement, storage and property code call
// them: the wait cursor on the screen, bringing a form to the front, word
// splitting of stored lists, wildcard matching of section names and the
// keyed scrambling of stored values.
#include "formstore/PersistUtils.h"

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace formstore;

namespace {

struct WildCase {
    const char* Input;
    const char* Pattern;
    bool IgnoreCase;
    bool Expected;
};

const WildCase WildCases[] = {
    {"Main.Form1", "Main.*", false, true},
    {"Main.", "Main.*", false, true},
    {"Main", "Main.*", false, false},
    {"Mai", "Main.*", false, false},
    {"aXbYc", "a*b*b*c", false, false},
    {"abc", "a?c", false, true},
    {"ABC", "a*", true, true},
    {"ABC", "a*", false, false},
    {"", "*", false, true},
    {"", "**", false, true},
    {"", "?", false, false},
    {"abc", "ab*bc", false, true},
    {"xxaxbyy", "x*a*b*y", false, true},
    {"ab", "a*??b", false, false},
    {"abc", "abc", false, true},
    {"abc", "a**c", false, true},
    {"abc", "abcd", false, false},
    {"abcd", "abc", false, false},
    {"Form.Sub", "Form\\*", false, false},
    {"Form\\Sub", "Form\\*", false, true},
    {"axc", "a*?c", false, true},
    {"abxc", "a*b?c", false, true},
    {"abc", "a*b*", false, true},
    {"abc", "abc*", false, true},
    {"abc", "abc**", false, true},
    {"abc", "abc?", false, false},
    {"", "", false, true},
    {"a", "", false, false},
    {"\xc3\xa9t\xc3\xa9", "\xc3\x89T*", true, true},
    {"\xc3\xa9t\xc3\xa9", "\xc3\x89T*", false, false},
};

} // namespace

TEST(PersistUtilsReading, WildcardMatchingOfSectionNames) {
    for (const WildCase& C : WildCases)
        EXPECT_EQ(IsWild(C.Input, C.Pattern, C.IgnoreCase), C.Expected)
            << "'" << C.Input << "' against '" << C.Pattern << "' ignore case " << C.IgnoreCase;
}

TEST(PersistUtilsReading, FindPartWithAndWithoutJokers) {
    struct {
        const char* Piece;
        const char* Input;
        int Expected;
    } Cases[] = {
        {"bc", "abcbc", 2}, {"", "abc", 0},      {"x", "abc", 0},    {"b?", "abcbd", 2},
        {"?d", "abcbd", 4}, {"????", "abc", 0}, {"???", "abc", 1}, {"a?", "a", 0},
        {"B", "abc", 0},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FindPart(C.Piece, C.Input), C.Expected) << C.Piece << " in " << C.Input;
}

TEST(PersistUtilsReading, WordsOverDelimiterRuns) {
    const TCharSet Comma{','};
    EXPECT_EQ(WordCount(",,a,,b,", Comma), 2);
    EXPECT_EQ(WordCount("", Comma), 0);
    EXPECT_EQ(WordCount(",,,", Comma), 0);
    EXPECT_EQ(WordPosition(1, ",,a,,b,", Comma), 3);
    EXPECT_EQ(WordPosition(2, ",,a,,b,", Comma), 6);
    EXPECT_EQ(WordPosition(3, ",,a,,b,", Comma), 0);
    EXPECT_EQ(WordPosition(0, ",,a,,b,", Comma), 0);
    EXPECT_EQ(WordPosition(-1, ",,a,,b,", Comma), 0);
    EXPECT_EQ(ExtractWord(2, ",,a,,b,", Comma), "b");
    EXPECT_EQ(ExtractWord(3, ",,a,,b,", Comma), "");
    EXPECT_EQ(ExtractWord(0, ",,a,,b,", Comma), "");
    // The stored position lists mix spaces and commas.
    const TCharSet Both{' ', ','};
    const AnsiString Stored = " -1, 22 ,,333  4444";
    EXPECT_EQ(WordCount(Stored, Both), 4);
    EXPECT_EQ(ExtractWord(1, Stored, Both), "-1");
    EXPECT_EQ(ExtractWord(3, Stored, Both), "333");
    EXPECT_EQ(ExtractWord(4, Stored, Both), "4444");
    // No delimiters: the whole text is one word.
    EXPECT_EQ(ExtractWord(1, "a b", TCharSet{}), "a b");
}

TEST(PersistUtilsReading, ReplaceIsLeftToRightAndNeverRescans) {
    EXPECT_EQ(ReplaceStr("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceStr("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceStr("abab", "ab", "abab"), "abababab");
    EXPECT_EQ(ReplaceStr("aXa", "x", "y"), "aXa");
    EXPECT_EQ(ReplaceStr("a.b.c", ".", ""), "abc");
    EXPECT_EQ(ReplaceStr("", "a", "b"), "");
}

TEST(PersistUtilsReading, XorScramblingRoundTripsAndReadsBadPairsAsSpace) {
    EXPECT_EQ(XorEncode("", "AB"), "4142");
    EXPECT_EQ(XorDecode("", "4142"), "AB");
    EXPECT_EQ(XorDecode("", "zz41"), " A");
    EXPECT_EQ(XorDecode("", "414"), "A");
    EXPECT_EQ(XorEncode("k", ""), "");
    // Lower-case hex, two digits per byte, also for bytes above 127.
    EXPECT_EQ(XorEncode("", std::string("\xff\x0a", 2)), "ff0a");
    // With a key: 'A' ^ 'A' = 0, 'B' ^ 'B' = 0, the key repeats.
    EXPECT_EQ(XorEncode("AB", "ABAB"), "00000000");
    EXPECT_EQ(XorEncode("k", "A"), "2a");
    // A bad pair reads as 32 before the key is applied.
    EXPECT_EQ(XorDecode("A", "zz"), std::string(1, char(32 ^ 'A')));
    for (const char* Key : {"", "k", "key with spaces", "\x01\xff"})
        for (const char* Src : {"", "secret", "x=1,y=2", "\xc3\xa9t\xc3\xa9"})
            EXPECT_EQ(XorDecode(Key, XorEncode(Key, Src)), Src) << Key << " / " << Src;
    // Mixed-case hex decodes too.
    EXPECT_EQ(XorDecode("", "4A4b"), "JK");
}

TEST(PersistUtilsReading, XorStringUsesAtMostShortStrings) {
    EXPECT_EQ(XorString("", "abc"), "abc");
    const AnsiString Once = XorString("key", "source text");
    EXPECT_EQ(Once.size(), 11u);
    EXPECT_EQ(XorString("key", Once), "source text");
    EXPECT_EQ(Once[0], char('k' ^ 's'));
    EXPECT_EQ(Once[3], char('k' ^ 'r'));
    // A source beyond 255 characters is cut to the short-string length.
    const AnsiString Long(300, 'a');
    EXPECT_EQ(XorString("b", Long).size(), 255u);
}

TEST(PersistUtilsReading, NormalDirEndsInBackslash) {
    struct {
        const char* Name;
        const char* Expected;
    } Cases[] = {{"C", "C:\\"},          {"c", "c:\\"},   {"C:", "C:"}, {"C:\\Temp", "C:\\Temp\\"},
                 {"1", "1\\"},            {"", ""},        {"ab", "ab\\"}, {"C:\\", "C:\\"},
                 {"/tmp", "/tmp\\"},      {":", ":"},      {"\\", "\\"},
                 {"\xc3\xa9", "\xc3\xa9\\"}, {"C:\\\xc3\xa9", "C:\\\xc3\xa9\\"}};
    for (const auto& C : Cases)
        EXPECT_EQ(NormalDir(C.Name), C.Expected) << C.Name;
}

TEST(PersistUtilsReading, ResStrPassesTextThrough) {
    EXPECT_EQ(ResStr("Form %s"), "Form %s");
    EXPECT_EQ(ResStr(""), "");
}

TEST(PersistUtilsReading, OnlyTheOutermostWaitPairChangesTheScreenCursor) {
    Screen->SetCursor(crHandPoint);
    StartWait();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    Screen->SetCursor(crCross); // a change inside the section is not saved
    StartWait();
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crCross);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    StopWait(); // unbalanced: ignored
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    StartWait();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    {
        TWaitCursor Wait;
        EXPECT_EQ(Screen->Cursor(), crHourGlass);
    }
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    Screen->SetCursor(crDefault);
}

TEST(PersistUtilsReading, SwitchToWindowBringsAFormToTheFront) {
    auto Form = std::make_unique<TForm>(nullptr);
    auto* Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Form->Show();
    auto Other = std::make_unique<TForm>(nullptr);
    auto* OtherEdit = new TEdit(Other.get());
    OtherEdit->SetParent(Other.get());
    Other->Show();
    // Hidden with restore: 0.
    auto Hidden = std::make_unique<TForm>(nullptr);
    EXPECT_EQ(SwitchToWindow(Hidden.get(), true), 0);
    EXPECT_EQ(SwitchToWindow(Hidden.get(), false), 0);
    // Disabled: nothing happens, 0.
    Form->SetEnabled(false);
    EXPECT_EQ(SwitchToWindow(Form.get(), false), 0);
    EXPECT_EQ(SwitchToWindow(Form.get(), true), 0);
    Form->SetEnabled(true);
    EXPECT_NE(SwitchToWindow(Form.get(), false), 0);
    // With restore a minimised form comes back to normal and its control
    // takes the focus; the result is the control that had it just before
    // (the form's own, as the form came to the front first).
    Edit->SetFocus();
    OtherEdit->SetFocus();
    Form->SetWindowState(wsMinimized);
    LRESULT Before = 0;
    ASSERT_NO_THROW(Before = SwitchToWindow(Form.get(), true));
    EXPECT_EQ(Form->WindowState(), wsNormal);
    EXPECT_EQ(Before, reinterpret_cast<LRESULT>(Edit));
    EXPECT_EQ(Screen->ActiveControl(), Edit);
    EXPECT_TRUE(Form->Active());
    // A maximised form stays maximised.
    Form->SetWindowState(wsMaximized);
    ASSERT_NO_THROW(SwitchToWindow(Form.get(), true));
    EXPECT_EQ(Form->WindowState(), wsMaximized);
}

TEST(PersistUtilsReading, SwitchToWindowMakesTheFormTheActiveWindow) {
    auto Form = std::make_unique<TForm>(nullptr);
    auto* Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Form->Show();
    auto Other = std::make_unique<TForm>(nullptr);
    auto* OtherEdit = new TEdit(Other.get());
    OtherEdit->SetParent(Other.get());
    Other->Show();
    OtherEdit->SetFocus();
    ASSERT_TRUE(Other->Active());
    EXPECT_NE(SwitchToWindow(Form.get(), false), 0);
    EXPECT_TRUE(Form->Active());
    EXPECT_FALSE(Other->Active());
}

TEST(PersistUtilsReading, SwitchToWindowOnAControlFocusesIt) {
    auto Form = std::make_unique<TForm>(nullptr);
    auto* First = new TEdit(Form.get());
    First->SetParent(Form.get());
    auto* Second = new TEdit(Form.get());
    Second->SetParent(Form.get());
    Form->Show();
    First->SetFocus();
    EXPECT_NE(SwitchToWindow(Second, false), 0);
    LRESULT Before = 0;
    ASSERT_NO_THROW(Before = SwitchToWindow(Second, true));
    EXPECT_EQ(Before, reinterpret_cast<LRESULT>(First));
    EXPECT_EQ(Screen->ActiveControl(), Second);
    EXPECT_EQ(SwitchToWindow(nullptr, true), 0);
}
