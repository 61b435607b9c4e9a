// Matching of the edit-mask language compared with a plain depth-first search
// written from the rules of the language, over the parsed tree the mask
// exposes, on many small random pictures, texts, carets and case rules.
#include "grid/foundation/MaskDefs.h"
#include "grid/foundation/TextMask.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace grid;

// Option bits of a run, as the matcher's option word.
enum : unsigned {
    oUpper = 0x002,
    oOptUpper = 0x004,
    oLower = 0x008,
    oOptLower = 0x010,
    oCaseBits = 0x01e,
    oFull = 0x020,
    oConvert = 0x040,
    oInsert = 0x080,
    oUnique = 0x100,
};

struct Rec {
    std::string Text;
    int Pos = 1;
    int InputPos = 0;
    int InputLen = 0;
    std::string Literals;
};

// Characters of the test texts: ASCII, and two-byte sequences of the
// Latin-1 letters (upper case 0xC3 0x80..0x9E, lower case 0xC3 0xA0..0xBE).
struct NotModelled : std::runtime_error {
    NotModelled() : std::runtime_error("not modelled") {}
};

int CharLen(const std::string& S, int Pos) {
    auto B = static_cast<unsigned char>(S[Pos - 1]);
    if ((B & 0xE0) == 0xC0 && Pos < static_cast<int>(S.size()) &&
        (static_cast<unsigned char>(S[Pos]) & 0xC0) == 0x80)
        return 2;
    return 1;
}
std::string CharAt(const std::string& S, int Pos) {
    return S.substr(Pos - 1, CharLen(S, Pos));
}
bool IsLatinLetter(const std::string& C) {
    if (C.size() != 2 || static_cast<unsigned char>(C[0]) != 0xC3) return false;
    auto B = static_cast<unsigned char>(C[1]);
    return B != 0x97 && B != 0xB7 && B >= 0x80 && B <= 0xBE && B != 0x9F;
}
bool IsLetter(const std::string& C) {
    if (C.size() == 1) return std::isalpha(static_cast<unsigned char>(C[0])) != 0;
    return IsLatinLetter(C);
}
std::string Upper(std::string C) {
    if (C.size() == 1)
        C[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(C[0])));
    else if (IsLatinLetter(C) && static_cast<unsigned char>(C[1]) >= 0xA0)
        C[1] = static_cast<char>(C[1] - 0x20);
    return C;
}
std::string Lower(std::string C) {
    if (C.size() == 1)
        C[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(C[0])));
    else if (IsLatinLetter(C) && static_cast<unsigned char>(C[1]) < 0xA0)
        C[1] = static_cast<char>(C[1] + 0x20);
    return C;
}
std::string LowerAll(const std::string& S) {
    std::string R;
    for (int P = 1; P <= static_cast<int>(S.size()); P += CharLen(S, P))
        R += Lower(CharAt(S, P));
    return R;
}

// The plain search: every rule taken as it reads, no shortcuts.
class RefMatcher {
public:
    RefMatcher(const std::string& Picture, TgxCaseType CaseType, bool CaseOptional)
        : P(Picture), CaseTypeRule(CaseType), CaseOpt(CaseOptional) {}

    bool Run(const TgxPictureNode* Root, Rec R, unsigned Opts, std::string& Result) {
        Stack.clear();
        State = 0;
        In = std::move(R);
        FoundLiterals.clear();
        CommonLiterals.clear();
        FoundInput.clear();
        Steps = 0;
        SubItems(0, Opts, 0, Root);
        if (State != 1) return false;
        Result = FoundLiterals + FoundInput;
        return true;
    }
    long Steps = 0;

private:
    struct Entry {
        int Parent;
        const TgxPictureNode* Node;
        int Iter;
        int TextPos;
    };

    int Len() const { return static_cast<int>(In.Text.size()); }
    bool Exhausted() const { return In.Pos > Len(); }
    char PicAt(int Pos) const { return P[Pos - 1]; }
    bool IsInputChar() const {
        return In.InputPos <= In.Pos && In.Pos <= In.InputPos + In.InputLen - 1;
    }
    static bool IsUpperType(unsigned T) { return T == oUpper || T == oOptUpper; }

    bool WordStart() const {
        if (In.Pos == 1) return true;
        char C = In.Text[In.Pos - 2];
        return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == 0;
    }
    bool SentenceStart() const {
        if (In.Pos == 1) return true;
        for (int I = In.Pos - 2; I >= 0; --I) {
            char C = In.Text[I];
            if (C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == 0) continue;
            return C == '.';
        }
        return true;
    }
    unsigned CaseType(unsigned Opts, unsigned Default) const {
        for (unsigned B : {oUpper, oLower, oOptUpper, oOptLower})
            if (Opts & B) return B;
        unsigned Up = CaseOpt ? oOptUpper : oUpper;
        switch (CaseTypeRule) {
        case cstUpper:
            return Up;
        case cstLower:
            return CaseOpt ? oOptLower : oLower;
        case cstSentence:
            return SentenceStart() ? Up : Default;
        case cstTitle:
            return WordStart() ? Up : Default;
        default:
            return Default;
        }
    }
    bool CanConvert(unsigned T, unsigned Opts) const {
        return IsInputChar() && T != 0 && (Opts & oConvert);
    }
    std::string Cur() const { return CharAt(In.Text, In.Pos); }
    void Put(const std::string& C) { In.Text.replace(In.Pos - 1, C.size(), C); }

