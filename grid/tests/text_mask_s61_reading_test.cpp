// The edit-mask language through a mask definition: which texts fit, what
// typing inserts and converts, and how a bad picture is reported.
#include "grid/foundation/MaskDefs.h"

#include <gtest/gtest.h>

#include <memory>

using namespace grid;

namespace {

class MaskLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        Defs = std::make_unique<TgxMaskDefs>(nullptr);
        Defs->SetName("Defs");
        Mask = Defs->Masks()->Add();
        Mask->SetName("Phone");
    }

    bool Text(const AnsiString& Picture, const AnsiString& S, bool Full) {
        Mask->SetPicture(Picture);
        return Mask->ValidText(S, Full);
    }

    std::unique_ptr<TgxMaskDefs> Defs;
    TgxMask* Mask = nullptr;
};

struct MaskTextCase {
    const char* Picture;
    const char* Text;
    bool Full;
    bool Valid;
};

TEST_F(MaskLanguage, WholeTextsAndBeginnings) {
    const MaskTextCase Cases[] = {
        {"###", "12", false, true},
        {"###", "12", true, false},
        {"###", "123", true, true},
        {"###", "12a", false, false},
        {"###", "1234", false, false},
        {"*3#", "123", true, true},
        {"*3#", "12", true, false},
        {"*3#", "1234", true, false},
        {"*#", "", true, false},
        {"*#", "12345", true, true},
        {"[*#]", "", true, true},
        {"[*#]", "123", true, true},
        {"[*#]", "12a", true, false},
        {"?*?", "a", true, false},
        {"?*?", "ab", true, true},
        {"?*?", "abcd", true, true},
        {"{a-f}", "c", true, true},
        {"{a-f}", "g", true, false},
        {"{^a-f}", "g", true, true},
        {"{^a-f}", "c", true, false},
        {"[a-f]", "", true, true},
        {"{;[-;]}", "[", true, true},
        {"{;[-;]}", "\\", true, true},
        {"{;[-;]}", "]", true, true},
        {"{;[-;]}", "a", true, false},
        {"[##]{AM,PM}", "AM", true, true},
        {"[##]{AM,PM}", "12PM", true, true},
        {"[##]{AM,PM}", "12", true, false},
        {"[##]{AM,PM}", "1PM", true, false},
        {"##,??", "12", true, true},
        {"##,??", "12ab", true, false},
        {"", "any text at all", true, true},
        {"", "", true, true},
        {"(###) ###-####", "(555) 123-4567", true, true},
        {"(###) ###-####", "(555) 123", false, true},
        {"(###) ###-####", "(555)-123", false, false},
        // Case rules: a text that is only checked is never converted.
        {">?", "a", true, true},
        {">>?", "a", true, false},
        {">>?", "A", true, true},
        {"<<?", "A", true, false},
        {">><>?", "a", true, true},
        {"&", "a", true, false},
        {"&", "A", true, true},
        {"!", "a", true, false},
        {"!", "1", true, true},
        {"@", "1", true, true},
        {"x#", "X1", true, false},
        {"{A-F}", "c", true, false},
        // Counts on groups, alternatives tried in order with backtracking.
        {"*3[#]", "", true, true},
        {"*3[#]", "123", true, true},
        {"*3[#]", "1234", true, false},
        {"*2{#-}", "1-2-", true, true},
        {"*2{#-}", "1-2", true, false},
        {"*{ab}", "abab", true, true},
        {"*{ab}", "aba", true, false},
        {"{a,ab}c", "abc", true, true},
        {"{a,ab}c", "ac", true, true},
        {"[*[#]]x", "12x", true, true},
        {"*[]", "", true, true},
        {"*[]", "a", true, false},
        {";*;#", "*#", true, true},
        {"a-b", "a-b", true, true},
    };
    for (const MaskTextCase& C : Cases)
        EXPECT_EQ(Text(C.Picture, C.Text, C.Full), C.Valid)
            << "picture " << C.Picture << " text " << C.Text << " full " << C.Full;
}

struct MaskInputCase {
    const char* Picture;
    const char* Text;
    const char* Input;
    int Caret;
    bool Full;
    bool Insert;
    bool Valid;
    const char* Result; // the input afterwards
};

