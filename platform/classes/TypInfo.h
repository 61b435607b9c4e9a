#pragma once
// Published properties: what a class shows to the form streaming system, the
// designer and the property storage of a form.
//
// A class publishes its properties once, in the .cpp that defines its
// constructor (so the linker keeps it), with the builder of
// "platform/classes/Publish.h" (keep that header out of other headers). A
// control also includes "platform/gui/PublishedProps.h" there, which brings
// the published controls it derives from:
//
//     #include "platform/classes/Publish.h"
//     #include "platform/gui/PublishedProps.h"
//     static const TPublished<TMyEdit, TWinControl> MyEditInfo("TMyEdit", [](auto& C) {
//         C.Property("MaxLength", &TMyEdit::MaxLength, &TMyEdit::SetMaxLength).Default(0);
//         C.Property("CharCase", &TMyEdit::CharCase, &TMyEdit::SetCharCase, CharCaseType());
//         C.Property("Font", &TMyEdit::Font, &TMyEdit::SetFont);
//         C.Property("Lines", &TMyEdit::Lines, &TMyEdit::SetLines).Stored(&TMyEdit::HasLines);
//     }, true);   // true: may be made from a stream
//
// An enumeration or set property takes its identifier table (MakeEnumType /
// MakeSetType, kept in a function-local static). A class's list starts with
// its base's. A component class that may be made from a stream is also
// registered (TPublished's last argument, or RegisterClass): only
// registered classes are ever made from outside bytes.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <typeinfo>
#include <vector>

class TObject;
class TPersistent;
class TComponent;
class TFiler;

RTL_DECLARE_EXCEPTION(EPropertyError, Exception);
RTL_DECLARE_EXCEPTION(EPropertyConvertError, Exception);
RTL_DECLARE_EXCEPTION(EPropReadOnly, EPropertyError);

// Stream and designer kinds of a property's type. The ordinals are the
// framework's and are kept.
enum TTypeKind : std::uint8_t {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray,
};

enum TFloatType : std::uint8_t { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

struct TClassInfo;

// The description of a property's type.
struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    AnsiString Name;
    // Enumerations: identifiers by ordinal, MinValue .. MaxValue.
    std::vector<AnsiString> Names;
    std::int64_t MinValue = 0;
    std::int64_t MaxValue = 0;
    // Sets: the enumeration of the members.
    const TTypeInfo* CompType = nullptr;
    // Floats.
    TFloatType FloatType = ftDouble;
    // Classes: the C++ type held, found in the registry when it is published.
    const std::type_info* ClassType = nullptr;
    // Classes: a TComponent descendant (a reference, streamed by name).
    bool IsComponent = false;
};

// An enumeration type named Name whose identifiers have the ordinals 0, 1, ...
TTypeInfo MakeEnumType(const AnsiString& Name, std::initializer_list<const char*> Identifiers);
// A set type of the members of Enum (which must outlive it).
TTypeInfo MakeSetType(const AnsiString& Name, const TTypeInfo& Enum);
// A type of a kind that needs nothing more than its name.
TTypeInfo MakeSimpleType(TTypeKind Kind, const AnsiString& Name, TFloatType FloatType = ftDouble);
// The enumeration "Boolean" with False and True.
const TTypeInfo& BooleanType();

// The identifier of an ordinal; its number as text when it names nothing.
AnsiString GetEnumName(const TTypeInfo* TypeInfo, std::int64_t Value);
// The ordinal of an identifier (ignoring case, lowest first), -1 when none.
int GetEnumValue(const TTypeInfo* TypeInfo, const AnsiString& Name);

// Marks a property without a default: it is always written.
inline constexpr std::int64_t NoDefault = std::numeric_limits<std::int64_t>::min();

struct TPropInfo {
    AnsiString Name;
    const TTypeInfo* PropType = nullptr;
    // Ordinal default (integer, char, enumeration, set); NoDefault otherwise.
    std::int64_t Default = NoDefault;
    // String properties: the text a new object starts with. A text is
    // written when it is not empty, and an empty one too when a new object
    // starts with another, so that it is read back empty.
    AnsiString StrDefault;
    // Empty: always stored.
    std::function<bool(const TObject*)> StoredProc;
    // Position in its class's full list.
    int NameIndex = 0;