    // A letter checked against case type T (for ? and @).
    bool LetterCase(unsigned T, unsigned Opts) {
        std::string C = Cur();
        if (CanConvert(T, Opts)) {
            Put(IsUpperType(T) ? Upper(C) : Lower(C));
            return true;
        }
        if (T == 0) return true;
        bool InCase = IsUpperType(T) ? Upper(C) == C : Lower(C) == C;
        if (T == oUpper || T == oLower) return InCase;
        return IsInputChar() ? InCase : true;
    }
    bool UpperLetter(unsigned T, unsigned Opts) {
        std::string C = Cur();
        if (CanConvert(T, Opts)) {
            Put(Upper(C));
            return true;
        }
        return Upper(C) == C;
    }
    bool MaskChar(char M, unsigned Opts) {
        if (Exhausted()) return false;
        std::string C = Cur();
        bool Ok = false;
        switch (M) {
        case '#':
            Ok = C.size() == 1 && C[0] >= '0' && C[0] <= '9';
            break;
        case '&':
            Ok = IsLetter(C) && UpperLetter(CaseType(Opts, oUpper), Opts);
            break;
        case '!':
            Ok = !IsLetter(C) || UpperLetter(CaseType(Opts, 0), Opts);
            break;
        case '?':
            Ok = IsLetter(C) && LetterCase(CaseType(Opts, 0), Opts);
            break;
        case '@':
            Ok = !IsLetter(C) || LetterCase(CaseType(Opts, 0), Opts);
            break;
        default:
            ADD_FAILURE() << "not a mask character: " << M;
        }
        if (Ok) In.Pos += static_cast<int>(C.size());
        return Ok;
    }
    bool MaskChars(const TgxPictureNode* N, unsigned Opts) {
        for (int I = 0; I < N->Len; ++I) {
            if (Exhausted() && !(Opts & oFull)) return true;
            if (!MaskChar(PicAt(N->Pos + I), Opts)) return false;
        }
        return true;
    }
    bool Range(const TgxPictureNode* N, unsigned Opts) {
        if (Exhausted()) return false;
        std::string LoS = CharAt(P, N->Pos), HiS = CharAt(P, N->RangeHigh), C = Cur();
        // Multibyte characters compare by the locale's order: not modelled here.
        if (LoS.size() > 1 || HiS.size() > 1 || C.size() > 1) throw NotModelled();
        auto Lo = static_cast<unsigned char>(LoS[0]);
        auto Hi = static_cast<unsigned char>(HiS[0]);
        auto In_ = [&](const std::string& X) {
            auto U = static_cast<unsigned char>(X[0]);
            return Lo <= U && U <= Hi;
        };
        bool Ok = In_(C);
        if (!Ok && IsInputChar() && (Opts & oConvert) && IsLetter(C) && !N->Negate) {
            std::string F = Upper(C) == C ? Lower(C) : Upper(C);
            if (In_(F)) {
                Put(F);
                Ok = true;
            }
        }
        if (N->Negate) Ok = !Ok;
        if (Ok) In.Pos += static_cast<int>(C.size());
        return Ok;
    }

    // One literal character; Typed says the text's own character was
    // already tried.
    bool LiteralChar(const TgxPictureNode* N, unsigned Opts, bool& Typed) {
        std::string L = PicAt(N->Pos) == ';' ? CharAt(P, N->Pos + 1) : CharAt(P, N->Pos);
        if (!Typed && Len() - In.Pos + 1 >= static_cast<int>(L.size())) {
            std::string C = In.Text.substr(In.Pos - 1, L.size());
            bool Match = (IsInputChar() && (Opts & oConvert)) ? LowerAll(C) == LowerAll(L) : C == L;
            if (Match) {
                Put(L);
                In.Pos += static_cast<int>(L.size());
                Typed = true;
                return true;
            }
        }
        if (In.Pos == In.InputPos && (Opts & oInsert)) {
            In.Literals += L;
            return true;
        }
        return false;
    }
    bool Literals(int K, const TgxPictureNode* N, unsigned Opts) {
        if (Exhausted() && !(Opts & oFull)) return true;
        Rec Before = In;
        bool CouldInsert = In.Pos == In.InputPos && (Opts & oInsert);
        bool Typed = false;
        if (!LiteralChar(N, Opts, Typed)) return false;
        if (Exhausted() && !(Opts & oFull)) return true;
        int StateBefore = State;
        if (NextItems(K, Opts)) return true;
        if (!(Typed && State == StateBefore && CouldInsert)) return false;
        In = Before;
        if (!LiteralChar(N, Opts, Typed)) return false;
        if (Exhausted() && !(Opts & oFull)) return true;
        return NextItems(K, Opts);
    }

