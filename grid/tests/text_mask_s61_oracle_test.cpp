// The mask matcher against a plain depth-first search over the parsed
// picture: for many small pictures and texts both must give the same
// answers, literals and conversions.
#include "grid/foundation/MaskDefs.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <random>

using namespace grid;

namespace {

// The straightforward backtracking search the fast matcher must agree with.
class DepthFirst {
public:
    DepthFirst(const AnsiString& Picture, const TgxPictureNode* Root,
               TgxCaseType TextCase = cstNone, bool CaseOptional = false)
        : FPicture(Picture), FRoot(Root), FTextCase(TextCase), FCaseOptional(CaseOptional) {}

    bool Input(const AnsiString& Text, AnsiString& Typed, int Caret, bool Full, bool Insert) {
        if (Caret < 1) Caret = 1;
        if (Caret > static_cast<int>(Text.size()) + 1) Caret = static_cast<int>(Text.size()) + 1;
        const unsigned Base = Full ? Bit(moFullCompare) : 0;
        unsigned Runs[4] = {Base, Base | Bit(moConvertInput),
                            Base | Bit(moInsertLiteral) | Bit(moCheckUnique),
                            Base | Bit(moConvertInput) | Bit(moInsertLiteral) | Bit(moCheckUnique)};
        for (int R = 0; R < (Insert ? 4 : 2); ++R) {
            In = {};
            In.Text = Text.substr(0, static_cast<std::size_t>(Caret - 1)) + Typed;
            In.Pos = 1;
            In.InputPos = Caret;
            In.InputLen = static_cast<int>(Typed.size());
            AnsiString Result;
            if (Run(Runs[R], Result)) {
                Typed = Result;
                return true;
            }
            if (Steps > Limit) return false;
        }
        return false;
    }

    bool Text(const AnsiString& Text, bool Full) {
        In = {};
        In.Text = Text;
        AnsiString Result;
        return Run(Full ? Bit(moFullCompare) : 0, Result);
    }

    bool TooLong() const { return Steps > Limit; }

private:
    struct Entry {
        int Parent;
        const TgxPictureNode* Node;
        int Iteration;
        int TextPos;
    };
    struct Record {
        AnsiString Text, Literals;
        int Pos, InputPos, InputLen;
    };
    struct Work {
        AnsiString Text;
        int Pos = 1, InputPos = 0, InputLen = 0;
        AnsiString Literals, Found, Common, FoundInput;
    };
    static unsigned Bit(TgxMaskOption O) { return 1u << static_cast<unsigned>(O); }
    static constexpr unsigned CaseBits = 0x1E;
    static constexpr long Limit = 2000000;

    bool Run(unsigned Options, AnsiString& Result) {
        Stack.clear();
        State = 0;
        CheckSub(0, FRoot, 0, Options);
        if (State != 1) return false;
        Result = In.Found + In.FoundInput;
        return true;
    }
    Record Save() const { return {In.Text, In.Literals, In.Pos, In.InputPos, In.InputLen}; }
    void Restore(const Record& R) {
        In.Text = R.Text;
        In.Literals = R.Literals;
        In.Pos = R.Pos;
        In.InputPos = R.InputPos;
        In.InputLen = R.InputLen;
    }
    bool Exhausted() const { return In.Pos > static_cast<int>(In.Text.size()); }
    bool Typed() const { return In.InputPos <= In.Pos && In.Pos <= In.InputPos + In.InputLen - 1; }

    bool CheckSub(int Parent, const TgxPictureNode* Node, int Iteration, unsigned Options) {
        if (++Steps > Limit) return false;
        if (!Node) return false;
        if (Iteration == 0 && !Node->Optional) Iteration = 1;
        if (Node->Count != -1 && Iteration > Node->Count) return false;
        const Record Saved = Save();
        Stack.push_back({Parent, Node, Iteration, In.Pos});
        const int K = static_cast<int>(Stack.size());
        bool Ok = false;
        const bool Full = Options & Bit(moFullCompare);
        if (Iteration == 0) {
            Ok = CheckNext(K, Options);
        } else {
            switch (Node->NodeType) {
            case pntCase: {
                unsigned O = Options & ~CaseBits;
                const char C0 = FPicture[Node->Pos - 1];
                const char C1 = Node->Len > 1 ? FPicture[Node->Pos] : 0;
                if (C0 == '>') O |= C1 == '>' ? Bit(moUpper) : Bit(moOptUpper);
                else if (C1 == '>') {
                } else O |= C1 == '<' ? Bit(moLower) : Bit(moOptLower);
                Ok = CheckNext(K, O);
                break;
            }
            case pntLiteralChars:
                Ok = CheckLiteral(K, Node, Options);
                break;
            case pntGroup:
                Ok = CheckSub(K, Node->Child.get(), 0, Options);
                break;
            default:
                if (Exhausted() && !Full) {
                    Ok = true;
                } else {
                    Ok = Node->NodeType == pntRange ? CheckRange(Node, Options)
                                                    : CheckMaskChars(Node, Options);
                    if (Ok && !(Exhausted() && !Full)) Ok = CheckNext(K, Options);
                }
            }
        }
        if (Ok && Bookkeeping(Options)) return true;
        Stack.pop_back();
        Restore(Saved);
        if (Node->NextAlternative) return CheckSub(Parent, Node->NextAlternative.get(), 0, Options);
        return false;
    }

