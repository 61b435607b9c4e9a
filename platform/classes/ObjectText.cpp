#include "platform/classes/ObjectText.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int MaxDepth = 64;

AnsiString FloatText(double Value) {
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    char Buffer[64];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
    AnsiString Text(Buffer, Result.ptr);
    if (Text.find_first_of(".e") == AnsiString::npos) Text += ".0";
    return Text;
}

AnsiString FloatText(float Value) {
    if (std::isnan(Value) || std::isinf(Value)) return FloatText(static_cast<double>(Value));
    char Buffer[64];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
    AnsiString Text(Buffer, Result.ptr);
    if (Text.find_first_of(".e") == AnsiString::npos) Text += ".0";
    return Text;
}

AnsiString QuotedText(const AnsiString& Value) {
    if (Value.empty()) return "''";
    AnsiString Result;
    bool InQuotes = false;
    for (char C : Value) {
        const auto Byte = static_cast<unsigned char>(C);
        if (Byte < 32) {
            if (InQuotes) Result += '\'';
            InQuotes = false;
            Result += '#' + IntToStr(int{Byte});
            continue;
        }
        if (!InQuotes) Result += '\'';
        InQuotes = true;
        if (C == '\'') Result += '\'';
        Result += C;
    }
    if (InQuotes) Result += '\'';
    return Result;
}

// ---- binary to text ------------------------------------------------------------------

class TBinaryToText {
public:
    TBinaryToText(TStream* Input, TStream* Output)
        : FReader(Input), FInput(Input), FOutput(Output) {}

    void Run() {
        FReader.ReadSignature();
        ConvertObject(0);
    }

private:
    void Enter() {
        if (++FDepth > MaxDepth) throw EReadError("Invalid stream format: nesting too deep");
    }
    void Put(const AnsiString& Text) {
        FOutput->WriteBuffer(Text.data(), static_cast<int>(Text.size()));
    }
    void NewLine(int Indent) { Put("\n" + AnsiString(static_cast<std::size_t>(Indent) * 2, ' ')); }

    void ConvertObject(int Indent) {
        Enter();
        std::uint8_t Flags = 0;
        std::int64_t Position = -1;
        std::uint8_t Byte = 0;
        if (FInput->GetPosition() >= FInput->GetSize())
            throw EReadError("Stream read error: component expected");
        FReader.Read(&Byte, 1);
        if ((Byte & 0xF0) == 0xF0) {
            Flags = Byte & 0x0F;
            if (Flags & ffChildPos) Position = FReader.ReadInt64();
        } else {
            FInput->Seek(-1, soCurrent);
        }
        const AnsiString ClassName = FReader.ReadStr();
        const AnsiString Name = FReader.ReadStr();
        AnsiString Header = (Flags & ffInherited) ? "inherited "
                            : (Flags & ffInline)  ? "inline "
                                                  : "object ";
        Header += Name.empty() ? ClassName : Name + ": " + ClassName;
        if (Flags & ffChildPos) Header += " [" + IntToStr(Position) + "]";
        if (Indent > 0) NewLine(Indent);
        Put(Header);
        while (!FReader.EndOfList()) {
            NewLine(Indent + 1);
            Put(FReader.ReadStr() + " = ");
            ConvertValue(Indent + 1);
        }
        FReader.ReadListEnd();
        while (!FReader.EndOfList())
            ConvertObject(Indent + 1);
        FReader.ReadListEnd();
        NewLine(Indent);
        Put("end");
        if (Indent == 0) Put("\n");
        --FDepth;
    }

