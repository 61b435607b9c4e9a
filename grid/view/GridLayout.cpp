// The grid's counts: data columns and rows, the insertion row, fixed
// columns and rows, the row bar and the heading, and what a count change
// does to the model.
#include "grid/foundation/CellStore.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/Rows.h"

#include <algorithm>

namespace grid {

namespace {

// Painting off for a scope, on again also when it is left by an error.
class TPaintLock {
public:
    explicit TPaintLock(TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetEnablePaint(false); }
    ~TPaintLock() { FGrid.SetEnablePaint(true); }
    TPaintLock(const TPaintLock&) = delete;
    TPaintLock& operator=(const TPaintLock&) = delete;

private:
    TgxBaseGrid& FGrid;
};

} // namespace

int TgxBaseGrid::GetGridColCount() const {
    return FDataColCount - FDeletedCols;
}

int TgxBaseGrid::GetGridRowCount() const {
    return FDataRowCount - FDeletedRows;
}

void TgxBaseGrid::SetInsertionRow(bool Shown) {
    FPrevInsertionRowShown = FInsertionRowShown;
    FInsertionRowShown = Shown;
}

void TgxBaseGrid::SetGridColCount(int Value) {
    if (FColDeleting > 0) return;
    Value = std::max(Value, 0);
    if (Value == FDataColCount) return;
    const int CurrentData = GetDataColnr(Col());
    if (Value < CurrentData && !CheckEndEdit(0, GetDataRownr(Row()), false)) return;
    const int Old = FDataColCount;
    const int CurrentRowData = GetDataRownr(Row());
    if (Value < Old && !FSettingDefaults) {
        const int Last = ColCount() - 1;
        for (int C = Old; C > Value; --C)
            DeleteAllAtCol(C, Last);
    }
    {
        TPaintLock Lock(*this);
        SetNewColCount(Value);
        if (Value < Old) DeleteColData(Value + 1, Old);
        CheckTopLeft(true);
        if (Value < Old && CurrentData >= 1 && CurrentData <= Value)
            FCurrent.X = GetDisplayCol(CurrentData);
        AdjustCurrentAfterCount();
        // The base grid pulled a current column that went back in range
        // unreported: move on from the last column as a user would see it.
        if (Value < CurrentData)
            MoveToNewCol(ColCount(), false, CanSkipReadOnly(), InRowSelectMode());
    }
    (void)CurrentRowData;
}

void TgxBaseGrid::SetGridRowCount(int Value) {
    if (FRowDeleting > 0) return;
    Value = std::max(Value, 0);
    if (Value == FDataRowCount) return;
    const int CurrentData = GetDataRownr(Row());
    if (Value < CurrentData && !CheckEndEdit(GetDataColnr(Col()), 0, false)) return;
    const int Old = FDataRowCount;
    if (Value < Old && !FSettingDefaults) DeleteTrailingRows(Value);
    if (FGridMode == gmEditInsert) SetInsertionRow(true);
    {
        TPaintLock Lock(*this);
        SetNewRowCount(Value);
        if (Value < Old) DeleteRowData(Value + 1, Old);
        CheckTopLeft(true);
        if (Value < Old && CurrentData >= 1 && CurrentData <= Value)
            FCurrent.Y = GetDisplayRow(CurrentData);
        AdjustCurrentAfterCount();
        if (Value < CurrentData)
            MoveToNewRow(RowCount(), false, CanSkipReadOnly(), InRowSelectMode());
    }
}

void TgxBaseGrid::AdjustCurrentAfterCount() {
    // A current cell whose column or row went moves to the nearest one left.
    if (FCurrent.X >= ColCount())
        MoveToNewCol(ColCount(), false, CanSkipReadOnly(), InRowSelectMode());
    if (FCurrent.X < 1 && ColCount() > 1) FCurrent.X = 1;
    if (FCurrent.Y >= RowCount())
        MoveToNewRow(RowCount(), false, CanSkipReadOnly(), InRowSelectMode());
    if (FCurrent.Y < 1 && RowCount() > 1) FCurrent.Y = 1;
    FAnchor = FCurrent;
}

void TgxBaseGrid::SetNewColCount(int Value) {
    const int OldLast = ColCount() - 1;
    FDeletedCols = 0;
    FDataColCount = Value;
    SetColCount(Value + 1);
    ResizeVisibleCols(OldLast);
    CheckFixedCols();
    UpdateScrollRange();
}

void TgxBaseGrid::SetNewRowCount(int Value) {
    const int OldLast = RowCount() - 1;
    FDeletedRows = 0;
    FDataRowCount = Value;
    SetRowCount(Value + InsertionRows() + 1);
    // The base count may stay when the insertion row comes or goes with it.
    RowCountSettled();
    ResizeVisibleRows(OldLast);
    CheckFixedRows();
    UpdateScrollRange();
}

void TgxBaseGrid::ResizeVisibleCols(int OldLast) {
    const int NewLast = ColCount() - 1;
    if (NewLast > OldLast) {
        FVisibleCols.SetSize(FVisibleCols.Size() + (NewLast - OldLast), OldLast + 1);
        for (int D = std::max(OldLast + 1, 1); D <= NewLast; ++D) {
            const TgxCol* Col = FCols->Item(GetDataCol(D));
            SetColPixelWidth(D, Col->Visible() ? Col->Width() : 0);
        }
    } else if (NewLast < OldLast) {
        bool Found = false;
        const int Below = FVisibleCols.Locate(NewLast + 1, Found) - 1;
        FVisibleCols.SetSize(std::max(Below, 0), NewLast + 1);
    }
}

void TgxBaseGrid::ResizeVisibleRows(int OldLast) {
    const int NewLast = RowCount() - 1;
    if (NewLast > OldLast) {
        FVisibleRows.SetSize(FVisibleRows.Size() + (NewLast - OldLast), OldLast + 1);
        for (int D = std::max(OldLast + 1, 1); D <= NewLast; ++D) {
            const int Data = GetDataRow(D);
            if (Data < 0) continue;
            SetRowPixelHeight(D, GetRowVisible(Data) ? FRows->GetRowHeight(Data) : 0);
        }
    } else if (NewLast < OldLast) {
        bool Found = false;
        const int Below = FVisibleRows.Locate(NewLast + 1, Found) - 1;
        FVisibleRows.SetSize(std::max(Below, 0), NewLast + 1);
    }
}

void TgxBaseGrid::SizeChanged(int OldColCount, int OldRowCount) {
    TCustomGrid_ts::SizeChanged(OldColCount, OldRowCount);
    if (!FCols || !FRows) return;
    SetDataAllocSize(GetGridColCount(), GetGridRowCount());
    const bool ColsChanged = OldColCount != ColCount();
    const bool RowsChanged = OldRowCount != RowCount();
    if (!ColsChanged && !RowsChanged) return;
    ResetCellButtons();
    ResizeCellPropArrays(OldColCount, OldRowCount);
    ResizeDisplayArrays();
    if (ColsChanged) {
        FCols->Resize(OldColCount);
        FColSelection.SetSize(ColCount());
        DoColCountChanged(OldColCount - 1, ColCount() - 1);
    }
    if (RowsChanged) {
        FRows->Resize(OldRowCount);
        FChangedRows.SetSize(RowCount());
        FRowSelection.SetSize(RowCount());
        RowCountSettled();
    }
    UpdateScrollRange();
}

void TgxBaseGrid::RowCountSettled() {
    if (FReportedRowCount == GetGridRowCount()) return;
    // Positions past the surviving data rows (new rows, the insertion row)
    // map to themselves; the insertion row has the default height.
    const int Kept = std::min(FReportedRowCount, GetGridRowCount());
    for (int D = Kept + 1; D < RowCount(); ++D) {
        FDisplayRows[static_cast<std::size_t>(D)] = D;
        FRows->SetDisplayRowNumber(D, D);
    }
    if (InsertionRows() > 0) SetRowPixelHeight(RowCount() - 1, DefaultRowHeight());
    const int OldCount = FReportedRowCount;
    FReportedRowCount = GetGridRowCount();
    CheckRowCountChanged(OldCount, FReportedRowCount);
}

void TgxBaseGrid::InsertRow(int P) {
    if (!CheckIndex(itRow, P, GetGridRowCount() + 1, 1)) return;
    TPaintLock Lock(*this);
    const int Old = GetGridRowCount();
    SetGridRowCount(Old + 1);
    if (GetGridRowCount() > Old) {
        SetDisplayRownr(GetGridRowCount(), P);
        UpdateScrollRange();
        RowInserted(GetGridRowCount(), false);
    }
}

void TgxBaseGrid::InsertCol(int P) {
    if (!CheckIndex(itCol, P, GetGridColCount() + 1, 1)) return;
    TPaintLock Lock(*this);
    if (AddColumn(P)) DoInsertCol(GetGridColCount(), false);
}

bool TgxBaseGrid::AddColumn(int P) {
    const int Old = GetGridColCount();
    if (P < 1 || P > Old + 1) return false;
    SetGridColCount(Old + 1);
    if (GetGridColCount() <= Old) return false;
    FCols->Item(GetGridColCount())->SetDisplayCol(P);
    UpdateScrollRange();
    return true;
}

// ---- fixed columns and rows --------------------------------------------------------------

void TgxBaseGrid::SetFixedColCount(int Value) {
    if (Value < 0) return;
    FFixedColCount = Value;
    SetInternalFixedCols(Value);
}

void TgxBaseGrid::SetFixedRowCount(int Value) {
    if (Value < 0) return;
    FFixedRowCount = Value;
    SetInternalFixedRows(Value);
}

void TgxBaseGrid::SetInternalFixedCols(int Value) {
    const int C = ColCount() <= 0 ? 0 : std::min(ColCount() - 1, Value + 1);
    if (std::max(0, C - 1) == FLastFixedCol && C == FixedCols()) return;
    try {
        SetFixedCols(C);
    } catch (...) {
        FLastFixedCol = std::max(0, FixedCols() - 1);
        throw;
    }
    FLastFixedCol = std::max(0, FixedCols() - 1);
    CheckTopLeft(false);
    CalcHorzFixedWidth();
    UpdateScrollRange();
}

void TgxBaseGrid::SetInternalFixedRows(int Value) {
    const int R = RowCount() <= 0 ? 0 : std::min(RowCount() - 1, Value + 1);
    if (std::max(0, R - 1) == FLastFixedRow && R == FixedRows()) return;
    try {
        SetFixedRows(R);
    } catch (...) {
        FLastFixedRow = std::max(0, FixedRows() - 1);
        throw;
    }
    FLastFixedRow = std::max(0, FixedRows() - 1);
    CheckTopLeft(false);
    CalcVertFixedHeight();
    UpdateScrollRange();
}

void TgxBaseGrid::CheckFixedCols() {
    if (FixedCols() == 0 && ColCount() > 1) {
        SetFixedCols(1);
        if (GetRowBarOn()) SetColPixelWidth(0, GetRowBarWidth());
        CalcHorzFixedWidth();
    }
    if (FixedCols() != FFixedColCount + 1) SetInternalFixedCols(FFixedColCount);
}

void TgxBaseGrid::CheckFixedRows() {
    if (FixedRows() == 0 && RowCount() > 1) {
        SetFixedRows(1);
        if (GetHeadingOn()) SetRowPixelHeight(0, GetHeadingHeight());
        CalcVertFixedHeight();
    }
    if (FixedRows() != FFixedRowCount + 1) SetInternalFixedRows(FFixedRowCount);
}

void TgxBaseGrid::CalcHorzFixedWidth() {
    int Width = 0;
    for (int C = 0; C < FixedCols(); ++C)
        Width += ColWidths(C);
    FFixedWidth = Width;
}

void TgxBaseGrid::CalcVertFixedHeight() {
    int Height = 0;
    for (int R = 0; R < FixedRows(); ++R)
        Height += RowHeights(R);
    FFixedHeight = Height;
}

void TgxBaseGrid::CheckTopLeft(bool PaintingOff) {
    if (GetFastAssign()) {
        FPendingCheckTopLeft = true;
        return;
    }
    if (!HandleAllocated()) return;
    if (!PaintingOff) SetEnablePaint(false);
    try {
        MoveTopLeft(std::min(LeftCol(), std::max(GetMaxLeftCol(), FixedCols())),
                    std::min(TopRow(), std::max(GetMaxTopRow(), FixedRows())));
    } catch (...) {
        if (!PaintingOff) SetEnablePaint(true);
        throw;
    }
    if (!PaintingOff) SetEnablePaint(true);
}

// ---- row bar and heading ------------------------------------------------------------------

bool TgxBaseGrid::GetRowBarOn() const {
    return FCols->Item(0)->Visible();
}

void TgxBaseGrid::SetRowBarOn(bool Value) {
    FCols->Item(0)->SetVisible(Value);
    CalcHorzFixedWidth();
}

int TgxBaseGrid::GetRowBarWidth() const {
    return FCols->Item(0)->Width();
}

void TgxBaseGrid::SetRowBarWidth(int Value) {
    FCols->Item(0)->SetWidth(Value);
    CalcHorzFixedWidth();
}

bool TgxBaseGrid::GetHeadingOn() const {
    return FRows->Item(0)->Visible();
}

void TgxBaseGrid::SetHeadingOn(bool Value) {
    FRows->Item(0)->SetVisible(Value);
    CalcVertFixedHeight();
}

int TgxBaseGrid::GetHeadingHeight() const {
    return FRows->Item(0)->Height();
}

void TgxBaseGrid::SetHeadingHeight(int Value) {
    FRows->Item(0)->SetHeight(Value);
    CalcVertFixedHeight();
}

// ---- in view --------------------------------------------------------------------------------

int TgxBaseGrid::GetMaxTopRow() const {
    if (!HandleAllocated()) return 0;
    int R = RowCount() - 1;
    if (R < 0) return 0;
    int H = RowHeights(R) + FFixedHeight;
    while (FixedRows() < R) {
        if (H + RowHeights(R - 1) > ClientHeight()) break;
        --R;
        H += RowHeights(R);
    }
    return std::max(R, FixedRows());
}

int TgxBaseGrid::GetMaxLeftCol() const {
    if (!HandleAllocated()) return 0;
    int C = ColCount() - 1;
    if (C < 0) return 0;
    int W = ColWidths(C) + FFixedWidth;
    while (FixedCols() < C) {
        if (W + ColWidths(C - 1) > ClientWidth()) break;
        --C;
        W += ColWidths(C);
    }
    return std::max(C, FixedCols());
}

bool TgxBaseGrid::ColInView(int DisplayCol) const {
    if (DisplayCol <= 0) return false;
    if (DisplayCol >= FixedCols() && DisplayCol < LeftCol()) return false;
    return DisplayCol <= MaxVisibleCol();
}

bool TgxBaseGrid::RowInView(int DisplayRow) const {
    if (DisplayRow <= 0) return false;
    if (DisplayRow >= FixedRows() && DisplayRow < TopRow()) return false;
    return DisplayRow <= MaxVisibleRow();
}

bool TgxBaseGrid::CellVisible(int DisplayCol, int DisplayRow) const {
    return HandleAllocated() && CellRect(DisplayCol, DisplayRow).Right > 0;
}

} // namespace grid