    bool CheckNext(int K, unsigned Options) {
        if (++Steps > Limit) return false;
        if (K == 0) return Exhausted();
        const Entry E = Stack[K - 1];
        if (E.Node->Optional && E.Iteration > 0 && In.Pos == E.TextPos) return false;
        const int StartState = State;
        bool Ok;
        if (!E.Node->Optional && E.Iteration < E.Node->Count)
            Ok = CheckSub(E.Parent, E.Node, E.Iteration + 1, Options);
        else if (E.Node->Next)
            Ok = CheckSub(E.Parent, E.Node->Next.get(), 0, Options);
        else
            Ok = CheckNext(E.Parent, Options);
        if (!Ok && State <= 1 &&
            !(E.Iteration > 0 && State == StartState && In.Pos == E.TextPos))
            Ok = CheckSub(E.Parent, E.Node, E.Iteration + 1, Options);
        return Ok;
    }

    bool CheckLiteral(int K, const TgxPictureNode* Node, unsigned Options) {
        const bool Full = Options & Bit(moFullCompare);
        if (Exhausted() && !Full) return true;
        const char L = FPicture[Node->Pos - 1] == ';' ? FPicture[Node->Pos] : FPicture[Node->Pos - 1];
        const bool CanInsert = In.Pos == In.InputPos && (Options & Bit(moInsertLiteral));
        const Record Before = Save();
        const int StartState = State;
        auto Attempt = [&](bool TypedAlready, bool& TookText) {
            TookText = false;
            bool Matched = false;
            if (!TypedAlready && !Exhausted()) {
                const char C = In.Text[In.Pos - 1];
                const bool Loose = Typed() && (Options & Bit(moConvertInput));
                if (Loose ? std::tolower(static_cast<unsigned char>(C)) ==
                                std::tolower(static_cast<unsigned char>(L))
                          : C == L) {
                    In.Text[In.Pos - 1] = L;
                    ++In.Pos;
                    TookText = true;
                    Matched = true;
                }
            }
            if (!Matched) {
                if (In.Pos == In.InputPos && (Options & Bit(moInsertLiteral))) In.Literals += L;
                else return false;
            }
            if (Exhausted() && !Full) return true;
            return CheckNext(K, Options);
        };
        bool TookText = false;
        if (Attempt(false, TookText)) return true;
        if (TookText && State == StartState && CanInsert) {
            Restore(Before);
            bool Ignored = false;
            return Attempt(true, Ignored);
        }
        return false;
    }

    unsigned CaseType(unsigned Options, unsigned Default) const {
        for (TgxMaskOption O : {moUpper, moLower, moOptUpper, moOptLower})
            if (Options & Bit(O)) return Bit(O);
        const unsigned Upper = Bit(FCaseOptional ? moOptUpper : moUpper);
        switch (FTextCase) {
        case cstUpper:
            return Upper;
        case cstLower:
            return Bit(FCaseOptional ? moOptLower : moLower);
        case cstTitle:
            return WordStart() ? Upper : Default;
        case cstSentence:
            return SentenceStart() ? Upper : Default;
        default:
            return Default;
        }
    }
    static bool TextChar(char C) { return C != ' ' && C != '\r' && C != '\n' && C != 0; }
    bool WordStart() const { return In.Pos == 1 || !TextChar(In.Text[In.Pos - 2]); }
    bool SentenceStart() const {
        if (In.Pos == 1) return true;
        for (int I = In.Pos - 2; I >= 0; --I)
            if (TextChar(In.Text[I])) return In.Text[I] == '.';
        return true; // only spaces before it
    }
    bool CanConvert(unsigned Type, unsigned Options) const {
        return Typed() && Type != 0 && (Options & Bit(moConvertInput));
    }
    static bool IsUpperType(unsigned T) { return T == Bit(moUpper) || T == Bit(moOptUpper); }
    bool InCase(char C, unsigned Type) const {
        const unsigned char U = static_cast<unsigned char>(C);
        return IsUpperType(Type) ? std::toupper(U) == U : std::tolower(U) == U;
    }
    void Convert(unsigned Type) {
        char& C = In.Text[In.Pos - 1];
        const unsigned char U = static_cast<unsigned char>(C);
        C = static_cast<char>(IsUpperType(Type) ? std::toupper(U) : std::tolower(U));
    }

