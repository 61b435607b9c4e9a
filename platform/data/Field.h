#pragma once
// TField: one column of a data set's current record, or a calculated value
// the data set's OnCalcFields handler fills in. A field reads its value in
// three ways, as the framework's callers expect:
//   Value()      a Variant; a NULL gives a null Variant, whose conversion to
//                a number or text raises EVariantTypeCastError;
//   AsInteger() and the other typed getters; a NULL gives 0, 0.0, False or "";
//   IsNull()     the explicit test.
//
// A field is a component: a persistent field is created by its data module
// (its owner), named, and given to the query with SetDataSet; the query then
// shows exactly its persistent fields, in their order. A query without
// persistent fields makes one field per result column when it opens and
// frees them when it closes.
#include "platform/classes/Component.h"
#include "platform/data/DBTypes.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/TDateTime.h"
#include "platform/rtl/Variant.h"

#include <functional>
#include <vector>

class TDataSet;
class TField;

// Text is what the field shows; DisplayText is true for display, false for editing.
using TFieldGetTextEvent = std::function<void(TField* Sender, AnsiString& Text, bool DisplayText)>;

class TField : public TComponent {
public:
    ~TField() override;
    AnsiString ClassName() const override { return "TField"; }

    TDataSet* DataSet() const { return FDataSet; }
    // Moves the field to the end of Value's fields (nullptr: to none). The
    // data set (old and new) must be closed.
    void SetDataSet(TDataSet* Value);

    const AnsiString& FieldName() const { return FFieldName; }
    void SetFieldName(const AnsiString& Value);
    TFieldKind FieldKind() const { return FFieldKind; }
    void SetFieldKind(TFieldKind Value);
    bool Calculated() const { return FFieldKind == fkCalculated; }
    TFieldType DataType() const { return FDataType; }
    // Characters of a string field; 0 for the other kinds.
    int Size() const { return FSize; }
    void SetSize(int Value);
    // Bytes the field's value takes in a record buffer (a string's size plus
    // its terminator, 4 for an integer, 8 for a float, 0 for a memo...).
    virtual int DataSize() const = 0;

    // The field name unless set.
    AnsiString DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const AnsiString& Value) { FDisplayLabel = Value; }
    // Characters a grid gives the field: a default for its kind unless set.
    int DisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : DefaultWidth(); }
    void SetDisplayWidth(int Value) { FDisplayWidth = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    // Position among the data set's fields; setting it moves the field.
    int Index() const;
    void SetIndex(int Value);

    bool IsNull() const;
    Variant Value() const;
    AnsiString AsString() const;
    int AsInteger() const;
    double AsFloat() const;
    TDateTime AsDateTime() const;
    bool AsBoolean() const;
    Currency AsCurrency() const;
    // The text the field shows: OnGetText when set, else the kind's display form.
    AnsiString DisplayText() const;
    // The editing form of the same.
    AnsiString Text() const;

    // Writing is for calculated fields while the data set's OnCalcFields
    // runs; at any other time EDatabaseError is raised. A null or empty
    // Variant, and empty text for a non-text field, store NULL.
    void SetValue(const Variant& Value);
    void SetAsString(const AnsiString& Value);
    void SetAsInteger(int Value);
    void SetAsFloat(double Value);
    void SetAsDateTime(TDateTime Value);
    void SetAsBoolean(bool Value);
    void SetAsCurrency(const Currency& Value);
    void Clear();

    TFieldGetTextEvent OnGetText;

protected:
    TField(TComponent* AOwner, TFieldType DataType, int Size = 0);

    virtual int DefaultWidth() const { return 10; }

    // Turns a value as SQLite hands it over (64-bit integer, double or text,
    // never null) into the field's stored form; raises EDatabaseError when it
    // does not fit the field's kind.
    virtual Variant ImportValue(const Variant& Cell) const = 0;

    // Reading a stored, non-null value. The defaults raise the access error.
    virtual Variant GetAsVariant(const Variant& Raw) const { return Raw; }
    virtual AnsiString GetAsString(const Variant& Raw) const;
    virtual int GetAsInteger(const Variant& Raw) const;
    virtual double GetAsFloat(const Variant& Raw) const;
    virtual TDateTime GetAsDateTime(const Variant& Raw) const;
    virtual bool GetAsBoolean(const Variant& Raw) const;
    virtual Currency GetAsCurrency(const Variant& Raw) const;
    virtual AnsiString GetText(const Variant& Raw, bool DisplayText) const;

    // Making the stored form of a value being written.
    virtual Variant FromString(const AnsiString& Value) const;
    virtual Variant FromInteger(int Value) const;
    virtual Variant FromFloat(double Value) const;
    virtual Variant FromDateTime(TDateTime Value) const;
    virtual Variant FromBoolean(bool Value) const;
    virtual Variant FromCurrency(const Currency& Value) const;
    virtual Variant FromVariant(const Variant& Value) const;

    // "Cannot access field 'X' as type Y".
    [[noreturn]] void AccessError(const char* TypeName) const;
    // Raises EDatabaseError saying that Value does not fit the field's kind.
    [[noreturn]] void ImportError(const Variant& Value, const char* Kind) const;

private:
    friend class TDataSet;

    bool GetData(Variant& Raw) const;
    // The value as the data set keeps it, without a copy where it can
    // (Spare holds it otherwise); nullptr when there is none or it is NULL.
    const Variant* Data(Variant& Spare) const;
    void SetData(Variant Raw);

    TDataSet* FDataSet = nullptr;
    AnsiString FFieldName;
    TFieldKind FFieldKind = fkData;
    TFieldType FDataType;
    int FSize;
    AnsiString FDisplayLabel;
    int FDisplayWidth = 0;
    bool FVisible = true;
    bool FReadOnly = false;
    bool FRequired = false;
    // Where the open data set keeps the value: the slot among its record's
    // data values, or among the calculated values.
    int FSlot = -1;
};

// The fields of a data set, in order.
class TFields {
public:
    int Count() const { return static_cast<int>(FList.size()); }
    TField* Fields(int Index) const;
    TField* operator[](int Index) const { return Fields(Index); }
    int IndexOf(const TField* Field) const;
    // The field of that name (compared without case), or nullptr.
    TField* FindField(const AnsiString& FieldName) const;
    // The same; raises EDatabaseError "Field '%s' not found" when there is none.
    TField* FieldByName(const AnsiString& FieldName) const;

private:
    friend class TDataSet;
    friend class TField;
    std::vector<TField*> FList;
};
