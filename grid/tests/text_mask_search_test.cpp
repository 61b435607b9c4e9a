// The edit mask's answers checked against a plain reading of its search:
// a depth-first search that tries every way a picture can take a text, in
// order, on small random pictures and texts; and hostile pictures on long
// texts, which must answer right without taking the time a search of every
// way would.
#include "grid/foundation/TextMask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace grid;

namespace {

// The reference: every way the picture takes the text, in the order the
// search tries them, each recorded with the literals it inserted. Only the
// language's case-free part is used (#, ?, @, literals, groups, counts,
// ranges), so no way converts a character.
class Reference {
public:
    Reference(const AnsiString& Picture, const AnsiString& Text, int InputPos, bool Full,
              bool Insert)
        : FPicture(Picture), FText(Text), FInputPos(InputPos), FFull(Full), FInsert(Insert) {}

    // False when the search grew too large to follow.
    bool Run(const TgxPictureNode* Root) {
        Sub(nullptr, Root, 0, 1, "");
        return FBudget > 0;
    }
    const std::vector<std::string>& Answers() const { return FAnswers; }

private:
    struct Entry {
        const Entry* Parent;
        const TgxPictureNode* Node;
        int Iteration;
        int Start;
    };

    bool Exhausted(int Pos) const { return Pos > static_cast<int>(FText.size()); }
    void Accept(const std::string& Literals) { FAnswers.push_back(Literals); }

    void Sub(const Entry* Parent, const TgxPictureNode* Node, int I, int Pos,
             const std::string& Lits) {
        if (!Node || --FBudget <= 0) return;
        if (I == 0 && !Node->Optional) I = 1;
        if (Node->Count != -1 && I > Node->Count) return;
        const Entry K{Parent, Node, I, Pos};
        if (I == 0) {
            Next(&K, Pos, Lits);
        } else if (Node->NodeType == pntGroup) {
            Sub(&K, Node->Child.get(), 0, Pos, Lits);
        } else if (Node->NodeType == pntLiteralChars) {
            Literal(&K, Pos, Lits);
        } else if (Exhausted(Pos) && !FFull) {
            Accept(Lits);
        } else {
            int At = Pos;
            bool Ok = true;
            if (Node->NodeType == pntRange) {
                const char C = Exhausted(At) ? '\0' : FText[At - 1];
                const bool In = !Exhausted(At) && FPicture[Node->Pos - 1] <= C &&
                                C <= FPicture[Node->RangeHigh - 1];
                Ok = Node->Negate ? !Exhausted(At) && !In : In;
                ++At;
            } else {
                for (int P = Node->Pos; Ok && P < Node->Pos + Node->Len; ++P) {
                    if (Exhausted(At) && !FFull) break;
                    Ok = !Exhausted(At) && Fits(FPicture[P - 1], FText[At - 1]);
                    ++At;
                }
            }
            if (Ok) {
                if (Exhausted(At) && !FFull)
                    Accept(Lits);
                else
                    Next(&K, At, Lits);
            }
        }
        // Every way is followed, so the next alternative always is too.
        if (Node->NextAlternative) Sub(Parent, Node->NextAlternative.get(), 0, Pos, Lits);
    }