    bool CheckMaskChar(char P, unsigned Options) {
        if (Exhausted()) return false;
        const char C = In.Text[In.Pos - 1];
        const bool Letter = std::isalpha(static_cast<unsigned char>(C));
        auto LetterAsQuestion = [&] {
            const unsigned T = CaseType(Options, 0);
            if (CanConvert(T, Options)) {
                Convert(T);
                return true;
            }
            if (T == 0) return true;
            if (T == Bit(moUpper) || T == Bit(moLower)) return InCase(C, T);
            return !Typed() || InCase(C, T);
        };
        bool Ok = false;
        switch (P) {
        case '#':
            Ok = C >= '0' && C <= '9';
            break;
        case '&':
        case '!': {
            if (!Letter) {
                Ok = P == '!';
                break;
            }
            const unsigned T = CaseType(Options, P == '&' ? Bit(moUpper) : 0);
            if (CanConvert(T, Options)) {
                Convert(Bit(moUpper));
                Ok = true;
            } else {
                Ok = InCase(C, Bit(moUpper));
            }
            break;
        }
        case '?':
            Ok = Letter && LetterAsQuestion();
            break;
        case '@':
            Ok = !Letter || LetterAsQuestion();
            break;
        }
        if (Ok) ++In.Pos;
        return Ok;
    }

    bool CheckMaskChars(const TgxPictureNode* Node, unsigned Options) {
        const bool Full = Options & Bit(moFullCompare);
        for (int P = Node->Pos; P < Node->Pos + Node->Len; ++P) {
            if (Exhausted() && !Full) break;
            if (!CheckMaskChar(FPicture[P - 1], Options)) return false;
        }
        return true;
    }

    bool CheckRange(const TgxPictureNode* Node, unsigned Options) {
        if (Exhausted()) return false;
        const unsigned char Lo = static_cast<unsigned char>(FPicture[Node->Pos - 1]);
        const unsigned char Hi = static_cast<unsigned char>(FPicture[Node->RangeHigh - 1]);
        unsigned char C = static_cast<unsigned char>(In.Text[In.Pos - 1]);
        bool Ok = Lo <= C && C <= Hi;
        if (!Ok && Typed() && (Options & Bit(moConvertInput)) && std::isalpha(C) && !Node->Negate) {
            const unsigned char F = std::isupper(C) ? static_cast<unsigned char>(std::tolower(C))
                                                    : static_cast<unsigned char>(std::toupper(C));
            if (Lo <= F && F <= Hi) {
                In.Text[In.Pos - 1] = static_cast<char>(F);
                Ok = true;
            }
        }
        if (Node->Negate) Ok = !Ok;
        if (Ok) ++In.Pos;
        return Ok;
    }

    bool Bookkeeping(unsigned Options) {
        auto Mine = [&] { return In.Text.substr(static_cast<std::size_t>(std::max(In.InputPos, 1) - 1),
                                                static_cast<std::size_t>(In.InputLen)); };
        if (!(Options & Bit(moCheckUnique))) {
            if (State == 0) {
                State = 1;
                In.Found = In.Literals;
                In.FoundInput = Mine();
            }
            return true;
        }
        if (!(State < 2 || !In.Common.empty())) return true;
        if (State == 0) {
            State = 1;
            In.Found = In.Common = In.Literals;
            In.FoundInput = Mine();
            return false;
        }
        if (In.Literals == In.Common) {
            State = 1;
            In.Found = In.Literals;
            return false;
        }
        std::size_t F = 0;
        while (F < In.Common.size() && F < In.Literals.size() && In.Common[F] == In.Literals[F]) ++F;
        if (F == 0) {
            ++State;
            In.Common.clear();
            return true;
        }
        if (In.Found != In.Common) ++State;
        In.Common.resize(F);
        if (In.Literals == In.Common) {
            State = 1;
            In.Found = In.Literals;
        }
        return false;
    }

