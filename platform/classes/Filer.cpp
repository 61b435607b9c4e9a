#include "platform/classes/Filer.h"

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <typeinfo>

namespace {

// Components, lists and collections inside each other deeper than this are
// taken for a hostile stream rather than followed.
constexpr int MaxDepth = 64;

constexpr std::int64_t MaxBlock = std::numeric_limits<int>::max();

TFindGlobalComponent& GlobalFinder() {
    static TFindGlobalComponent Finder;
    return Finder;
}

// The hook of the most derived published class of Instance that has one.
template <class Member>
const TClassInfo* HookOwner(const TObject* Instance, Member TClassInfo::*Hook) {
    for (const TClassInfo* C = GetClassInfo(Instance); C; C = C->Parent)
        if (C->*Hook) return C;
    return nullptr;
}

// The 52 fraction bits of a double, and the 63 below the explicit leading
// bit of an extended: a NaN's quiet bit and payload stand at the top of
// both, as the floating-point unit moves them between the two.
constexpr std::uint64_t DoubleFraction = (std::uint64_t{1} << 52) - 1;
constexpr int FractionShift = 63 - 52;

// 80-bit extended values: sign and 15-bit exponent over a 64-bit mantissa
// with its leading bit explicit, as the format stores them.
void EncodeExtended(double Value, unsigned char Out[10]) {
    std::uint64_t Mantissa = 0;
    std::uint16_t SignExp = std::signbit(Value) ? 0x8000 : 0;
    if (std::isnan(Value)) {
        // The payload is kept: a NaN written and read back is the same.
        std::uint64_t Bits;
        std::memcpy(&Bits, &Value, 8);
        SignExp |= 0x7FFF;
        Mantissa = 0x8000000000000000ull | ((Bits & DoubleFraction) << FractionShift);
    } else if (std::isinf(Value)) {
        SignExp |= 0x7FFF;
        Mantissa = 0x8000000000000000ull;
    } else if (Value != 0) {
        int Exp = 0;
        const double Fraction = std::frexp(std::fabs(Value), &Exp); // [0.5, 1)
        Mantissa = static_cast<std::uint64_t>(std::ldexp(Fraction, 64));
        SignExp |= static_cast<std::uint16_t>(Exp - 1 + 16383);
    }
    for (int I = 0; I < 8; ++I)
        Out[I] = static_cast<unsigned char>(Mantissa >> (8 * I));
    Out[8] = static_cast<unsigned char>(SignExp);
    Out[9] = static_cast<unsigned char>(SignExp >> 8);
}

double DecodeExtended(const unsigned char In[10]) {
    std::uint64_t Mantissa = 0;
    for (int I = 7; I >= 0; --I)
        Mantissa = (Mantissa << 8) | In[I];
    const int SignExp = In[8] | (In[9] << 8);
    const bool Negative = (SignExp & 0x8000) != 0;
    const int Exp = SignExp & 0x7FFF;
    double Result;
    if (Exp == 0x7FFF && (Mantissa << 1) != 0) {
        // A NaN keeps its sign and as much of its payload as a double
        // holds; one whose payload lies wholly in the bits a double has no
        // room for stays a NaN, a quiet one.
        std::uint64_t Fraction = (Mantissa >> FractionShift) & DoubleFraction;
        if (Fraction == 0) Fraction = std::uint64_t{1} << 51;
        const std::uint64_t Bits =
            (Negative ? std::uint64_t{1} << 63 : 0) | (std::uint64_t{0x7FF} << 52) | Fraction;
        std::memcpy(&Result, &Bits, 8);
        return Result;
    }
    if (Exp == 0x7FFF)
        Result = std::numeric_limits<double>::infinity();
    else
        Result = std::ldexp(static_cast<double>(Mantissa), Exp - 16383 - 63);
    return Negative ? -Result : Result;
}

bool IsIntValue(TValueType V) {
    return V == vaInt8 || V == vaInt16 || V == vaInt32 || V == vaInt64;
}

} // namespace

void SetFindGlobalComponent(TFindGlobalComponent Proc) {
    GlobalFinder() = std::move(Proc);
}

TComponent* FindGlobalComponent(const AnsiString& Name) {
    return GlobalFinder() ? GlobalFinder()(Name) : nullptr;
}

void TComponent::WriteState(TWriter* Writer) {
    Writer->WriteData(this);
}

// ---- TFiler ---------------------------------------------------------------------------

