#include "platform/data/FilterExpression.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/Field.h"
#include "platform/data/SqlDateText.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace {

enum class Op { Or, And, Not, Eq, Ne, Lt, Gt, Le, Ge, IsNull, IsNotNull, Field, Constant };

// How two values are compared: by the kind of the field on one side.
enum class Kind { Text, Number, Date, Truth };

Kind KindOf(const TField* Field) {
    switch (Field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return Kind::Number;
    case ftDate:
    case ftTime:
    case ftDateTime:
        return Kind::Date;
    case ftBoolean:
        return Kind::Truth;
    default:
        return Kind::Text;
    }
}

} // namespace

struct TFilterExpression::Node {
    Op Type;
    std::unique_ptr<Node> Left;
    std::unique_ptr<Node> Right;
    const TField* Field = nullptr;
    AnsiString Text; // a constant as written
    bool IsNull = false;
};

namespace {

using Node = TFilterExpression::Node;

class Parser {
public:
    Parser(const AnsiString& Text, const TFields& Fields) : FText(Text), FFields(Fields) {}

    std::unique_ptr<Node> Parse(bool& UsesCalculated) {
        Next();
        auto Root = ParseOr();
        if (FToken != Tok::End) Error("unexpected '" + FValue + "'");
        UsesCalculated = FUsesCalculated;
        return Root;
    }

private:
    enum class Tok { End, Name, String, Number, LParen, RParen, Compare, Word };

    [[noreturn]] void Error(const AnsiString& What) const {
        DatabaseError("Invalid filter \"" + FText + "\": " + What);
    }

