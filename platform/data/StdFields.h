#pragma once
// The field classes. A query's own fields take their class from the column's
// declared type:
//   VARCHAR(n), CHAR(n)                 TStringField, Size n
//   LONG VARCHAR, TEXT, CLOB            TMemoField
//   SMALLINT, TINYINT                   TSmallintField
//   INTEGER, INT, BIGINT                TIntegerField
//   DOUBLE, REAL, FLOAT, NUMERIC        TFloatField
//   MONEY, CURRENCY                     TCurrencyField
//   BIT, BOOLEAN                        TBooleanField
//   DATE                                TDateField
//   TIMESTAMP, DATETIME                 TDateTimeField
// A column without a declared type (an expression) takes the class of its
// values: integers, floats, else text.
//
// Dates are kept as the database's text and read on demand, so text that is
// no date shows as it stands through AsString and raises through AsDateTime
// and Value.
#include "platform/data/Field.h"

// Text of at most Size bytes; a longer text written to it is cut (never in
// the middle of a UTF-8 character).
class TStringField : public TField {
public:
    explicit TStringField(TComponent* AOwner, int Size = 20) : TField(AOwner, ftString, Size) {}
    AnsiString ClassName() const override { return "TStringField"; }
    int DataSize() const override { return Size() + 1; }

protected:
    int DefaultWidth() const override { return Size(); }
    Variant ImportValue(const Variant& Cell) const override;
    AnsiString GetAsString(const Variant& Raw) const override;
    int GetAsInteger(const Variant& Raw) const override;
    double GetAsFloat(const Variant& Raw) const override;
    TDateTime GetAsDateTime(const Variant& Raw) const override;
    bool GetAsBoolean(const Variant& Raw) const override;
    Variant FromString(const AnsiString& Value) const override;
    Variant FromInteger(int Value) const override;
    Variant FromFloat(double Value) const override;
    Variant FromBoolean(bool Value) const override;
};

// Text of any length. Its display text is "(MEMO)" when it holds text and
// "(Memo)" when empty, as grids show a memo; AsString gives the text.
class TMemoField : public TField {
public:
    explicit TMemoField(TComponent* AOwner) : TField(AOwner, ftMemo) {}
    AnsiString ClassName() const override { return "TMemoField"; }
    int DataSize() const override { return 0; }

protected:
    Variant ImportValue(const Variant& Cell) const override;
    AnsiString GetAsString(const Variant& Raw) const override;
    AnsiString GetText(const Variant& Raw, bool DisplayText) const override;
    Variant FromString(const AnsiString& Value) const override;
};

// Integers, floats: DisplayFormat (FormatFloat's language) shapes the
// display text when set.
class TNumericField : public TField {
public:
    AnsiString ClassName() const override { return "TNumericField"; }
    const AnsiString& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const AnsiString& Value) { FDisplayFormat = Value; }

protected:
    using TField::TField;

private:
    AnsiString FDisplayFormat;
};

class TIntegerField : public TNumericField {
public:
    explicit TIntegerField(TComponent* AOwner) : TNumericField(AOwner, ftInteger) {}
    AnsiString ClassName() const override { return "TIntegerField"; }
    int DataSize() const override { return 4; }

protected:
    TIntegerField(TComponent* AOwner, TFieldType DataType) : TNumericField(AOwner, DataType) {}
    int DefaultWidth() const override { return 11; }
    Variant ImportValue(const Variant& Cell) const override;
    AnsiString GetAsString(const Variant& Raw) const override;
    int GetAsInteger(const Variant& Raw) const override;
    double GetAsFloat(const Variant& Raw) const override;
    bool GetAsBoolean(const Variant& Raw) const override;
    AnsiString GetText(const Variant& Raw, bool DisplayText) const override;
    Variant FromString(const AnsiString& Value) const override;
    Variant FromInteger(int Value) const override;
    Variant FromFloat(double Value) const override;
    Variant FromVariant(const Variant& Value) const override;
    // Raises ERangeError when Value is outside the field's range.
    virtual void CheckRange(long long Value) const;
};

// A 16-bit integer: writing a value outside -32768..32767 raises ERangeError.
class TSmallintField : public TIntegerField {
public:
    explicit TSmallintField(TComponent* AOwner) : TIntegerField(AOwner, ftSmallint) {}
    AnsiString ClassName() const override { return "TSmallintField"; }
    int DataSize() const override { return 2; }

protected:
    int DefaultWidth() const override { return 6; }
    void CheckRange(long long Value) const override;
};