    static int Common(const std::string& A, const std::string& B) {
        size_t I = 0;
        while (I < A.size() && I < B.size() && A[I] == B[I])
            ++I;
        return static_cast<int>(I);
    }
    // Returns whether the success stands.
    bool Bookkeeping(unsigned Opts) {
        auto SetFoundInput = [&] {
            FoundInput = In.InputPos >= 1 && In.InputPos <= Len() + 1
                             ? In.Text.substr(In.InputPos - 1, In.InputLen)
                             : std::string();
        };
        if (!(Opts & oUnique)) {
            if (State == 0) {
                State = 1;
                FoundLiterals = In.Literals;
                SetFoundInput();
            }
            return true;
        }
        if (!(State < 2 || !CommonLiterals.empty())) return true;
        if (State == 0) {
            State = 1;
            FoundLiterals = CommonLiterals = In.Literals;
            SetFoundInput();
            return false;
        }
        if (In.Literals == CommonLiterals) {
            State = 1;
            FoundLiterals = In.Literals;
            return false;
        }
        int F = Common(CommonLiterals, In.Literals);
        if (F == 0) {
            ++State;
            CommonLiterals.clear();
            return true;
        }
        if (FoundLiterals != CommonLiterals) ++State;
        CommonLiterals.resize(F);
        if (In.Literals == CommonLiterals) {
            State = 1;
            FoundLiterals = In.Literals;
        }
        return false;
    }

    bool SubItems(int Parent, unsigned Opts, int Iter, const TgxPictureNode* N) {
        if (++Steps > 2'000'000) throw std::runtime_error("reference search too long");
        if (!N) return false;
        if (Iter == 0 && !N->Optional) Iter = 1;
        if (N->Count != -1 && Iter > N->Count) return false;
        Rec Saved = In;
        Stack.push_back({Parent, N, Iter, In.Pos});
        int K = static_cast<int>(Stack.size());
        bool R = false;
        if (Iter == 0) {
            R = NextItems(K, Opts);
        } else {
            switch (N->NodeType) {
            case pntCase: {
                unsigned O = Opts & ~oCaseBits;
                char A = PicAt(N->Pos);
                char B = N->Len > 1 ? PicAt(N->Pos + 1) : 0;
                if (A == '>')
                    O |= B == '>' ? oUpper : oOptUpper;
                else if (B == '<')
                    O |= oLower;
                else if (B != '>')
                    O |= oOptLower;
                R = NextItems(K, O);
                break;
            }
            case pntLiteralChars:
                R = Literals(K, N, Opts);
                break;
            case pntGroup:
                R = SubItems(K, Opts, 0, N->Child.get());
                break;
            case pntMaskChars:
            case pntRange:
                if (Exhausted() && !(Opts & oFull)) {
                    R = true;
                } else {
                    R = N->NodeType == pntRange ? Range(N, Opts) : MaskChars(N, Opts);
                    if (R && !(Exhausted() && !(Opts & oFull))) R = NextItems(K, Opts);
                }
                break;
            default:
                ADD_FAILURE() << "unexpected node type";
                break;
            }
        }
        if (R && Bookkeeping(Opts)) return true;
        Stack.resize(K - 1);
        In = Saved;
        if (N->NextAlternative) return SubItems(Parent, Opts, 0, N->NextAlternative.get());
        return false;
    }

    bool NextItems(int K, unsigned Opts) {
        if (K == 0) return In.Pos > Len();
        Entry E = Stack[K - 1];
        if (E.Node->Optional && E.Iter > 0 && In.Pos == E.TextPos) return false;
        int StateBefore = State;
        int PosBefore = In.Pos;
        bool R;
        if (!E.Node->Optional && E.Iter < E.Node->Count)
            R = SubItems(E.Parent, Opts, E.Iter + 1, E.Node);
        else if (E.Node->Next)
            R = SubItems(E.Parent, Opts, 0, E.Node->Next.get());
        else
            R = NextItems(E.Parent, Opts);
        if (R) return true;
        (void)PosBefore;
        if (State <= 1 && !(E.Iter > 0 && State == StateBefore && In.Pos == E.TextPos))
            return SubItems(E.Parent, Opts, E.Iter + 1, E.Node);
        return false;
    }

    std::string P;
    TgxCaseType CaseTypeRule;
    bool CaseOpt;
    std::vector<Entry> Stack;
    int State = 0;
    Rec In;
    std::string FoundLiterals, CommonLiterals, FoundInput;
};

bool RefValidText(RefMatcher& M, const TgxPictureNode* Root, const std::string& Text, bool Full) {
    Rec R;
    R.Text = Text;
    std::string Out;
    return M.Run(Root, R, Full ? unsigned(oFull) : 0u, Out);
}