    static bool Fits(char PictureChar, char C) {
        const bool Letter = (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
        if (PictureChar == '#') return C >= '0' && C <= '9';
        if (PictureChar == '?') return Letter;
        return PictureChar == '@';
    }

    void Literal(const Entry* K, int Pos, const std::string& Lits) {
        if (Exhausted(Pos) && !FFull) {
            Accept(Lits);
            return;
        }
        const int Skip = FPicture[K->Node->Pos - 1] == ';' ? 1 : 0;
        const std::string L = FPicture.substr(K->Node->Pos - 1 + Skip, K->Node->Len - Skip);
        if (Pos - 1 + L.size() <= FText.size() && FText.compare(Pos - 1, L.size(), L) == 0) {
            const int At = Pos + static_cast<int>(L.size());
            if (Exhausted(At) && !FFull)
                Accept(Lits);
            else
                Next(K, At, Lits);
        }
        if (FInsert && Pos == FInputPos) Next(K, Pos, Lits + L);
    }

    void Next(const Entry* K, int Pos, const std::string& Lits) {
        if (--FBudget <= 0) return;
        if (!K) {
            if (Exhausted(Pos)) Accept(Lits);
            return;
        }
        const TgxPictureNode* Node = K->Node;
        const int I = K->Iteration;
        const bool Empty = Pos == K->Start;
        if (Node->Optional && I > 0 && Empty) return;
        const bool Required = !Node->Optional && I < Node->Count;
        if (Required)
            Sub(K->Parent, Node, I + 1, Pos, Lits);
        else if (Node->Next)
            Sub(K->Parent, Node->Next.get(), 0, Pos, Lits);
        else
            Next(K->Parent, Pos, Lits);
        if (!Required && !(I > 0 && Empty)) Sub(K->Parent, Node, I + 1, Pos, Lits);
    }

    const std::string FPicture;
    const std::string FText;
    const int FInputPos;
    const bool FFull;
    const bool FInsert;
    long FBudget = 200000;
    std::vector<std::string> FAnswers;
};

std::size_t CommonPrefix(const std::string& A, const std::string& B) {
    std::size_t F = 0;
    while (F < A.size() && F < B.size() && A[F] == B[F])
        ++F;
    return F;
}

// The answer of a run that looks at every answer: the different runs of
// literals, weighed in the order first found, agree on one.
bool Unique(const std::vector<std::string>& Answers, std::string& Literals) {
    int State = 0;
    std::string Found, Common;
    std::vector<std::string> Seen;
    for (const std::string& L : Answers) {
        if (std::find(Seen.begin(), Seen.end(), L) != Seen.end()) continue;
        Seen.push_back(L);
        if (!(State < 2 || !Common.empty())) break;
        if (State == 0) {
            State = 1;
            Found = Common = L;
        } else if (L == Common) {
            State = 1;
            Found = L;
        } else if (const std::size_t F = CommonPrefix(Common, L); F == 0) {
            ++State;
            Common.clear();
            break;
        } else {
            if (Found != Common) ++State;
            Common.resize(F);
            if (L == Common) {
                State = 1;
                Found = L;
            }
        }
    }
    Literals = Found;
    return State == 1;
}

// One check of a text, or of typed input, through the reference; false in
// Known when the reference could not follow every way.
struct Expected {
    bool Known = true;
    bool Valid = false;
    std::string Input;
};

Expected ReferenceText(const TgxPictureList& List, const std::string& Picture,
                       const std::string& Text, bool Full) {
    Reference R(Picture, Text, 0, Full, false);
    Expected E;
    E.Known = R.Run(List.Root());
    E.Valid = !R.Answers().empty();
    return E;
}

Expected ReferenceInput(const TgxPictureList& List, const std::string& Picture,
                        const std::string& Text, const std::string& Input, int Caret, bool Full,
                        bool Insert) {
    const std::string Candidate = Text.substr(0, Caret - 1) + Input;
    Expected E;
    E.Input = Input;
    // Without case rules the converting runs answer as the plain ones.
    for (const bool Literals : {false, true}) {
        if (Literals && !Insert) break;
        Reference R(Picture, Candidate, Caret, Full, Literals);
        E.Known = E.Known && R.Run(List.Root());
        std::string Inserted;
        if (!Literals ? !R.Answers().empty() : Unique(R.Answers(), Inserted)) {
            E.Valid = true;
            E.Input = Inserted + Input;
            return E;
        }
    }
    return E;
}

// A random picture of the case-free part of the language.
class PictureMaker {
public:
    explicit PictureMaker(unsigned Seed) : FRandom(Seed) {}