    void ConvertValue(int Indent) {
        Enter();
        switch (FReader.NextValue()) {
        case vaList:
            FReader.ReadValue();
            Put("(");
            while (!FReader.EndOfList()) {
                NewLine(Indent + 1);
                ConvertValue(Indent + 1);
            }
            FReader.ReadListEnd();
            Put(")");
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            Put(IntToStr(FReader.ReadInt64()));
            break;
        case vaExtended:
        case vaDouble:
            Put(FloatText(FReader.ReadFloat()));
            break;
        case vaSingle: {
            FReader.ReadValue();
            float Value;
            FReader.Read(&Value, 4);
            Put(FloatText(Value) + "s");
            break;
        }
        case vaCurrency: {
            FReader.ReadValue();
            std::int64_t Scaled;
            FReader.Read(&Scaled, 8);
            Put(CurrencyText(Scaled) + "c");
            break;
        }
        case vaDate: {
            FReader.ReadValue();
            double Value;
            FReader.Read(&Value, 8);
            Put(FloatText(Value) + "d");
            break;
        }
        case vaString:
        case vaLString:
        case vaUTF8String:
        case vaWString:
            Put(QuotedText(FReader.ReadString()));
            break;
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull:
            Put(FReader.ReadIdent());
            break;
        case vaBinary:
            ConvertBinary(Indent);
            break;
        case vaSet: {
            FReader.ReadValue();
            Put("[");
            bool First = true;
            for (AnsiString Member = FReader.ReadStr(); !Member.empty();
                 Member = FReader.ReadStr()) {
                if (!First) Put(", ");
                First = false;
                Put(Member);
            }
            Put("]");
            break;
        }
        case vaCollection: {
            FReader.ReadValue();
            Put("<");
            while (!FReader.EndOfList()) {
                NewLine(Indent + 1);
                Put("item");
                if (FReader.NextValue() != vaList) Put(" [" + IntToStr(FReader.ReadInt64()) + "]");
                FReader.ReadListBegin();
                while (!FReader.EndOfList()) {
                    NewLine(Indent + 2);
                    Put(FReader.ReadStr() + " = ");
                    Enter();
                    ConvertValue(Indent + 2);
                    --FDepth;
                }
                FReader.ReadListEnd();
                NewLine(Indent + 1);
                Put("end");
            }
            FReader.ReadListEnd();
            Put(">");
            break;
        }
        }
        --FDepth;
    }

    void ConvertBinary(int Indent) {
        FReader.ReadValue();
        std::int32_t Size = 0;
        FReader.Read(&Size, 4);
        if (Size < 0) throw EReadError("Invalid stream format: negative binary size");
        std::vector<unsigned char> Bytes(static_cast<std::size_t>(
            std::min<std::int64_t>(Size, FInput->GetSize() - FInput->GetPosition())));
        if (static_cast<std::int64_t>(Bytes.size()) < Size)
            throw EReadError("Stream read error: binary data needs " + IntToStr(Size) + " bytes");
        if (!Bytes.empty()) FReader.Read(Bytes.data(), Size);
        static const char Hex[] = "0123456789ABCDEF";
        Put("{");
        for (std::size_t I = 0; I < Bytes.size(); ++I) {
            if (I % 32 == 0) NewLine(Indent + 1);
            Put(AnsiString{Hex[Bytes[I] >> 4], Hex[Bytes[I] & 15]});
        }
        Put("}");
    }

    static AnsiString CurrencyText(std::int64_t Scaled) {
        const bool Negative = Scaled < 0;
        const std::uint64_t Magnitude =
            Negative ? 0 - static_cast<std::uint64_t>(Scaled) : static_cast<std::uint64_t>(Scaled);
        AnsiString Result = (Negative ? "-" : "") + IntToStr(Magnitude / 10000);
        AnsiString Fraction = IntToStr(Magnitude % 10000);
        Fraction = AnsiString(4 - Fraction.size(), '0') + Fraction;
        while (!Fraction.empty() && Fraction.back() == '0')
            Fraction.pop_back();
        if (Fraction.empty()) Fraction = "0";
        return Result + "." + Fraction;
    }

    TReader FReader;
    TStream* FInput;
    TStream* FOutput;
    int FDepth = 0;
};

// ---- text to binary ------------------------------------------------------------------

enum class TToken { Eof, Symbol, Ident, Integer, Float, String };

class TTextToBinary {
public:
    TTextToBinary(AnsiString Text, TStream* Output) : FText(std::move(Text)), FWriter(Output) {}

    void Run() {
        Next();
        FWriter.WriteSignature();
        ParseObject();
        if (FToken != TToken::Eof) Error("end of text expected");
    }

private:
    [[noreturn]] void Error(const AnsiString& What) const { ErrorAt(FLine, What); }
    [[noreturn]] static void ErrorAt(int Line, const AnsiString& What) {
        throw EParserError("Line " + IntToStr(Line) + ": " + What);
    }

