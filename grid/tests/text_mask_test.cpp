#include "grid/foundation/PictureParser.h"
#include "grid/foundation/TextMask.h"

#include <gtest/gtest.h>


using namespace grid;

namespace {

// A stand-in for the mask definition that owns a text mask.
class TestOwner : public TgxMaskOwner {
public:
    AnsiString GetName() const override { return "Phone"; }
    TgxTextCase* GetTextCase() const override { return &Case; }
    void DoParseError(const AnsiString& Message, bool& Raise) override {
        ParseErrors.push_back(Message);
        Raise = RaiseParseErrors;
    }
    [[noreturn]] void InvalidOp(const AnsiString& Message) override {
        throw EgxMaskError("Defs: " + Message);
    }
    void Changed() override { ++ChangeCount; }

    mutable TgxTextCase Case{this};
    std::vector<AnsiString> ParseErrors;
    bool RaiseParseErrors = true;
    int ChangeCount = 0;
};

struct TextCase {
    const char* Picture;
    const char* Text;
    bool Full;
    bool Valid;
};

TEST(TextMask, ValidTextAgainstPictures) {
    const TextCase Cases[] = {
        {"###", "12", false, true},
        {"###", "12", true, false},
        {"###", "123", true, true},
        {"###", "12a", false, false},
        {"###", "1234", false, false},
        {"*3#", "123", true, true},
        {"*3#", "12", true, false},
        {"*3#", "1234", true, false},
        {"*#", "", true, false},
        {"*#", "7", true, true},
        {"*#", "123456789", true, true},
        {"[*#]", "", true, true},
        {"[*#]", "98765", true, true},
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
        {"##,??", "ab", true, false},
        {"", "anything at all", true, true},
        {"", "", true, true},
        {"(###) ###-####", "(555) 123-4567", true, true},
        {"(###) ###-####", "(555) 123", false, true},
        {"(###) ###-####", "555", false, false},
        {"&&", "AB", true, true},
        {"&&", "ab", true, false},
        {"!", "1", true, true},
        {"!", "a", true, false},
        {">>??", "AB", true, true},
        {">>??", "Ab", true, false},
        {"<<??", "ab", true, true},
        {"<<??", "aB", true, false},
        {">>?<>?", "Ab", true, true},
        {">?", "a", true, true}, // upper only where typed; existing text stands
        {";#;*", "#*", true, true},
        {";#;*", "1*", true, false},
        {"*2{#-}", "1-2-", true, true},
        {"*2{#-}", "1-2", true, false},
        {"{#,##}-", "12-", true, true},
        {"{#,##}-", "1-", true, true},
        {"*[ab]c", "ababc", true, true},
        {"*[ab]c", "abac", true, false},
        {"é#", "é1", true, true},
        {"{à-é}", "ä", true, true},
        {"{à-é}", "ê", true, false},
    };
    for (const TextCase& C : Cases) {
        TgxTextMask Mask;
        Mask.SetPicture(C.Picture);
        EXPECT_EQ(Mask.ValidText(C.Text, C.Full), C.Valid)
            << "picture " << C.Picture << " text '" << C.Text << "' full " << C.Full;
    }
}

struct InputCase {
    const char* Picture;
    TgxCaseType Case;
    bool CaseOptional;
    const char* Text;
    int Caret;
    const char* Input;
    bool Full;
    bool Insert;
    bool Valid;
    const char* Result; // the input as it comes back
};

TEST(TextMask, ValidInputConvertsAndInsertsLiterals) {
    const InputCase Cases[] = {
        // Literals the picture requires before the typed character.
        {"(###) ###-####", cstNone, false, "", 1, "5", false, true, true, "(5"},
        {"(###) ###-####", cstNone, false, "", 1, "(", false, true, true, "("},
        {"(###) ###-####", cstNone, false, "", 1, "5", false, false, false, "5"},
        {"(###) ###-####", cstNone, false, "(555", 5, "1", false, true, true, ") 1"},
        {"(###) ###-####", cstNone, false, "(555) 12", 9, "3", false, true, true, "3"},
        {"(###) ###-####", cstNone, false, "(555) 123", 10, "4", false, true, true, "-4"},
        {"(###) ###-####", cstNone, false, "(555) 123", 10, "-", false, true, true, "-"},
        {"(###) ###-####", cstNone, false, "(555) 123", 10, "x", false, true, false, "x"},
        // Full compare at the end of an edit returns the literals still due.
        {"(###)", cstNone, false, "(123", 5, "", true, true, true, ")"},
        {"(###)", cstNone, false, "(123", 5, "", true, false, false, ""},
        // The caret is clamped, and what stood after it is not looked at.
        {"###", cstNone, false, "12", 99, "3", true, false, true, "3"},
        {"###", cstNone, false, "1x", 2, "2", false, false, true, "2"},
        {"###", cstNone, false, "", -4, "1", false, false, true, "1"},
        // Case rules: conversion is a second try.
        {"&&", cstNone, false, "", 1, "a", false, false, true, "A"},
        {"&&", cstNone, false, "", 1, "1", false, false, false, "1"},
        {"!", cstNone, false, "", 1, "a", false, false, false, "a"},
        {"!", cstUpper, false, "", 1, "a", false, false, true, "A"},
        {"!", cstNone, false, "", 1, "1", false, false, true, "1"},
        {">?", cstNone, false, "", 1, "a", false, false, true, "A"},
        {"<<??", cstNone, false, "a", 2, "B", false, false, true, "b"},
        {"?", cstLower, true, "", 1, "Q", false, false, true, "q"},
        {"*4?", cstUpper, false, "AB", 3, "cd", true, false, true, "CD"},
        {"*4?", cstUpper, false, "ab", 3, "cd", true, false, false, "cd"},
        {"*?", cstTitle, false, "ab", 3, "c", false, false, false, "c"}, // "ab" itself fails
        {"*?", cstTitle, true, "ab", 3, "c", false, false, true, "c"},
        {"*@", cstTitle, true, "ab ", 4, "c", false, false, true, "C"},
        {"*@", cstSentence, false, "Done. ", 7, "n", false, false, true, "N"},
        {"*@", cstSentence, false, "Done, ", 7, "n", false, false, true, "n"},
        {"*@", cstSentence, false, "  ", 3, "n", false, false, true, "N"},
        // Ranges try the other case of a typed letter; literals compare
        // without case while converting.
        {"{A-F}", cstNone, false, "", 1, "c", false, false, true, "C"},
        {"{^A-F}", cstNone, false, "", 1, "c", false, false, true, "c"},
        {"x#", cstNone, false, "", 1, "X", false, false, true, "x"},
        // Only the conversions of the way that fits come back: not those of
        // a way that went with it and then failed, nor of one that waited.
        {">?{?z,<?>?}", cstNone, false, "", 1, "abc", false, false, true, "AbC"},
        {"*@[a][a][a]x", cstNone, false, "", 1, "AAAAX", true, false, true, "Aaaax"},
        {"*@[a][a][a]x", cstNone, false, "", 1, "AAAAAX", true, false, true, "AAaaax"},
        {"*2{>?}*[<?]x", cstNone, false, "", 1, "abCDX", true, false, true, "ABcdx"},
        {"a@a", cstNone, false, "", 1, "ABA", false, false, true, "aBa"},
        {"a@a", cstNone, false, "", 1, "AbA", false, false, true, "aba"},
        {"<?>?<?", cstNone, false, "", 1, "AbC", false, false, true, "aBc"},
        {"{a1,a2}", cstNone, false, "", 1, "A2", false, false, true, "a2"},
        // A typed character equal to a literal may be the character after it.
        {"[-]#", cstNone, false, "", 1, "-", false, true, true, "-"},
        // Ambiguous literals are not inserted.
        {"{(#,-#)}", cstNone, false, "", 1, "5", false, true, false, "5"},
        {"{(#,(-#)}", cstNone, false, "", 1, "5", false, true, true, "(5"},
    };
    for (const InputCase& C : Cases) {
        TestOwner Owner;
        Owner.Case.SetCaseType(C.Case);
        Owner.Case.SetOptional(C.CaseOptional);
        TgxTextMask Mask(&Owner);
        Mask.SetPicture(C.Picture);
        AnsiString Input = C.Input;
        EXPECT_EQ(Mask.ValidInput(C.Text, Input, C.Caret, C.Full, C.Insert), C.Valid)
            << "picture " << C.Picture << " text '" << C.Text << "' input '" << C.Input << "'";
        EXPECT_EQ(Input, C.Result)
            << "picture " << C.Picture << " text '" << C.Text << "' input '" << C.Input << "'";
    }
}

TEST(TextMask, SyntaxErrorsNameTheMaskAndPosition) {
    const struct {
        const char* Picture;
        const char* Message;
    } Cases[] = {
        {"{##", "Defs: Error in mask Phone, expected '}' at position 4"},
        {"[#,{a-b]", "Defs: Error in mask Phone, expected '}' at position 8"},
        {"[a-b}", "Defs: Error in mask Phone, expected ']' at position 5"},
        {"##;", "Defs: Error in mask Phone, unexpected end of picture"},
        {"##*3", "Defs: Error in mask Phone, unexpected end of picture"},
        {"*", "Defs: Error in mask Phone, unexpected end of picture"},
        {"#]", "Defs: Error in mask Phone, invalid character ']' at position 2"},
        {"#^", "Defs: Error in mask Phone, invalid character '^' at position 2"},
        {"*3>#", "Defs: Error in mask Phone, invalid character '>' at position 3"},
        {"#*,#", "Defs: Error in mask Phone, invalid character ',' at position 3"},
        {"[#}", "Defs: Error in mask Phone, invalid character '}' at position 3"},
    };
    for (const auto& C : Cases) {
        TestOwner Owner;
        TgxTextMask Mask(&Owner);
        try {
            Mask.SetPicture(C.Picture);
            ADD_FAILURE() << "no error for " << C.Picture;
        } catch (const EgxMaskError& E) {
            EXPECT_EQ(E.Message, C.Message);
        }
        EXPECT_FALSE(Mask.PictureValid());
        EXPECT_EQ(Mask.Picture(), C.Picture);
        ASSERT_EQ(Owner.ParseErrors.size(), 1u);
        EXPECT_EQ(Owner.ParseErrors[0], C.Message);
    }
}

TEST(TextMask, InvalidPictureAcceptsEverythingUntilReplaced) {
    TestOwner Owner;
    Owner.RaiseParseErrors = false; // the handler swallows the error
    TgxTextMask Mask(&Owner);
    Mask.SetPicture("{##");
    EXPECT_FALSE(Mask.PictureValid());
    EXPECT_EQ(Mask.GetPictureList(), nullptr);
    EXPECT_TRUE(Mask.ValidText("not digits", true));
    AnsiString Input = "abc";
    EXPECT_TRUE(Mask.ValidInput("", Input, 1, true, true));
    EXPECT_EQ(Input, "abc");

    Mask.SetPicture("##");
    EXPECT_TRUE(Mask.PictureValid());
    EXPECT_FALSE(Mask.ValidText("not digits", true));
}

TEST(TextMask, TreeRecordsItemsAndCounts) {
    TgxTextMask Mask;
    Mask.SetPicture("?*?{^;[-z}*3[ab,c]>>;x");
    const TgxPictureNode* N = Mask.GetPictureList()->Root()->Child.get();
    struct Expect {
        TgxPictureNodeType Type;
        int Count, Pos, Len;
        bool Optional;
    };
    const Expect Items[] = {
        {pntMaskChars, 1, 1, 1, false}, {pntMaskChars, -1, 3, 1, false},
        {pntGroup, 1, 4, 7, false},     {pntGroup, 3, 13, 6, true},
        {pntCase, 1, 19, 2, false},     {pntLiteralChars, 1, 21, 2, false},
    };
    for (const Expect& E : Items) {
        ASSERT_NE(N, nullptr);
        EXPECT_EQ(N->NodeType, E.Type);
        EXPECT_EQ(N->Count, E.Count);
        EXPECT_EQ(N->Pos, E.Pos);
        EXPECT_EQ(N->Len, E.Len);
        EXPECT_EQ(N->Optional, E.Optional);
        N = N->Next.get();
    }
    EXPECT_EQ(N, nullptr);

    const TgxPictureNode* Range = Mask.GetPictureList()->Root()->Child->Next->Next->Child.get();
    EXPECT_EQ(Range->NodeType, pntRange);
    EXPECT_TRUE(Range->Negate);
    EXPECT_EQ(Range->Pos, 7); // the bound after its escape
    EXPECT_EQ(Range->RangeHigh, 9);
    EXPECT_EQ(Range->Len, 4); // ";[-z"
    const TgxPictureNode* Alternatives =
        Mask.GetPictureList()->Root()->Child->Next->Next->Next->Child.get();
    EXPECT_EQ(Alternatives->Len, 1); // each literal is an item of its own
    EXPECT_EQ(Alternatives->Next->Pos, 15);
    ASSERT_NE(Alternatives->NextAlternative, nullptr);
    EXPECT_EQ(Alternatives->NextAlternative->Pos, 17);
}

TEST(TextMask, NestedRepeatsStayBounded) {
    // Each of these would take exponential time in an unbounded search, so a
    // regression shows as this test never finishing; the mask benchmark keeps
    // the figures.
    const char* Pictures[] = {"*[*[*[*[*#]]]]x", "*{*{*{*{#,##}}}}x", "*[*@*@*@]x"};
    const AnsiString Text(60, '1');
    for (const char* Picture : Pictures) {
        TgxTextMask Mask;
        Mask.SetPicture(Picture);
        EXPECT_FALSE(Mask.ValidText(Text + "y", true)) << Picture;
        AnsiString Input = "2";
        EXPECT_FALSE(Mask.ValidInput(Text + "y", Input, 62, true, true)) << Picture;
    }
}

TEST(TextMask, LongTextsAndDeepPicturesDoNotExhaustTheStack) {
    TgxTextMask Mask;
    Mask.SetPicture("");
    EXPECT_TRUE(Mask.ValidText(AnsiString(1000, 'x'), true));

    TgxTextMask Deep;
    const AnsiString Nested =
        AnsiString(MaxPictureGroupDepth + 1, '{') + "#" + AnsiString(MaxPictureGroupDepth + 1, '}');
    EXPECT_THROW(Deep.SetPicture(Nested), EgxMaskError);

    TgxTextMask Long;
    Long.SetPicture(AnsiString(20000, 'a'));
    EXPECT_TRUE(Long.ValidText(AnsiString(20000, 'a'), true));
    EXPECT_FALSE(Long.ValidText(AnsiString(19999, 'a') + "b", true));
    EXPECT_TRUE(Long.ValidText(AnsiString(2000, 'a'), false));
}

// A repeat count alone can ask for more than any text holds: typing into
// *99999999- would insert that many hyphens. Such a picture is refused when
// it is set, naming the mask and the count, and then accepts anything, as
// any picture that failed to parse does.
TEST(TextMask, HugeRepeatCountsAreRefusedWhenSet) {
    const struct {
        const char* Picture;
        int Position; // of the count that passes the limit
    } Cases[] = {
        {"*99999999-", 1},
        {"*50000[*@]x", 1},
        {"*9999{*9999[@]}x", 1},
        {"##*10{*100@}", 7}, // 10 + 10 * 100 repetitions
        {"*600#*600?", 6},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Picture);
        TestOwner Owner;
        TgxTextMask Mask(&Owner);
        try {
            Mask.SetPicture(C.Picture);
            ADD_FAILURE();
        } catch (const EgxMaskError& E) {
            EXPECT_EQ(E.Message, "Defs: Error in mask Phone, the repeat count at position " +
                                     std::to_string(C.Position) +
                                     " makes more than 1000 repetitions in all, too many to check");
        }
        ASSERT_EQ(Owner.ParseErrors.size(), 1u);
        EXPECT_EQ(Mask.GetPictureList(), nullptr);
        AnsiString Input = "5";
        EXPECT_TRUE(Mask.ValidInput("", Input, 1, false, true));
        EXPECT_EQ(Input, "5");
    }
    // Up to the limit a picture is taken, and answers.
    TgxTextMask Mask;
    Mask.SetPicture("##*10{*99@}");
    EXPECT_TRUE(Mask.ValidText("12" + AnsiString(990, 'a'), true));
    EXPECT_FALSE(Mask.ValidText("12" + AnsiString(991, 'a'), true));
    Mask.SetPicture("*1000-");
    AnsiString Input = "5";
    EXPECT_FALSE(Mask.ValidInput("", Input, 1, false, true));
    EXPECT_TRUE(Mask.ValidText("---", false));
    EXPECT_FALSE(Mask.ValidText("---", true));
}

