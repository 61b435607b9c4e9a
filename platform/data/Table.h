#pragma once
// TTable: the rows of one table of the database named by DatabaseName, read
// into memory as a query's are, in the order of IndexFieldNames.
//
// Detail table: with a MasterSource and MasterFields ("A;B"), the table shows
// the rows whose first index fields equal the master's fields of those names
// on its current record (none while the master has no record), and reads
// them again whenever the master moves.
//
// Range: SetRangeStart (or SetRangeEnd) turns the fields into the key of the
// range's start (or end) until ApplyRange or CancelRange: a value written to
// an index field, as text or otherwise, becomes part of that key. The range
// keeps the rows whose index fields lie between the two keys, compared field
// by field in index order as the index sorts them; only the leading index
// fields that were given a value count, and a key without any leaves that
// side open. Changing the index cancels the range; closing the table drops it.
//
// The statement is the table's own: the table writes SQL from the
// properties above each time it opens.
#include "platform/data/Query.h"

#include <memory>
#include <vector>

class TTable : public TQuery {
public:
    explicit TTable(TComponent* AOwner);
    ~TTable() override;
    AnsiString ClassName() const override { return "TTable"; }

    const AnsiString& TableName() const { return FTableName; }
    // Only while closed.
    void SetTableName(const AnsiString& Value);

    // Field names joined by ';'. An open table reads its rows again in the
    // new order and moves to the first.
    const AnsiString& IndexFieldNames() const { return FIndexFieldNames; }
    void SetIndexFieldNames(const AnsiString& Value);
    int IndexFieldCount() const { return static_cast<int>(FIndexFields.size()); }

    // An open table reads its rows again when either changes.
    TDataSource* MasterSource() const;
    // Raises EDatabaseError when Value's data set is this table.
    void SetMasterSource(TDataSource* Value);
    const AnsiString& MasterFields() const { return FMasterFields; }
    void SetMasterFields(const AnsiString& Value);

    // The table must be open.
    void SetRangeStart();
    void SetRangeEnd();
    // Ends the key editing and reads the rows of the range.
    void ApplyRange();
    // Ends the key editing and any range; an open table reads all its rows again.
    void CancelRange();
    bool RangeApplied() const { return FRangeApplied; }

protected:
    void InternalOpen(TResult& Result) override;
    void InternalClose() override;
    bool GetKeyFieldData(const TField* Field, Variant& Raw) const override;
    void SetKeyFieldData(TField* Field, Variant Raw) override;

private:
    class TMasterLink;
    // The values of one key, by index position, with the kind of the field
    // each was written to (its fields may be gone when the key is used).
    struct TKey {
        std::vector<Variant> Values;
        std::vector<TFieldType> Types;
        std::vector<bool> Given;
        void Clear(std::size_t Count);
        // How many leading index fields were given a value.
        std::size_t Leading() const;
    };

    void EditKey(TKey& Key);
    // The index position of Field's column; -1 when it is none.
    int IndexPosition(const TField* Field) const;
    AnsiString BuildStatement();
    void BindKey(const TKey& Key, std::size_t Count, const char* Prefix);
    void MasterChanged();
    // Reads the rows again on an open table, the attached controls hearing once.
    void Reread();

    AnsiString FTableName;
    AnsiString FIndexFieldNames;
    std::vector<AnsiString> FIndexFields;
    AnsiString FMasterFields;
    std::unique_ptr<TMasterLink> FMasterLink;
    TKey FRangeStart;
    TKey FRangeEnd;
    TKey* FEditing = nullptr;
    bool FRangeApplied = false;
    bool FRereading = false;
};