    // The accessors of the property's kind; the others stay empty. Ordinal
    // kinds (integer, char, enumeration, set, 64-bit) go through Ord, floats
    // through Float, strings through Str, variants through Var and classes
    // through Obj. A read-only property has no setter.
    std::function<std::int64_t(const TObject*)> GetOrd;
    std::function<void(TObject*, std::int64_t)> SetOrd;
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<AnsiString(const TObject*)> GetStr;
    std::function<void(TObject*, const AnsiString&)> SetStr;
    std::function<Variant(const TObject*)> GetVar;
    std::function<void(TObject*, const Variant&)> SetVar;
    std::function<TObject*(const TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;

    TTypeKind Kind() const { return PropType ? PropType->Kind : tkUnknown; }
    bool Writable() const { return SetOrd || SetFloat || SetStr || SetVar || SetObj; }
};

using TPropList = std::vector<const TPropInfo*>;

// A published class: its name, base, properties in declaration order (its
// base's first), how to make one, and the hooks the streaming system uses
// where a class keeps things the C++ classes don't show virtually.
struct TClassInfo {
    AnsiString ClassName;
    const TClassInfo* Parent = nullptr;
    // The base's C++ type: the registry links Parent once the base is
    // published too, whichever comes first.
    const std::type_info* ParentType = nullptr;
    const std::type_info* Type = nullptr;
    // Whether an object is of this class (or a descendant).
    std::function<bool(const TObject*)> IsInstance;
    // Makes one with the given owner; empty for abstract classes and classes
    // that are not components.
    std::function<TComponent*(TComponent* Owner)> Create;
    // The properties declared by this class itself.
    std::vector<TPropInfo> OwnProps;
    // Sets the component's parent in the control tree while reading.
    std::function<void(TComponent* Child, TComponent* Parent)> SetParent;
    // Lists the children a writer streams inside the component.
    std::function<void(TComponent* Self, const std::function<void(TComponent*)>& Proc,
                       TComponent* Root)>
        GetChildren;
    // Unpublished data the class streams (as TPersistent::DefineProperties).
    std::function<void(TPersistent* Self, TFiler* Filer)> DefineProperties;

    bool InheritsFrom(const TClassInfo* Other) const;
    int Depth() const;
};

// ---- the registry ----------------------------------------------------------------------

// Runs Publisher before the next lookup of the registry (how a class
// publishes itself from a static object without depending on the order in
// which static objects are made).
void AddPublisher(std::function<void()> Publisher);
// Publishes Info (the registry keeps it). A second class of the same name
// replaces nothing and is ignored; the first stays.
const TClassInfo* PublishClass(TClassInfo Info);
// The most derived published class of Instance, or nullptr.
const TClassInfo* GetClassInfo(const TObject* Instance);
// The published class of that C++ type, or nullptr.
const TClassInfo* GetClassInfo(const std::type_info& Type);
// A published class by name, ignoring case, or nullptr.
const TClassInfo* FindPublishedClass(const AnsiString& ClassName);

// Classes that may be made from a stream. RegisterClass takes a published
// component class; FindClass raises EClassNotFound "Class %s not found";
// GetClass answers nullptr.
void RegisterClass(const TClassInfo* Class);
void RegisterClasses(std::initializer_list<const TClassInfo*> Classes);
void UnRegisterClass(const TClassInfo* Class);
const TClassInfo* GetClass(const AnsiString& ClassName);
const TClassInfo* FindClass(const AnsiString& ClassName);

// ---- reading the descriptions ----------------------------------------------------------

// Every property of the class, its base's first; an empty list without one.
TPropList GetPropList(const TClassInfo* Class);
TPropList GetPropList(const TObject* Instance);
// By name, ignoring case; nullptr when there is none.
const TPropInfo* GetPropInfo(const TClassInfo* Class, const AnsiString& PropName);
const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName);
// Whether the property's value is to be written (its stored rule).
bool IsStoredProp(const TObject* Instance, const TPropInfo* PropInfo);
// Whether the property holds its default (ordinal kinds only).
bool IsDefaultPropValue(const TObject* Instance, const TPropInfo* PropInfo);

// ---- values ---------------------------------------------------------------------------
// A getter on a property of another kind raises EPropertyConvertError; a
// setter on a read-only property raises EPropReadOnly.

std::int64_t GetOrdProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, std::int64_t Value);
double GetFloatProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetFloatProp(TObject* Instance, const TPropInfo* PropInfo, double Value);
AnsiString GetStrProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetStrProp(TObject* Instance, const TPropInfo* PropInfo, const AnsiString& Value);
Variant GetVariantProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetVariantProp(TObject* Instance, const TPropInfo* PropInfo, const Variant& Value);
TObject* GetObjectProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetObjectProp(TObject* Instance, const TPropInfo* PropInfo, TObject* Value);

// Enumerations by identifier.
AnsiString GetEnumProp(const TObject* Instance, const TPropInfo* PropInfo);
// EPropertyConvertError "Invalid property element: %s" for an unknown name.
void SetEnumProp(TObject* Instance, const TPropInfo* PropInfo, const AnsiString& Value);
// Sets as "[a,b]" (Brackets) or "a,b".
AnsiString SetToString(const TTypeInfo* SetType, std::int64_t Value, bool Brackets);
// Words separated by blanks, "," "[" "]"; a word that names no member (or
// one from 32 on) raises EPropertyConvertError, or with SkipUnknown is
// passed over.
std::int64_t StringToSet(const TTypeInfo* SetType, const AnsiString& Value,
                         bool SkipUnknown = false);