void TFiler::CallDefineProperties(TPersistent* Instance) {
    Instance->DefineProperties(this);
    std::vector<const TClassInfo*> Chain;
    for (const TClassInfo* C = GetClassInfo(Instance); C; C = C->Parent)
        if (C->DefineProperties) Chain.push_back(C);
    for (auto It = Chain.rbegin(); It != Chain.rend(); ++It)
        (*It)->DefineProperties(Instance, this);
}

// ---- TWriter --------------------------------------------------------------------------

void TWriter::Write(const void* Buffer, int Count) {
    FStream->WriteBuffer(Buffer, Count);
}

void TWriter::WriteValue(TValueType Value) {
    const auto Byte = static_cast<std::uint8_t>(Value);
    Write(&Byte, 1);
}

void TWriter::WriteStr(const AnsiString& Value) {
    if (Value.size() > 255)
        throw EWriteError("Name too long for the stream: " + Value.substr(0, 32));
    const auto Length = static_cast<std::uint8_t>(Value.size());
    Write(&Length, 1);
    Write(Value.data(), Length);
}

void TWriter::WriteSignature() {
    Write(FilerSignature, 4);
}

void TWriter::WriteInteger(std::int64_t Value) {
    unsigned char Bytes[8];
    int Size;
    if (Value >= -128 && Value <= 127) {
        WriteValue(vaInt8);
        Size = 1;
    } else if (Value >= -32768 && Value <= 32767) {
        WriteValue(vaInt16);
        Size = 2;
    } else if (Value >= std::numeric_limits<std::int32_t>::min() &&
               Value <= std::numeric_limits<std::int32_t>::max()) {
        WriteValue(vaInt32);
        Size = 4;
    } else {
        WriteValue(vaInt64);
        Size = 8;
    }
    for (int I = 0; I < Size; ++I)
        Bytes[I] = static_cast<unsigned char>(static_cast<std::uint64_t>(Value) >> (8 * I));
    Write(Bytes, Size);
}

void TWriter::WriteChar(char Value) {
    WriteString(AnsiString(1, Value));
}

void TWriter::WriteFloat(double Value) {
    unsigned char Bytes[10];
    EncodeExtended(Value, Bytes);
    WriteValue(vaExtended);
    Write(Bytes, 10);
}

void TWriter::WriteSingle(float Value) {
    WriteValue(vaSingle);
    Write(&Value, 4);
}

void TWriter::WriteCurrency(std::int64_t Scaled) {
    WriteValue(vaCurrency);
    Write(&Scaled, 8);
}

void TWriter::WriteDate(double Value) {
    WriteValue(vaDate);
    Write(&Value, 8);
}

void TWriter::WriteString(const AnsiString& Value) {
    if (Value.size() <= 255) {
        WriteValue(vaString);
        WriteStr(Value);
        return;
    }
    if (Value.size() > static_cast<std::size_t>(MaxBlock)) throw EWriteError("String too long");
    WriteValue(vaLString);
    const auto Length = static_cast<std::int32_t>(Value.size());
    Write(&Length, 4);
    Write(Value.data(), Length);
}