    std::string Picture() {
        std::string P;
        const int Items = Pick(1, 4);
        for (int I = 0; I < Items; ++I)
            P += Item(0);
        return P;
    }

    std::string Text(int MaxLen) {
        static const char Chars[] = {'a', 'b', '1', '2', '-', '('};
        std::string T;
        const int Len = Pick(0, MaxLen);
        for (int I = 0; I < Len; ++I)
            T += Chars[Pick(0, 5)];
        return T;
    }

    int Pick(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(FRandom); }

private:
    std::string Item(int Depth) {
        static const char* const Counts[] = {"", "", "", "*", "*2", "*0"};
        std::string Count = Counts[Pick(0, 5)];
        switch (Pick(0, Depth < 2 ? 7 : 4)) {
        case 0:
            return Count + "#";
        case 1:
            return Count + "?";
        case 2:
            return Count + "@";
        case 3:
            return Count + (Pick(0, 1) ? "-" : "(");
        case 4:
            return Count + (Pick(0, 1) ? "{a-b}" : "[1-2]");
        default: {
            const bool Optional = Pick(0, 1) == 1;
            std::string G = Count + (Optional ? "[" : "{");
            const int Alternatives = Pick(1, 3);
            for (int A = 0; A < Alternatives; ++A) {
                if (A > 0) G += ",";
                const int Items = Pick(1, 2);
                for (int I = 0; I < Items; ++I)
                    G += Item(Depth + 1);
            }
            return G + (Optional ? "]" : "}");
        }
        }
    }