TEST_F(MaskLanguage, TypedInputIsConvertedAndGetsItsLiterals) {
    const MaskInputCase Cases[] = {
        {"(###) ###-####", "", "5", 1, false, true, true, "(5"},
        {"(###) ###-####", "", "(", 1, false, true, true, "("},
        {"(###) ###-####", "(555", "1", 5, false, true, true, ") 1"},
        {"(###) ###-####", "(555) 123", "-", 10, false, true, true, "-"},
        {"(###) ###-####", "(555) 123", "4", 10, false, true, true, "-4"},
        {"(###) ###-####", "", "5", 1, false, false, false, "5"},
        {"###-####", "12", "-", 3, false, true, false, "-"},
        {"&&", "", "a", 1, false, false, true, "A"},
        {"!", "", "a", 1, false, false, false, "a"},
        {"!", "", "1", 1, false, false, true, "1"},
        {">?", "", "a", 1, false, false, true, "A"},
        {"<?", "", "A", 1, false, false, true, "a"},
        {"?", "", "A", 1, false, false, true, "A"},
        {">>@", "", "b", 1, false, false, true, "B"},
        {"{A-F}", "", "c", 1, false, false, true, "C"},
        {"{^A-F}", "", "c", 1, false, false, true, "c"},
        {"{A-F}", "", "g", 1, false, false, false, "g"},
        {"x#", "", "X", 1, false, false, true, "x"},
        // What stood after the caret is not part of the candidate.
        {"###", "12a", "3", 3, true, false, true, "3"},
        {"###", "1", "2", 2, true, false, false, "2"},
        // A caret outside the text is brought back into it.
        {"##", "1", "2", 9, false, false, true, "2"},
        {"a#", "a", "1", -3, false, true, true, "a1"},
        // A typed character equal to a literal, when taking it as the
        // literal fails, is the character after the inserted literal.
        {"0#", "", "0", 1, true, true, true, "00"},
        {"0#", "", "0", 1, false, true, true, "0"},
        // An optional literal is not inserted when the input fits without it.
        {"[-]#", "", "1", 1, false, true, true, "1"},
        // Two literals could be inserted: no single answer.
        {"{a,b}#", "", "1", 1, false, true, false, "1"},
    };
    for (const MaskInputCase& C : Cases) {
        Mask->SetPicture(C.Picture);
        AnsiString Input = C.Input;
        EXPECT_EQ(Mask->ValidInput(C.Text, Input, C.Caret, C.Full, C.Insert), C.Valid)
            << "picture " << C.Picture << " text " << C.Text << " input " << C.Input;
        EXPECT_EQ(Input, AnsiString(C.Result)) << "picture " << C.Picture << " input " << C.Input;
    }
}

struct CaseRuleCase {
    TgxCaseType CaseType;
    bool Optional;
    const char* Picture;
    const char* Text;
    const char* Input;
    bool Valid;
    const char* Result;
};

TEST_F(MaskLanguage, TextCaseRuleAppliesWhereThePictureHasNone) {
    const CaseRuleCase Cases[] = {
        {cstUpper, false, "!", "", "a", true, "A"},
        {cstUpper, false, "?", "", "a", true, "A"},
        {cstLower, false, "?", "", "A", true, "a"},
        {cstLower, true, "?", "", "A", true, "a"},
        {cstTitle, false, "*@", "Hello ", "w", true, "W"},
        {cstTitle, false, "*@", "Hello", "w", true, "w"},
        {cstSentence, false, "*@", "End. ", "n", true, "N"},
        {cstSentence, false, "*@", "End ", "n", true, "n"},
        {cstSentence, false, "*@", "", "n", true, "N"},
        // A text that stands already must keep the rule too.
        {cstTitle, false, "*@", "hello ", "w", false, "w"},
        // The picture's own rule comes first.
        {cstUpper, false, "<?", "", "A", true, "a"},
    };
    for (const CaseRuleCase& C : Cases) {
        Mask->GetTextCase()->SetCaseType(C.CaseType);
        Mask->GetTextCase()->SetOptional(C.Optional);
        Mask->SetPicture(C.Picture);
        AnsiString Input = C.Input;
        const int Caret = static_cast<int>(AnsiString(C.Text).size()) + 1;
        EXPECT_EQ(Mask->ValidInput(C.Text, Input, Caret, false, false), C.Valid)
            << "picture " << C.Picture << " text " << C.Text;
        EXPECT_EQ(Input, AnsiString(C.Result)) << "picture " << C.Picture << " text " << C.Text;
    }
    // A required rule refuses a text in the other case; an optional one lets
    // text that stands already pass.
    Mask->GetTextCase()->SetCaseType(cstUpper);
    Mask->GetTextCase()->SetOptional(false);
    Mask->SetPicture("??");
    EXPECT_FALSE(Mask->ValidText("ab", true));
    Mask->GetTextCase()->SetOptional(true);
    EXPECT_TRUE(Mask->ValidText("ab", true));
}