void TWriter::WriteIdent(const AnsiString& Ident) {
    if (SameText(Ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(Ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(Ident, "nil"))
        WriteValue(vaNil);
    else if (SameText(Ident, "Null"))
        WriteValue(vaNull);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteSet(const std::vector<AnsiString>& Members) {
    WriteValue(vaSet);
    for (const AnsiString& Member : Members)
        WriteStr(Member);
    WriteStr(AnsiString());
}

void TWriter::WriteVariant(const Variant& Value) {
    switch (Value.Type() & varTypeMask) {
    case varEmpty:
        WriteValue(vaNil);
        return;
    case varNull:
        WriteValue(vaNull);
        return;
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
        WriteInteger(Value.AsInt64());
        return;
    case varBoolean:
        WriteBoolean(Value.AsBoolean());
        return;
    case varSingle:
    case varDouble:
        WriteFloat(Value.AsDouble());
        return;
    case varCurrency:
        WriteCurrency(Value.AsCurrency().Val);
        return;
    case varDate:
        WriteDate(Value.AsDouble());
        return;
    case varString:
    case varOleStr:
        WriteString(Value.AsString());
        return;
    default:
        throw EWriteError("Invalid variant type for the stream");
    }
}

void TWriter::DefineProperty(const AnsiString& Name, const TReaderProc&,
                             const TWriterProc& WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    WriteStr(FPropPath + Name);
    WriteData(this);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, const TStreamProc&,
                                   const TStreamProc& WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    WriteStr(FPropPath + Name);
    TMemoryStream Data;
    WriteData(&Data);
    if (Data.GetSize() > MaxBlock) throw EWriteError("Binary property too large: " + Name);
    const auto Size = static_cast<std::int32_t>(Data.GetSize());
    WriteValue(vaBinary);
    Write(&Size, 4);
    if (Size > 0) Write(Data.Memory(), Size);
}

AnsiString TWriter::ComponentReference(const TComponent* Component) const {
    if (Component == FLookupRoot || Component->Owner() == FLookupRoot || !Component->Owner())
        return Component->Name();
    return Component->Owner()->Name() + "." + Component->Name();
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop) {
    if (!IsStoredProp(Instance, Prop)) return;
    const AnsiString Name = FPropPath + Prop->Name;
    switch (Prop->Kind()) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet: {
        if (!Prop->GetOrd || !Prop->SetOrd || IsDefaultPropValue(Instance, Prop)) return;
        const std::int64_t Value = Prop->GetOrd(Instance);
        WriteStr(Name);
        if (Prop->Kind() == tkChar || Prop->Kind() == tkWChar)
            WriteChar(static_cast<char>(Value));
        else if (Prop->PropType == &BooleanType())
            WriteBoolean(Value != 0);
        else if (Prop->Kind() == tkEnumeration)
            WriteIdent(GetEnumName(Prop->PropType, Value));
        else if (Prop->Kind() == tkSet) {
            std::vector<AnsiString> Members;
            for (int I = 0; I < 32; ++I)
                if ((static_cast<std::uint64_t>(Value) >> I) & 1u)
                    Members.push_back(GetEnumName(Prop->PropType->CompType, I));
            WriteSet(Members);
        } else
            WriteInteger(Value);
        return;
    }
    case tkFloat: {
        if (!Prop->SetFloat) return;
        const double Value = Prop->GetFloat(Instance);
        // A negative zero is kept: read back it would be a zero of the
        // other sign.
        if (Value == 0 && !std::signbit(Value)) return;
        WriteStr(Name);
        if (Prop->PropType->FloatType == ftSingle)
            WriteSingle(static_cast<float>(Value));
        else
            WriteFloat(Value);
        return;
    }
    case tkString:
    case tkLString:
    case tkWString: {
        if (!Prop->SetStr) return;
        const AnsiString Value = Prop->GetStr(Instance);
        if (Value.empty() && Prop->StrDefault.empty()) return;
        WriteStr(Name);
        WriteString(Value);
        return;
    }
    case tkVariant: {
        if (!Prop->SetVar) return;
        const Variant Value = Prop->GetVar(Instance);
        if (Value.IsEmpty()) return;
        WriteStr(Name);
        WriteVariant(Value);
        return;
    }
    case tkClass: {
        TObject* Value = Prop->GetObj(Instance);
        if (!Value) return;
        if (Prop->PropType->IsComponent) {
            if (!Prop->SetObj) return;
            WriteStr(Name);
            WriteIdent(ComponentReference(static_cast<TComponent*>(Value)));
            return;
        }
        if (auto* Collection = dynamic_cast<TCollection*>(Value)) {
            if (Collection->Count() == 0) return;
            WriteStr(Name);
            WriteCollection(Collection);
            return;
        }
        if (auto* Nested = dynamic_cast<TPersistent*>(Value)) {
            const AnsiString Saved = FPropPath;
            TPersistent* SavedAncestor = FAncestor;
            FPropPath = Name + ".";
            // The ancestor's object of the same property, when the ancestor
            // is of this class and so has it.
            FAncestor = FAncestor && typeid(*FAncestor) == typeid(*Instance)
                            ? dynamic_cast<TPersistent*>(Prop->GetObj(FAncestor))
                            : nullptr;
            try {
                WriteProperties(Nested);
            } catch (...) {
                FAncestor = SavedAncestor;
                throw;
            }
            FAncestor = SavedAncestor;
            FPropPath = Saved;
        }
        return;
    }
    default:
        return;
    }
}

void TWriter::WriteProperties(TPersistent* Instance) {
    for (const TPropInfo* Prop : GetPropList(Instance))
        WriteProperty(Instance, Prop);
    CallDefineProperties(Instance);
}

void TWriter::WriteCollection(TCollection* Collection) {
    WriteValue(vaCollection);
    const AnsiString Saved = FPropPath;
    FPropPath.clear();
    for (int I = 0; I < Collection->Count(); ++I) {
        WriteListBegin();
        WriteProperties(Collection->Items(I));
        WriteListEnd();
    }
    FPropPath = Saved;
    WriteListEnd();
}

void TWriter::WriteData(TComponent* Component) {
    WriteStr(Component->ClassName());
    WriteStr(Component->Name());
    const AnsiString Saved = FPropPath;
    FPropPath.clear();
    WriteProperties(Component);
    WriteListEnd();
    std::vector<TComponent*> Children;
    auto Add = [&Children](TComponent* Child) { Children.push_back(Child); };
    if (const TClassInfo* Hook = HookOwner(Component, &TClassInfo::GetChildren))
        Hook->GetChildren(Component, Add, FRoot);
    else
        Component->GetChildren(Add, FRoot);
    for (TComponent* Child : Children)
        WriteComponent(Child);
    WriteListEnd();
    FPropPath = Saved;
}

void TWriter::WriteComponent(TComponent* Component) {
    TPersistent* SavedAncestor = FAncestor;
    if (Component == FRoot)
        FAncestor = FRootAncestor;
    else
        FAncestor = FRootAncestor ? FRootAncestor->FindComponent(Component->Name()) : nullptr;
    Component->FComponentState.Include(csWriting);
    try {
        Component->WriteState(this);
    } catch (...) {
        Component->FComponentState.Exclude(csWriting);
        FAncestor = SavedAncestor;
        throw;
    }
    Component->FComponentState.Exclude(csWriting);
    FAncestor = SavedAncestor;
}

void TWriter::WriteDescendent(TComponent* Root, TComponent* Ancestor) {
    FRoot = Root;
    FLookupRoot = Root;
    FRootAncestor = Ancestor;
    WriteComponent(Root);
}

void TWriter::WriteRootComponent(TComponent* Root) {
    WriteSignature();
    WriteDescendent(Root, nullptr);
}

// ---- TReader --------------------------------------------------------------------------

TReader::TReader(TStream* Stream) : TFiler(Stream), FSize(Stream->GetSize()) {}

void TReader::Fail(const AnsiString& What) const {
    throw EReadError(What);
}

void TReader::Need(std::int64_t Count, const char* What) {
    const std::int64_t Left = FSize - FStream->GetPosition();
    if (Count < 0 || Count > Left)
        Fail(AnsiString("Stream read error: ") + What + " needs " + IntToStr(Count) + " bytes, " +
             IntToStr(Left < 0 ? 0 : Left) + " left");
}

void TReader::Enter() {
    if (++FDepth > MaxDepth) {
        FDepth = 0;
        Fail("Invalid stream format: nesting deeper than " + IntToStr(MaxDepth));
    }
}

void TReader::Read(void* Buffer, int Count) {
    Need(Count, "data");
    FStream->ReadBuffer(Buffer, Count);
}

TValueType TReader::NextValue() {
    const TValueType Result = ReadValue();
    FStream->Seek(-1, soCurrent);
    return Result;
}

bool TReader::EndOfList() {
    std::uint8_t Byte = 0;
    Need(1, "value type");
    FStream->ReadBuffer(&Byte, 1);
    FStream->Seek(-1, soCurrent);
    return Byte == vaNull;
}

TValueType TReader::ReadValue() {
    std::uint8_t Byte = 0;
    Need(1, "value type");
    FStream->ReadBuffer(&Byte, 1);
    if (Byte > vaDouble) Fail("Invalid stream format: unknown value type " + IntToStr(int{Byte}));
    return static_cast<TValueType>(Byte);
}

void TReader::ReadSignature() {
    char Signature[4];
    if (FSize - FStream->GetPosition() < 4) Fail("Invalid stream format: no signature");
    FStream->ReadBuffer(Signature, 4);
    if (std::memcmp(Signature, FilerSignature, 4) != 0)
        Fail("Invalid stream format: bad signature");
}

void TReader::ReadListBegin() {
    if (ReadValue() != vaList) Fail("Invalid stream format: list expected");
}

void TReader::ReadListEnd() {
    if (ReadValue() != vaNull) Fail("Invalid stream format: end of list expected");
}

AnsiString TReader::ReadStr() {
    std::uint8_t Length = 0;
    Need(1, "name length");
    FStream->ReadBuffer(&Length, 1);
    Need(Length, "name");
    AnsiString Result(Length, '\0');
    if (Length) FStream->ReadBuffer(Result.data(), Length);
    return Result;
}

std::int64_t TReader::ReadInt64() {
    const TValueType Type = ReadValue();
    int Size;
    switch (Type) {
    case vaInt8:
        Size = 1;
        break;
    case vaInt16:
        Size = 2;
        break;
    case vaInt32:
        Size = 4;
        break;
    case vaInt64:
        Size = 8;
        break;
    default:
        Fail("Invalid property value: integer expected");
    }
    unsigned char Bytes[8];
    Read(Bytes, Size);
    std::uint64_t Raw = 0;
    for (int I = Size - 1; I >= 0; --I)
        Raw = (Raw << 8) | Bytes[I];
    // Sign-extend from the stored width.
    const int Shift = 64 - 8 * Size;
    return static_cast<std::int64_t>(Raw << Shift) >> Shift;
}

int TReader::ReadInteger() {
    const std::int64_t Value = ReadInt64();
    if (Value < std::numeric_limits<int>::min() || Value > std::numeric_limits<int>::max())
        Fail("Invalid property value: " + IntToStr(Value) + " is out of range");
    return static_cast<int>(Value);
}

bool TReader::ReadBoolean() {
    const TValueType Type = ReadValue();
    if (Type != vaTrue && Type != vaFalse) Fail("Invalid property value: True or False expected");
    return Type == vaTrue;
}

char TReader::ReadChar() {
    if (IsIntValue(NextValue())) return static_cast<char>(ReadInt64());
    const AnsiString Text = ReadString();
    if (Text.size() != 1) Fail("Invalid property value: one character expected");
    return Text[0];
}

double TReader::ReadFloat() {
    const TValueType Type = NextValue();
    if (IsIntValue(Type)) return static_cast<double>(ReadInt64());
    ReadValue();
    switch (Type) {
    case vaExtended: {
        unsigned char Bytes[10];
        Read(Bytes, 10);
        return DecodeExtended(Bytes);
    }
    case vaSingle: {
        float Value;
        Read(&Value, 4);
        return Value;
    }
    case vaDouble:
    case vaDate: {
        double Value;
        Read(&Value, 8);
        return Value;
    }
    case vaCurrency: {
        std::int64_t Value;
        Read(&Value, 8);
        return static_cast<double>(Value) / 10000.0;
    }
    default:
        Fail("Invalid property value: number expected");
    }
}

AnsiString TReader::ReadString() {
    const TValueType Type = ReadValue();
    if (Type == vaString) return ReadStr();
    if (Type != vaLString && Type != vaUTF8String && Type != vaWString)
        Fail("Invalid property value: string expected");
    std::int32_t Length = 0;
    Read(&Length, 4);
    if (Length < 0) Fail("Invalid stream format: negative string length");
    if (Type == vaWString) {
        Need(std::int64_t{Length} * 2, "wide string");
        std::vector<std::uint16_t> Units(static_cast<std::size_t>(Length));
        if (Length) FStream->ReadBuffer(Units.data(), Length * 2);
        AnsiString Result;
        for (std::size_t I = 0; I < Units.size(); ++I) {
            std::uint32_t Code = Units[I];
            if (Code >= 0xD800 && Code < 0xDC00 && I + 1 < Units.size() && Units[I + 1] >= 0xDC00 &&
                Units[I + 1] < 0xE000)
                Code = 0x10000 + ((Code - 0xD800) << 10) + (Units[++I] - 0xDC00);
            AppendUtf8(Result, Code);
        }
        return Result;
    }
    Need(Length, "string");
    AnsiString Result(static_cast<std::size_t>(Length), '\0');
    if (Length) FStream->ReadBuffer(Result.data(), Length);
    return Result;
}

AnsiString TReader::ReadIdent() {
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        Fail("Invalid property value: identifier expected");
    }
}

Variant TReader::ReadVariant() {
    const TValueType Type = NextValue();
    switch (Type) {
    case vaNil:
        ReadValue();
        return Variant();
    case vaNull:
        ReadValue();
        return Null();
    case vaInt8:
    case vaInt16:
    case vaInt32:
        return Variant(static_cast<int>(ReadInt64()));
    case vaInt64:
        return Variant(static_cast<long long>(ReadInt64()));
    case vaFalse:
    case vaTrue:
        return Variant(ReadBoolean());
    case vaExtended:
    case vaSingle:
    case vaDouble:
        return Variant(ReadFloat());
    case vaCurrency: {
        // The scaled integer as it stands: through a double the last of
        // its 19 digits would go.
        ReadValue();
        std::int64_t Scaled;
        Read(&Scaled, 8);
        return Variant(Currency::FromScaled(Scaled));
    }
    case vaDate:
        return Variant(TDateTime(ReadFloat()));
    case vaString:
    case vaLString:
    case vaUTF8String:
    case vaWString:
        return Variant(ReadString());
    default:
        Fail("Invalid property value: variant expected");
    }
}

void TReader::SkipValue() {
    Enter();
    const TValueType Type = ReadValue();
    auto SkipBytes = [this](std::int64_t Count, const char* What) {
        Need(Count, What);
        FStream->Seek(Count, soCurrent);
    };
    auto SkipLength = [&](int UnitSize, const char* What) {
        std::int32_t Length = 0;
        Read(&Length, 4);
        if (Length < 0) Fail("Invalid stream format: negative length");
        SkipBytes(std::int64_t{Length} * UnitSize, What);
    };
    switch (Type) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList:
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        break;
    case vaInt8:
        SkipBytes(1, "integer");
        break;
    case vaInt16:
        SkipBytes(2, "integer");
        break;
    case vaInt32:
    case vaSingle:
        SkipBytes(4, "number");
        break;
    case vaInt64:
    case vaCurrency:
    case vaDate:
    case vaDouble:
        SkipBytes(8, "number");
        break;
    case vaExtended:
        SkipBytes(10, "number");
        break;
    case vaString:
    case vaIdent:
        ReadStr();
        break;
    case vaBinary:
        SkipLength(1, "binary data");
        break;
    case vaLString:
    case vaUTF8String:
        SkipLength(1, "string");
        break;
    case vaWString:
        SkipLength(2, "wide string");
        break;
    case vaSet:
        while (!ReadStr().empty()) {
        }
        break;
    case vaCollection:
        while (!EndOfList()) {
            if (IsIntValue(NextValue())) ReadInt64();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    }
    Leave();
}

void TReader::DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                             const TWriterProc&, bool) {
    if (FPropHandled || !ReadData || !SameText(Name, FPropName)) return;
    FPropHandled = true;
    ReadData(this);
}