bool RefValidInput(RefMatcher& M, const TgxPictureNode* Root, const std::string& Text,
                   std::string& Input, int Caret, bool Full, bool Insert) {
    int L = static_cast<int>(Text.size());
    Caret = std::max(1, std::min(Caret, L + 1));
    Rec R;
    R.Text = Text.substr(0, Caret - 1) + Input;
    R.InputPos = Caret;
    R.InputLen = static_cast<int>(Input.size());
    unsigned Base = Full ? unsigned(oFull) : 0u;
    std::vector<unsigned> Runs{Base, Base | oConvert};
    if (Insert) {
        Runs.push_back(Base | oInsert | oUnique);
        Runs.push_back(Base | oConvert | oInsert | oUnique);
    }
    for (unsigned O : Runs) {
        std::string Out;
        if (M.Run(Root, R, O, Out)) {
            Input = Out;
            return true;
        }
    }
    return false;
}

// Random small pictures built from the language's items.
class PictureGen {
public:
    explicit PictureGen(unsigned Seed) : Rng(Seed) {}
    std::string Picture() { return Sequence(0, 1 + Pick(4)); }

private:
    int Pick(int N) { return static_cast<int>(Rng() % static_cast<unsigned>(N)); }
    std::string Count() {
        switch (Pick(8)) {
        case 0:
            return "*";
        case 1:
            return "*2";
        case 2:
            return "*3";
        default:
            return "";
        }
    }
    std::string Item(int Depth) {
        static const char* Masks = "#?&@!";
        // An escaped digit, since a plain one after a count would lengthen it.
        static const char* Lits[] = {"a", "b", "-", ".", "(", ";1", " ", "\xc3\xa9"};
        static const char* Cases[] = {">", ">>", "<", "<<", "<>"};
        int K = Pick(Depth < 2 ? 10 : 8);
        switch (K) {
        case 0:
        case 1:
        case 2:
            return Count() + std::string(1, Masks[Pick(5)]);
        case 3:
        case 4:
            return Count() + Lits[Pick(8)];
        case 5:
            return Cases[Pick(5)];
        case 6: {
            static const char* Ranges[] = {"a-c", "^a-c", "A-C", "0-5", ";[-;]", "^0-5"};
            return Count() + (Pick(2) ? std::string("[") : std::string("{")) + Ranges[Pick(6)] +
                   "]";
        }
        case 7:
            return Count() + ";*";
        default: {
            bool Opt = Pick(2) == 0;
            std::string S = Count() + (Opt ? "[" : "{");
            int Alts = 1 + Pick(3);
            for (int A = 0; A < Alts; ++A) {
                if (A) S += ",";
                S += Sequence(Depth + 1, 1 + Pick(3));
            }
            return S + (Opt ? "]" : "}");
        }
        }
    }
    std::string Sequence(int Depth, int N) {
        std::string S;
        for (int I = 0; I < N; ++I)
            S += Item(Depth);
        return S;
    }
    std::mt19937 Rng;
};

std::string Fix(std::string S) {
    // A range written by the generator always closes with ']'; make the
    // required ones close with '}'.
    for (size_t I = 0; I + 4 < S.size(); ++I) {
        if (S[I] != '{') continue;
        size_t J = I + 1;
        if (S[J] == '^') ++J;
        auto Lit = [&](size_t& At) {
            if (At < S.size() && S[At] == ';')
                At += 2;
            else
                ++At;
        };
        size_t A = J;
        Lit(A);
        if (A < S.size() && S[A] == '-') {
            ++A;
            Lit(A);
            if (A < S.size() && S[A] == ']') S[A] = '}';
        }
    }
    return S;
}

// The picture written back from its tree: what the parser read must give
// the same text again.
std::string Rebuild(const std::string& P, const TgxPictureNode* N) {
    std::string S;
    for (; N; N = N->Next.get()) {
        if (N->Count == -1)
            S += "*";
        else if (N->Count != 1)
            S += "*" + std::to_string(N->Count);
        if (N->NodeType != pntGroup) {
            S += P.substr(N->Pos - 1, N->Len);
            continue;
        }
        S += N->Optional ? "[" : "{";
        const TgxPictureNode* C = N->Child.get();
        if (C && C->NodeType == pntRange) {
            if (C->Negate) S += "^";
            int Start = C->Pos > 1 && P[C->Pos - 2] == ';' ? C->Pos - 1 : C->Pos;
            S += P.substr(Start - 1, C->Len);
        } else {
            for (const TgxPictureNode* A = C; A; A = A->NextAlternative.get()) {
                if (A != C) S += ",";
                S += Rebuild(P, A);
            }
        }
        S += N->Optional ? "]" : "}";
    }
    return S;
}

struct MaskFixture {
    TgxMaskDefs Defs{nullptr};
    TgxMask* Mask;
    MaskFixture() {
        Mask = Defs.Masks()->Add();
        Mask->SetName("Probe");
    }
};

std::string Show(const std::string& S) {
    return "\"" + S + "\"";
}