    std::mt19937 FRandom;
};

TEST(TextMaskSearch, AnswersAsASearchOfEveryWay) {
    PictureMaker Maker(20261210);
    int Compared = 0;
    for (int Round = 0; Round < 400; ++Round) {
        const std::string Picture = Maker.Picture();
        TgxTextMask Mask;
        Mask.SetPicture(Picture);
        const TgxPictureList* List = Mask.GetPictureList();
        ASSERT_NE(List, nullptr) << Picture;
        for (int T = 0; T < 12; ++T) {
            const std::string Text = Maker.Text(6);
            const bool Full = Maker.Pick(0, 1) == 1;
            SCOPED_TRACE("picture '" + Picture + "' text '" + Text + "' full " +
                         std::to_string(Full));
            const Expected Whole = ReferenceText(*List, Picture, Text, Full);
            if (Whole.Known) {
                EXPECT_EQ(Mask.ValidText(Text, Full), Whole.Valid);
                ++Compared;
            }
            const int Caret = Maker.Pick(1, static_cast<int>(Text.size()) + 1);
            const std::string Typed = Maker.Text(2);
            const bool Insert = Maker.Pick(0, 3) > 0;
            const Expected Input =
                ReferenceInput(*List, Picture, Text, Typed, Caret, Full, Insert);
            if (!Input.Known) continue;
            std::string Got = Typed;
            EXPECT_EQ(Mask.ValidInput(Text, Got, Caret, Full, Insert), Input.Valid)
                << "typed '" << Typed << "' at " << Caret << " insert " << Insert;
            if (Input.Valid) {
                EXPECT_EQ(Got, Input.Input) << "typed '" << Typed << "' at " << Caret;
            }
            ++Compared;
        }
    }
    EXPECT_GT(Compared, 6000);
}

// Pictures whose repeats nest or are counted into the hundreds, on long
// texts: the text that fits is accepted, as a whole and as typed at its
// end (and pasted whole), and the one that does not is refused. (The mask
// benchmark times them on 100,000 characters; this length keeps a
// sanitizer build quick.)
TEST(TextMaskSearch, HostileRepeatsAnswerOnLongTexts) {
    const long Length = 20000;
    const AnsiString Fill(Length, 'a');
    const AnsiString Digits(Length, '1');
    AnsiString Repeats; // the same repeat, 300 items in a row
    for (int I = 0; I < 300; ++I)
        Repeats += "*@";
    Repeats += "x";
    AnsiString Codes = "*{"; // 300 two-letter codes, aa to ln
    for (int I = 0; I < 300; ++I)
        Codes += AnsiString{char('a' + I / 26), char('a' + I % 26), ','};
    Codes.back() = '}';
    AnsiString Pairs;
    for (int I = 0; I < Length / 2; ++I)
        Pairs += "ln";
    AnsiString Singles = "*{"; // 62 letters and digits, z last
    for (const char* Chars : {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz"})
        for (const char* C = Chars; *C; ++C)
            Singles += AnsiString{*C, ','};
    Singles.back() = '}';
    AnsiString Optionals = "*@"; // the most optional literals a picture may have under way
    for (int I = 0; I < 27; ++I)
        Optionals += "[a]";
    Optionals += "x";
    AnsiString Wide; // letters of two bytes each
    for (long I = 0; I < Length / 2; ++I)
        Wide += "\xc3\xa9";
    const struct {
        const char* Picture;
        AnsiString Fits;
        AnsiString Misfit;
        bool Pasted = false; // also pasted whole, the caret at its start
    } Cases[] = {
        {"*500[*@]x", Fill + "x", Fill + "y"},
        {"*[*[*@]]x", Fill + "x", Fill + "y"},
        {"*[*[*[*[*@]]]]x", Fill + "x", Fill + "y"},
        {"*500{*@}x", Fill + "x", AnsiString(499, 'a') + "x"},
        {"*300{*[@]}x", Fill + "x", Fill + "xy"},
        {"*15{*30[@]}x", AnsiString(450, 'a') + "x", AnsiString(451, 'a') + "x"},
        {"*{*[*@]}x", Fill + "x", Fill},
        {"*[*@,#]x", Fill + "x", Fill + "y"},
        {"*[*[?]*[#]]x", Fill + "1x", Fill + "1-x"},
        // Counted characters after a repeat: as many counts under way as
        // characters in the count.
        {"*@*500#x", Digits + "x", Digits + "y"},
        {"*@*500{0-9}x", Digits + "x", Digits.substr(400) + "a" + Digits.substr(0, 399) + "x"},
        {"*@*400?x", Wide + "x", Wide + "1x"},
        {"*@*500-x", AnsiString(Length, '-') + "x", AnsiString(Length, '-') + "-"},
        {Repeats.c_str(), Fill + "x", AnsiString(299, 'a') + "x"},
        // Many alternatives, tried only where they can take the character.
        {Codes.c_str(), Pairs, Pairs + "l"},
        {Singles.c_str(), AnsiString(Length, 'z'), AnsiString(Length, 'z') + "-"},
        {Optionals.c_str(), Fill.substr(0, 2000) + "x", Fill.substr(0, 2000) + "y", true},
        // In capitals, the literals are taken only converted.
        {Optionals.c_str(), AnsiString(2000, 'A') + "x", AnsiString(2000, 'A') + "y", true},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Picture);
        TgxTextMask Mask;
        Mask.SetPicture(C.Picture);
        EXPECT_TRUE(Mask.ValidText(C.Fits, true));
        EXPECT_FALSE(Mask.ValidText(C.Misfit, true));
        for (const auto& [Text, Fits] : {std::pair{C.Fits, true}, std::pair{C.Misfit, false}}) {
            const AnsiString Before = Text.substr(0, Text.size() - 1);
            AnsiString Input = Text.substr(Text.size() - 1);
            EXPECT_EQ(Mask.ValidInput(Before, Input, static_cast<int>(Text.size()), true, true),
                      Fits)
                << "typed at the end of " << Text.size() << " characters";
            AnsiString Pasted = Text;
            if (C.Pasted)
                EXPECT_EQ(Mask.ValidInput(AnsiString(), Pasted, 1, true, true), Fits) << "pasted whole";
        }
    }
}

} // namespace