// A double. With Currency set the display text is a money amount.
class TFloatField : public TNumericField {
public:
    explicit TFloatField(TComponent* AOwner) : TNumericField(AOwner, ftFloat) {}
    AnsiString ClassName() const override { return "TFloatField"; }
    int DataSize() const override { return 8; }
    bool Currency() const { return FCurrency; }
    void SetCurrency(bool Value) { FCurrency = Value; }
    // Significant digits of the display text (15 unless set).
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value) { FPrecision = Value; }

protected:
    TFloatField(TComponent* AOwner, TFieldType DataType) : TNumericField(AOwner, DataType) {}
    Variant ImportValue(const Variant& Cell) const override;
    AnsiString GetAsString(const Variant& Raw) const override;
    int GetAsInteger(const Variant& Raw) const override;
    double GetAsFloat(const Variant& Raw) const override;
    TDateTime GetAsDateTime(const Variant& Raw) const override;
    bool GetAsBoolean(const Variant& Raw) const override;
    AnsiString GetText(const Variant& Raw, bool DisplayText) const override;
    Variant FromString(const AnsiString& Value) const override;
    Variant FromInteger(int Value) const override;
    Variant FromFloat(double Value) const override;
    Variant FromDateTime(TDateTime Value) const override;
    Variant FromVariant(const Variant& Value) const override;

private:
    bool FCurrency = false;
    int FPrecision = 15;
};

// A money amount kept as a double, shown in the currency format.
class TCurrencyField : public TFloatField {
public:
    explicit TCurrencyField(TComponent* AOwner) : TFloatField(AOwner, ftCurrency) {
        SetCurrency(true);
    }
    AnsiString ClassName() const override { return "TCurrencyField"; }
};

// Stored by the database as an integer (non-zero is true); "True" / "False" as text.
class TBooleanField : public TField {
public:
    explicit TBooleanField(TComponent* AOwner) : TField(AOwner, ftBoolean) {}
    AnsiString ClassName() const override { return "TBooleanField"; }
    int DataSize() const override { return 2; }

protected:
    int DefaultWidth() const override { return 5; }
    Variant ImportValue(const Variant& Cell) const override;
    AnsiString GetAsString(const Variant& Raw) const override;
    bool GetAsBoolean(const Variant& Raw) const override;
    Variant FromString(const AnsiString& Value) const override;
    Variant FromBoolean(bool Value) const override;
    Variant FromVariant(const Variant& Value) const override;
};

// A date and time. AsString is "yyyy/mm/dd hh:mm:ss", the date alone at
// midnight; AsDateTime reads that form and ISO "yyyy-mm-dd". DisplayFormat
// (FormatDateTime's language) shapes the display text when set.
class TDateTimeField : public TField {
public:
    explicit TDateTimeField(TComponent* AOwner) : TField(AOwner, ftDateTime) {}
    AnsiString ClassName() const override { return "TDateTimeField"; }
    int DataSize() const override { return 8; }
    const AnsiString& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const AnsiString& Value) { FDisplayFormat = Value; }

protected:
    TDateTimeField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType) {}
    int DefaultWidth() const override { return 19; }
    // The value as text in the database's form.
    virtual AnsiString StatementText(TDateTime Value) const;
    // The stored value read as a date and time; raises EConvertError for text
    // that is no date.
    TDateTime Decode(const Variant& Raw) const;
    Variant ImportValue(const Variant& Cell) const override;
    Variant GetAsVariant(const Variant& Raw) const override;
    AnsiString GetAsString(const Variant& Raw) const override;
    double GetAsFloat(const Variant& Raw) const override;
    TDateTime GetAsDateTime(const Variant& Raw) const override;
    AnsiString GetText(const Variant& Raw, bool DisplayText) const override;
    Variant FromString(const AnsiString& Value) const override;
    Variant FromFloat(double Value) const override;
    Variant FromDateTime(TDateTime Value) const override;
    Variant FromVariant(const Variant& Value) const override;

private:
    AnsiString FDisplayFormat;
};

// A date without a time: AsString is "yyyy/mm/dd"; a time written to it is dropped.
class TDateField : public TDateTimeField {
public:
    explicit TDateField(TComponent* AOwner) : TDateTimeField(AOwner, ftDate) {}
    AnsiString ClassName() const override { return "TDateField"; }
    int DataSize() const override { return 4; }

protected:
    int DefaultWidth() const override { return 10; }
    AnsiString StatementText(TDateTime Value) const override;
    Variant FromDateTime(TDateTime Value) const override;
};

// A new field of the class that holds DataType (Size for text), owned by Owner.
TField* CreateField(TComponent* Owner, TFieldType DataType, int Size);