    static bool IsIdentChar(char C) {
        return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') ||
               C == '_';
    }

    void SkipBlanks() {
        while (FPos < FText.size()) {
            const char C = FText[FPos];
            if (C == '\n') ++FLine;
            if (C != ' ' && C != '\t' && C != '\r' && C != '\n') break;
            ++FPos;
        }
    }

    void Next() {
        SkipBlanks();
        FValue.clear();
        if (FPos >= FText.size()) {
            FToken = TToken::Eof;
            return;
        }
        const char C = FText[FPos];
        if (IsIdentChar(C) && !(C >= '0' && C <= '9')) {
            const std::size_t Start = FPos;
            while (FPos < FText.size() && (IsIdentChar(FText[FPos]) || FText[FPos] == '.'))
                ++FPos;
            FValue = FText.substr(Start, FPos - Start);
            if (FValue.size() > 255) Error("identifier too long");
            FToken = TToken::Ident;
            return;
        }
        if ((C >= '0' && C <= '9') || C == '-' || C == '$') {
            ReadNumber();
            return;
        }
        if (C == '\'' || C == '#') {
            ReadString();
            return;
        }
        ++FPos;
        FValue = AnsiString(1, C);
        FToken = TToken::Symbol;
    }

    void ReadNumber() {
        const std::size_t Start = FPos;
        if (FText[FPos] == '-') ++FPos;
        if (FPos < FText.size() && FText[FPos] == '$') {
            ++FPos;
            while (FPos < FText.size() && std::isxdigit(static_cast<unsigned char>(FText[FPos])))
                ++FPos;
            FValue = FText.substr(Start, FPos - Start);
            FToken = TToken::Integer;
            return;
        }
        bool IsFloat = false;
        while (FPos < FText.size()) {
            const char C = FText[FPos];
            if (C >= '0' && C <= '9') {
                ++FPos;
            } else if (C == '.' || C == 'e' || C == 'E' ||
                       ((C == '+' || C == '-') &&
                        (FText[FPos - 1] == 'e' || FText[FPos - 1] == 'E'))) {
                IsFloat = true;
                ++FPos;
            } else {
                break;
            }
        }
        FValue = FText.substr(Start, FPos - Start);
        if (FValue == "-") {
            // "-INF"
            if (FText.compare(FPos, 3, "INF") == 0) {
                FPos += 3;
                FValue = "-INF";
                FToken = TToken::Float;
                FSuffix = 0;
                return;
            }
            Error("number expected");
        }
        FToken = IsFloat ? TToken::Float : TToken::Integer;
        FSuffix = 0;
        if (IsFloat && FPos < FText.size() &&
            (FText[FPos] == 's' || FText[FPos] == 'c' || FText[FPos] == 'd' || FText[FPos] == 'S' ||
             FText[FPos] == 'C' || FText[FPos] == 'D'))
            FSuffix = static_cast<char>(FText[FPos++] | 0x20);
    }

