// Data numbers and display positions of columns and rows, moving one
// column or row to another display position, and taking one out.
#include "grid/foundation/CellStore.h"
#include "grid/foundation/IntLists.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/Rows.h"

#include <algorithm>

namespace grid {

namespace {

int At(const std::vector<std::int32_t>& Map, int Index) {
    return Map[static_cast<std::size_t>(Index)];
}

// The selection after the position From moved to To: the bits between
// shift one place toward From.
void MoveSelectionBit(TgxSelection& Selection, int From, int To) {
    if (From == To || Selection.Count() == 0) return;
    const int Size = Selection.GetSize();
    if (From < 0 || To < 0 || From >= Size || To >= Size) return;
    const bool Moved = Selection.GetSelected(From);
    if (From < To) {
        for (int I = From; I < To; ++I)
            Selection.SetSelected(I, Selection.GetSelected(I + 1));
    } else {
        for (int I = From; I > To; --I)
            Selection.SetSelected(I, Selection.GetSelected(I - 1));
    }
    Selection.SetSelected(To, Moved);
}

int MovedPosition(int Current, int From, int To) {
    if (Current == From) return To;
    if (From < To && Current > From && Current <= To) return Current - 1;
    if (To < From && Current >= To && Current < From) return Current + 1;
    return Current;
}

} // namespace

// ---- columns -----------------------------------------------------------------------------

int TgxBaseGrid::GetDataCol(int DisplayCol) const {
    if (DisplayCol < 0 || DisplayCol > GetGridColCount() ||
        DisplayCol >= static_cast<int>(FDisplayCols.size()))
        return -1;
    return At(FDisplayCols, DisplayCol);
}

void TgxBaseGrid::SetDataCol(int DisplayCol, int DataCol) {
    if (DisplayCol >= 1 && DisplayCol <= GetGridColCount())
        FDisplayCols[static_cast<std::size_t>(DisplayCol)] = DataCol;
}

int TgxBaseGrid::GetDataColnr(int DisplayCol) const {
    return DisplayCol >= 1 ? GetDataCol(DisplayCol) : -1;
}

int TgxBaseGrid::GetDisplayCol(int DataCol) const {
    if (DataCol < 0 || DataCol > GetGridColCount() || DataCol >= FCols->Count()) return 0;
    return FCols->Item(DataCol)->DisplayCol();
}

int TgxBaseGrid::GetDisplayColnr(int DataCol) const {
    return DataCol >= 1 && DataCol <= GetGridColCount() ? GetDisplayCol(DataCol) : -1;
}

void TgxBaseGrid::SetDisplayColnr(int DataCol, int DisplayCol) {
    if (DataCol >= 1 && DataCol <= GetGridColCount())
        FCols->Item(DataCol)->SetDisplayCol(DisplayCol);
}

void TgxBaseGrid::ChangeDisplayCol(int From, int To) {
    if (From == To) return;
    const int Moved = At(FDisplayCols, From);
    const int Step = From < To ? 1 : -1;
    for (int D = From; D != To; D += Step) {
        const int Data = At(FDisplayCols, D + Step);
        FDisplayCols[static_cast<std::size_t>(D)] = Data;
        FCols->Item(Data)->SetDisplayColValue(D);
    }
    FDisplayCols[static_cast<std::size_t>(To)] = Moved;
    FCols->Item(Moved)->SetDisplayColValue(To);
}

void TgxBaseGrid::ChangeColWidths(int From, int To) {
    if (From == To || FColWidths.Empty()) return;
    FColWidths.Move(From, To);
    // A hidden (zero-width) column moved into or out of the fixed area
    // changes where the scrolling part begins.
    if (std::min(From, To) < FixedCols()) CalcHorzFixedWidth();
}

void TgxBaseGrid::MoveVisibleCol(int From, int To) {
    FVisibleCols.MoveItem(From, To);
}

void TgxBaseGrid::ChangeSelectedCols(int From, int To) {
    MoveSelectionBit(FColSelection, From, To);
}

void TgxBaseGrid::ChangeCurrentColPosition(int From, int To) {
    FCurrent.X = MovedPosition(FCurrent.X, From, To);
}

// ---- rows --------------------------------------------------------------------------------

void TgxBaseGrid::SetDataRow(int DisplayRow, int DataRow) {
    if (DisplayRow >= 1 && DisplayRow <= GetGridRowCount())
        FDisplayRows[static_cast<std::size_t>(DisplayRow)] = DataRow;
}

int TgxBaseGrid::GetDisplayRow(int DataRow) const {
    if (DataRow < 0 || DataRow > GetGridRowCount() || DataRow >= FRows->Count()) return 0;
    return FRows->GetDisplayRowNumber(DataRow);
}

int TgxBaseGrid::GetDisplayRownr(int DataRow) const {
    return DataRow >= 1 && DataRow <= GetGridRowCount() ? GetDisplayRow(DataRow) : -1;
}

void TgxBaseGrid::SetDisplayRownr(int DataRow, int DisplayRow) {
    const int Count = GetGridRowCount();
    if (DataRow < 1 || DataRow > Count || DisplayRow < 1 || DisplayRow > Count) return;
    const int Old = GetDisplayRow(DataRow);
    if (Old == DisplayRow) return;
    FRows->CreateDisplayRowNumber();
    ChangeDisplayRow(Old, DisplayRow);
    MoveVisibleRow(Old, DisplayRow);
    ChangeRowHeights(Old, DisplayRow);
    ChangeSelectedRows(Old, DisplayRow);
    ChangeCurrentRowPosition(Old, DisplayRow);
    if (!MovesHeld()) DoRowMoved(DisplayRow, 1, false);
    InvalidateGridNow();
    UpdateScrollRange();
    CheckTopLeft(false);
    RedisplayControl();
}

void TgxBaseGrid::ChangeDisplayRow(int From, int To) {
    if (From == To) return;
    FRows->CreateDisplayRowNumber();
    const int Moved = At(FDisplayRows, From);
    const int Step = From < To ? 1 : -1;
    for (int D = From; D != To; D += Step) {
        const int Data = At(FDisplayRows, D + Step);
        FDisplayRows[static_cast<std::size_t>(D)] = Data;
        FRows->SetDisplayRowNumber(Data, D);
    }
    FDisplayRows[static_cast<std::size_t>(To)] = Moved;
    FRows->SetDisplayRowNumber(Moved, To);
}

void TgxBaseGrid::ChangeRowHeights(int From, int To) {
    if (From == To || FRowHeights.Empty()) return;
    FRowHeights.Move(From, To);
    if (std::min(From, To) < FixedRows()) CalcVertFixedHeight();
}

void TgxBaseGrid::MoveVisibleRow(int From, int To) {
    FVisibleRows.MoveItem(From, To);
}

void TgxBaseGrid::ChangeSelectedRows(int From, int To) {
    MoveSelectionBit(FRowSelection, From, To);
}

void TgxBaseGrid::ChangeCurrentRowPosition(int From, int To) {
    FCurrent.Y = MovedPosition(FCurrent.Y, From, To);
}

// ---- taking one data column or row out ---------------------------------------------------

void TgxBaseGrid::DeleteAllAtCol(int DataCol, int LastPosition) {
    const int Count = FDataColCount;
    if (DataCol < 1 || DataCol > Count || LastPosition < 1) return;
    const int P = GetDisplayCol(DataCol);
    // Through the selection's own bookkeeping, so that the change is
    // reported and a status left without a selection goes back to normal.
    DeleteColSelection(P, P);
    DeleteSelectedCellsCol(P);

    // Cell properties of the column go; those of later columns move down.
    for (TgxCellElement* Element : FCellProps->Elements()) {
        if (Element->DataCol() == DataCol) {
            FCoordList->RemoveCoord(Element->DataCol(), Element->DataRow());
            FCellProps->DeleteElement(Element);
        } else if (Element->DataCol() > DataCol) {
            const int Index = [&] {
                for (int I = 0; I + 1 < FCoordList->Count(); I += 2)
                    if (FCoordList->GetItem(I) == Element->DataCol() &&
                        FCoordList->GetItem(I + 1) == Element->DataRow())
                        return I;
                return -1;
            }();
            if (Index >= 0)
                FCoordList->UpdateCoord(Index, Element->DataCol() - 1, Element->DataRow());
            DeleteFromPropList(Element);
            FCellProps->Rekey(Element, Element->DataCol() - 1, Element->DataRow());
            AddToPropList(Element);
        }
    }
    FAutoFontCols->Remove(DataCol);
    for (int I = 0; I < FAutoFontCols->Count(); ++I)
        if (FAutoFontCols->GetItem(I) > DataCol)
            FAutoFontCols->SetItem(I, FAutoFontCols->GetItem(I) - 1);

    if (FCurrentCell->BufferCol() == DataCol)
        FCurrentCell->ClearBuffer();
    else if (FCurrentCell->BufferCol() > DataCol)
        FCurrentCell->SetBufferCol(FCurrentCell->BufferCol() - 1);

    // The column moves to the last display position, the later ones close up.
    MoveVisibleCol(P, LastPosition);
    ChangeDisplayCol(P, LastPosition);
    ChangeColWidths(P, LastPosition);
    ChangeSelectedCols(P, LastPosition);

    // Data numbers above the deleted one drop by one; the column object
    // becomes the last data column.
    for (auto& Data : FDisplayCols)
        if (Data > DataCol) --Data;
    FDisplayCols[static_cast<std::size_t>(LastPosition)] = Count;
    auto Deleted = FCols->Take(DataCol);
    for (int C = DataCol; C < Count; ++C) {
        auto Col = FCols->Take(C + 1);
        Col->SetDataColNumber(C);
        FCols->Put(C, std::move(Col));
    }
    Deleted->SetDataColNumber(Count);
    FCols->Put(Count, std::move(Deleted));
    for (int D = P; D < LastPosition; ++D) {
        const TgxCol* Col = FCols->Item(At(FDisplayCols, D));
        SetColPixelWidth(D, Col->Visible() ? Col->Width() : 0);
    }
}

void TgxBaseGrid::DeleteAllAtRow(int DataRow, int LastPosition) {
    const int Count = FDataRowCount;
    if (DataRow < 1 || DataRow > Count || LastPosition < 1) return;
    FRows->CreateDisplayRowNumber();
    const int P = GetDisplayRow(DataRow);
    DeleteRowSelection(P, P);
    DeleteSelectedCellsRow(P);

    for (TgxCellElement* Element : FCellProps->Elements()) {
        if (Element->DataRow() == DataRow) {
            FCoordList->RemoveCoord(Element->DataCol(), Element->DataRow());
            FCellProps->DeleteElement(Element);
        } else if (Element->DataRow() > DataRow) {
            for (int I = 0; I + 1 < FCoordList->Count(); I += 2)
                if (FCoordList->GetItem(I) == Element->DataCol() &&
                    FCoordList->GetItem(I + 1) == Element->DataRow()) {
                    FCoordList->UpdateCoord(I, Element->DataCol(), Element->DataRow() - 1);
                    break;
                }
            DeleteFromPropList(Element);
            FCellProps->Rekey(Element, Element->DataCol(), Element->DataRow() - 1);
            AddToPropList(Element);
        }
    }
    FAutoFontRows->Remove(DataRow);
    for (int I = 0; I < FAutoFontRows->Count(); ++I)
        if (FAutoFontRows->GetItem(I) > DataRow)
            FAutoFontRows->SetItem(I, FAutoFontRows->GetItem(I) - 1);

    if (FCurrentCell->BufferRow() == DataRow)
        FCurrentCell->ClearBuffer();
    else if (FCurrentCell->BufferRow() > DataRow)
        FCurrentCell->SetBufferRow(FCurrentCell->BufferRow() - 1);

    // Changed marks of later rows move down with them.
    for (int R = DataRow; R < Count && R + 1 < FChangedRows.Size(); ++R)
        FChangedRows.SetBit(R, FChangedRows.GetBit(R + 1));
    if (Count < FChangedRows.Size()) FChangedRows.SetBit(Count, false);

    MoveVisibleRow(P, LastPosition);
    ChangeDisplayRow(P, LastPosition);
    ChangeRowHeights(P, LastPosition);
    ChangeSelectedRows(P, LastPosition);

    for (auto& Data : FDisplayRows)
        if (Data > DataRow && Data <= Count) --Data;
    FDisplayRows[static_cast<std::size_t>(LastPosition)] = Count;
    FRows->RotateDown(DataRow, Count);
    for (int D = P; D < LastPosition; ++D) {
        const int Data = At(FDisplayRows, D);
        SetRowPixelHeight(D, RowObjectShown(Data) ? FRows->GetRowHeight(Data) : 0);
    }
}

void TgxBaseGrid::DeleteTrailingRows(int NewCount) {
    // The same as taking the data rows out one by one from the last, in one
    // pass over the display positions.
    const int Count = FDataRowCount;
    if (NewCount < 0 || NewCount >= Count) return;
    for (TgxCellElement* Element : FCellProps->Elements())
        if (Element->DataRow() > NewCount) {
            FCoordList->RemoveCoord(Element->DataCol(), Element->DataRow());
            FCellProps->DeleteElement(Element);
        }
    for (int I = FAutoFontRows->Count() - 1; I >= 0; --I)
        if (FAutoFontRows->GetItem(I) > NewCount) FAutoFontRows->Delete(I);
    if (FCurrentCell->BufferRow() > NewCount) FCurrentCell->ClearBuffer();
    for (int R = NewCount + 1; R <= Count && R < FChangedRows.Size(); ++R)
        FChangedRows.SetBit(R, false);

    // Survivors (and an insertion row) close up in their order; the rows
    // that go end up behind them.
    const int Last = RowCount() - 1;
    std::vector<int> Kept; // old display positions
    std::vector<int> Gone;
    Kept.reserve(static_cast<std::size_t>(NewCount + 1));
    for (int D = 1; D <= Last; ++D) {
        const int Data = At(FDisplayRows, D);
        (Data > NewCount && Data <= Count ? Gone : Kept).push_back(D);
    }
    const bool VisibleListed = FVisibleRows.Active();
    std::vector<int> Visible;
    const int First = Gone.empty() ? Last + 1 : Gone.front();
    std::vector<std::int32_t> Heights;
    std::vector<bool> Selected;
    std::vector<std::int32_t> Data;
    for (std::size_t I = static_cast<std::size_t>(First - 1); I < Kept.size(); ++I) {
        const int Old = Kept[I];
        Data.push_back(At(FDisplayRows, Old));
        Heights.push_back(RowHeights(Old));
        Selected.push_back(FRowSelection.GetSelected(Old));
    }
    for (int D = First; D <= Last; ++D)
        FRowSelection.SetSelected(D, false);
    for (std::size_t I = 0; I < Data.size(); ++I) {
        const int D = First + static_cast<int>(I);
        FDisplayRows[static_cast<std::size_t>(D)] = Data[I];
        if (Data[I] <= NewCount) {
            if (FRows->HasDisplayNumbers() || D != Data[I]) {
                FRows->CreateDisplayRowNumber();
                FRows->SetDisplayRowNumber(Data[I], D);
            }
        }
        SetRowPixelHeight(D, Heights[I]);
        FRowSelection.SetSelected(D, Selected[I]);
    }
    for (int R = NewCount + 1; R <= Count; ++R)
        FRows->RemoveDataRow(R);
    if (VisibleListed) {
        const int NewLast = static_cast<int>(Kept.size());
        for (int D = 1; D <= NewLast; ++D) {
            const int R = At(FDisplayRows, D);
            if (R > NewCount || RowObjectShown(R)) Visible.push_back(D);
        }
        FVisibleRows.SetItems(Visible);
    }
}

} // namespace grid
