#pragma once
// TDataSet: a result held wholly in memory, walked record by record. Record
// counts are exact, a position can be saved and restored, and the result
// stays as it was read while other statements change the tables under it.
//
// Calculated fields: on every move to a record they are cleared to NULL and
// OnCalcFields runs (only when the data set has calculated fields). The
// handler may run other queries; it may not open or close this one.
//
// Data sources (TDataSource) attached to the data set hear when it opens or
// closes and when it moves, unless DisableControls holds them back.
#include "platform/classes/Component.h"
#include "platform/data/DBTypes.h"
#include "platform/data/Field.h"
#include "platform/data/StatementCache.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TDataSource;
class TFilterExpression;

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;

// A saved position. It stays meaningful until the data set is closed; a
// bookmark of an earlier opening is refused.
struct TBookmark {
    std::int64_t Record = -1;
    std::uint64_t Generation = 0;
    bool Empty() const { return Record < 0; }
};

class TDataSet : public TComponent {
public:
    explicit TDataSet(TComponent* AOwner);
    // Closes the data set and frees its fields, persistent ones included.
    ~TDataSet() override;
    AnsiString ClassName() const override { return "TDataSet"; }

    bool Active() const { return FState != dsInactive; }
    void SetActive(bool Value);
    // Reads the whole result and moves to its first record; nothing when open.
    void Open();
    // Drops the records (and the fields made for them); nothing when closed.
    void Close();
    TDataSetState State() const { return FState; }

    TFields& Fields() { return FFields; }
    const TFields& Fields() const { return FFields; }
    int FieldCount() const { return FFields.Count(); }
    TField* FindField(const AnsiString& FieldName) const { return FFields.FindField(FieldName); }
    // Raises EDatabaseError "Field '%s' not found".
    TField* FieldByName(const AnsiString& FieldName) const {
        return FFields.FieldByName(FieldName);
    }

    // Moving needs an open data set (EDatabaseError otherwise). Next on the
    // last record sets Eof and stays; Prior on the first sets Bof and stays.
    void First();
    void Last();
    void Next();
    void Prior();
    // True on a closed or empty data set too.
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    bool IsEmpty() const { return FView.empty(); }
    // The records that pass the filter.
    int RecordCount() const;
    // 1-based position of the current record; -1 when there is none.
    int RecNo() const;
    void SetRecNo(int Value);

    TBookmark GetBookmark() const;
    // Raises EDatabaseError when the record is not there (filtered out, or
    // the bookmark is of an earlier opening).
    void GotoBookmark(const TBookmark& Bookmark);
    bool BookmarkValid(const TBookmark& Bookmark) const;
    void FreeBookmark(TBookmark& Bookmark) { Bookmark = TBookmark(); }

    // Nested: attached data sources hear nothing until the last
    // EnableControls, which tells them once of whatever happened.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    // A filter expression over the fields, such as
    //   [Status] = 'Open' and Qty > 2 or not (Code = NULL)
    // with = <> != < > <= >=, and, or, not, parentheses, IS [NOT] NULL, text
    // in single quotes, numbers and NULL. A text ending in '*' matches as a
    // prefix unless foNoPartialCompare is set; foCaseInsensitive compares
    // text without case. Applied while Filtered is true; a change moves to
    // the first record that passes.
    const AnsiString& Filter() const { return FFilterText; }
    void SetFilter(const AnsiString& Value);
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool Value);
    TFilterOptions FilterOptions() const { return FFilterOptions; }
    void SetFilterOptions(TFilterOptions Value);

    TDataSetNotifyEvent OnCalcFields;

protected:
    // A result as the engine hands it over: a value per column and row, each
    // a 64-bit integer, a double, a text or null. Column names need not be
    // unique: a repeated name gets "_1", "_2", ... An engine that keeps the
    // columns of a statement from one opening to the next hands them over as
    // Layout (names already unique) instead of Columns, so that the fields
    // bound to them last time serve again.
    using TColumn = TColumnDesc;
    struct TResult {
        std::vector<TColumn> Columns;
        std::shared_ptr<const TColumnLayout> Layout;
        std::vector<std::vector<Variant>> Rows;
    };
    // Gives each repeated name of Columns its "_1", "_2", ...
    static void MakeNamesUnique(std::vector<TColumn>& Columns);
    virtual void InternalOpen(TResult& Result) = 0;
    virtual void InternalClose() {}

    void CheckActive() const;
    void CheckInactive() const;
    // Enters or leaves dsSetKey (open data sets only; leaving gives dsBrowse).
    void SetKeyState(bool Editing);
    // While in dsSetKey the fields read and write a key instead of the
    // record; the base class has none and refuses.
    virtual bool GetKeyFieldData(const TField* Field, Variant& Raw) const;
    virtual void SetKeyFieldData(TField* Field, Variant Raw);
    // The name used in messages: the component's name, else its class.
    AnsiString DisplayName() const;

private:
    friend class TField;
    friend class TDataSource;

    enum class Pending : std::uint8_t { None, Changed, Active };

    void BindFields(const std::shared_ptr<const TColumnLayout>& Layout);
    void ImportRecords(TResult& Result, const std::vector<int>& ColumnOf);
    void DestroyDefaultFields();
    void BuildView();
    void Refilter(const std::function<void()>& Undo);
    void MoveTo(int Position);
    void CalculateFields();
    void Notify(Pending Event);
    std::int64_t CurrentRecord() const;

    // TField's side.
    bool GetFieldData(const TField* Field, Variant& Raw) const;
    // The kept value itself where there is one, else Spare filled as
    // GetFieldData would; nullptr when there is no value or it is NULL.
    const Variant* FieldData(const TField* Field, Variant& Spare) const;
    void SetFieldData(TField* Field, Variant Raw);
    void AddField(TField* Field);
    void RemoveField(TField* Field);
    void MoveField(TField* Field, int Index);

    // TDataSource's side.
    void AttachDataSource(TDataSource* Source);
    void DetachDataSource(TDataSource* Source);

    TFields FFields;
    bool FDefaultFields = false;
    // The binding of the last opening: the columns it was made for, the
    // column of each data field, and (for persistent fields) the field
    // names it matched. An opening with the same columns and fields takes
    // it as it is. Default fields of a closed data set wait in FSpareFields
    // for an opening with the same columns.
    std::shared_ptr<const TColumnLayout> FBoundLayout;
    std::vector<int> FColumnOf;
    std::vector<AnsiString> FBoundNames;
    std::vector<TField*> FSpareFields;
    TDataSetState FState = dsInactive;
    std::vector<std::vector<Variant>> FRecords;
    // Worked out anew at each opening, kept to save allocating them each
    // time (a lookup opens its one row thousands of times).
    std::vector<TField*> FImportFields;
    std::vector<char> FImportMovesText;
    std::vector<TVarType> FImportKeptAs;
    std::vector<char> FImportShared;
    std::vector<Variant> FCalcValues;
    int FCalcFieldCount = 0;
    // Indexes into FRecords of the records that pass the filter, in order.
    std::vector<std::int64_t> FView;
    int FCurrent = -1; // position in FView
    std::int64_t FFilterRecord = -1;
    bool FEof = true;
    bool FBof = true;
    std::uint64_t FGeneration = 0;
    int FCalcDepth = 0;

    AnsiString FFilterText;
    bool FFiltered = false;
    TFilterOptions FFilterOptions;
    std::unique_ptr<TFilterExpression> FFilterExpr;

    int FDisableCount = 0;
    Pending FPending = Pending::None;
    std::vector<TDataSource*> FDataSources;
};