    void ReadString() {
        AnsiString Result;
        while (FPos < FText.size()) {
            if (FText[FPos] == '\'') {
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size() || FText[FPos] == '\n') Error("unterminated string");
                    if (FText[FPos] == '\'') {
                        if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                            Result += '\'';
                            FPos += 2;
                            continue;
                        }
                        ++FPos;
                        break;
                    }
                    Result += FText[FPos++];
                }
            } else if (FText[FPos] == '#') {
                ++FPos;
                std::size_t Start = FPos;
                while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9')
                    ++FPos;
                unsigned Code = 0;
                const auto Parsed =
                    std::from_chars(FText.data() + Start, FText.data() + FPos, Code);
                if (FPos == Start || Parsed.ec != std::errc() || Code > 0x10FFFF)
                    Error("invalid character code");
                AppendUtf8(Result, Code);
            } else {
                break;
            }
        }
        FValue = Result;
        FToken = TToken::String;
    }

    bool IsSymbol(char C) const { return FToken == TToken::Symbol && FValue[0] == C; }
    void Expect(char C) {
        if (!IsSymbol(C)) Error(AnsiString("'") + C + "' expected");
        Next();
    }
    bool IsWord(const char* Word) const {
        return FToken == TToken::Ident && FValue.size() == std::strlen(Word) &&
               std::equal(FValue.begin(), FValue.end(), Word,
                          [](char A, char B) { return (A | 0x20) == (B | 0x20); });
    }
    AnsiString TakeIdent(const char* What) {
        if (FToken != TToken::Ident) Error(AnsiString(What) + " expected");
        AnsiString Result = FValue;
        Next();
        return Result;
    }

    void Enter() {
        if (++FDepth > MaxDepth) Error("nesting too deep");
    }

    void ParseObject() {
        Enter();
        std::uint8_t Flags = 0;
        if (IsWord("inherited"))
            Flags = ffInherited;
        else if (IsWord("inline"))
            Flags = ffInline;
        else if (!IsWord("object"))
            Error("'object' expected");
        Next();
        int ClassLine = FLine;
        AnsiString Name = TakeIdent("name");
        AnsiString ClassName;
        if (IsSymbol(':')) {
            Next();
            ClassLine = FLine;
            ClassName = TakeIdent("class name");
        } else {
            ClassName = Name;
            Name.clear();
        }
        // The class name opens the object in the stream, and a length byte
        // of $F0 or more there reads as the flags of an inherited or inline
        // object: such a name would make a stream nothing can read back.
        if (ClassName.size() >= 0xF0)
            ErrorAt(ClassLine, "class name " + ClassName.substr(0, 16) + "... is " +
                                   IntToStr(ClassName.size()) +
                                   " characters long; a stream carries at most 239");
        std::int64_t Position = -1;
        if (IsSymbol('[')) {
            Next();
            if (FToken != TToken::Integer) Error("position expected");
            Position = IntegerValue();
            // A child's place among its parent's children, as the reader
            // takes it: a whole number from 0 that an Integer holds.
            if (Position < 0 || Position > std::numeric_limits<int>::max())
                Error("child position " + FValue + " out of range");
            Next();
            Expect(']');
            Flags |= ffChildPos;
        }
        if (Flags) {
            const auto Byte = static_cast<std::uint8_t>(0xF0 | Flags);
            FWriter.Write(&Byte, 1);
            if (Flags & ffChildPos) FWriter.WriteInteger(Position);
        }
        FWriter.WriteStr(ClassName);
        FWriter.WriteStr(Name);
        while (FToken == TToken::Ident && !IsWord("object") && !IsWord("inherited") &&
               !IsWord("inline") && !IsWord("end"))
            ParseProperty();
        FWriter.WriteListEnd();
        while (IsWord("object") || IsWord("inherited") || IsWord("inline"))
            ParseObject();
        FWriter.WriteListEnd();
        if (!IsWord("end")) Error("'end' expected");
        Next();
        --FDepth;
    }

    void ParseProperty() {
        const AnsiString Name = TakeIdent("property name");
        FWriter.WriteStr(Name);
        Expect('=');
        ParseValue();
    }

    std::int64_t IntegerValue() const {
        std::int64_t Value = 0;
        const bool Negative = !FValue.empty() && FValue[0] == '-';
        const char* First = FValue.data() + (Negative ? 1 : 0);
        const char* Last = FValue.data() + FValue.size();
        std::uint64_t Magnitude = 0;
        const bool Hex = First < Last && *First == '$';
        const auto Parsed = std::from_chars(First + (Hex ? 1 : 0), Last, Magnitude, Hex ? 16 : 10);
        if (Parsed.ec != std::errc() || Parsed.ptr != Last ||
            Magnitude > (Negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1))
            Error("invalid integer " + FValue);
        Value = Negative ? static_cast<std::int64_t>(0 - Magnitude)
                         : static_cast<std::int64_t>(Magnitude);
        return Value;
    }

    // A currency text as its value in ten-thousandths, exactly: through a
    // double its 19 digits would lose the last ones. Digits past the fourth
    // decimal round half away from zero.
    std::int64_t CurrencyValue() const {
        const char* At = FValue.data();
        const char* End = At + FValue.size();
        const bool Negative = At < End && *At == '-';
        if (Negative) ++At;
        std::string Digits; // every digit, the point left out
        int Decimals = 0;   // how many of them stand after the point
        bool Point = false;
        for (; At < End && ((*At >= '0' && *At <= '9') || (*At == '.' && !Point)); ++At) {
            if (*At == '.') {
                Point = true;
                continue;
            }
            Digits += *At;
            if (Point) ++Decimals;
        }
        int Exponent = 0;
        if (At < End && (*At == 'e' || *At == 'E')) {
            ++At;
            const bool Plus = At < End && *At == '+';
            const auto Parsed = std::from_chars(At + (Plus ? 1 : 0), End, Exponent);
            if (Parsed.ec != std::errc()) Error("invalid number " + FValue);
            At = Parsed.ptr;
        }
        if (At != End || Digits.empty()) Error("invalid number " + FValue);
        // The value is Digits * 10^Shift ten-thousandths.
        const long long Shift = 4LL - Decimals + Exponent;
        const auto Range = [this] { Error("currency value out of range: " + FValue); };
        unsigned __int128 Magnitude = 0;
        const unsigned __int128 Limit =
            (static_cast<unsigned __int128>(1) << 63) - (Negative ? 0 : 1);
        // Digits from Cut on stand past the fourth decimal; a Cut below 0
        // puts zeros between the point and them.
        const long long Cut = static_cast<long long>(Digits.size()) + std::min(Shift, 0LL);
        const long long Kept = std::max<long long>(0, Cut);
        for (long long I = 0; I < Kept; ++I) {
            Magnitude =
                Magnitude * 10 + static_cast<unsigned>(Digits[static_cast<std::size_t>(I)] - '0');
            if (Magnitude > Limit) Range();
        }
        for (long long I = 0; I < Shift && Magnitude != 0; ++I) {
            Magnitude *= 10;
            if (Magnitude > Limit) Range();
        }
        // The first digit cut off decides the rounding: one of those zeros
        // when there are any (5e-6 is 0.000005, which rounds to 0).
        if (Cut >= 0 && Cut < static_cast<long long>(Digits.size()) &&
            Digits[static_cast<std::size_t>(Cut)] >= '5') {
            ++Magnitude;
            if (Magnitude > Limit) Range();
        }
        return Negative ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(Magnitude))
                        : static_cast<std::int64_t>(Magnitude);
    }

    double FloatValue() const {
        if (FValue == "-INF") return -std::numeric_limits<double>::infinity();
        double Value = 0;
        const auto Parsed = std::from_chars(FValue.data(), FValue.data() + FValue.size(), Value);
        if (Parsed.ec != std::errc() || Parsed.ptr != FValue.data() + FValue.size())
            Error("invalid number " + FValue);
        return Value;
    }

    // A single text read as a single: rounded once, from the decimal
    // digits, so the shortest text of every single gives that single again
    // (through a double, some round to a neighbour, and the largest come
    // out past the range). Past the largest single the value would be
    // stored as an infinity, which reads back as a double: it is refused.
    // Below the smallest it is a zero of its sign, as it always was.
    float SingleValue(double Approximate) const {
        float Value = 0;
        const char* End = FValue.data() + FValue.size();
        const auto Parsed = std::from_chars(FValue.data(), End, Value);
        if (Parsed.ec == std::errc() && Parsed.ptr == End) return Value;
        if (std::fabs(Approximate) > std::numeric_limits<float>::max() || std::isnan(Approximate))
            Error("single value out of range: " + FValue);
        return std::copysign(0.0f, static_cast<float>(Approximate));
    }

    void ParseValue() {
        Enter();
        switch (FToken) {
        case TToken::Integer:
            FWriter.WriteInteger(IntegerValue());
            Next();
            break;
        case TToken::Float: {
            const double Value = FloatValue();
            if (FSuffix == 's') {
                FWriter.WriteSingle(SingleValue(Value));
            } else if (FSuffix == 'c') {
                FWriter.WriteCurrency(CurrencyValue());
            } else if (FSuffix == 'd') {
                FWriter.WriteDate(Value);
            } else {
                FWriter.WriteFloat(Value);
            }
            Next();
            break;
        }
        case TToken::String: {
            AnsiString Value = FValue;
            Next();
            while (IsSymbol('+')) {
                Next();
                if (FToken != TToken::String) Error("string expected");
                Value += FValue;
                Next();
            }
            FWriter.WriteString(Value);
            break;
        }
        case TToken::Ident:
            if (FValue == "NAN")
                FWriter.WriteFloat(std::numeric_limits<double>::quiet_NaN());
            else if (FValue == "INF")
                FWriter.WriteFloat(std::numeric_limits<double>::infinity());
            else
                FWriter.WriteIdent(FValue);
            Next();
            break;
        case TToken::Symbol:
            if (IsSymbol('(')) {
                Next();
                FWriter.WriteListBegin();
                while (!IsSymbol(')')) {
                    if (FToken == TToken::Eof) Error("')' expected");
                    ParseValue();
                }
                Next();
                FWriter.WriteListEnd();
            } else if (IsSymbol('[')) {
                Next();
                std::vector<AnsiString> Members;
                while (!IsSymbol(']')) {
                    Members.push_back(TakeIdent("set member"));
                    if (IsSymbol(','))
                        Next();
                    else if (!IsSymbol(']'))
                        Error("']' expected");
                }
                Next();
                FWriter.WriteSet(Members);
            } else if (IsSymbol('{')) {
                ParseBinary();
            } else if (IsSymbol('<')) {
                Next();
                FWriter.WriteValue(vaCollection);
                while (IsWord("item")) {
                    Next();
                    if (IsSymbol('[')) {
                        Next();
                        if (FToken != TToken::Integer) Error("position expected");
                        FWriter.WriteInteger(IntegerValue());
                        Next();
                        Expect(']');
                    }
                    FWriter.WriteListBegin();
                    while (FToken == TToken::Ident && !IsWord("end"))
                        ParseProperty();
                    if (!IsWord("end")) Error("'end' expected");
                    Next();
                    FWriter.WriteListEnd();
                }
                FWriter.WriteListEnd();
                Expect('>');
            } else {
                Error("value expected");
            }
            break;
        default:
            Error("value expected");
        }
        --FDepth;
    }

    // The bytes between "{" (the current token) and "}" as hexadecimal pairs.
    void ParseBinary() {
        std::vector<unsigned char> Bytes;
        int Half = -1;
        for (;;) {
            if (FPos >= FText.size()) Error("'}' expected");
            const char C = FText[FPos++];
            if (C == '}') break;
            if (C == '\n') ++FLine;
            if (C == ' ' || C == '\t' || C == '\r' || C == '\n') continue;
            int Digit;
            if (C >= '0' && C <= '9')
                Digit = C - '0';
            else if ((C | 0x20) >= 'a' && (C | 0x20) <= 'f')
                Digit = (C | 0x20) - 'a' + 10;
            else
                Error("invalid binary data");
            if (Half < 0) {
                Half = Digit;
            } else {
                Bytes.push_back(static_cast<unsigned char>(Half * 16 + Digit));
                Half = -1;
            }
        }
        if (Half >= 0) Error("odd number of hexadecimal digits");
        FWriter.WriteValue(vaBinary);
        const auto Size = static_cast<std::int32_t>(Bytes.size());
        FWriter.Write(&Size, 4);
        if (Size) FWriter.Write(Bytes.data(), Size);
        Next();
    }

    AnsiString FText;
    std::size_t FPos = 0;
    int FLine = 1;
    TToken FToken = TToken::Eof;
    AnsiString FValue;
    char FSuffix = 0;
    int FDepth = 0;
    TWriter FWriter;
};

} // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output) {
    TBinaryToText(Input, Output).Run();
}

void ObjectTextToBinary(TStream* Input, TStream* Output) {
    const std::int64_t Size = Input->GetSize() - Input->GetPosition();
    AnsiString Text(static_cast<std::size_t>(Size > 0 ? Size : 0), '\0');
    if (!Text.empty()) Input->ReadBuffer(Text.data(), static_cast<int>(Text.size()));
    TTextToBinary(std::move(Text), Output).Run();
}
