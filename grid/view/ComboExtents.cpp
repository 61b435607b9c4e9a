// The size of a dropped list (DropDownCols columns by DropDownRows rows)
// and the place of its form under the cell.
#include "grid/model/BaseGrid.h"
#include "grid/model/Combo.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowPos.h"

#include <algorithm>

namespace grid {

namespace {

TgxComboGrid* ListOf(TgxBaseGrid* Grid) {
    return Grid->GetCombo()->GetGrid();
}

// Visible data rows of the list, counted up to Limit.
int VisibleListRows(TgxBaseGrid* List, int Limit) {
    int Count = 0;
    for (int R = 1; R <= List->GetGridRowCount() && Count < Limit; ++R)
        if (List->IsRowVisible(R)) ++Count;
    return Count;
}

int VisibleListCols(TgxBaseGrid* List) {
    int Count = 0;
    for (int C = 1; C <= List->GetGridColCount(); ++C)
        if (List->ColWidths(List->GetDisplayCol(C)) > 0) ++Count;
    return Count;
}

// The list's border on one side. A 3D list's sunken edge is wider than the
// system border; counting only the latter would cut the last row and bring
// up a scroll bar for rows that were meant to fit.
int ListBorder(TgxBaseGrid* List, int SystemMetric) {
    if (List->BorderStyle() != bsSingle) return 0;
    return std::max(GetSystemMetrics(SystemMetric), List->WindowFrameWidth());
}

bool Allows(TScrollStyle Style, TScrollStyle Bar) {
    return Style == ssBoth || Style == Bar;
}

} // namespace

int TgxBaseGrid::ComboInitWidth(int Cols) {
    TgxComboGrid* List = ListOf(this);
    if (Cols <= 0) return List->Width();
    int Width = 0;
    int Taken = 0;
    // Frozen columns count like the others: the list shows them first.
    for (int D = 1; D < List->ColCount() && Taken < Cols; ++D) {
        const int W = List->ColWidths(D);
        if (W <= 0) continue;
        Width += W;
        ++Taken;
    }
    Width += 2 * ListBorder(List, SM_CXBORDER);
    if (List->GetRowBarOn()) Width += List->GetRowBarWidth();
    return Width;
}

int TgxBaseGrid::ComboInitHeight(int Rows) {
    TgxComboGrid* List = ListOf(this);
    if (Rows <= 0) return List->Height();
    int Height = 0;
    Height += 2 * ListBorder(List, SM_CYBORDER);
    if (List->GetHeadingOn()) Height += List->GetHeadingHeight();
    Height +=
        std::min(Rows, std::max(1, VisibleListRows(List, Rows + 1))) * List->DefaultRowHeight();
    return Height;
}

void TgxBaseGrid::GetComboGridExtents(int Cols, int Rows, int& Height, int& Width) {
    TgxComboGrid* List = ListOf(this);
    Width = ComboInitWidth(Cols);
    Height = ComboInitHeight(Rows);
    const TScrollStyle Bars = List->GridScrollBars();
    const TScrollStyle Always = List->AlwaysShowScrollBar();
    const bool Horz = Allows(Always, ssHorizontal) ||
                      (Allows(Bars, ssHorizontal) && Cols > 0 && VisibleListCols(List) > Cols);
    const bool Vert = Allows(Always, ssVertical) || (Allows(Bars, ssVertical) && Rows > 0 &&
                                                     VisibleListRows(List, Rows + 1) > Rows);
    if (Rows > 0 && Horz) Height += List->GetHorzScrollBarHeight();
    if (Cols > 0 && Vert) Width += List->GetVertScrollBarWidth();
}

void TgxBaseGrid::SetComboGridExtents(int Cols, int Rows) {
    TgxComboGrid* List = ListOf(this);
    int Height = 0;
    int Width = 0;
    GetComboGridExtents(Cols, Rows, Height, Width);
    if (Height != List->Height() || Width != List->Width()) {
        List->SetBounds(List->Left(), List->Top(), Width, Height);
        List->UpdateScrollRange();
    }
}

void TgxBaseGrid::UpdateComboExtents(int Cols, int Rows, bool Force) {
    TgxComboGrid* List = ListOf(this);
    int Height = 0;
    int Width = 0;
    GetComboGridExtents(Cols, Rows, Height, Width);
    if (!Force && Height == List->Height() && Width == List->Width()) return;
    if (ComboVisible())
        SetComboFormGridExtents(List, Width, Height);
    else
        List->SetBounds(List->Left(), List->Top(), Width, Height);
}

void TgxBaseGrid::AdjustComboGridExtents(int Cols, int Rows) {
    auto* Self = dynamic_cast<TgxComboGrid*>(this);
    if (!Self || !Self->AutoComboExtents()) return;
    TgxBaseGrid* Parent = GetParentGrid();
    if (!Parent) return;
    if (CanSetComboExtents() && !PaintEnabled()) {
        // Done once painting is on again.
        FComboExtentsPending = true;
    } else if (CanSetComboExtents()) {
        SetEnablePaint(false);
        Parent->UpdateComboExtents(Cols, Rows, false);
        SetEnablePaint(true);
    } else {
        // The next drop-down sets the list up again. A definition's list
        // that changed is copied afresh even on the cell it was last shown
        // for, which would otherwise show the rows it no longer has.
        if (Parent->ComboCreated() && Self->GetParentGridCombo() != Parent->GetCombo())
            Parent->ResetComboInit(false);
        else
            Parent->ResetLastUsedCombo();
    }
}

bool TgxBaseGrid::CanSetComboExtents() {
    auto* Self = dynamic_cast<TgxComboGrid*>(this);
    return Self && Visible() && Parent() && Parent()->Visible() && GetInDesignMode() &&
           Self->AutoComboExtents();
}

void TgxBaseGrid::InitComboColWidth(int Width) {
    if (IsComboGrid()) SetDefaultColWidth(Width + 10);
}

void TgxBaseGrid::SetComboFormExtents(TgxComboGrid* ListGrid) {
    SetComboFormGridExtents(ListGrid, ListGrid->Width(), ListGrid->Height());
}

void TgxBaseGrid::SetComboFormGridExtents(TgxComboGrid* ListGrid, int Width, int Height) {
    const bool Open = FComboCol != -1 && FComboForm && FComboForm->Visible();
    const int DataCol = Open || FComboCol != -1 ? FComboCol : GetDataCol(Col());
    const int DataRow = Open || FComboCol != -1 ? FComboRow : GetDataRow(Row());
    const int DisplayCol = GetDisplayCol(DataCol);
    const int DisplayRow = GetDisplayRow(DataRow);
    const TRect Cell = CellRect(DisplayCol, DisplayRow);
    TPoint Pos = ClientToScreen(TPoint{Cell.Left, Cell.Bottom});
    if (Width < Cell.Right - Cell.Left) Pos.X += Cell.Right - Cell.Left - Width;
    ListGrid->SetBounds(0, 0, Width, Height);
    const TPoint Size{Width, Height};
    PositionDropDownForm(DisplayCol, DisplayRow, Size, Pos);
    TgxDropDownForm* Form = GetComboForm();
    SetWindowPos(Form, HWND_TOP, Pos.X, Pos.Y, Size.X, Size.Y, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace grid