    AnsiString FPicture;
    const TgxPictureNode* FRoot;
    TgxCaseType FTextCase;
    bool FCaseOptional;
    std::vector<Entry> Stack;
    Work In;
    int State = 0;
    long Steps = 0;
};

AnsiString RandomPicture(std::mt19937& Rng, int Depth = 0) {
    static const char* Items[] = {"#", "?", "@", "&", "!", "a", "-", "1", "*#", "*2#", ">", "<<",
                                  "<>", ";*", "[a-c]", "{^0-4}", "b"};
    AnsiString P;
    const int N = 1 + static_cast<int>(Rng() % 4);
    for (int I = 0; I < N; ++I) {
        const unsigned Pick = Rng() % 10;
        if (Pick < 2 && Depth < 2) {
            AnsiString Inner = RandomPicture(Rng, Depth + 1);
            if (Rng() % 2) Inner += "," + RandomPicture(Rng, Depth + 1);
            const char* Counts[] = {"", "", "*", "*2"};
            P += AnsiString(Counts[Rng() % 4]) + (Rng() % 2 ? "[" + Inner + "]" : "{" + Inner + "}");
        } else {
            P += Items[Rng() % (sizeof Items / sizeof *Items)];
        }
    }
    return P;
}

AnsiString RandomText(std::mt19937& Rng, int MaxLen) {
    static const char Chars[] = "1aAbB-*c9z .";
    AnsiString T;
    const int N = static_cast<int>(Rng() % (MaxLen + 1));
    for (int I = 0; I < N; ++I) T += Chars[Rng() % (sizeof Chars - 1)];
    return T;
}

TEST(MaskMatcherAgainstSearch, SameAnswersForSmallPicturesAndTexts) {
    TgxMaskDefs Defs(nullptr);
    TgxMask* Mask = Defs.Masks()->Add();
    std::mt19937 Rng(61);
    int Compared = 0, Differences = 0;
    for (int Round = 0; Round < 1500 && Differences < 15; ++Round) {
        const AnsiString Picture = RandomPicture(Rng);
        try {
            Mask->SetPicture(Picture);
        } catch (const EgxMaskError&) {
            // A picture with very many ways at once is refused when it is
            // set (bounded work); it has nothing to compare.
            continue;
        }
        TgxPictureList* List = Mask->TextMask()->GetPictureList();
        ASSERT_NE(List, nullptr) << Picture;
        const TgxCaseType TextCase = static_cast<TgxCaseType>(Rng() % 5);
        const bool CaseOptional = Rng() % 2;
        Mask->GetTextCase()->SetCaseType(TextCase);
        Mask->GetTextCase()->SetOptional(CaseOptional);
        for (int T = 0; T < 6; ++T) {
            const AnsiString Text = RandomText(Rng, 5);
            const bool Full = Rng() % 2;
            DepthFirst Oracle(Picture, List->Root(), TextCase, CaseOptional);
            const bool Want = Oracle.Text(Text, Full);
            if (Oracle.TooLong()) continue;
            ++Compared;
            const bool Got = Mask->ValidText(Text, Full);
            if (Want != Got) {
                ++Differences;
                ADD_FAILURE() << "ValidText picture '" << Picture << "' text '" << Text << "' full "
                              << Full << " case " << int(TextCase) << CaseOptional << ": search " << Want << ", matcher " << Got;
            }
            const AnsiString Typed = RandomText(Rng, 2);
            if (Typed.empty()) continue;
            const int Caret = 1 + static_cast<int>(Rng() % (Text.size() + 1));
            const bool Insert = Rng() % 2 == 0;
            AnsiString WantInput = Typed, GotInput = Typed;
            DepthFirst Oracle2(Picture, List->Root(), TextCase, CaseOptional);
            const bool WantOk = Oracle2.Input(Text, WantInput, Caret, Full, Insert);
            if (Oracle2.TooLong()) continue;
            const bool GotOk = Mask->ValidInput(Text, GotInput, Caret, Full, Insert);
            if (WantOk != GotOk || WantInput != GotInput) {
                ++Differences;
                ADD_FAILURE() << "ValidInput picture '" << Picture << "' text '" << Text
                              << "' input '" << Typed << "' caret " << Caret << " full " << Full
                              << " insert " << Insert << " case " << int(TextCase) << CaseOptional << ": search " << WantOk << " '" << WantInput
                              << "', matcher " << GotOk << " '" << GotInput << "'";
            }
        }
    }
    EXPECT_GT(Compared, 500);
}

// Everyday pictures, typed into at every caret position, literal insertion
// included: the answers must be the search's.
TEST(MaskMatcherAgainstSearch, EverydayPicturesWithLiteralInsertion) {
    const char* Pictures[] = {"(###) ###-####", "##/##/####", "{##:##}[ {AM,PM}]",
                              "{Mr,Ms}. ?*?", "*3#-*2#", "[+]#*[#]", "&&-*4#", ">?*[?]"};
    const char* Texts[] = {"", "(555", "(555) 12", "12/3", "10:3", "Mr", "M", "123", "AB-12"};
    const char* Inputs[] = {"1", "9", "/", ":", " ", "-", "a", "P", "r", "12"};
    TgxMaskDefs Defs(nullptr);
    TgxMask* Mask = Defs.Masks()->Add();
    for (const char* Picture : Pictures) {
        Mask->SetPicture(Picture);
        const TgxPictureNode* Root = Mask->TextMask()->GetPictureList()->Root();
        for (const char* Text : Texts)
            for (const char* Typed : Inputs)
                for (int Caret = 1; Caret <= static_cast<int>(AnsiString(Text).size()) + 1; ++Caret)
                    for (bool Full : {false, true}) {
                        DepthFirst Oracle(Picture, Root);
                        AnsiString Want = Typed, Got = Typed;
                        const bool WantOk = Oracle.Input(Text, Want, Caret, Full, true);
                        ASSERT_FALSE(Oracle.TooLong());
                        const bool GotOk = Mask->ValidInput(Text, Got, Caret, Full, true);
                        EXPECT_EQ(GotOk, WantOk) << Picture << " '" << Text << "' + '" << Typed
                                                 << "' at " << Caret << " full " << Full;
                        EXPECT_EQ(Got, Want) << Picture << " '" << Text << "' + '" << Typed
                                             << "' at " << Caret << " full " << Full;
                    }
    }
}

// Under the unique check the search can meet one way twice (a counted
// item is tried at its next repetition both as the next step and again on
// backtracking), and the second meeting of literals that disagree with
// others refuses the input, even where the first meeting agreed.
TEST(MaskMatcherAgainstSearch, LiteralInsertionCountsEveryMeetingOfAWay) {
    struct Case {
        const char* Picture;
        const char* Text;
        const char* Input;
        int Caret;
        bool Full;
    };
    const Case Cases[] = {
        {"*2{a,b@}@@", "", "99", 1, false},
        {"b*{<>1,-<<1}*2#", "", "91", 1, false},
        {"1*2{;*&[a-c],-}a", "c", "Ba", 1, false},
        {"#*2{-1<>,b1>}{^0-4}", "1b", "a", 3, false},
    };
    TgxMaskDefs Defs(nullptr);
    TgxMask* Mask = Defs.Masks()->Add();
    for (const Case& C : Cases) {
        Mask->SetPicture(C.Picture);
        DepthFirst Oracle(C.Picture, Mask->TextMask()->GetPictureList()->Root());
        AnsiString Want = C.Input, Got = C.Input;
        const bool WantOk = Oracle.Input(C.Text, Want, C.Caret, C.Full, true);
        EXPECT_FALSE(WantOk) << C.Picture;
        EXPECT_EQ(Mask->ValidInput(C.Text, Got, C.Caret, C.Full, true), WantOk) << C.Picture;
        EXPECT_EQ(Got, Want) << C.Picture;
    }
}

// The search is exhaustive, so it runs on a budget; past it (here a text
// too long to follow within it) the answer is the matcher's, which agrees
// with the search wherever the literals agree.
TEST(MaskMatcherAgainstSearch, LiteralInsertionAfterTextsOfAnyLength) {
    TgxMaskDefs Defs(nullptr);
    TgxMask* Mask = Defs.Masks()->Add();
    Mask->SetPicture("*{##}-a");
    for (int Digits : {10, 4000, 100000}) {
        const AnsiString Text(static_cast<std::size_t>(Digits), '7');
        AnsiString Typed = "a";
        EXPECT_TRUE(Mask->ValidInput(Text, Typed, Digits + 1, true, true)) << Digits;
        EXPECT_EQ(Typed, "-a") << Digits;
        Typed = "a";
        EXPECT_FALSE(Mask->ValidInput(Text + "7", Typed, Digits + 2, true, true)) << Digits;
    }
}

} // namespace
