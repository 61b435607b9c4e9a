#include "platform/classes/TypInfo.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/StrUtils.h"

#include <deque>
#include <map>
#include <mutex>
#include <typeindex>

void PublishCoreClasses();

namespace {

struct TRegistry {
    std::recursive_mutex Lock;
    // A deque keeps the infos where they are while more are added.
    std::deque<TClassInfo> Classes;
    std::map<std::type_index, const TClassInfo*> ByType;
    // Instances of classes nobody published resolve to their nearest
    // published base; the answer is kept until the next class is published.
    std::map<std::type_index, const TClassInfo*> Resolved;
    std::vector<const TClassInfo*> Registered;
    // Publishers that run on the first lookup, in the order they came.
    std::deque<std::function<void()>> Pending;
    bool CoreDone = false;
    // Set while publishers run: lookups made by them wait for the end.
    bool Busy = false;
    // Classes were published since the bases were last linked.
    bool Dirty = false;
};

TRegistry& Registry() {
    static TRegistry R;
    return R;
}

// Links every class to its base (a base may be published after the class
// that names it) and numbers the properties of each full list.
void LinkClasses(TRegistry& R) {
    for (TClassInfo& Info : R.Classes)
        if (!Info.Parent && Info.ParentType) {
            auto It = R.ByType.find(std::type_index(*Info.ParentType));
            if (It != R.ByType.end() && It->second != &Info) Info.Parent = It->second;
        }
    for (TClassInfo& Info : R.Classes) {
        int Index = 0;
        for (const TClassInfo* C = Info.Parent; C; C = C->Parent)
            Index += static_cast<int>(C->OwnProps.size());
        for (TPropInfo& Prop : Info.OwnProps)
            Prop.NameIndex = Index++;
    }
    R.Resolved.clear();
    R.Dirty = false;
}

// The registry with every waiting publisher run and the classes linked,
// whichever lookup comes first. A lookup made by a publisher while it runs
// sees the registry as it is.
TRegistry& ReadyRegistry() {
    TRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    if (R.Busy) return R;
    R.Busy = true;
    try {
        if (!R.CoreDone) {
            R.CoreDone = true;
            PublishCoreClasses();
        }
        while (!R.Pending.empty()) {
            std::function<void()> Publisher = std::move(R.Pending.front());
            R.Pending.pop_front();
            Publisher();
        }
    } catch (...) {
        R.Busy = false;
        throw;
    }
    R.Busy = false;
    if (R.Dirty) LinkClasses(R);
    return R;
}

[[noreturn]] void KindError(const TPropInfo* PropInfo) {
    throw EPropertyConvertError("Invalid property type: " + (PropInfo && PropInfo->PropType
                                                                 ? PropInfo->PropType->Name
                                                                 : AnsiString("(none)")));
}

[[noreturn]] void ReadOnlyError(const TPropInfo* PropInfo) {
    throw EPropReadOnly("Property " + PropInfo->Name + " is read-only");
}

bool IsOrdinalKind(TTypeKind Kind) {
    return Kind == tkInteger || Kind == tkChar || Kind == tkEnumeration || Kind == tkSet ||
           Kind == tkWChar || Kind == tkInt64;
}

} // namespace

namespace publish_detail {

void WrongInstance(const char* ClassName) {
    throw EInvalidCast(AnsiString("Invalid class typecast: the property belongs to ") + ClassName);
}

} // namespace publish_detail

// ---- types -----------------------------------------------------------------------------

TTypeInfo MakeEnumType(const AnsiString& Name, std::initializer_list<const char*> Identifiers) {
    TTypeInfo Info;
    Info.Kind = tkEnumeration;
    Info.Name = Name;
    for (const char* Id : Identifiers)
        Info.Names.emplace_back(Id);
    Info.MinValue = 0;
    Info.MaxValue = static_cast<std::int64_t>(Info.Names.size()) - 1;
    return Info;
}

TTypeInfo MakeSetType(const AnsiString& Name, const TTypeInfo& Enum) {
    TTypeInfo Info;
    Info.Kind = tkSet;
    Info.Name = Name;
    Info.CompType = &Enum;
    return Info;
}

TTypeInfo MakeSimpleType(TTypeKind Kind, const AnsiString& Name, TFloatType FloatType) {
    TTypeInfo Info;
    Info.Kind = Kind;
    Info.Name = Name;
    Info.FloatType = FloatType;
    return Info;
}

const TTypeInfo& BooleanType() {
    static const TTypeInfo Info = MakeEnumType("Boolean", {"False", "True"});
    return Info;
}

AnsiString GetEnumName(const TTypeInfo* TypeInfo, std::int64_t Value) {
    if (TypeInfo && Value >= TypeInfo->MinValue && Value <= TypeInfo->MaxValue &&
        Value - TypeInfo->MinValue < static_cast<std::int64_t>(TypeInfo->Names.size()))
        return TypeInfo->Names[static_cast<std::size_t>(Value - TypeInfo->MinValue)];
    return IntToStr(Value);
}