TEST(TextMaskMatchReading, AgreesWithAPlainSearchOnRandomPictures) {
    MaskFixture F;
    TgxTextMask* TM = F.Mask->TextMask();
    std::mt19937 Rng(6301);
    static const char* Alphabet[] = {"a", "A", "b", "B", "c",        "C",        "x",
                                     "X", "0", "1", "5", "9",        "-",        ".",
                                     "(", " ", "[", "]", "\xc3\xa9", "\xc3\x89", "\xc3\xbc"};
    auto RandText = [&](int MaxLen) {
        std::string S;
        int L = static_cast<int>(Rng() % static_cast<unsigned>(MaxLen + 1));
        for (int I = 0; I < L; ++I)
            S += Alphabet[Rng() % std::size(Alphabet)];
        return S;
    };
    const TgxCaseType Cases[] = {cstNone, cstUpper, cstLower, cstSentence, cstTitle};
    int Differences = 0;
    int Compared = 0;
    int Refused = 0;
    std::ostringstream Report;
    for (int Pic = 0; Pic < 1500 && Differences < 15; ++Pic) {
        PictureGen G(static_cast<unsigned>(Pic * 7919 + 13));
        std::string Picture = Fix(G.Picture());
        TgxCaseType CT = Cases[Pic % 5];
        bool CaseOpt = (Pic / 5) % 2 == 1;
        F.Mask->GetTextCase()->SetCaseType(CT);
        F.Mask->GetTextCase()->SetOptional(CaseOpt);
        try {
            TM->SetPicture(AnsiString(Picture.c_str()));
        } catch (const EgxMaskError& E) {
            Report << "refused " << Show(Picture) << ": " << E.what() << "\n";
            ++Refused; // a picture whose search can't be bounded is refused
            continue;
        }
        TgxPictureList* List = TM->GetPictureList();
        if (!List) {
            ADD_FAILURE() << "no tree for " << Picture;
            continue;
        }
        EXPECT_EQ(Rebuild(Picture, List->Root()->Child.get()), Picture);
        RefMatcher Ref(Picture, CT, CaseOpt);
        for (int T = 0; T < 12 && Differences < 15; ++T) {
            std::string Text = RandText(5);
            bool Full = (T % 2) == 1;
            bool Want;
            try {
                Want = RefValidText(Ref, List->Root(), Text, Full);
            } catch (const std::runtime_error&) {
                continue;
            }
            bool Got = TM->ValidText(AnsiString(Text.c_str()), Full);
            ++Compared;
            if (Got != Want) {
                ++Differences;
                Report << "ValidText picture " << Show(Picture) << " case " << int(CT)
                       << (CaseOpt ? " opt" : "") << " text " << Show(Text) << " full " << Full
                       << ": got " << Got << " want " << Want << "\n";
            }
            std::string Input = RandText(3);
            int Caret = static_cast<int>(Rng() % 8);
            bool Insert = (T / 2) % 2 == 0;
            std::string WantInput = Input;
            try {
                Want = RefValidInput(Ref, List->Root(), Text, WantInput, Caret, Full, Insert);
            } catch (const std::runtime_error&) {
                continue;
            }
            AnsiString GotInput(Input.c_str());
            Got = TM->ValidInput(AnsiString(Text.c_str()), GotInput, Caret, Full, Insert);
            ++Compared;
            if (Got != Want || (Got && std::string(GotInput.c_str()) != WantInput)) {
                ++Differences;
                Report << "ValidInput picture " << Show(Picture) << " case " << int(CT)
                       << (CaseOpt ? " opt" : "") << " text " << Show(Text) << " input "
                       << Show(Input) << " caret " << Caret << " full " << Full << " insert "
                       << Insert << ": got " << Got << " " << Show(GotInput.c_str()) << " want "
                       << Want << " " << Show(WantInput) << "\n";
            }
        }
    }
    EXPECT_EQ(Differences, 0) << Report.str();
    EXPECT_GT(Compared, 20000);
    EXPECT_LT(Refused, 100) << Report.str();
}

} // namespace

