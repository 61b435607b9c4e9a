// The helpers of form persistence as their callers use them: the nestable
// wait cursor on the screen, shown forms brought to the front, and tables of
// texts for the string and name routines.
#include "formstore/PersistUtils.h"

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace formstore;

namespace {

TEST(PersistUtilsFreshReading, OnlyTheOutermostWaitChangesTheCursor) {
    Screen->SetCursor(crArrow);
    StartWait();
    StartWait();
    StopWait();
    EXPECT_EQ(Screen->Cursor(), -11);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crArrow);
    Screen->SetCursor(crDefault);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crDefault);
    // The unbalanced stop left nothing behind: the next section still works.
    StartWait();
    EXPECT_EQ(Screen->Cursor(), -11);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crDefault);

    Screen->SetCursor(crArrow);
    try {
        TWaitCursor Wait;
        EXPECT_EQ(Screen->Cursor(), -11);
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Screen->Cursor(), crArrow);
    Screen->SetCursor(crDefault);
}

TEST(PersistUtilsFreshReading, TextRoutines) {
    struct Case {
        const char* Name;
        AnsiString Got;
        AnsiString Expected;
    };
    const TCharSet Comma{','};
    const AnsiString K = "k3y";
    const std::vector<Case> Cases = {
        {"replace overlapping", ReplaceStr("aaa", "aa", "b"), "ba"},
        {"replace empty search", ReplaceStr("abc", "", "x"), "abc"},
        {"replace not searched again", ReplaceStr("aXa", "a", "aa"), "aaXaa"},
        {"replace case", ReplaceStr("Aa", "a", "b"), "Ab"},
        {"replace to nothing", ReplaceStr("a.b.c", ".", ""), "abc"},
        {"word 2", ExtractWord(2, ",,a,,b,", Comma), "b"},
        {"word 1", ExtractWord(1, ",,ab,,b,", Comma), "ab"},
        {"word 3", ExtractWord(3, ",,a,,b,", Comma), ""},
        {"word 0", ExtractWord(0, ",,a,,b,", Comma), ""},
        {"encode plain", XorEncode("", "AB"), "4142"},
        {"decode plain", XorDecode("", "4142"), "AB"},
        {"decode bad pair", XorDecode("", "zz41"), " A"},
        {"decode odd", XorDecode("", "414"), "A"},
        {"encode keyed", XorEncode("\x01\x02", "AAA"), "404340"},
        {"encode high byte", XorEncode("", "\xff\x0a"), "ff0a"},
        {"decode upper hex", XorDecode("", "4A"), "J"},
        {"decode bad pair keyed", XorDecode("\x01", "zz"), "!"},
        {"round trip", XorDecode(K, XorEncode(K, "Main.Form1=12,34")), "Main.Form1=12,34"},
        {"xor string", XorString("\x01", "AB"), "@C"},
        {"xor string empty key", XorString("", "AB"), "AB"},
        {"xor twice", XorString(K, XorString(K, "secret")), "secret"},
        // Short strings: only the first 255 characters of key and source count.
        {"xor short strings", XorString(AnsiString(255, 'a') + "b", AnsiString(256, 'c')),
         AnsiString(255, 'c' ^ 'a')},
        {"dir letter", NormalDir("C"), "C:\\"},
        {"dir small letter", NormalDir("c"), "c:\\"},
        {"dir drive", NormalDir("C:"), "C:"},
        {"dir backslash", NormalDir("C:\\Temp\\"), "C:\\Temp\\"},
        {"dir plain", NormalDir("C:\\Temp"), "C:\\Temp\\"},
        {"dir digit", NormalDir("1"), "1\\"},
        {"dir empty", NormalDir(""), ""},
        {"dir multibyte", NormalDir("\xc3\xa9"), "\xc3\xa9\\"},
        {"resource text", ResStr("Window %s"), "Window %s"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(C.Got, C.Expected) << C.Name;

    struct Count {
        const char* Text;
        int Words;
        int Pos2;
    };
    for (const Count& C : {Count{",,a,,b,", 2, 6}, Count{"", 0, 0}, Count{",,,", 0, 0},
                           Count{"a", 1, 0}, Count{"ab,cd", 2, 4}}) {
        EXPECT_EQ(WordCount(C.Text, Comma), C.Words) << C.Text;
        EXPECT_EQ(WordPosition(2, C.Text, Comma), C.Pos2) << C.Text;
    }
    EXPECT_EQ(WordPosition(-1, "a,b", Comma), 0);
    EXPECT_EQ(WordPosition(1, ",,a", Comma), 3);
}

TEST(PersistUtilsFreshReading, WildcardsAndPieces) {
    struct Case {
        const char* Input;
        const char* Pattern;
        bool IgnoreCase;
        bool Match;
    };
    const std::vector<Case> Cases = {
        {"Main.Form1", "Main.*", false, true},
        {"Main.", "Main.*", false, true},
        {"Main", "Main.*", false, false},
        {"Mai", "Main.*", false, false},
        {"aXbYc", "a*b*b*c", false, false},
        {"abc", "a?c", false, true},
        {"ABC", "a*", true, true},
        {"ABC", "a*", false, false},
        {"", "*", false, true},
        {"", "?", false, false},
        {"", "", false, true},
        {"abc", "ab*bc", false, true},
        {"xxaxbyy", "x*a*b*y", false, true},
        {"ab", "a*??b", false, false},
        {"abc", "a**c", false, true},
        {"abcd", "abc", false, false},
        {"abc", "abcd", false, false},
        {"abc", "*c", false, true},
        {"abc", "*b", false, false},
        {"Main.Form1", "main.form?", true, true},
        {"a.b.c", "*.*.*", false, true},
        {"\xc3\xa9t\xc3\xa9", "\xc3\x89T*", true, true},
        {"\xc3\xa9t\xc3\xa9", "\xc3\x89T*", false, false},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(IsWild(C.Input, C.Pattern, C.IgnoreCase), C.Match)
            << "'" << C.Input << "' '" << C.Pattern << "' " << C.IgnoreCase;

    struct Part {
        const char* Piece;
        const char* Input;
        int Pos;
    };
    for (const Part& P : {Part{"cd", "abcdcd", 3}, Part{"c?", "abcdcd", 3}, Part{"?", "", 0},
                          Part{"", "abc", 0}, Part{"x?", "abc", 0}, Part{"??", "abc", 1},
                          Part{"abcd?", "abcd", 0}, Part{"C", "abc", 0}})
        EXPECT_EQ(FindPart(P.Piece, P.Input), P.Pos) << P.Piece << " in " << P.Input;
}

class SwitchToWindowFreshReading : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        for (int I = 0; I < 2; ++I) {
            Forms[I] = std::make_unique<TForm>(nullptr);
            Forms[I]->SetBounds(100 + 50 * I, 100, 300, 200);
            Edits[I] = new TEdit(Forms[I].get());
            Edits[I]->SetParent(Forms[I].get());
            Forms[I]->Show();
            Application->ProcessMessages();
        }
    }
    void TearDown() override {
        Forms[0].reset();
        Forms[1].reset();
        Application->ProcessMessages();
    }
    std::unique_ptr<TForm> Forms[2];
    TEdit* Edits[2] = {};
};

TEST_F(SwitchToWindowFreshReading, BringsAnEnabledWindowForward) {
    ASSERT_EQ(Screen->ActiveForm(), Forms[1].get());
    Forms[0]->SetEnabled(false);
    EXPECT_EQ(SwitchToWindow(Forms[0]->Handle(), false), 0);
    EXPECT_EQ(SwitchToWindow(Forms[0]->Handle(), true), 0);
    EXPECT_EQ(Screen->ActiveForm(), Forms[1].get());

    Forms[0]->SetEnabled(true);
    EXPECT_NE(SwitchToWindow(Forms[0]->Handle(), false), 0);
    Application->ProcessMessages();
    EXPECT_EQ(Screen->ActiveForm(), Forms[0].get());
}

TEST_F(SwitchToWindowFreshReading, RestoreBringsBackAMinimisedWindowAndFocusesIt) {
    Edits[1]->SetFocus();
    Application->ProcessMessages();
    Forms[0]->SetWindowState(wsMinimized);
    Application->ProcessMessages();
    const LRESULT Before = SwitchToWindow(Forms[0]->Handle(), true);
    Application->ProcessMessages();
    EXPECT_EQ(Forms[0]->WindowState(), wsNormal);
    EXPECT_EQ(Screen->ActiveForm(), Forms[0].get());
    EXPECT_NE(Before, 0);

    Forms[1]->SetWindowState(wsMaximized);
    Application->ProcessMessages();
    SwitchToWindow(Forms[1]->Handle(), true);
    Application->ProcessMessages();
    EXPECT_EQ(Forms[1]->WindowState(), wsMaximized);
    EXPECT_EQ(Screen->ActiveForm(), Forms[1].get());

    Forms[0]->Hide();
    Application->ProcessMessages();
    EXPECT_EQ(SwitchToWindow(Forms[0]->Handle(), true), 0);
}

} // namespace
