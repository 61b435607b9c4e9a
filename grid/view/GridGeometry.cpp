// Where a cell is on screen and which cell lies under a point, over the
// base control's widths and heights (each includes the cell's grid line)
// and the lists of visible display columns and rows; and whether the
// scroll bars are needed.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowScroll.h"

#include <algorithm>

namespace grid {

namespace {

// Walks the visible items from the first at or after From while they lie
// before Stop and Used stays within Room; Used grows by each extent.
template <class Extent>
int WalkBefore(const TgxVisibleItems& Items, int From, int Stop, int Used, int Room, Extent Size) {
    bool Found = false;
    int K = const_cast<TgxVisibleItems&>(Items).Locate(From, Found);
    for (; K <= Items.VisibleCount() && Used <= Room; ++K) {
        const int D = Items.GetItem(K);
        if (D >= Stop) break;
        Used += Size(D);
    }
    return Used;
}

} // namespace

int TgxBaseGrid::CalcColOffset(int DisplayCol) const {
    if (DisplayCol == 0) return 0;
    if (FPainting && DisplayCol == FPaintCol) return FPaintColLeft;
    // Past the last column there is no left edge to give.
    if (DisplayCol >= ColCount()) return -1;
    // A hidden column is passed over by the walk: it has no place on screen.
    bool Shown = false;
    FVisibleCols.Locate(DisplayCol, Shown);
    if (!Shown) return -1;
    const int Room = ClientWidth();
    const auto Width = [this](int D) { return ColWidths(D); };
    int X = WalkBefore(FVisibleCols, 1, std::min(DisplayCol, FixedCols()),
                       GetRowBarOn() ? ColWidths(0) : 0, Room, Width);
    if (X > Room) return -1;
    if (DisplayCol < FixedCols()) return X;
    if (DisplayCol < LeftCol()) return -1;
    X = WalkBefore(FVisibleCols, LeftCol(), DisplayCol, X, Room, Width);
    return X < Room ? X : -1;
}

int TgxBaseGrid::CalcRowOffset(int DisplayRow) const {
    if (DisplayRow == 0) return 0;
    if (FPainting && DisplayRow == FPaintRow) return FPaintRowTop;
    const int Room = ClientHeight();
    const auto Height = [this](int D) { return RowHeights(D); };
    int Y = WalkBefore(FVisibleRows, 1, std::min(DisplayRow, FixedRows()),
                       GetHeadingOn() ? RowHeights(0) : 0, Room, Height);
    if (Y > Room) return -1;
    if (DisplayRow < FixedRows()) return Y;
    // A row scrolled out above is not on screen, like a column scrolled out
    // to the left: painting and hit tests then leave it alone.
    if (DisplayRow < TopRow()) return -1;
    return WalkBefore(FVisibleRows, TopRow(), DisplayRow, Y, Room, Height);
}

TRect TgxBaseGrid::CalcCellRect(int DisplayCol, int DisplayRow) const {
    if (!HandleAllocated()) return TRect{};
    const int X = CalcColOffset(DisplayCol);
    const int Y = CalcRowOffset(DisplayRow);
    if (X < 0 || Y < 0) return TRect{};
    const int W = DisplayCol < ColCount() ? ColWidths(DisplayCol) : 0;
    const int H = DisplayRow < RowCount() ? RowHeights(DisplayRow) : 0;
    // Every painted cell comes here: the paint knows the client area.
    const TRect Client = FPainting ? FPaintClient : ClientRect();
    return Rect(X, Y, std::min(X + W, Client.Width()), std::min(Y + H, Client.Height()));
}

TRect TgxBaseGrid::CellRect(int DisplayCol, int DisplayRow) const {
    if (!HandleAllocated()) return TRect{};
    TRect R = CalcCellRect(DisplayCol, DisplayRow);
    if (R.Right <= R.Left || R.Bottom <= R.Top) return TRect{};
    const TRect Client = FPainting ? FPaintClient : ClientRect();
    const int ClientW = Client.Width();
    const int ClientH = Client.Height();
    if (R.Left >= ClientW || R.Top >= ClientH) return TRect{};
    const int W = DisplayCol < ColCount() ? ColWidths(DisplayCol) : 0;
    const int H = DisplayRow < RowCount() ? RowHeights(DisplayRow) : 0;
    // A cell cut by the client edge keeps its cut edge: its line is not shown.
    if (R.Right < ClientW || R.Left + W <= ClientW) R.Right -= FVertLineWidth;
    if (R.Bottom < ClientH || R.Top + H <= ClientH) R.Bottom -= FHorzLineWidth;
    return R;
}

TRect TgxBaseGrid::BoxRect(int LeftCol, int TopRow, int RightCol, int BottomRow) const {
    const int LastCol =
        FVisibleCols.VisibleCount() ? FVisibleCols.GetItem(FVisibleCols.VisibleCount()) : 0;
    const int LastRow =
        FVisibleRows.VisibleCount() ? FVisibleRows.GetItem(FVisibleRows.VisibleCount()) : 0;
    if (LeftCol > LastCol || RightCol < 0 || TopRow > LastRow || BottomRow < 0) return TRect{};
    if ((GetRowBarOn() && GetHeadingOn()) || (LeftCol >= FixedCols() && TopRow >= FixedRows()))
        return TCustomGrid_ts::BoxRect(LeftCol, TopRow, RightCol, BottomRow);
    TRect R = CellRect(LeftCol, TopRow);
    if (RightCol != LeftCol || BottomRow != TopRow) {
        const TRect Last = CellRect(RightCol, BottomRow);
        R.Right = Last.Right;
        R.Bottom = Last.Bottom;
    }
    return R;
}

bool TgxBaseGrid::ColFromX(int X, int& DisplayCol) const {
    DisplayCol = -1;
    if (!HandleAllocated() || X < 0 || X > ClientWidth()) return false;
    DisplayCol = MouseCoord(X, 0).X;
    return DisplayCol >= 0;
}

bool TgxBaseGrid::RowFromY(int Y, int& DisplayRow) const {
    DisplayRow = -1;
    if (!HandleAllocated() || Y < 0 || Y > ClientHeight()) return false;
    DisplayRow = MouseCoord(0, Y).Y;
    return DisplayRow >= 0;
}

bool TgxBaseGrid::CellFromXY(int X, int Y, int& DisplayCol, int& DisplayRow) const {
    const bool HasCol = ColFromX(X, DisplayCol);
    const bool HasRow = RowFromY(Y, DisplayRow);
    return HasCol && HasRow;
}

void TgxBaseGrid::ColRowFromXY(int X, int Y, int& DisplayCol, int& DisplayRow) const {
    CellFromXY(X, Y, DisplayCol, DisplayRow);
    if (DisplayCol == -1) DisplayCol = X > 0 ? ColCount() - 1 : 0;
    if (DisplayRow == -1) DisplayRow = Y > 0 ? RowCount() - 1 : 0;
}

int TgxBaseGrid::MinLeftCol() const {
    if (FFixedColCount == 0) return 0;
    bool Found = false;
    const_cast<TgxVisibleItems&>(FVisibleCols).Locate(FixedCols(), Found);
    if (Found) return FixedCols();
    int Next = 0;
    GetNextCol(FixedCols(), false, false, Next);
    return Next;
}

int TgxBaseGrid::MinTopRow() const {
    if (FFixedRowCount == 0) return 0;
    bool Found = false;
    const_cast<TgxVisibleItems&>(FVisibleRows).Locate(FixedRows(), Found);
    if (Found) return FixedRows();
    int Next = 0;
    GetNextRow(FixedRows(), false, false, Next);
    return Next;
}

namespace {

// The nearest visible position to Wanted: itself when visible, else the
// previous one (at or after Fixed) when moving back, the next one when
// moving on, each falling back to the other direction.
template <class Prev, class Next>
bool NearestVisible(const TgxVisibleItems& Items, int Wanted, int Fixed, int Limit, bool Back,
                    int& Found, Prev GetPrev, Next GetNext) {
    Found = std::max(Wanted, Fixed);
    bool Visible = false;
    const_cast<TgxVisibleItems&>(Items).Locate(Found, Visible);
    if (Visible && Found < Limit) return true;
    int Before = 0;
    int After = 0;
    const bool HasBefore = GetPrev(Found, Before) && Before >= Fixed;
    const bool HasAfter = GetNext(Found, After);
    if (Back ? HasBefore : !HasAfter && HasBefore)
        Found = Before;
    else if (HasAfter)
        Found = After;
    else
        return false;
    return true;
}

} // namespace

bool TgxBaseGrid::GetVisibleLeftCol(int Col, int& NewCol) const {
    return NearestVisible(
        FVisibleCols, Col, FixedCols(), ColCount(), Col < LeftCol(), NewCol,
        [this](int From, int& Out) { return GetPrevCol(From, false, false, Out); },
        [this](int From, int& Out) { return GetNextCol(From, false, false, Out); });
}

bool TgxBaseGrid::GetVisibleTopRow(int Row, int& NewRow) const {
    return NearestVisible(
        FVisibleRows, Row, FixedRows(), RowCount(), Row < TopRow(), NewRow,
        [this](int From, int& Out) { return GetPrevRow(From, false, false, Out); },
        [this](int From, int& Out) { return GetNextRow(From, false, false, Out); });
}

namespace {

// Whether the scrolling part (visible items from First on, plus Fixed)
// overflows Room: by more than one non-empty item, or by one item that
// another visible item follows.
template <class Extent>
bool Overflows(const TgxVisibleItems& Items, int First, int Fixed, int Room, Extent Size) {
    bool Found = false;
    int K = const_cast<TgxVisibleItems&>(Items).Locate(First, Found);
    const int FirstK = K;
    int Sum = Fixed;
    int Counted = 0;
    for (; K <= Items.VisibleCount() && Sum <= Room; ++K) {
        const int S = Size(Items.GetItem(K));
        Sum += S;
        if (S > 0) ++Counted;
    }
    if (Sum <= Room) return false;
    return Counted > 1 || FirstK + 1 <= Items.VisibleCount();
}

} // namespace

bool TgxBaseGrid::ShowHorzScrollBar(int Width) const {
    if (!HandleAllocated() || (GridScrollBars() != ssHorizontal && GridScrollBars() != ssBoth))
        return false;
    return Overflows(FVisibleCols, FixedCols(), FFixedWidth, Width,
                     [this](int D) { return ColWidths(D); });
}

bool TgxBaseGrid::ShowVertScrollBar(int Height) const {
    if (!HandleAllocated() || (GridScrollBars() != ssVertical && GridScrollBars() != ssBoth))
        return false;
    return Overflows(FVisibleRows, FixedRows(), FFixedHeight, Height,
                     [this](int D) { return RowHeights(D); });
}

namespace {

bool Always(TScrollStyle Style, TScrollStyle Bar) {
    return Style == ssBoth || Style == Bar;
}

} // namespace

bool TgxBaseGrid::CanShowHorzScrollBar() const {
    if (!HandleAllocated()) return false;
    HWND Wnd = const_cast<TgxBaseGrid*>(this)->Handle();
    int Width = ClientWidth();
    if (!ScrollBarVisible(Wnd, SB_VERT) && Always(FAlwaysShowScrollBar, ssVertical))
        Width -= GetVertScrollBarWidth();
    return ShowHorzScrollBar(Width);
}

bool TgxBaseGrid::CanShowVertScrollBar() const {
    if (!HandleAllocated()) return false;
    HWND Wnd = const_cast<TgxBaseGrid*>(this)->Handle();
    int Height = ClientHeight();
    if (!ScrollBarVisible(Wnd, SB_HORZ) && Always(FAlwaysShowScrollBar, ssHorizontal))
        Height -= GetHorzScrollBarHeight();
    return ShowVertScrollBar(Height);
}

bool TgxBaseGrid::GetHorzScrollBarVisible() const {
    return CanShowHorzScrollBar() || Always(FAlwaysShowScrollBar, ssHorizontal);
}

bool TgxBaseGrid::GetVertScrollBarVisible() const {
    return CanShowVertScrollBar() || Always(FAlwaysShowScrollBar, ssVertical);
}

int TgxBaseGrid::GetHorzScrollBarHeight() const {
    return GetSystemMetrics(SM_CYHSCROLL);
}

int TgxBaseGrid::GetVertScrollBarWidth() const {
    return GetSystemMetrics(SM_CXVSCROLL);
}

bool TgxBaseGrid::ButtonInColHeading(int DisplayCol) const {
    const int DataCol = GetDataColnr(DisplayCol);
    if (DataCol < 0 || DataCol >= FCols->Count()) return false;
    const TgxColHeadingButton Own = FCols->Item(DataCol)->HeadingButton();
    return Own == cbButton || (Own == cbGrid && FHeadingButton == hbButton);
}

bool TgxBaseGrid::IsColHeadingButton(int DisplayCol) const {
    const int DataCol = GetDataColnr(DisplayCol);
    if (DataCol < 0 || DataCol >= FCols->Count()) return false;
    const TgxColHeadingButton Own = FCols->Item(DataCol)->HeadingButton();
    return Own == cbCell || (Own == cbGrid && FHeadingButton == hbCell);
}

void TgxBaseGrid::SetHeadingButton(TgxHeadingButton Value) {
    if (Value == FHeadingButton) return;
    FHeadingButton = Value;
    if (GetHeadingOn()) CheckInvalidateRow(0);
}

} // namespace grid