int GetEnumValue(const TTypeInfo* TypeInfo, const AnsiString& Name) {
    if (!TypeInfo) return -1;
    for (std::size_t I = 0; I < TypeInfo->Names.size(); ++I)
        if (SameText(TypeInfo->Names[I], Name))
            return static_cast<int>(TypeInfo->MinValue + static_cast<std::int64_t>(I));
    return -1;
}

// ---- classes ---------------------------------------------------------------------------

bool TClassInfo::InheritsFrom(const TClassInfo* Other) const {
    for (const TClassInfo* C = this; C; C = C->Parent)
        if (C == Other) return true;
    return false;
}

int TClassInfo::Depth() const {
    int Result = 0;
    for (const TClassInfo* C = Parent; C; C = C->Parent)
        ++Result;
    return Result;
}

const TClassInfo* PublishClass(TClassInfo Info) {
    TRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    for (const TClassInfo& Known : R.Classes)
        if (SameText(Known.ClassName, Info.ClassName)) return &Known;
    if (Info.Parent && !Info.ParentType) Info.ParentType = Info.Parent->Type;
    R.Classes.push_back(std::move(Info));
    TClassInfo* Result = &R.Classes.back();
    if (Result->Type) R.ByType[std::type_index(*Result->Type)] = Result;
    R.Dirty = true;
    if (!R.Busy) LinkClasses(R);
    return Result;
}

void AddPublisher(std::function<void()> Publisher) {
    TRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    R.Pending.push_back(std::move(Publisher));
}

const TClassInfo* GetClassInfo(const std::type_info& Type) {
    TRegistry& R = ReadyRegistry();
    std::lock_guard Guard(R.Lock);
    auto It = R.ByType.find(std::type_index(Type));
    return It == R.ByType.end() ? nullptr : It->second;
}

const TClassInfo* GetClassInfo(const TObject* Instance) {
    if (!Instance) return nullptr;
    TRegistry& R = ReadyRegistry();
    std::lock_guard Guard(R.Lock);
    const std::type_index Type(typeid(*Instance));
    if (auto It = R.ByType.find(Type); It != R.ByType.end()) return It->second;
    if (auto It = R.Resolved.find(Type); It != R.Resolved.end()) return It->second;
    const TClassInfo* Best = nullptr;
    for (const TClassInfo& Info : R.Classes)
        if (Info.IsInstance && Info.IsInstance(Instance) && (!Best || Info.Depth() > Best->Depth()))
            Best = &Info;
    R.Resolved[Type] = Best;
    return Best;
}

const TClassInfo* FindPublishedClass(const AnsiString& ClassName) {
    TRegistry& R = ReadyRegistry();
    std::lock_guard Guard(R.Lock);
    for (const TClassInfo& Info : R.Classes)
        if (SameText(Info.ClassName, ClassName)) return &Info;
    return nullptr;
}

void RegisterClass(const TClassInfo* Class) {
    if (!Class) return;
    TRegistry& R = ReadyRegistry();
    std::lock_guard Guard(R.Lock);
    for (const TClassInfo* Known : R.Registered)
        if (Known == Class) return;
    R.Registered.push_back(Class);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> Classes) {
    for (const TClassInfo* Class : Classes)
        RegisterClass(Class);
}

void UnRegisterClass(const TClassInfo* Class) {
    TRegistry& R = ReadyRegistry();
    std::lock_guard Guard(R.Lock);
    std::erase(R.Registered, Class);
}

const TClassInfo* GetClass(const AnsiString& ClassName) {
    TRegistry& R = ReadyRegistry();
    std::lock_guard Guard(R.Lock);
    for (const TClassInfo* Class : R.Registered)
        if (SameText(Class->ClassName, ClassName)) return Class;
    return nullptr;
}

const TClassInfo* FindClass(const AnsiString& ClassName) {
    const TClassInfo* Class = GetClass(ClassName);
    if (!Class) throw EClassNotFound("Class " + ClassName + " not found");
    return Class;
}

// ---- descriptions ---------------------------------------------------------------------

TPropList GetPropList(const TClassInfo* Class) {
    std::vector<const TClassInfo*> Chain;
    for (const TClassInfo* C = Class; C; C = C->Parent)
        Chain.push_back(C);
    TPropList Result;
    for (auto It = Chain.rbegin(); It != Chain.rend(); ++It)
        for (const TPropInfo& Prop : (*It)->OwnProps) {
            // A class that publishes a property of its base again replaces
            // it: the property is listed (and so streamed) once, where the
            // class declares it, which lets it come after what it depends on.
            std::erase_if(Result, [&Prop](const TPropInfo* Earlier) {
                return SameText(Earlier->Name, Prop.Name);
            });
            Result.push_back(&Prop);
        }
    return Result;
}

TPropList GetPropList(const TObject* Instance) {
    return GetPropList(GetClassInfo(Instance));
}

const TPropInfo* GetPropInfo(const TClassInfo* Class, const AnsiString& PropName) {
    // The most derived declaration wins over one of the same name in a base.
    for (const TClassInfo* C = Class; C; C = C->Parent)
        for (const TPropInfo& Prop : C->OwnProps)
            if (SameText(Prop.Name, PropName)) return &Prop;
    return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName) {
    return GetPropInfo(GetClassInfo(Instance), PropName);
}

