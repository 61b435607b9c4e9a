#pragma once
// The string grid: a draw grid that keeps a text and an object per cell in
// sparse storage (a cell that holds nothing costs nothing), and offers each
// row and column as a string list.
#include "grid/foundation/DrawGrid.h"
#include "grid/foundation/SparseLists.h"

#include <memory>

namespace grid {

class TStringGrid_ts;

// One row or column of a string grid as a string list: item i is cell
// (i, r) of row r, or (c, i) of column c. Its lines cannot be inserted or
// deleted, only written.
class TStringGridStrings : public TStrings {
public:
    // Index: row r as r + 1, column c as -(c + 1); 0 is no line at all.
    TStringGridStrings(TStringGrid_ts* AGrid, int AIndex) : FGrid(AGrid), FIndex(AIndex) {}
    AnsiString ClassName() const override { return "TStringGridStrings"; }

    AnsiString Get(int Index) const override;
    int GetCount() const override;
    TObject* GetObject(int Index) const override;
    void Put(int Index, const AnsiString& S) override;
    void PutObject(int Index, TObject* AObject) override;
    // Writes the first empty item (an empty S as " "); -1 when none is empty.
    int Add(const AnsiString& S) override;
    // Both raise EInvalidGridOperation "Cannot insert or delete rows from grid".
    void Insert(int Index, const AnsiString& S) override;
    void Delete(int Index) override;
    void Clear() override;
    // Copies texts and objects of the items both lists have, as one update.
    void Assign(const TStrings* Source) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    // The cell of item Index.
    void Cell(int Index, int& ACol, int& ARow) const;

    TStringGrid_ts* FGrid;
    int FIndex;
};

class TStringGrid_ts : public TDrawGrid_ts {
public:
    explicit TStringGrid_ts(TComponent* AOwner);
    ~TStringGrid_ts() override;
    AnsiString ClassName() const override { return "TStringGrid_ts"; }

    // Reads outside the stored cells give "" and nullptr.
    AnsiString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const AnsiString& Value);
    TObject* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);
    // A row's or column's view, made on first use and kept.
    TStrings* Cols(int Index);
    void SetCols(int Index, const TStrings* Value);
    TStrings* Rows(int Index);
    void SetRows(int Index, const TStrings* Value);

    using TDrawGrid_ts::Update;
    // A cell changed: repaints it (or notes a repaint while updating), and
    // reloads the editor when it is the current cell.
    void Update(int ACol, int ARow);
    // While updating, changes note a repaint; the end repaints once.
    void SetUpdateState(bool Updating);

    AnsiString GetEditText(int ACol, int ARow) override;
    // Writes the cell only when the text differs, then OnSetEditText.
    void SetEditText(int ACol, int ARow, const AnsiString& Value) override;

    // The storage, for checking how it grows.
    const TSparseList& DataList() const { return *FData; }
    const TSparseList& RowViews() const { return *FRows; }
    const TSparseList& ColViews() const { return *FCols; }

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;

private:
    void InitializeLists();
    TStringSparseList* DataRow(int ARow) const;
    TStringSparseList& EnsureDataRow(int ARow);
    void EnsureColRow(int ACol, int ARow);
    TStringGridStrings* MakeView(TSparseList& Views, int Index, int ViewIndex);

    // The data rows and views themselves: packed side by side rather than
    // one heap block each, since a filled grid has one of each per row.
    struct TStorage;
    std::unique_ptr<TStorage> FStorage;
    std::unique_ptr<TSparseList> FData;
    std::unique_ptr<TSparseList> FRows;
    std::unique_ptr<TSparseList> FCols;
    bool FUpdating = false;
    bool FNeedsUpdating = false;
    int FEditUpdate = 0;
};

} // namespace grid