void TReader::DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                   const TStreamProc&, bool) {
    if (FPropHandled || !ReadData || !SameText(Name, FPropName)) return;
    FPropHandled = true;
    if (ReadValue() != vaBinary) Fail("Invalid property value: binary data expected");
    std::int32_t Size = 0;
    Read(&Size, 4);
    if (Size < 0) Fail("Invalid stream format: negative binary size");
    Need(Size, "binary data");
    TMemoryStream Data;
    if (Size > 0) Data.CopyFrom(FStream, Size);
    Data.SetPosition(0);
    ReadData(&Data);
}

void TReader::ReadCollection(TCollection* Collection) {
    if (ReadValue() != vaCollection) Fail("Invalid property value: collection expected");
    Enter();
    Collection->BeginUpdate();
    try {
        Collection->Clear();
        while (!EndOfList()) {
            if (IsIntValue(NextValue())) ReadInt64(); // the item's order: items keep stream order
            ReadListBegin();
            TCollectionItem* Item = Collection->Add();
            while (!EndOfList())
                ReadProperty(Item);
            ReadListEnd();
        }
        ReadListEnd();
    } catch (...) {
        Collection->EndUpdate();
        throw;
    }
    Collection->EndUpdate();
    Leave();
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* Prop) {
    const TTypeKind Kind = Prop->Kind();
    if (Kind != tkClass && !Prop->Writable()) Fail("Property " + Prop->Name + " is read-only");
    switch (Kind) {
    case tkInteger:
        SetOrdProp(Instance, Prop, ReadInteger());
        return;
    case tkInt64:
        SetOrdProp(Instance, Prop, ReadInt64());
        return;
    case tkChar:
    case tkWChar:
        SetOrdProp(Instance, Prop, static_cast<unsigned char>(ReadChar()));
        return;
    case tkEnumeration: {
        if (Prop->PropType == &BooleanType()) {
            SetOrdProp(Instance, Prop, ReadBoolean() ? 1 : 0);
            return;
        }
        const AnsiString Ident = ReadIdent();
        const int Value = GetEnumValue(Prop->PropType, Ident);
        if (Value < 0) Fail("Invalid property value: " + Ident);
        SetOrdProp(Instance, Prop, Value);
        return;
    }
    case tkSet: {
        if (ReadValue() != vaSet) Fail("Invalid property value: set expected");
        std::int64_t Value = 0;
        for (AnsiString Member = ReadStr(); !Member.empty(); Member = ReadStr()) {
            const int Ordinal = GetEnumValue(Prop->PropType->CompType, Member);
            if (Ordinal < 0 || Ordinal >= 32) Fail("Invalid property value: " + Member);
            Value |= std::int64_t{1} << Ordinal;
        }
        SetOrdProp(Instance, Prop, Value);
        return;
    }
    case tkFloat:
        SetFloatProp(Instance, Prop, ReadFloat());
        return;
    case tkString:
    case tkLString:
    case tkWString:
        SetStrProp(Instance, Prop, ReadString());
        return;
    case tkVariant:
        SetVariantProp(Instance, Prop, ReadVariant());
        return;
    case tkClass: {
        if (Prop->PropType->IsComponent) {
            if (!Prop->SetObj) Fail("Property " + Prop->Name + " is read-only");
            const AnsiString Name = ReadIdent();
            if (SameText(Name, "nil"))
                SetObjectProp(Instance, Prop, nullptr);
            else
                FFixups.push_back({Instance, Prop, Name});
            return;
        }
        auto* Collection = dynamic_cast<TCollection*>(GetObjectProp(Instance, Prop));
        if (!Collection) Fail("Invalid property value");
        ReadCollection(Collection);
        return;
    }
    default:
        Fail("Invalid property value");
    }
}

