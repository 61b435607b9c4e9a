#pragma once
// The parameters of a statement: each ":name" in the text is one parameter
// (a name used twice is one parameter), reached by name or by position. A
// parameter has no type until a value is given; running a statement with a
// parameter that never got one is an error.
#include "platform/data/DBTypes.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/TDateTime.h"
#include "platform/rtl/Variant.h"

#include <memory>
#include <vector>

class TParam {
public:
    explicit TParam(const AnsiString& Name) : FName(Name) {}

    const AnsiString& Name() const { return FName; }
    TFieldType DataType() const { return FDataType; }
    void SetDataType(TFieldType Value) { FDataType = Value; }
    // Whether a value (NULL included) has been given since the parameter was made.
    bool Bound() const { return FBound; }
    void SetBound(bool Value) { FBound = Value; }
    bool IsNull() const { return FValue.IsNull() || FValue.IsEmpty(); }

    // A null value reads as 0 or "" through the typed getters.
    Variant Value() const { return FValue; }
    // The same value without a copy, for binding it.
    const Variant& ValueRef() const { return FValue; }
    int AsInteger() const;
    AnsiString AsString() const;
    double AsFloat() const;
    TDateTime AsDateTime() const;
    bool AsBoolean() const;
    Currency AsCurrency() const;

    // Each setter gives the parameter its value and the matching type. A
    // date goes to the database as "yyyy/mm/dd", a date-time as
    // "yyyy/mm/dd hh:mm:ss".
    void SetValue(const Variant& Value);
    void SetAsInteger(int Value);
    void SetAsSmallInt(int Value);
    void SetAsString(const AnsiString& Value);
    void SetAsFloat(double Value);
    void SetAsCurrency(const Currency& Value);
    void SetAsBoolean(bool Value);
    void SetAsDate(TDateTime Value);
    void SetAsDateTime(TDateTime Value);
    // NULL, keeping the type.
    void Clear();
    // As made anew: no value, no type, not bound.
    void Reset() {
        FDataType = ftUnknown;
        FValue = Variant();
        FBound = false;
    }

    void Assign(const TParam& Source);

private:
    void Set(Variant Value, TFieldType DataType);

    AnsiString FName;
    TFieldType FDataType = ftUnknown;
    Variant FValue;
    bool FBound = false;
};

class TParams {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EDatabaseError for an index out of range.
    TParam* Items(int Index) const;
    TParam* operator[](int Index) const { return Items(Index); }
    // The parameter of that name (compared without case), or nullptr.
    TParam* FindParam(const AnsiString& Name) const;
    // The same; raises EDatabaseError "Parameter '%s' not found".
    TParam* ParamByName(const AnsiString& Name) const;
    // Adds a parameter unless one of the name is there; returns it.
    TParam* CreateParam(const AnsiString& Name);
    void Clear() { FItems.clear(); }
    // Copies the value and type of each of Source's parameters into the
    // parameter of the same name here, if any.
    void AssignValues(const TParams& Source);

private:
    std::vector<std::unique_ptr<TParam>> FItems;
};

// Finds the parameters of Sql: ":name" outside quotes and comments, name being
// letters, digits and '_'. Adds them to Params in order of first use (when
// Params is given) and returns the text with each ":name" replaced by
// "?<n>", n the parameter's 1-based position.
AnsiString ParseSQL(const AnsiString& Sql, TParams* Params);