namespace {

struct TextCaseRow {
    const char* Picture;
    const char* Text;
    bool Full;
    bool Want;
};

TEST(TextMaskMatchReading, WholeTextsFitTheirPictures) {
    const TextCaseRow Rows[] = {
        {"###", "12", false, true},
        {"###", "12", true, false},
        {"###", "123", true, true},
        {"###", "12a", false, false},
        {"*3#", "123", true, true},
        {"*3#", "1234", true, false},
        {"*#", "", true, false},
        {"*#", "98765", true, true},
        {"[*#]", "", true, true},
        {"[*#]", "4567", true, true},
        {"?*?", "ab", true, true},
        {"?*?", "a", true, false},
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
        {"##,??", "12", true, true},
        {"##,??", "12ab", true, false},
        {"", "anything at all", true, true},
        {"", "", true, true},
        {";*#", "*5", true, true},
        {"a-b", "a-b", true, true},
        {"*2{a,b}", "ba", true, true},
        {"*2{a,b}", "bab", true, false},
        {"*2[x]", "xx", true, true},
        {"*2[x]", "xxx", true, false},
        {"&&", "ab", true, false},
        {"&&", "AB", true, true},
        {">>?", "a", true, false},
        {"<<?", "a", true, true},
        {">?", "a", true, true},
        {"<>?", "a", true, true},
    };
    MaskFixture F;
    for (const auto& R : Rows) {
        F.Mask->SetPicture(R.Picture);
        EXPECT_EQ(F.Mask->TextMask()->ValidText(R.Text, R.Full), R.Want)
            << "picture " << R.Picture << " text " << R.Text << " full " << R.Full;
    }
}

struct InputRow {
    const char* Picture;
    TgxCaseType Case;
    const char* Text;
    const char* Input;
    int Caret;
    bool Insert;
    bool Want;
    const char* WantInput;
};

TEST(TextMaskMatchReading, TypedInputIsConvertedAndPrecededByLiterals) {
    const InputRow Rows[] = {
        {"(###) ###-####", cstNone, "", "5", 1, true, true, "(5"},
        {"(###) ###-####", cstNone, "", "(", 1, true, true, "("},
        {"(###) ###-####", cstNone, "(123", "4", 5, true, true, ") 4"},
        {"(###) ###-####", cstNone, "", "5", 1, false, false, "5"},
        {"&&", cstNone, "", "a", 1, false, true, "A"},
        {"!", cstNone, "", "a", 1, false, false, "a"},
        {"!", cstUpper, "", "a", 1, false, true, "A"},
        {"!", cstNone, "", "1", 1, false, true, "1"},
        {"@*@", cstTitle, "Ab ", "d", 4, false, true, "D"},
        {"@*@", cstTitle, "Ab", "c", 3, false, true, "c"},
        {"@*@", cstSentence, "A. B", "c", 5, false, true, "c"},
        {"@*@", cstSentence, "A.  ", "c", 5, false, true, "C"},
        {"{a-f}", cstNone, "", "C", 1, false, true, "c"},
        // The caret is brought into the text; what stood after it is dropped.
        {"###", cstNone, "12", "3", 9, false, true, "3"},
        {"###", cstNone, "12x", "3", 0, false, true, "3"},
        // Two ways to go on with different literals: nothing is inserted.
        {"{a-,b+}#", cstNone, "", "1", 1, true, false, "1"},
        // Two ways that share a beginning: the first one's literals are kept,
        // while a third way that parts from both leaves the input refused.
        {"{ab-,ab+}#", cstNone, "", "1", 1, true, true, "ab-1"},
        {"{ab-,ab+,ab=}#", cstNone, "", "1", 1, true, false, "1"},
        {"{ab-#,ab+?}", cstNone, "", "1", 1, true, true, "ab-1"},
    };
    MaskFixture F;
    for (const auto& R : Rows) {
        F.Mask->GetTextCase()->SetCaseType(R.Case);
        F.Mask->SetPicture(R.Picture);
        AnsiString In(R.Input);
        EXPECT_EQ(F.Mask->TextMask()->ValidInput(R.Text, In, R.Caret, false, R.Insert), R.Want)
            << "picture " << R.Picture << " text " << R.Text << " input " << R.Input;
        EXPECT_STREQ(In.c_str(), R.WantInput) << "picture " << R.Picture << " input " << R.Input;
    }
    // With full compare a typed character equal to a literal that then
    // leaves the picture unfinished is taken after the literal instead.
    const InputRow FullRows[] = {
        {"a@", cstNone, "", "a", 1, true, true, "aa"},
        {"a@", cstNone, "", "a", 1, false, false, "a"},
        {"###", cstNone, "1", "2", 2, true, false, "2"},
        {"##-##", cstNone, "12", "34", 3, true, true, "-34"},
    };
    for (const auto& R : FullRows) {
        F.Mask->GetTextCase()->SetCaseType(R.Case);
        F.Mask->SetPicture(R.Picture);
        AnsiString In(R.Input);
        EXPECT_EQ(F.Mask->TextMask()->ValidInput(R.Text, In, R.Caret, true, R.Insert), R.Want)
            << "picture " << R.Picture << " text " << R.Text << " input " << R.Input;
        EXPECT_STREQ(In.c_str(), R.WantInput) << "picture " << R.Picture << " input " << R.Input;
    }
}

TEST(TextMaskMatchReading, AParseErrorHandlerMayKeepTheErrorQuiet) {
    MaskFixture F;
    std::vector<std::string> Messages;
    bool Raise = false;
    F.Mask->SetOnParseError([&](TObject*, const AnsiString& Message, bool& R) {
        Messages.emplace_back(Message.c_str());
        R = Raise;
    });
    EXPECT_NO_THROW(F.Mask->SetPicture("{##"));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_NE(Messages[0].find("Error in mask Probe, expected '}' at position 4"),
              std::string::npos)
        << Messages[0];
    EXPECT_FALSE(F.Mask->TextMask()->PictureValid());
    EXPECT_TRUE(F.Mask->TextMask()->ValidText("abc", true));
    Raise = true;
    EXPECT_THROW(F.Mask->SetPicture("#]"), EgxMaskError);
    EXPECT_EQ(Messages.size(), 2u);
    F.Mask->SetPicture("##");
    EXPECT_TRUE(F.Mask->TextMask()->PictureValid());
    EXPECT_FALSE(F.Mask->TextMask()->ValidText("abc", true));
    EXPECT_TRUE(F.Mask->TextMask()->ValidText("12", true));
}

TEST(TextMaskMatchReading, SyntaxErrorsNameTheMaskAndLeaveEveryTextValid) {
    const struct {
        const char* Picture;
        const char* Message;
    } Rows[] = {
        {"{##", "Error in mask Probe, expected '}' at position 4"},
        {"##;", "Error in mask Probe, unexpected end of picture"},
        {"#]", "Error in mask Probe, invalid character ']' at position 2"},
        {"#*3", "Error in mask Probe, unexpected end of picture"},
        {"*2>#", "Error in mask Probe, invalid character '>' at position 3"},
        {"#^", "Error in mask Probe, invalid character '^' at position 2"},
        {"[#,", "Error in mask Probe, expected ']' at position 4"},
    };
    MaskFixture F;
    for (const auto& R : Rows) {
        std::string Message;
        try {
            F.Mask->SetPicture(R.Picture);
        } catch (const EgxMaskError& E) {
            Message = E.what();
        }
        EXPECT_NE(Message.find(R.Message), std::string::npos)
            << "picture " << R.Picture << ": " << Message;
        EXPECT_FALSE(F.Mask->TextMask()->PictureValid()) << R.Picture;
        EXPECT_EQ(F.Mask->TextMask()->GetPictureList(), nullptr) << R.Picture;
        EXPECT_TRUE(F.Mask->TextMask()->ValidText("not a match !", true)) << R.Picture;
        AnsiString In("zz");
        EXPECT_TRUE(F.Mask->TextMask()->ValidInput("q", In, 2, true, true)) << R.Picture;
        EXPECT_STREQ(In.c_str(), "zz") << R.Picture;
    }
}

TEST(TextMaskMatchReading, TheTreeRecordsPositionsCountsAndAlternatives) {
    MaskFixture F;
    F.Mask->SetPicture("*3#?[;[-;]]>>{a,*b}");
    const TgxPictureNode* Root = F.Mask->TextMask()->GetPictureList()->Root();
    ASSERT_NE(Root, nullptr);
    EXPECT_EQ(Root->NodeType, pntGroup);
    EXPECT_EQ(Root->Count, 1);
    EXPECT_FALSE(Root->Optional);
    const TgxPictureNode* N = Root->Child.get();
    ASSERT_NE(N, nullptr); // *3# : a count takes a single mask character
    EXPECT_EQ(N->NodeType, pntMaskChars);
    EXPECT_EQ(N->Count, 3);
    EXPECT_EQ(N->Pos, 3);
    EXPECT_EQ(N->Len, 1);
    N = N->Next.get();
    ASSERT_NE(N, nullptr); // ?
    EXPECT_EQ(N->NodeType, pntMaskChars);
    EXPECT_EQ(N->Pos, 4);
    N = N->Next.get();
    ASSERT_NE(N, nullptr); // [;[-;]]
    EXPECT_EQ(N->NodeType, pntGroup);
    EXPECT_TRUE(N->Optional);
    ASSERT_NE(N->Child, nullptr);
    EXPECT_EQ(N->Child->NodeType, pntRange);
    EXPECT_EQ(N->Child->Pos, 7);
    EXPECT_EQ(N->Child->RangeHigh, 10);
    EXPECT_EQ(N->Child->Len, 5);
    N = N->Next.get();
    ASSERT_NE(N, nullptr); // >>
    EXPECT_EQ(N->NodeType, pntCase);
    EXPECT_EQ(N->Len, 2);
    N = N->Next.get();
    ASSERT_NE(N, nullptr); // {a,*b}
    EXPECT_EQ(N->NodeType, pntGroup);
    EXPECT_FALSE(N->Optional);
    ASSERT_NE(N->Child, nullptr);
    EXPECT_EQ(N->Child->NodeType, pntLiteralChars);
    ASSERT_NE(N->Child->NextAlternative, nullptr);
    EXPECT_EQ(N->Child->NextAlternative->Count, -1);
    EXPECT_EQ(N->Child->NextAlternative->Pos, 18);
    EXPECT_EQ(N->Next, nullptr);
}

} // namespace