// A counted group whose repetitions vary in length, under way from any
// place in the text, keeps a way per count at every position; past a few
// it is refused when set, naming the mask and the item. Up to that it is
// taken, and answers.
TEST(TextMask, CountsOfVaryingLengthFromAnyPlaceAreRefusedWhenSet) {
    const struct {
        const char* Picture;
        const char* Message; // empty: taken
    } Cases[] = {
        {"*@*9{#,##}x",
         "Defs: Error in mask Phone, the item at position 5 is repeated 9 ways at once at any "
         "place in the text, too many to check"},
        {"*2{*3{*4{*5{*@,#}}}}x",
         "Defs: Error in mask Phone, the item at position 9 is repeated 24 ways at once at any "
         "place in the text, too many to check"},
        {"*{*3{*3{#,##}}}", "Defs: Error in mask Phone, the item at position 8 is repeated 9 ways "
                            "at once at any place in the text, too many to check"},
        {"*@*8{#,##}x", ""},
        {"##*10{*99@}", ""},   // each repetition as long as the next
        {"*15{*30[@]}x", ""},  // from the start only, and at most 450 long
        {"*@*500#x", ""},      // one character counted: passed in one step
        {"*500[*@]x", ""},     // the same as [*@]x
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Picture);
        TestOwner Owner;
        TgxTextMask Mask(&Owner);
        if (*C.Message) {
            try {
                Mask.SetPicture(C.Picture);
                ADD_FAILURE();
            } catch (const EgxMaskError& E) {
                EXPECT_EQ(E.Message, C.Message);
            }
            EXPECT_EQ(Mask.GetPictureList(), nullptr);
        } else {
            EXPECT_NO_THROW(Mask.SetPicture(C.Picture));
            EXPECT_NE(Mask.GetPictureList(), nullptr);
        }
    }
    TgxTextMask Mask;
    Mask.SetPicture("*@*8{#,##}x");
    EXPECT_TRUE(Mask.ValidText("ab" + AnsiString(16, '1') + "x", true));
    EXPECT_TRUE(Mask.ValidText("ab" + AnsiString(8, '1') + "x", true));
    EXPECT_FALSE(Mask.ValidText("ab" + AnsiString(16, '1') + "-1x", true));
}