void TReader::ReadProperty(TPersistent* Instance) {
    const AnsiString FullName = ReadStr();
    if (FullName.empty()) Fail("Invalid stream format: empty property name");
    TPersistent* Target = Instance;
    std::size_t Start = 0;
    for (std::size_t Dot = FullName.find('.'); Dot != AnsiString::npos;
         Start = Dot + 1, Dot = FullName.find('.', Start)) {
        const AnsiString Part = FullName.substr(Start, Dot - Start);
        const TPropInfo* Prop = GetPropInfo(Target, Part);
        TPersistent* Next = nullptr;
        if (Prop && Prop->Kind() == tkClass && !Prop->PropType->IsComponent)
            Next = dynamic_cast<TPersistent*>(GetObjectProp(Target, Prop));
        if (!Next) Fail("Error reading " + FullName + ": Property " + Part + " does not exist");
        Target = Next;
    }
    const AnsiString Last = FullName.substr(Start);
    try {
        if (const TPropInfo* Prop = GetPropInfo(Target, Last)) {
            ReadPropValue(Target, Prop);
            return;
        }
        // A defined property may hold others (a collection whose items
        // define their own): the one around this comes back as it was.
        const AnsiString SavedName = FPropName;
        const bool SavedHandled = FPropHandled;
        FPropName = Last;
        FPropHandled = false;
        CallDefineProperties(Target);
        const bool Handled = FPropHandled;
        FPropName = SavedName;
        FPropHandled = SavedHandled;
        if (!Handled) Fail("Error reading " + FullName + ": Property " + Last + " does not exist");
    } catch (const EReadError&) {
        throw;
    } catch (const EClassNotFound&) {
        throw;
    } catch (const Exception& E) {
        Fail("Error reading " + FullName + ": " + E.Message);
    }
}