namespace {

// A multibyte character is one character in the picture and in the text.
TEST(TextMaskMatchReading, MultibyteCharactersCountAsOne) {
    const TextCaseRow Texts[] = {
        {"?", "\xc3\xa9", true, true}, // é is a letter
        {"#", "\xc3\xa9", true, false},
        {"@@",
         "\xc3\xa9"
         "x",
         true, true},
        {"@",
         "\xc3\xa9"
         "x",
         true, false},
        {"\xc3\xa9#",
         "\xc3\xa9"
         "5",
         true, true}, // literal é
        {"\xc3\xa9#", "e5", true, false},
        {"{\xc3\xa0-\xc3\xbc}", "\xc3\xa9", true, true}, // à-ü holds é
        {"{\xc3\xa0-\xc3\xbc}", "a", true, false},
        {"*2?", "\xc3\xa9\xc3\xa9", true, true},
        {"*2?", "\xc3\xa9", true, false},
        {"&", "\xc3\x89", true, true}, // É
        {"&", "\xc3\xa9", true, false},
    };
    MaskFixture F;
    for (const auto& R : Texts) {
        F.Mask->SetPicture(R.Picture);
        EXPECT_EQ(F.Mask->TextMask()->ValidText(R.Text, R.Full), R.Want)
            << "picture " << R.Picture << " text " << R.Text;
    }
    const InputRow Inputs[] = {
        {"&", cstNone, "", "\xc3\xa9", 1, false, true, "\xc3\x89"},
        {">?", cstNone, "", "\xc3\xa9", 1, false, true, "\xc3\x89"},
        {"\xc3\xa9#", cstNone, "", "5", 1, true, true,
         "\xc3\xa9"
         "5"},
        {"?", cstUpper, "", "\xc3\xa9", 1, false, true, "\xc3\x89"},
    };
    for (const auto& R : Inputs) {
        F.Mask->GetTextCase()->SetCaseType(R.Case);
        F.Mask->SetPicture(R.Picture);
        AnsiString In(R.Input);
        EXPECT_EQ(F.Mask->TextMask()->ValidInput(R.Text, In, R.Caret, true, R.Insert), R.Want)
            << "picture " << R.Picture << " input " << R.Input;
        EXPECT_STREQ(In.c_str(), R.WantInput) << "picture " << R.Picture;
    }
}

} // namespace