struct ErrorCase {
    const char* Picture;
    const char* Message;
};

TEST_F(MaskLanguage, BadPictureNamesTheFaultAndThenAcceptsEverything) {
    const ErrorCase Cases[] = {
        {"{##", "Defs: Error in mask Phone, expected '}' at position 4"},
        {"[#,#", "Defs: Error in mask Phone, expected ']' at position 5"},
        {"{a-f", "Defs: Error in mask Phone, expected '}' at position 5"},
        {"##;", "Defs: Error in mask Phone, unexpected end of picture"},
        {"#*3", "Defs: Error in mask Phone, unexpected end of picture"},
        {"#*", "Defs: Error in mask Phone, unexpected end of picture"},
        {"#]", "Defs: Error in mask Phone, invalid character ']' at position 2"},
        {"^#", "Defs: Error in mask Phone, invalid character '^' at position 1"},
        {"*>#", "Defs: Error in mask Phone, invalid character '>' at position 2"},
        {"*2,#", "Defs: Error in mask Phone, invalid character ',' at position 3"},
        {"{#}}", "Defs: Error in mask Phone, invalid character '}' at position 4"},
    };
    for (const ErrorCase& C : Cases) {
        Mask->SetPicture("#");
        try {
            Mask->SetPicture(C.Picture);
            ADD_FAILURE() << "no error for " << C.Picture;
        } catch (const EgxMaskError& E) {
            EXPECT_EQ(E.Message, AnsiString(C.Message)) << C.Picture;
        }
        // The picture is kept, but fits any text and any input unchanged.
        EXPECT_EQ(Mask->GetPicture(), AnsiString(C.Picture));
        EXPECT_FALSE(Mask->TextMask()->PictureValid());
        EXPECT_EQ(Mask->TextMask()->GetPictureList(), nullptr);
        EXPECT_TRUE(Mask->ValidText("anything", true));
        AnsiString Input = "zz";
        EXPECT_TRUE(Mask->ValidInput("x", Input, 2, true, true));
        EXPECT_EQ(Input, AnsiString("zz"));
    }
    // A good picture afterwards is parsed and used again.
    Mask->SetPicture("##");
    EXPECT_TRUE(Mask->TextMask()->PictureValid());
    EXPECT_FALSE(Mask->ValidText("a", false));
}

TEST_F(MaskLanguage, ParseErrorHandlerMayKeepTheErrorQuiet) {
    AnsiString Heard;
    Mask->SetOnParseError([&](TObject*, const AnsiString& Message, bool& Raise) {
        EXPECT_TRUE(Raise);
        Heard = Message;
        Raise = false;
    });
    Mask->SetPicture("#]");
    // The same picture again is not parsed again.
    Heard.clear();
    Mask->SetPicture("#]");
    EXPECT_EQ(Heard, AnsiString());
    Mask->SetPicture("#]#");
    Mask->SetPicture("#]");
    EXPECT_NE(Heard.find("Error in mask Phone, invalid character ']' at position 2"),
              AnsiString::npos);
    EXPECT_FALSE(Mask->TextMask()->PictureValid());
}