// A picture that could follow more ways at once than can be checked at
// every place of a long text (many items under way after a repeat, many
// alternatives that can take the same character) is refused when set,
// naming the mask and the item where the ways pass the limit. The common
// pictures with many alternatives are taken.
TEST(TextMask, PicturesFollowingTooManyWaysAtOnceAreRefusedWhenSet) {
    const auto Alternatives = [](const AnsiString& Each, int Count) {
        AnsiString P = "*{";
        for (int I = 0; I < Count; ++I)
            P += Each + ",";
        P.back() = '}';
        return P;
    };
    AnsiString Codes = "*{"; // 300 two-letter codes
    for (int I = 0; I < 300; ++I)
        Codes += AnsiString{char('a' + I / 26), char('a' + I % 26), ','};
    Codes.back() = '}';
    const AnsiString Spaced = "*300{" + AnsiString(40, '@') + "a}";
    const struct {
        AnsiString Picture;
        const char* Message; // empty: taken
    } Cases[] = {
        {"*@" + AnsiString(60, 'a') + "x",
         "Defs: Error in mask Phone, the items up to position 58 can be followed 57 ways at once at "
         "each place in the text, more than 56, too many to check"},
        {Alternatives("a", 60), "Defs: Error in mask Phone, the items up to position 2 can be "
                                "followed 61 ways at once at each place in the text, more than "
                                "56, too many to check"},
        {Alternatives("@a", 30), "Defs: Error in mask Phone, the items up to position 2 can be "
                                 "followed 61 ways at once at each place in the text, more than "
                                 "56, too many to check"},
        {"*@{" + AnsiString(60, '@') + "x}", "Defs: Error in mask Phone, the items up to position "
                                             "3 can be followed 63 ways at once at each place in "
                                             "the text, more than 56, too many to check"},
        {"*@" + AnsiString(50, 'a') + "x", ""},
        {Alternatives("a", 50), ""},
        {Codes, ""},
        {AnsiString(5000, 'a'), ""}, // each literal at one place only
        {"*15{*30[@]}x", ""},         // near the start only
        {Spaced, ""}, // one repetition under way at a time
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Picture.substr(0, 40));
        TestOwner Owner;
        TgxTextMask Mask(&Owner);
        if (*C.Message) {
            try {
                Mask.SetPicture(C.Picture);
                ADD_FAILURE();
            } catch (const EgxMaskError& E) {
                EXPECT_EQ(E.Message, C.Message);
            }
            EXPECT_EQ(Mask.GetPictureList(), nullptr);
            EXPECT_TRUE(Mask.ValidText("anything", true));
        } else {
            EXPECT_NO_THROW(Mask.SetPicture(C.Picture));
            EXPECT_NE(Mask.GetPictureList(), nullptr);
        }
    }
    TgxTextMask Mask;
    Mask.SetPicture(Spaced);
    AnsiString Text;
    for (int I = 0; I < 300; ++I)
        Text += AnsiString(40, 'z') + "a";
    EXPECT_TRUE(Mask.ValidText(Text, true));
    EXPECT_FALSE(Mask.ValidText(Text.substr(41), true));
}