    void Next() {
        while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos])))
            ++FPos;
        FValue.clear();
        if (FPos >= FText.size()) {
            FToken = Tok::End;
            return;
        }
        const char C = FText[FPos];
        if (C == '(' || C == ')') {
            FToken = C == '(' ? Tok::LParen : Tok::RParen;
            FValue = C;
            ++FPos;
        } else if (C == '\'') {
            ++FPos;
            for (;;) {
                if (FPos >= FText.size()) Error("unterminated text");
                if (FText[FPos] == '\'') {
                    if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                        FValue += '\'';
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    break;
                }
                FValue += FText[FPos++];
            }
            FToken = Tok::String;
        } else if (C == '[') {
            const auto End = FText.find(']', FPos);
            if (End == AnsiString::npos) Error("unterminated field name");
            FValue = FText.substr(FPos + 1, End - FPos - 1);
            FPos = End + 1;
            FToken = Tok::Name;
        } else if (C == '=' || C == '<' || C == '>' || C == '!') {
            FValue = C;
            ++FPos;
            if (FPos < FText.size() && (FText[FPos] == '=' || (C == '<' && FText[FPos] == '>'))) {
                FValue += FText[FPos];
                ++FPos;
            }
            if (FValue == "!") Error("unexpected '!'");
            FToken = Tok::Compare;
        } else if (std::isdigit(static_cast<unsigned char>(C)) || C == '-' || C == '.') {
            std::size_t Start = FPos++;
            while (FPos < FText.size() &&
                   (std::isdigit(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '.'))
                ++FPos;
            FValue = FText.substr(Start, FPos - Start);
            FToken = Tok::Number;
        } else if (std::isalpha(static_cast<unsigned char>(C)) || C == '_') {
            std::size_t Start = FPos;
            while (FPos < FText.size() &&
                   (std::isalnum(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '_'))
                ++FPos;
            FValue = FText.substr(Start, FPos - Start);
            FToken = Tok::Word;
        } else {
            Error(AnsiString("unexpected '") + C + "'");
        }
    }

    bool IsWord(const char* Word) const { return FToken == Tok::Word && SameText(FValue, Word); }

    static std::unique_ptr<Node> Make(Op Type, std::unique_ptr<Node> L = nullptr,
                                      std::unique_ptr<Node> R = nullptr) {
        auto N = std::make_unique<Node>();
        N->Type = Type;
        N->Left = std::move(L);
        N->Right = std::move(R);
        return N;
    }

    std::unique_ptr<Node> ParseOr() {
        auto Left = ParseAnd();
        while (IsWord("or")) {
            Next();
            Left = Make(Op::Or, std::move(Left), ParseAnd());
        }
        return Left;
    }

    std::unique_ptr<Node> ParseAnd() {
        auto Left = ParseNot();
        while (IsWord("and")) {
            Next();
            Left = Make(Op::And, std::move(Left), ParseNot());
        }
        return Left;
    }

    std::unique_ptr<Node> ParseNot() {
        if (IsWord("not")) {
            Next();
            return Make(Op::Not, ParseNot());
        }
        return ParseComparison();
    }

    std::unique_ptr<Node> ParseComparison() {
        if (FToken == Tok::LParen) {
            Next();
            auto Inner = ParseOr();
            if (FToken != Tok::RParen) Error("')' expected");
            Next();
            return Inner;
        }
        auto Left = ParseOperand();
        if (IsWord("is")) {
            Next();
            bool Negated = false;
            if (IsWord("not")) {
                Negated = true;
                Next();
            }
            if (!IsWord("null")) Error("NULL expected after IS");
            Next();
            return Make(Negated ? Op::IsNotNull : Op::IsNull, std::move(Left));
        }
        if (FToken != Tok::Compare) Error("a comparison expected after '" + Describe(*Left) + "'");
        const AnsiString Operator = FValue;
        Next();
        auto Right = ParseOperand();
        // Comparing with NULL asks whether the value is missing.
        if (Right->IsNull || Left->IsNull) {
            auto& Value = Right->IsNull ? Left : Right;
            if (Operator == "=") return Make(Op::IsNull, std::move(Value));
            if (Operator == "<>" || Operator == "!=") return Make(Op::IsNotNull, std::move(Value));
            Error("NULL can only be compared with = or <>");
        }
        if (Left->Type != Op::Field && Right->Type != Op::Field)
            Error("a comparison needs a field");
        Op Type = Operator == "="                        ? Op::Eq
                  : Operator == "<>" || Operator == "!=" ? Op::Ne
                  : Operator == "<"                      ? Op::Lt
                  : Operator == ">"                      ? Op::Gt
                  : Operator == "<="                     ? Op::Le
                                                         : Op::Ge;
        return Make(Type, std::move(Left), std::move(Right));
    }

    static AnsiString Describe(const Node& N) {
        return N.Type == Op::Field ? N.Field->FieldName() : N.Text;
    }

    std::unique_ptr<Node> ParseOperand() {
        auto N = Make(Op::Constant);
        switch (FToken) {
        case Tok::String:
        case Tok::Number:
            N->Text = FValue;
            break;
        case Tok::Word:
            if (SameText(FValue, "null")) {
                N->IsNull = true;
                N->Text = "NULL";
                break;
            }
            [[fallthrough]];
        case Tok::Name:
            N->Type = Op::Field;
            N->Field = FFields.FieldByName(FValue);
            FUsesCalculated = FUsesCalculated || N->Field->Calculated();
            break;
        default:
            Error(FToken == Tok::End ? AnsiString("unexpected end")
                                     : "unexpected '" + FValue + "'");
        }
        Next();
        return N;
    }

    const AnsiString& FText;
    const TFields& FFields;
    std::size_t FPos = 0;
    Tok FToken = Tok::End;
    AnsiString FValue;
    bool FUsesCalculated = false;
};