bool IsStoredProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return !PropInfo->StoredProc || PropInfo->StoredProc(Instance);
}

bool IsDefaultPropValue(const TObject* Instance, const TPropInfo* PropInfo) {
    if (PropInfo->Default == NoDefault || !IsOrdinalKind(PropInfo->Kind()) || !PropInfo->GetOrd)
        return false;
    return PropInfo->GetOrd(Instance) == PropInfo->Default;
}

// ---- values ---------------------------------------------------------------------------

std::int64_t GetOrdProp(const TObject* Instance, const TPropInfo* PropInfo) {
    if (!PropInfo->GetOrd) KindError(PropInfo);
    return PropInfo->GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, std::int64_t Value) {
    if (!PropInfo->GetOrd) KindError(PropInfo);
    if (!PropInfo->SetOrd) ReadOnlyError(PropInfo);
    PropInfo->SetOrd(Instance, Value);
}

double GetFloatProp(const TObject* Instance, const TPropInfo* PropInfo) {
    if (!PropInfo->GetFloat) KindError(PropInfo);
    return PropInfo->GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const TPropInfo* PropInfo, double Value) {
    if (!PropInfo->GetFloat) KindError(PropInfo);
    if (!PropInfo->SetFloat) ReadOnlyError(PropInfo);
    PropInfo->SetFloat(Instance, Value);
}

AnsiString GetStrProp(const TObject* Instance, const TPropInfo* PropInfo) {
    if (!PropInfo->GetStr) KindError(PropInfo);
    return PropInfo->GetStr(Instance);
}

void SetStrProp(TObject* Instance, const TPropInfo* PropInfo, const AnsiString& Value) {
    if (!PropInfo->GetStr) KindError(PropInfo);
    if (!PropInfo->SetStr) ReadOnlyError(PropInfo);
    PropInfo->SetStr(Instance, Value);
}

Variant GetVariantProp(const TObject* Instance, const TPropInfo* PropInfo) {
    if (!PropInfo->GetVar) KindError(PropInfo);
    return PropInfo->GetVar(Instance);
}

void SetVariantProp(TObject* Instance, const TPropInfo* PropInfo, const Variant& Value) {
    if (!PropInfo->GetVar) KindError(PropInfo);
    if (!PropInfo->SetVar) ReadOnlyError(PropInfo);
    PropInfo->SetVar(Instance, Value);
}

TObject* GetObjectProp(const TObject* Instance, const TPropInfo* PropInfo) {
    if (!PropInfo->GetObj) KindError(PropInfo);
    return PropInfo->GetObj(Instance);
}

void SetObjectProp(TObject* Instance, const TPropInfo* PropInfo, TObject* Value) {
    if (!PropInfo->GetObj) KindError(PropInfo);
    if (!PropInfo->SetObj) ReadOnlyError(PropInfo);
    PropInfo->SetObj(Instance, Value);
}

AnsiString GetEnumProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return GetEnumName(PropInfo->PropType, GetOrdProp(Instance, PropInfo));
}

void SetEnumProp(TObject* Instance, const TPropInfo* PropInfo, const AnsiString& Value) {
    const int Ordinal = GetEnumValue(PropInfo->PropType, Value);
    if (Ordinal < 0) throw EPropertyConvertError("Invalid property element: " + Value);
    SetOrdProp(Instance, PropInfo, Ordinal);
}

AnsiString SetToString(const TTypeInfo* SetType, std::int64_t Value, bool Brackets) {
    const TTypeInfo* Members = SetType ? SetType->CompType : nullptr;
    AnsiString Result;
    for (int I = 0; I < 32; ++I)
        if ((static_cast<std::uint64_t>(Value) >> I) & 1u) {
            if (!Result.empty()) Result += ',';
            Result += GetEnumName(Members, I);
        }
    return Brackets ? "[" + Result + "]" : Result;
}

std::int64_t StringToSet(const TTypeInfo* SetType, const AnsiString& Value, bool SkipUnknown) {
    const TTypeInfo* Members = SetType ? SetType->CompType : nullptr;
    std::int64_t Result = 0;
    std::size_t I = 0;
    auto IsDelimiter = [](char C) { return C == ' ' || C == ',' || C == '[' || C == ']'; };
    while (I < Value.size()) {
        while (I < Value.size() && IsDelimiter(Value[I]))
            ++I;
        const std::size_t Start = I;
        while (I < Value.size() && !IsDelimiter(Value[I]))
            ++I;
        if (I == Start) break;
        const AnsiString Word = Value.substr(Start, I - Start);
        const int Ordinal = GetEnumValue(Members, Word);
        if (Ordinal >= 0 && Ordinal < 32)
            Result |= std::int64_t{1} << Ordinal;
        else if (!SkipUnknown)
            throw EPropertyConvertError("Invalid property element: " + Word);
    }
    return Result;
}
