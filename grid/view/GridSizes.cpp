// Column widths and row heights kept in step with the base control's pixel
// sizes, the resize notifications, visible ranges and the shared buttons.
#include "grid/model/BaseGrid.h"
#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "grid/model/Rows.h"

#include <algorithm>

namespace grid {

void TgxBaseGrid::ColResized(int DisplayCol) {
    DoColResized(DisplayCol >= 0 ? GetDataCol(DisplayCol) : -1);
    UpdateScrollRange();
}

void TgxBaseGrid::RowResized(int DisplayRow) {
    DoRowResized(DisplayRow >= 0 ? GetDataRow(DisplayRow) : -1);
    UpdateScrollRange();
}

void TgxBaseGrid::SingleColWidthChanged(int DisplayCol) {
    const int Data = GetDataCol(DisplayCol);
    if (Data >= 0 && Data < FCols->Count() && !FCols->Item(Data)->Visible() &&
        ColWidths(DisplayCol) != 0) {
        TModelSizing Sizing(*this);
        SetColWidths(DisplayCol, 0);
    }
    if (DisplayCol < FixedCols()) CalcHorzFixedWidth();
    RedisplayControl();
}

void TgxBaseGrid::SingleRowHeightChanged(int DisplayRow) {
    const int Data = GetDataRow(DisplayRow);
    if (Data >= 0 && !RowObjectShown(Data) && RowHeights(DisplayRow) != 0) {
        TModelSizing Sizing(*this);
        SetRowHeights(DisplayRow, 0);
    }
    if (DisplayRow < FixedRows()) CalcVertFixedHeight();
    RedisplayControlForRow(DisplayRow);
}

void TgxBaseGrid::RedisplayControlForRow(int DisplayRow) {
    if (DisplayRow > Row()) return;
    RedisplayControl();
}

void TgxBaseGrid::CheckColWidths(int& ChangedWidth) {
    ChangedWidth = -1;
    if (DefaultColWidth() <= 0) {
        SetDefaultColWidth(1);
        for (int C = 1; C <= GetGridColCount(); ++C)
            FCols->Item(C)->CopyWidthValue(1);
        return;
    }
    for (int D = 0; D < ColCount(); ++D) {
        if (ColWidths(D) < 0) SetColWidths(D, 0);
        const int Data = GetDataCol(D);
        if (Data < 0) continue;
        TgxCol* Col = FCols->Item(Data);
        if (!Col->Visible() && ColWidths(D) == 0) continue;
        if (Col->Width() != ColWidths(D)) {
            // A width set on the base control is not the column's own, which
            // a reset or a double-click on its edge brings back: it becomes so
            // only while a stream is read, in a drop-down list, or for a
            // column that had no width of its own when the default changed.
            const bool FollowsDefault = DefaultColWidth() != FSetDefaultColWidth &&
                                        ColWidths(D) == DefaultColWidth() &&
                                        Col->SetWidthValue() == FSetDefaultColWidth;
            if (Reading() || IsComboGrid() || FollowsDefault)
                Col->CopyWidthValue(ColWidths(D));
            else
                Col->StoreWidth(ColWidths(D));
            if (Data > 0) ChangedWidth = ColWidths(D);
        }
    }
    FSetDefaultColWidth = DefaultColWidth();
}

void TgxBaseGrid::CheckRowHeights(int& ChangedHeight) {
    ChangedHeight = -1;
    if (DefaultRowHeight() <= 0) {
        SetDefaultRowHeight(1);
        for (int R = 1; R <= GetGridRowCount(); ++R)
            if (TgxRow* Row = FRows->Item(R)) {
                Row->StoreHeight(1);
                Row->StoreSetHeight(1);
            }
        return;
    }
    for (int D = 0; D < RowCount(); ++D) {
        if (RowHeights(D) < 0) SetRowHeights(D, 0);
        const int Data = GetDataRow(D);
        if (Data < 0) continue;
        if (!RowObjectShown(Data) && RowHeights(D) == 0) continue;
        if (FRows->GetRowHeight(Data) != RowHeights(D)) {
            FRows->SetRowHeight(Data, RowHeights(D));
            FRows->SetOldRowHeight(Data, RowHeights(D));
            if (Data > 0) ChangedHeight = RowHeights(D);
        }
    }
    FSetDefaultRowHeight = DefaultRowHeight();
}

void TgxBaseGrid::SetDefaultColWidth(int Value) {
    const int RowBar = FCols ? GetRowBarWidth() : 0;
    TCustomGrid_ts::SetDefaultColWidth(Value);
    if (FCols) SetRowBarWidth(RowBar);
}

void TgxBaseGrid::SetDefaultRowHeight(int Value) {
    const int Heading = FRows ? GetHeadingHeight() : 0;
    TCustomGrid_ts::SetDefaultRowHeight(Value);
    if (FRows) SetHeadingHeight(Heading);
}

void TgxBaseGrid::ColWidthsChanged() {
    TCustomGrid_ts::ColWidthsChanged();
    if (FModelSizing || FInColWidthsChanged || !FCols) return;
    FInColWidthsChanged = true;
    FModelSizing = true;
    try {
        // A new default width reaches every column, the row bar's too: it
        // keeps its own, or none while it is off.
        if (ColCount() > 0) SetColWidths(0, GetRowBarOn() ? GetRowBarWidth() : 0);
        int Changed = -1;
        CheckColWidths(Changed);
        for (int D = 0; D < ColCount(); ++D) {
            const int Data = GetDataCol(D);
            if (Data >= 0 && !FCols->Item(Data)->Visible()) SetColWidths(D, 0);
        }
    } catch (...) {
        FInColWidthsChanged = FModelSizing = false;
        throw;
    }
    FInColWidthsChanged = FModelSizing = false;
    CalcHorzFixedWidth();
    // The editor goes where its cell is now.
    RedisplayControl();
    ColResized(-1);
}

void TgxBaseGrid::RowHeightsChanged() {
    TCustomGrid_ts::RowHeightsChanged();
    if (FModelSizing || FInRowHeightsChanged || !FRows) return;
    FInRowHeightsChanged = true;
    FModelSizing = true;
    try {
        // Likewise the heading row keeps the heading's height.
        if (RowCount() > 0) SetRowHeights(0, GetHeadingOn() ? GetHeadingHeight() : 0);
        int Changed = -1;
        CheckRowHeights(Changed);
        for (int D = 0; D < RowCount(); ++D) {
            const int Data = GetDataRow(D);
            if (Data >= 0 && !RowObjectShown(Data)) SetRowHeights(D, 0);
        }
    } catch (...) {
        FInRowHeightsChanged = FModelSizing = false;
        throw;
    }
    FInRowHeightsChanged = FModelSizing = false;
    CalcVertFixedHeight();
    RedisplayControl();
    RowResized(-1);
}

// ---- visible ranges (they need a window) ---------------------------------------------------

int TgxBaseGrid::LastVisibleCol(int First) const {
    if (!HandleAllocated()) return 0;
    int X = FFixedWidth;
    int Last = First;
    const int Room = ClientWidth();
    // A width holds its grid line already (as the cell rectangles count it).
    for (int C = First; C < ColCount() && X < Room; ++C) {
        X += ColWidths(C);
        Last = C;
    }
    return Last;
}

int TgxBaseGrid::LastVisibleRow(int First) const {
    if (!HandleAllocated()) return 0;
    int Y = FFixedHeight;
    int Last = First;
    const int Room = ClientHeight();
    for (int R = First; R < RowCount() && Y < Room; ++R) {
        Y += RowHeights(R);
        Last = R;
    }
    return Last;
}

int TgxBaseGrid::CompVisibleCols(int First) const {
    if (!HandleAllocated()) return 0;
    // A width holds its grid line: a column fits when its cell, without
    // that line, ends inside the client area.
    int X = FFixedWidth - FVertLineWidth;
    int Count = 0;
    const int Room = ClientWidth();
    for (int C = First; C < ColCount(); ++C) {
        X += ColWidths(C);
        if (X > Room) break;
        ++Count;
    }
    return Count;
}

int TgxBaseGrid::CompVisibleRows(int First) const {
    if (!HandleAllocated()) return 0;
    int Y = FFixedHeight - FHorzLineWidth;
    int Count = 0;
    const int Room = ClientHeight();
    for (int R = First; R < RowCount(); ++R) {
        Y += RowHeights(R);
        if (Y > Room) break;
        ++Count;
    }
    return Count;
}

int TgxBaseGrid::MaxVisibleCol() const {
    if (!HandleAllocated()) return 0;
    const int First = std::max(LeftCol(), FixedCols());
    const int Last = LastVisibleCol(First);
    // All shown up to the end: the last one that is not hidden.
    if (Last >= ColCount() - 1) return std::max(RightMostCol(false, false), First);
    return Last;
}

int TgxBaseGrid::MaxVisibleRow() const {
    if (!HandleAllocated()) return 0;
    const int First = std::max(TopRow(), FixedRows());
    const int Last = LastVisibleRow(First);
    // All shown up to the end: the insertion row, else the last one that is
    // not hidden.
    if (Last >= RowCount() - 1 && FGridMode != gmEditInsert)
        return std::max(BottomMostRow(false, false), First);
    return Last;
}

int TgxBaseGrid::PrevVisibleCols() const {
    if (!HandleAllocated()) return 0;
    int X = FFixedWidth - FVertLineWidth;
    int Count = 0;
    const int Room = ClientWidth();
    for (int C = LeftCol() - 1; C >= FixedCols(); --C) {
        X += ColWidths(C);
        if (X > Room) break;
        ++Count;
    }
    return Count;
}

namespace {

// Walks the visible list from list position From by Step while the lines
// fit into Room after the fixed area of size Fixed; the number that fit. A
// size holds its grid line, which may fall outside the room.
template <class Extent>
int CountFitting(const TgxVisibleItems& Items, int From, int Step, int Stop, int Fixed, int Room,
                 int Line, Extent Size) {
    int Count = 0;
    int Used = Fixed - Line;
    for (int K = From; K >= 1 && K <= Items.VisibleCount(); K += Step) {
        const int D = Items.GetItem(K);
        if (Step < 0 && D < Stop) break;
        Used += Size(D);
        if (Used > Room) break;
        ++Count;
    }
    return Count;
}

} // namespace

int TgxBaseGrid::PrevScrollRows() const {
    if (!HandleAllocated()) return 0;
    bool Found = false;
    const int K = const_cast<TgxVisibleItems&>(FVisibleRows).Locate(TopRow(), Found);
    return CountFitting(FVisibleRows, K - 1, -1, FixedRows(), FFixedHeight, ClientHeight(),
                        FHorzLineWidth, [this](int D) { return RowHeights(D); });
}

int TgxBaseGrid::VisibleScrollRows() const {
    if (!HandleAllocated()) return 0;
    bool Found = false;
    const int K = const_cast<TgxVisibleItems&>(FVisibleRows).Locate(TopRow(), Found);
    return CountFitting(FVisibleRows, K, 1, 0, FFixedHeight, ClientHeight(), FHorzLineWidth,
                        [this](int D) { return RowHeights(D); });
}

int TgxBaseGrid::PrevScrollCols() const {
    if (!HandleAllocated()) return 0;
    bool Found = false;
    const int K = const_cast<TgxVisibleItems&>(FVisibleCols).Locate(LeftCol(), Found);
    return CountFitting(FVisibleCols, K - 1, -1, FixedCols(), FFixedWidth, ClientWidth(),
                        FVertLineWidth, [this](int D) { return ColWidths(D); });
}

int TgxBaseGrid::VisibleScrollCols() const {
    if (!HandleAllocated()) return 0;
    bool Found = false;
    const int K = const_cast<TgxVisibleItems&>(FVisibleCols).Locate(LeftCol(), Found);
    return CountFitting(FVisibleCols, K, 1, 0, FFixedWidth, ClientWidth(), FVertLineWidth,
                        [this](int D) { return ColWidths(D); });
}

// ---- top-left ---------------------------------------------------------------------------------

void TgxBaseGrid::TopLeftMoved(const TGridCoord& OldTopLeft) {
    if (GetFastAssign()) {
        FPendingTopLeftMoved = true;
        return;
    }
    if (HandleAllocated()) TCustomGrid_ts::TopLeftMoved(OldTopLeft);
}

void TgxBaseGrid::TopLeftChanged() {
    if (FCountChanging > 0) {
        FTopLeftChangeDeferred = true;
        return;
    }
    ++FTopLeftNesting;
    try {
        const int MaxLeft = std::max(GetMaxLeftCol(), FixedCols());
        const int MaxTop = std::max(GetMaxTopRow(), FixedRows());
        if (HandleAllocated() && (LeftCol() > MaxLeft || TopRow() > MaxTop)) {
            SetEnablePaint(false);
            try {
                MoveTopLeft(std::min(LeftCol(), MaxLeft), std::min(TopRow(), MaxTop));
            } catch (...) {
                SetEnablePaint(true);
                throw;
            }
            SetEnablePaint(true);
        }
        FTopLeftChangedPending = true;
    } catch (...) {
        --FTopLeftNesting;
        throw;
    }
    if (--FTopLeftNesting == 0 && FTopLeftChangedPending) {
        FTopLeftChangedPending = false;
        CheckTopLeftChanged(FUserInput > 0);
    }
}

void TgxBaseGrid::CheckTopLeftChanged(bool ByUser) {
    const TGridCoord Now{LeftCol(), TopRow()};
    if (Now == FReportedTopLeft) return;
    const TGridCoord Old = FReportedTopLeft;
    // Recorded first, so that an event that raises does not report it again.
    FReportedTopLeft = Now;
    UpdateScrollPos();
    TopLeftChangedEvent(Old.X, Old.Y, ByUser, Now.Y, Now.X);
}

void TgxBaseGrid::TopLeftChangedEvent(int, int, bool, int, int) {}

// ---- shared buttons ---------------------------------------------------------------------------

TgxCustomButton* TgxBaseGrid::GridCellButton(int DisplayCol, TgxButtonType Type) {
    const auto Make = [this](int Slot, auto Create) {
        if (!FButtons[Slot]) FButtons[Slot] = Create();
        return FButtons[Slot].get();
    };
    switch (Type) {
    case btCombo:
        return Make(0, [this] {
            return std::make_unique<TgxComboButton>(this, SharedArrowBitmap(), clNone,
                                                    FDefaultButtonWidth, FDefaultButtonHeight);
        });
    case btNormal: {
        const int Data = GetDataCol(DisplayCol);
        if (Data >= 0 && Data < FCols->Count())
            if (TgxNormalButton* Own = FCols->Item(Data)->Button()) return Own;
        return Make(1, [this] {
            return std::make_unique<TgxNormalButton>(this, SharedDetailBitmap(), clNone,
                                                     FDefaultButtonWidth, FDefaultButtonHeight);
        });
    }
    case btVertSpin:
        return Make(2, [this] {
            return std::make_unique<TgxVertSpinButton>(this, nullptr, clNone, FSpinButtonWidth,
                                                       FSpinButtonHeight);
        });
    case btHorzSpin:
        return Make(3, [this] {
            return std::make_unique<TgxHorzSpinButton>(this, nullptr, clNone, FSpinButtonHeight,
                                                       FSpinButtonWidth);
        });
    case btDateTimeDropDown:
        return Make(4, [this] {
            return std::make_unique<TgxDateTimeButton>(this, SharedArrowBitmap(), clNone,
                                                       FDefaultButtonWidth, FDefaultButtonHeight);
        });
    case btDateTimePopup:
        return Make(5, [this] {
            return std::make_unique<TgxDateTimeButton>(this, SharedDetailBitmap(), clNone,
                                                       FDefaultButtonWidth, FDefaultButtonHeight);
        });
    default:
        return FButtons[0].get();
    }
}

void TgxBaseGrid::CreateDefaultButton(TBitmap* Bitmap, TColor TransparentColor, int Width,
                                      int Height) {
    DestroyDefaultButton();
    FButtons[1] = std::make_unique<TgxNormalButton>(this, Bitmap, TransparentColor, Width, Height);
}

void TgxBaseGrid::CreateDefaultCombo(TBitmap* Bitmap, TColor TransparentColor, int Width,
                                     int Height) {
    DestroyDefaultCombo();
    FButtons[0] = std::make_unique<TgxComboButton>(this, Bitmap, TransparentColor, Width, Height);
}

// The hit test keeps the button it last looked at; it must not outlive it.
void TgxBaseGrid::DestroyDefaultButton() {
    if (FHitButton == FButtons[1].get()) FHitButton = nullptr;
    FButtons[1].reset();
}

void TgxBaseGrid::DestroyDefaultCombo() {
    if (FHitButton == FButtons[0].get()) FHitButton = nullptr;
    FButtons[0].reset();
}

void TgxBaseGrid::ResetCellButtons() {
    // The shared buttons follow the grid's button settings, which a count
    // change does not touch; a lit or pressed button whose cell went is
    // forgotten.
    CheckResetButtons();
}

} // namespace grid
