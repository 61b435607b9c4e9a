#include "grid/foundation/StringGrid.h"

#include <algorithm>
#include <deque>

namespace grid {

// ---- TStringGridStrings ------------------------------------------------------------------

void TStringGridStrings::Cell(int Index, int& ACol, int& ARow) const {
    if (FIndex > 0) {
        ACol = Index;
        ARow = FIndex - 1;
    } else {
        ACol = -FIndex - 1;
        ARow = Index;
    }
}

int TStringGridStrings::GetCount() const {
    if (FIndex == 0) return 0;
    return FIndex > 0 ? FGrid->ColCount() : FGrid->RowCount();
}

AnsiString TStringGridStrings::Get(int Index) const {
    if (FIndex == 0) return AnsiString();
    int C = 0, R = 0;
    Cell(Index, C, R);
    return FGrid->Cells(C, R);
}

TObject* TStringGridStrings::GetObject(int Index) const {
    if (FIndex == 0) return nullptr;
    int C = 0, R = 0;
    Cell(Index, C, R);
    return FGrid->Objects(C, R);
}

void TStringGridStrings::Put(int Index, const AnsiString& S) {
    int C = 0, R = 0;
    Cell(Index, C, R);
    FGrid->SetCells(C, R, S);
}

void TStringGridStrings::PutObject(int Index, TObject* AObject) {
    int C = 0, R = 0;
    Cell(Index, C, R);
    FGrid->SetObjects(C, R, AObject);
}

int TStringGridStrings::Add(const AnsiString& S) {
    const int Count = GetCount();
    for (int I = 0; I < Count; ++I) {
        if (!Get(I).empty()) continue;
        Put(I, S.empty() ? AnsiString(" ") : S);
        return I;
    }
    return -1;
}

void TStringGridStrings::Insert(int, const AnsiString&) {
    throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Delete(int) {
    throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Clear() {
    if (FIndex == 0) return;
    // Only cells that hold something need clearing: an empty grid row is
    // not made just to be emptied.
    std::vector<int> Stored;
    if (FIndex > 0) {
        const int R = FIndex - 1;
        if (const auto* Row = static_cast<const TStringSparseList*>(FGrid->DataList().ItemAt(R)))
            for (int C = 0; C < Row->GetCount(); ++C)
                if (!Row->Get(C).empty() || Row->GetObject(C)) Stored.push_back(C);
        // From the last cell back: each one emptied is then the row's end,
        // so no text after it has to move.
        for (auto It = Stored.rbegin(); It != Stored.rend(); ++It) {
            FGrid->SetObjects(*It, R, nullptr);
            FGrid->SetCells(*It, R, AnsiString());
        }
    } else {
        const int C = -FIndex - 1;
        FGrid->DataList().VisitItems([&](int R, void* Item) {
            const auto* Row = static_cast<const TStringSparseList*>(Item);
            if (!Row->Get(C).empty() || Row->GetObject(C)) Stored.push_back(R);
            return 0;
        });
        for (auto It = Stored.rbegin(); It != Stored.rend(); ++It) {
            FGrid->SetObjects(C, *It, nullptr);
            FGrid->SetCells(C, *It, AnsiString());
        }
    }
}

void TStringGridStrings::Assign(const TStrings* Source) {
    if (!Source) return;
    BeginUpdate();
    try {
        const int Count = std::min(Source->GetCount(), GetCount());
        for (int I = 0; I < Count; ++I) {
            Put(I, Source->Get(I));
            PutObject(I, Source->GetObject(I));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringGridStrings::SetUpdateState(bool Updating) {
    FGrid->SetUpdateState(Updating);
}

// ---- TStringGrid_ts ------------------------------------------------------------------------

struct TStringGrid_ts::TStorage {
    // A deque never moves what it holds, so the lists keep plain pointers.
    std::deque<TStringSparseList> DataRows;
    std::deque<TStringGridStrings> Views;
};

TStringGrid_ts::TStringGrid_ts(TComponent* AOwner)
    : TDrawGrid_ts(AOwner), FStorage(std::make_unique<TStorage>()) {
    InitializeLists();
}

TStringGrid_ts::~TStringGrid_ts() {
    // Views and data rows go first (with the storage), then the lists.
    FStorage.reset();
    FCols.reset();
    FRows.reset();
    FData.reset();
}

void TStringGrid_ts::InitializeLists() {
    // The section size is chosen once, for the size the grid starts with.
    if (!FCols) FCols = std::make_unique<TSparseList>(ColCount() > 512 ? SPALarge : SPASmall);
    if (!FRows) FRows = std::make_unique<TSparseList>(RowCount() > 256 ? SPALarge : SPASmall);
    if (!FData) FData = std::make_unique<TSparseList>(RowCount() > 256 ? SPALarge : SPASmall);
}

TStringSparseList* TStringGrid_ts::DataRow(int ARow) const {
    if (ARow < 0 || ARow >= FData->Array().IndexLimit()) return nullptr;
    return static_cast<TStringSparseList*>(FData->ItemAt(ARow));
}

TStringSparseList& TStringGrid_ts::EnsureDataRow(int ARow) {
    if (TStringSparseList* Row = DataRow(ARow)) return *Row;
    TStringSparseList& Row = FStorage->DataRows.emplace_back(ColCount() > 512 ? SPALarge : SPASmall);
    try {
        FData->StoreAt(ARow, &Row);
    } catch (...) {
        FStorage->DataRows.pop_back();
        throw;
    }
    return Row;
}

TStringGridStrings* TStringGrid_ts::MakeView(TSparseList& Views, int Index, int ViewIndex) {
    TStringGridStrings& View = FStorage->Views.emplace_back(this, ViewIndex);
    try {
        Views.StoreAt(Index, &View);
    } catch (...) {
        FStorage->Views.pop_back();
        throw;
    }
    return &View;
}

void TStringGrid_ts::EnsureColRow(int ACol, int ARow) {
    if (!FCols->ItemAt(ACol)) MakeView(*FCols, ACol, -(ACol + 1));
    if (!FRows->ItemAt(ARow)) MakeView(*FRows, ARow, ARow + 1);
}

AnsiString TStringGrid_ts::Cells(int ACol, int ARow) const {
    const TStringSparseList* Row = DataRow(ARow);
    if (!Row || ACol < 0 || ACol >= Row->GetCount()) return AnsiString();
    return Row->Get(ACol);
}

void TStringGrid_ts::SetCells(int ACol, int ARow, const AnsiString& Value) {
    EnsureDataRow(ARow).Put(ACol, Value);
    EnsureColRow(ACol, ARow);
    Update(ACol, ARow);
}

TObject* TStringGrid_ts::Objects(int ACol, int ARow) const {
    const TStringSparseList* Row = DataRow(ARow);
    if (!Row || ACol < 0 || ACol >= Row->GetCount()) return nullptr;
    return Row->GetObject(ACol);
}

void TStringGrid_ts::SetObjects(int ACol, int ARow, TObject* Value) {
    EnsureDataRow(ARow).PutObject(ACol, Value);
    EnsureColRow(ACol, ARow);
    Update(ACol, ARow);
}

TStrings* TStringGrid_ts::Cols(int Index) {
    auto* View = static_cast<TStringGridStrings*>(FCols->ItemAt(Index));
    return View ? View : MakeView(*FCols, Index, -(Index + 1));
}

void TStringGrid_ts::SetCols(int Index, const TStrings* Value) {
    Cols(Index)->Assign(Value);
}

TStrings* TStringGrid_ts::Rows(int Index) {
    auto* View = static_cast<TStringGridStrings*>(FRows->ItemAt(Index));
    return View ? View : MakeView(*FRows, Index, Index + 1);
}

void TStringGrid_ts::SetRows(int Index, const TStrings* Value) {
    Rows(Index)->Assign(Value);
}

void TStringGrid_ts::Update(int ACol, int ARow) {
    if (FUpdating)
        FNeedsUpdating = true;
    else
        InvalidateCell(ACol, ARow);
    if (ACol == Col() && ARow == Row() && FEditUpdate == 0) InvalidateEditor();
}

void TStringGrid_ts::SetUpdateState(bool Updating) {
    FUpdating = Updating;
    if (!Updating && FNeedsUpdating) {
        InvalidateGrid();
        FNeedsUpdating = false;
    }
}

AnsiString TStringGrid_ts::GetEditText(int ACol, int ARow) {
    AnsiString Result = Cells(ACol, ARow);
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, Result);
    return Result;
}

void TStringGrid_ts::SetEditText(int ACol, int ARow, const AnsiString& Value) {
    ++FEditUpdate;
    try {
        if (Value != Cells(ACol, ARow)) SetCells(ACol, ARow, Value);
    } catch (...) {
        --FEditUpdate;
        throw;
    }
    --FEditUpdate;
    TDrawGrid_ts::SetEditText(ACol, ARow, Value);
}

void TStringGrid_ts::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (DefaultDrawing()) {
        const AnsiString Text = Cells(ACol, ARow);
        if (!Text.empty()) {
            // The cell is filled with this brush already: only the text is new.
            TBrush* Brush = Canvas()->Brush();
            const TBrushStyle Style = Brush->Style();
            Brush->SetStyle(bsClear);
            Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Text);
            Brush->SetStyle(Style);
        }
    }
    TDrawGrid_ts::DrawCell(ACol, ARow, ARect, AState);
}

void TStringGrid_ts::ColumnMoved(int FromIndex, int ToIndex) {
    FData->VisitItems([&](int, void* Item) {
        auto* Row = static_cast<TStringSparseList*>(Item);
        const AnsiString Text = Row->Get(FromIndex);
        TObject* Object = Row->GetObject(FromIndex);
        Row->Delete(FromIndex);
        if (!Text.empty() || Object) {
            Row->InsertObject(ToIndex, Text, Object);
        } else if (ToIndex < Row->GetCount()) {
            // An empty cell moves as a gap: the row stores nothing for it.
            Row->Insert(ToIndex, AnsiString());
            Row->Put(ToIndex, AnsiString());
        }
        return 0;
    });
    InvalidateGrid();
    TDrawGrid_ts::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid_ts::RowMoved(int FromIndex, int ToIndex) {
    FData->MoveItem(FromIndex, ToIndex);
    InvalidateGrid();
    TDrawGrid_ts::RowMoved(FromIndex, ToIndex);
}

} // namespace grid