// -1, 0, 1; Ok false when a side has no value of the kind.
int Compare(const Node& A, const Node& B, Kind K, TFilterOptions Options, bool& Ok,
            bool& PrefixMatch) {
    Ok = true;
    PrefixMatch = false;
    auto TextOf = [](const Node& N) { return N.Type == Op::Field ? N.Field->AsString() : N.Text; };
    auto NullOf = [](const Node& N) { return N.Type == Op::Field && N.Field->IsNull(); };
    if (NullOf(A) || NullOf(B)) {
        Ok = false;
        return 0;
    }
    switch (K) {
    case Kind::Number:
    case Kind::Date:
    case Kind::Truth: {
        auto NumberOf = [&](const Node& N, double& Value) {
            if (N.Type == Op::Field) {
                if (KindOf(N.Field) == Kind::Text) return TryStrToFloat(N.Field->AsString(), Value);
                Value = KindOf(N.Field) == Kind::Truth ? (N.Field->AsBoolean() ? 1.0 : 0.0)
                                                       : N.Field->AsFloat();
                return true;
            }
            if (K == Kind::Date) {
                TDateTime Date;
                if (TryParseSqlDateTime(N.Text, Date) || TryStrToDateTime(N.Text, Date)) {
                    Value = Date;
                    return true;
                }
            }
            if (K == Kind::Truth) {
                if (SameText(N.Text, "True") || SameText(N.Text, "False")) {
                    Value = SameText(N.Text, "True") ? 1.0 : 0.0;
                    return true;
                }
            }
            const AnsiString T = Trim(N.Text);
            const auto R = std::from_chars(T.data(), T.data() + T.size(), Value);
            return R.ec == std::errc() && R.ptr == T.data() + T.size();
        };
        double X, Y;
        if (!NumberOf(A, X) || !NumberOf(B, Y)) {
            Ok = false;
            return 0;
        }
        return X < Y ? -1 : X > Y ? 1 : 0;
    }
    case Kind::Text:
        break;
    }
    AnsiString X = TextOf(A), Y = TextOf(B);
    const bool NoCase = Options.Contains(foCaseInsensitive);
    if (NoCase) {
        X = AnsiUpperCase(X);
        Y = AnsiUpperCase(Y);
    }
    // A constant ending in '*' matches every text that starts with the rest.
    if (!Options.Contains(foNoPartialCompare)) {
        const Node& Constant = A.Type == Op::Constant ? A : B;
        AnsiString& Pattern = A.Type == Op::Constant ? X : Y;
        const AnsiString& Other = A.Type == Op::Constant ? Y : X;
        if (Constant.Type == Op::Constant && !Pattern.empty() && Pattern.back() == '*') {
            Pattern.pop_back();
            PrefixMatch = true;
            return Other.compare(0, Pattern.size(), Pattern) == 0 ? 0 : 1;
        }
    }
    const int C = X.compare(Y);
    return C < 0 ? -1 : C > 0 ? 1 : 0;
}

bool Eval(const Node& N, TFilterOptions Options) {
    switch (N.Type) {
    case Op::Or:
        return Eval(*N.Left, Options) || Eval(*N.Right, Options);
    case Op::And:
        return Eval(*N.Left, Options) && Eval(*N.Right, Options);
    case Op::Not:
        return !Eval(*N.Left, Options);
    case Op::IsNull:
        return N.Left->Type == Op::Field && N.Left->Field->IsNull();
    case Op::IsNotNull:
        return N.Left->Type == Op::Field && !N.Left->Field->IsNull();
    case Op::Field:
    case Op::Constant:
        return false;
    default:
        break;
    }
    const Node& FieldSide = N.Left->Type == Op::Field ? *N.Left : *N.Right;
    bool Ok, Prefix;
    const int C = Compare(*N.Left, *N.Right, KindOf(FieldSide.Field), Options, Ok, Prefix);
    if (!Ok) return false;
    switch (N.Type) {
    case Op::Eq:
        return C == 0;
    case Op::Ne:
        return C != 0;
    case Op::Lt:
        return !Prefix && C < 0;
    case Op::Gt:
        return !Prefix && C > 0;
    case Op::Le:
        return Prefix ? C == 0 : C <= 0;
    case Op::Ge:
        return Prefix ? C == 0 : C >= 0;
    default:
        return false;
    }
}

} // namespace

TFilterExpression::TFilterExpression(const AnsiString& Text, const TFields& Fields,
                                     TFilterOptions Options)
    : FOptions(Options) {
    Parser P(Text, Fields);
    FRoot = P.Parse(FUsesCalculated);
}

TFilterExpression::~TFilterExpression() = default;

bool TFilterExpression::Evaluate() const {
    return Eval(*FRoot, FOptions);
}