void TReader::ReadComponentData(TComponent* Instance) {
    while (!EndOfList())
        ReadProperty(Instance);
    ReadListEnd();
    TComponent* SavedParent = FParent;
    FParent = Instance;
    while (!EndOfList())
        ReadComponent(nullptr);
    ReadListEnd();
    FParent = SavedParent;
}

TComponent* TReader::ReadComponent(TComponent* Component) {
    Enter();
    std::uint8_t Flags = 0;
    {
        std::uint8_t Byte = 0;
        Need(1, "component");
        FStream->ReadBuffer(&Byte, 1);
        FStream->Seek(-1, soCurrent);
        if ((Byte & 0xF0) == 0xF0) {
            FStream->Seek(1, soCurrent);
            Flags = Byte & 0x0F;
            if (Flags & ffChildPos) ReadInteger();
        }
    }
    const AnsiString ClassName = ReadStr();
    const AnsiString Name = ReadStr();
    TComponent* Owner = FOwner ? FOwner : FRoot;
    TComponent* Result = Component;
    const std::size_t Mark = FCreated.size();
    if (!Result && (Flags & ffInherited)) {
        Result = Owner ? Owner->FindComponent(Name) : nullptr;
        if (!Result) Fail("Ancestor for '" + Name + "' not found");
    }
    const bool Created = !Result;
    if (Created) {
        const TClassInfo* Class = FindClass(ClassName);
        if (!Class->Create) Fail("Class " + ClassName + " cannot be made from a stream");
        Result = Class->Create(Owner);
        FCreated.push_back(Result);
    }
    try {
        Result->Loading();
        Result->FComponentState.Include(csReading);
        if (Created) {
            try {
                Result->SetName(Name);
            } catch (const Exception& E) {
                Fail("Error reading component " + Name + ": " + E.Message);
            }
            if (const TClassInfo* Hook = HookOwner(Result, &TClassInfo::SetParent))
                Hook->SetParent(Result, FParent);
        }
        FLoaded.push_back(Result);
        ReadComponentData(Result);
    } catch (...) {
        if (Created) {
            FreeCreated(Mark);
        } else {
            std::erase(FLoaded, Result);
            Result->FComponentState =
                Result->FComponentState - TComponentState{csLoading, csReading};
        }
        throw;
    }
    Leave();
    return Result;
}