TEST_F(MaskLanguage, TreeRecordsWhereEachItemStands) {
    struct NodeCase {
        const char* Picture;
        TgxPictureNodeType Type;
        int Count, Pos, Len, RangeHigh;
        bool Optional, Negate;
    };
    // The first top-level item, or the range inside the first group.
    const NodeCase Cases[] = {
        {"##,??", pntMaskChars, 1, 1, 2, 0, false, false},
        {"*12#?", pntMaskChars, 12, 4, 1, 0, false, false},
        {"*#?", pntMaskChars, -1, 2, 1, 0, false, false},
        {";ab", pntLiteralChars, 1, 1, 2, 0, false, false},
        {">>#", pntCase, 1, 1, 2, 0, false, false},
        {"<>#", pntCase, 1, 1, 2, 0, false, false},
        {"<#", pntCase, 1, 1, 1, 0, false, false},
        {"{;[-;]}", pntRange, 1, 3, 5, 6, false, false},
        {"[^a-f]", pntRange, 1, 3, 3, 5, false, true},
    };
    for (const NodeCase& C : Cases) {
        Mask->SetPicture(C.Picture);
        TgxPictureList* List = Mask->TextMask()->GetPictureList();
        ASSERT_NE(List, nullptr) << C.Picture;
        const TgxPictureNode* Root = List->Root();
        EXPECT_EQ(Root->NodeType, pntGroup);
        EXPECT_FALSE(Root->Optional);
        const TgxPictureNode* N = Root->Child.get();
        if (C.Type == pntRange) {
            EXPECT_EQ(N->NodeType, pntGroup) << C.Picture;
            EXPECT_EQ(N->Optional, C.Picture[0] == '[') << C.Picture;
            N = N->Child.get();
        }
        ASSERT_NE(N, nullptr) << C.Picture;
        EXPECT_EQ(N->NodeType, C.Type) << C.Picture;
        EXPECT_EQ(N->Count, C.Count) << C.Picture;
        EXPECT_EQ(N->Pos, C.Pos) << C.Picture;
        EXPECT_EQ(N->Len, C.Len) << C.Picture;
        if (C.Type == pntRange) {
            EXPECT_EQ(N->RangeHigh, C.RangeHigh) << C.Picture;
            EXPECT_EQ(N->Negate, C.Negate) << C.Picture;
        }
    }
    // A top-level comma ends the picture; alternatives chain inside a group.
    Mask->SetPicture("##,??");
    EXPECT_EQ(Mask->TextMask()->GetPictureList()->Root()->Child->Next, nullptr);
    Mask->SetPicture("{a,b}");
    const TgxPictureNode* Group = Mask->TextMask()->GetPictureList()->Root()->Child.get();
    ASSERT_NE(Group->Child->NextAlternative, nullptr);
    EXPECT_EQ(Group->Child->NextAlternative->Pos, 4);
    // Each literal character is an item of its own.
    Mask->SetPicture("ab");
    const TgxPictureNode* A = Mask->TextMask()->GetPictureList()->Root()->Child.get();
    EXPECT_EQ(A->Len, 1);
    ASSERT_NE(A->Next, nullptr);
    EXPECT_EQ(A->Next->Pos, 2);
}

TEST_F(MaskLanguage, MultibyteCharactersCountOnce) {
    const MaskTextCase Texts[] = {
        {"?", "\xC3\xA9", true, true},
        {"?", "\xC3\xA9" "a", true, false},
        {"??", "\xC3\xA9" "a", true, true},
        {"@#", "\xE2\x82\xAC" "1", true, true},
        {"\xC3\xA9#", "\xC3\xA9" "1", true, true},
        {";\xC3\xA9#", "\xC3\xA9" "1", true, true},
        {"{\xC3\xA0-\xC3\xBC}", "\xC3\xA9", true, true},
        {"#", "\xC3\xA9", false, false},
    };
    for (const MaskTextCase& C : Texts)
        EXPECT_EQ(Text(C.Picture, C.Text, C.Full), C.Valid)
            << "picture " << C.Picture << " text " << C.Text << " full " << C.Full;
    Mask->SetPicture("&");
    AnsiString Input = "\xC3\xA9";
    EXPECT_TRUE(Mask->ValidInput("", Input, 1, true, false));
    EXPECT_EQ(Input, AnsiString("\xC3\x89"));
    Mask->SetPicture("?#");
    Input = "5";
    EXPECT_TRUE(Mask->ValidInput("\xC3\xA9", Input, 3, true, false));
    EXPECT_EQ(Input, AnsiString("5"));
}

TEST_F(MaskLanguage, EmptyPictureIsAnyText) {
    Mask->SetPicture("");
    EXPECT_TRUE(Mask->TextMask()->ValidText("", true));
    EXPECT_TRUE(Mask->TextMask()->ValidText("what ever 123", true));
    AnsiString Input = "q";
    EXPECT_TRUE(Mask->TextMask()->ValidInput("abc", Input, 4, true, true));
    EXPECT_EQ(Input, AnsiString("q"));
}

} // namespace