namespace {

// Long texts and deep or oversized pictures neither crash nor hang.
TEST(TextMaskMatchReading, LongTextsAndExtremePicturesAreHandled) {
    MaskFixture F;
    const std::string Long(60000, '7');
    const struct {
        const char* Picture;
        bool Want;
    } Rows[] = {{"", true},     {"*#", true},     {"[*@]", true},
                {"*{#}", true}, {"*[#,@]", true}, {"*?", false}};
    for (const auto& R : Rows) {
        F.Mask->SetPicture(R.Picture);
        EXPECT_EQ(F.Mask->TextMask()->ValidText(Long.c_str(), true), R.Want) << R.Picture;
        AnsiString In(Long.c_str());
        EXPECT_EQ(F.Mask->TextMask()->ValidInput("", In, 1, true, true), R.Want) << R.Picture;
    }
    for (const char* Picture : {"*99999999999999999999#", "*4294967297#", "*2147483648#"}) {
        bool Raised = false;
        try {
            F.Mask->SetPicture(Picture);
            F.Mask->TextMask()->ValidText("12", false);
        } catch (const EgxMaskError&) {
            Raised = true;
        }
        EXPECT_TRUE(Raised || F.Mask->TextMask()->PictureValid()) << Picture;
    }
    std::string Deep = std::string(20000, '[') + "#" + std::string(20000, ']');
    try {
        F.Mask->SetPicture(Deep.c_str());
        F.Mask->TextMask()->ValidText("1", true);
    } catch (const EgxMaskError&) {
    }
    std::string Wide;
    for (int I = 0; I < 20000; ++I)
        Wide += "a";
    F.Mask->SetPicture(Wide.c_str());
    EXPECT_TRUE(F.Mask->TextMask()->ValidText(Wide.c_str(), true));
}

} // namespace

namespace {

TEST(TextMaskMatchReading, TextCaseChangesTellTheMaskAndSteerMatching) {
    MaskFixture F;
    F.Mask->SetPicture("?");
    int Changes = 0;
    F.Mask->SetOnChange([&](TObject*) { ++Changes; });
    TgxTextCase* TC = F.Mask->GetTextCase();
    TC->SetCaseType(cstLower);
    EXPECT_EQ(Changes, 1);
    TC->SetCaseType(cstLower);
    EXPECT_EQ(Changes, 1);
    EXPECT_FALSE(F.Mask->TextMask()->ValidText("A", true));
    TC->SetOptional(true);
    EXPECT_EQ(Changes, 2);
    TC->SetOptional(true);
    EXPECT_EQ(Changes, 2);
    // Optional lower: a letter already in the text keeps its case.
    EXPECT_TRUE(F.Mask->TextMask()->ValidText("A", true));
    TgxTextCase Other;
    Other.SetCaseType(cstTitle);
    TC->Assign(&Other);
    EXPECT_EQ(TC->CaseType(), cstTitle);
    EXPECT_FALSE(TC->Optional());
    AnsiString In("q");
    EXPECT_TRUE(F.Mask->TextMask()->ValidInput("", In, 1, true, false));
    EXPECT_STREQ(In.c_str(), "Q");
}

TEST(TextMaskMatchReading, TheParseStackNumbersEntriesFromOne) {
    TgxParseStack S;
    TgxPictureNode N;
    for (int I = 1; I <= 25; ++I)
        EXPECT_EQ(S.Push(I - 1, &N, I, I * 2), I);
    EXPECT_EQ(S.Item(25).Parent, 24);
    EXPECT_EQ(S.Item(25).TextPos, 50);
    S.Pop();
    EXPECT_EQ(S.Count(), 24);
    S.Reset();
    EXPECT_EQ(S.Count(), 0);
    S.Pop(); // an empty stack stays empty
    EXPECT_EQ(S.Count(), 0);
    EXPECT_EQ(S.Push(0, &N, 0, 1), 1);
}

} // namespace