void TReader::FreeCreated(std::size_t Mark) {
    while (FCreated.size() > Mark) {
        TComponent* Component = FCreated.back();
        FCreated.pop_back();
        std::erase(FLoaded, Component);
        delete Component;
    }
}

void TReader::ResolveFixups() {
    std::vector<TFixup> Fixups;
    Fixups.swap(FFixups);
    for (const TFixup& Fixup : Fixups) {
        TComponent* Found = nullptr;
        const std::size_t Dot = Fixup.Name.find('.');
        if (Dot == AnsiString::npos) {
            Found = SameText(FRoot->Name(), Fixup.Name) ? FRoot : FRoot->FindComponent(Fixup.Name);
        } else {
            const AnsiString RootName = Fixup.Name.substr(0, Dot);
            TComponent* Other =
                SameText(FRoot->Name(), RootName) ? FRoot : FindGlobalComponent(RootName);
            if (Other) Found = Other->FindComponent(Fixup.Name.substr(Dot + 1));
        }
        // A reference to nothing that exists stays empty.
        if (!Found) continue;
        try {
            SetObjectProp(Fixup.Instance, Fixup.Prop, Found);
        } catch (const Exception& E) {
            Fail("Error reading " + Fixup.Prop->Name + ": " + E.Message);
        }
    }
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
    ReadSignature();
    std::uint8_t Byte = 0;
    Need(1, "component");
    FStream->ReadBuffer(&Byte, 1);
    if ((Byte & 0xF0) == 0xF0) {
        if (Byte & ffChildPos) ReadInteger();
    } else {
        FStream->Seek(-1, soCurrent);
    }
    const AnsiString ClassName = ReadStr();
    const AnsiString Name = ReadStr();
    bool Created = false;
    if (!Root) {
        const TClassInfo* Class = FindClass(ClassName);
        if (!Class->Create) Fail("Class " + ClassName + " cannot be made from a stream");
        Root = Class->Create(nullptr);
        Created = true;
    }
    FRoot = Root;
    FLookupRoot = Root;
    FOwner = Root;
    FParent = nullptr;
    FDepth = 0;
    FFixups.clear();
    FLoaded.clear();
    FCreated.clear();
    try {
        Root->Loading();
        Root->FComponentState.Include(csReading);
        // A root made here, or one without a name yet, takes the stream's.
        if (Root->Name().empty()) {
            try {
                Root->SetName(Name);
            } catch (const Exception& E) {
                Fail("Error reading component " + Name + ": " + E.Message);
            }
        }
        FLoaded.push_back(Root);
        ReadComponentData(Root);
        ResolveFixups();
    } catch (...) {
        FFixups.clear();
        FreeCreated(0);
        FLoaded.clear();
        if (Created)
            delete Root;
        else
            Root->FComponentState = Root->FComponentState - TComponentState{csLoading, csReading};
        throw;
    }
    FCreated.clear();
    std::vector<TComponent*> Loaded;
    Loaded.swap(FLoaded);
    for (TComponent* Component : Loaded)
        Component->FComponentState.Exclude(csReading);
    for (TComponent* Component : Loaded)
        Component->Loaded();
    return Root;
}

void WriteComponentRes(TStream* Stream, TComponent* Instance) {
    TWriter Writer(Stream);
    Writer.WriteRootComponent(Instance);
}

TComponent* ReadComponentRes(TStream* Stream, TComponent* Instance) {
    TReader Reader(Stream);
    return Reader.ReadRootComponent(Instance);
}