// Many alternatives at each place, on long texts: a text that fits is
// accepted whole and as typed at its end, one that does not is refused.
TEST(TextMask, ManyAlternativesAcceptLongFittingTexts) {
    AnsiString Hex = "*{";
    for (const char* Digits : {"0123456789", "abcdef", "ABCDEF"})
        for (const char* D = Digits; *D; ++D)
            Hex += AnsiString(1, *D) + ",";
    Hex.back() = '}';
    AnsiString Codes = "*{"; // aa to ch: 60 two-letter codes
    for (char First = 'a'; First <= 'c'; ++First)
        for (char Second = 'a'; Second <= (First == 'c' ? 'h' : 'z'); ++Second)
            Codes += AnsiString{First, Second, ','};
    Codes.back() = '}';
    // The last alternatives, and long enough that a search keeping a frame
    // for every alternative it passed, or cut off by a budget, would
    // refuse them.
    AnsiString Pairs;
    for (int I = 0; I < 10000; ++I)
        Pairs += "ch";

    const struct {
        const AnsiString& Picture;
        AnsiString Text;
        bool Fits;
    } Cases[] = {
        {Hex, AnsiString(80000, 'F'), true},
        {Hex, AnsiString(79999, 'F') + "G", false},
        {Codes, Pairs, true},
        {Codes, Pairs + "ci", false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Picture.substr(0, 20) << " on " << C.Text.size()
                                        << " characters ending " << C.Text.substr(C.Text.size() - 3));
        TgxTextMask Mask;
        Mask.SetPicture(C.Picture);
        EXPECT_EQ(Mask.ValidText(C.Text, true), C.Fits);
        // Its last character typed at the end of the rest.
        const AnsiString Before = C.Text.substr(0, C.Text.size() - 1);
        AnsiString Input = C.Text.substr(C.Text.size() - 1);
        EXPECT_EQ(Mask.ValidInput(Before, Input, static_cast<int>(Before.size()) + 1, true, true),
                  C.Fits);
    }
}

// However long, a text that fits is accepted: by the whole-text check at the
// end of an edit and when one more character is typed at its end.
TEST(TextMask, LongFittingTextsAreAccepted) {
    const struct {
        const char* Picture;
        TgxCaseType Case;
        char Fill;
        char Typed;
        const char* Misfit; // put last, the text no longer fits
    } Cases[] = {
        {"*#", cstNone, '5', '6', "x"},
        {"*@", cstNone, 'q', 'r', nullptr},
        {"", cstUpper, 'Q', 'r', "q"}, // a case rule alone
        {"{*[#,@]}", cstNone, '7', 'z', nullptr},
        {"*[#,@]x", cstNone, '7', 'x', "y"},
        {"(###) *#", cstNone, '1', '2', "-"},
    };
    for (const auto& C : Cases) {
        for (const int Length : {10000, 100000}) {
            SCOPED_TRACE(testing::Message() << "picture '" << C.Picture << "' length " << Length);
            TestOwner Owner;
            Owner.Case.SetCaseType(C.Case);
            TgxTextMask Mask(&Owner);
            Mask.SetPicture(C.Picture);
            AnsiString Text(Length, C.Fill);
            if (AnsiString(C.Picture).starts_with("(")) Text = "(123) " + Text;
            if (AnsiString(C.Picture).ends_with("x")) Text += "x";
            EXPECT_TRUE(Mask.ValidText(Text, true));
            EXPECT_TRUE(Mask.ValidText(Text, false));
            if (C.Misfit) {
                EXPECT_FALSE(Mask.ValidText(Text + C.Misfit, true));
            }

            const AnsiString Before = Text.ends_with("x") ? Text.substr(0, Text.size() - 1) : Text;
            AnsiString Input(1, C.Typed);
            EXPECT_TRUE(
                Mask.ValidInput(Before, Input, static_cast<int>(Before.size()) + 1, false, true));
            EXPECT_EQ(Input, C.Case == cstUpper ? "R" : AnsiString(1, C.Typed));
        }
    }
}

} // namespace
