// The grid's scroll bars: their range and position as positions in the
// lists of visible rows and columns, and the way a scroll message becomes
// a new top row or left column.
#include "grid/model/BaseGrid.h"
#include "grid/model/GridGuards.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/WindowScroll.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace grid {

namespace {

// Halves go to the even neighbour, as the bar arithmetic has always done.
int RoundEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

int Locate(const TgxVisibleItems& Items, int Position) {
    bool Found = false;
    return const_cast<TgxVisibleItems&>(Items).Locate(Position, Found);
}

// The list position of the item that stands first when scrolled to the end.
template <class Extent>
int MaxScrollPosition(const TgxVisibleItems& Items, int Fixed, int FixedExtent, int Room,
                      Extent Size) {
    const int Count = Items.VisibleCount();
    if (Count == 0) return 0;
    int N = Count;
    int A = Items.GetItem(N);
    int Used = FixedExtent + (A > 0 ? Size(A) : 0);
    while (N > 1 && A > Fixed) {
        A = Items.GetItem(N - 1);
        if (A < Fixed || Used + Size(A) > Room) break;
        Used += Size(A);
        --N;
    }
    return std::min(Count, std::max(N, Locate(Items, Fixed)));
}

struct TRange {
    int Count = 0;
    int Max = 0;
    bool Scaled = false;
    int Last = 0;
    int First = 0;
};

TRange ScrollRange(const TgxVisibleItems& Items, int Fixed, int MaxScroll) {
    TRange R;
    R.First = Locate(Items, Fixed);
    R.Last = Items.VisibleCount();
    R.Count = R.Last - R.First + 1;
    R.Max = std::min(32767, R.Count);
    if (R.Max < R.Count) {
        R.Scaled = true;
        R.Count = MaxScroll - R.First;
        R.Max = std::min(R.Max, R.Count);
    }
    return R;
}

int ScrollPosition(const TgxVisibleItems& Items, const TRange& R, int Top, int MaxScroll) {
    if (R.Count <= 0) return 1;
    const int P = Locate(Items, Top);
    if (R.Scaled) {
        const int Q = RoundEven(static_cast<double>(R.Max) / R.Count * (P - R.First));
        return Q > Items.VisibleCount() ? R.Last : Q;
    }
    const int Q = P - R.First + 1;
    return Q > Items.VisibleCount() ? MaxScroll : Q;
}

int PageSize(int Max, int Count, int Last, int MaxScroll) {
    if (Count == 0) return 0;
    return std::max(1, RoundEven(static_cast<double>(Last - MaxScroll + 1) / Count * Max));
}

// The list position a scroll code leads to, then the display position.
int ScrollTarget(const TgxVisibleItems& Items, const TRange& R, int Top, int Fixed, int Code,
                 int Thumb, bool Tracking, int PageBack, int PageForward, int MaxScroll) {
    int P = Locate(Items, Top);
    switch (Code) {
    case SB_LINEUP:
        --P;
        break;
    case SB_LINEDOWN:
        ++P;
        break;
    case SB_PAGEUP:
        P -= std::max(1, PageBack);
        break;
    case SB_PAGEDOWN:
        P += std::max(1, PageForward);
        break;
    case SB_TOP:
        P = Locate(Items, Fixed);
        break;
    case SB_BOTTOM:
        P = Items.VisibleCount();
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        if (Code == SB_THUMBTRACK && !Tracking) break;
        if (R.Scaled) {
            P = RoundEven(static_cast<double>(R.Count) / R.Max * Thumb) + R.First;
            if (P > Items.VisibleCount()) P = MaxScroll;
        } else {
            P = R.First + Thumb - 1;
            if (P > Items.VisibleCount()) P = R.Last;
        }
        break;
    default:
        break;
    }
    const int Count = Items.VisibleCount();
    if (Count == 0) return Fixed;
    if (P < 1) return Items.GetItem(std::clamp(R.First, 1, Count));
    if (P > Count) return Items.GetItem(Count);
    return Items.GetItem(P);
}

} // namespace

int TgxBaseGrid::GetMaxScrollRow() const {
    return MaxScrollPosition(FVisibleRows, FixedRows(), FFixedHeight, ClientHeight(),
                             [this](int R) { return RowHeights(R); });
}

int TgxBaseGrid::GetMaxScrollCol() const {
    return MaxScrollPosition(FVisibleCols, FixedCols(), FFixedWidth, ClientWidth(),
                             [this](int C) { return ColWidths(C); });
}

void TgxBaseGrid::GetVertScrollRange(int& Count, int& Max, bool& Scaled, int& Last,
                                     int& First) const {
    const TRange R = ScrollRange(FVisibleRows, FixedRows(), GetMaxScrollRow());
    Count = R.Count;
    Max = R.Max;
    Scaled = R.Scaled;
    Last = R.Last;
    First = R.First;
}

void TgxBaseGrid::GetHorzScrollRange(int& Count, int& Max, bool& Scaled, int& Last,
                                     int& First) const {
    const TRange R = ScrollRange(FVisibleCols, FixedCols(), GetMaxScrollCol());
    Count = R.Count;
    Max = R.Max;
    Scaled = R.Scaled;
    Last = R.Last;
    First = R.First;
}

int TgxBaseGrid::GetVertScrollPos() const {
    const int MaxScroll = GetMaxScrollRow();
    return ScrollPosition(FVisibleRows, ScrollRange(FVisibleRows, FixedRows(), MaxScroll), TopRow(),
                          MaxScroll);
}

int TgxBaseGrid::GetHorzScrollPos() const {
    const int MaxScroll = GetMaxScrollCol();
    return ScrollPosition(FVisibleCols, ScrollRange(FVisibleCols, FixedCols(), MaxScroll),
                          LeftCol(), MaxScroll);
}

int TgxBaseGrid::VertScrollPageSize(int Max, int Count, int Last) const {
    return PageSize(Max, Count, Last, GetMaxScrollRow());
}

int TgxBaseGrid::HorzScrollPageSize(int Max, int Count, int Last) const {
    return PageSize(Max, Count, Last, GetMaxScrollCol());
}

bool TgxBaseGrid::AlwaysShowHorzScrollBar() const {
    const bool Asked = FAlwaysShowScrollBar == ssHorizontal || FAlwaysShowScrollBar == ssBoth;
    return Asked && (FGridScrollBars == ssHorizontal || FGridScrollBars == ssBoth);
}

bool TgxBaseGrid::AlwaysShowVertScrollBar() const {
    const bool Asked = FAlwaysShowScrollBar == ssVertical || FAlwaysShowScrollBar == ssBoth;
    return Asked && (FGridScrollBars == ssVertical || FGridScrollBars == ssBoth);
}

namespace {

// Writes the bar's information only when it differs from the window's.
void ApplyBar(TgxBaseGrid* Grid, int Bar, int Count, int Max, bool Scaled, int Page, int Pos) {
    TScrollInfo Current;
    Current.fMask = SIF_ALL;
    GetScrollInfo(Grid, Bar, Current);
    TScrollInfo New;
    New.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    New.nMin = Scaled ? 0 : 1;
    New.nMax = Max;
    New.nPage = Count == 0 ? 0u : Scaled ? 1u : static_cast<unsigned>(Page);
    New.nPos = Pos;
    const bool Changed = New.nMin != Current.nMin || New.nMax != Current.nMax ||
                         New.nPage != Current.nPage || New.nPos != Current.nPos;
    if (Changed) SetScrollInfo(Grid, Bar, New, true);
    // Just written and left enabled, the bar already shows all of it: a
    // row added changes the range each time.
    if (!Changed || !ScrollBarEnabled(Grid, Bar))
        EnableScrollBar(Grid, static_cast<unsigned>(Bar), ESB_ENABLE_BOTH);
    ShowScrollBar(Grid, Bar, true);
}

} // namespace

namespace {

// Shows one bar with its range, or hides it (an always-shown bar stays,
// disabled). Shown is the grid's record of the bar.
void SetBarVisible(TgxBaseGrid* Grid, int Bar, bool Value, bool& Shown, bool Always,
                   const TRange& Range, int Page, int Pos) {
    if (Value) {
        Shown = true;
        ApplyBar(Grid, Bar, Range.Count, Range.Max, Range.Scaled, Page, Pos);
        return;
    }
    if (!Shown && !Always) return;
    Shown = Always;
    ShowScrollBar(Grid, Bar, Shown);
    if (Shown) EnableScrollBar(Grid, static_cast<unsigned>(Bar), ESB_DISABLE_BOTH);
}

} // namespace

// The range, page and position all start from the last first item, found
// once here by walking back from the end: each row added comes here.
void TgxBaseGrid::SetHorzVisible(bool Value) {
    if (!HandleAllocated()) return;
    const int MaxScroll = Value ? GetMaxScrollCol() : 0;
    const TRange R = Value ? ScrollRange(FVisibleCols, FixedCols(), MaxScroll) : TRange{};
    SetBarVisible(this, SB_HORZ, Value, FHorzShown, AlwaysShowHorzScrollBar(), R,
                  Value ? PageSize(R.Max, R.Count, R.Last, MaxScroll) : 0,
                  Value ? ScrollPosition(FVisibleCols, R, LeftCol(), MaxScroll) : 0);
}

void TgxBaseGrid::SetVertVisible(bool Value) {
    if (!HandleAllocated()) return;
    const int MaxScroll = Value ? GetMaxScrollRow() : 0;
    const TRange R = Value ? ScrollRange(FVisibleRows, FixedRows(), MaxScroll) : TRange{};
    SetBarVisible(this, SB_VERT, Value, FVertShown, AlwaysShowVertScrollBar(), R,
                  Value ? PageSize(R.Max, R.Count, R.Last, MaxScroll) : 0,
                  Value ? ScrollPosition(FVisibleRows, R, TopRow(), MaxScroll) : 0);
}

void TgxBaseGrid::UpdateScrollRange() {
    // A row resize under way updates the range once it has been reported.
    if (FHoldScrollRange || !HandleAllocated()) return;
    if (!PaintEnabled()) {
        FScrollRangePending = true;
        return;
    }
    if (FInScrollRange) {
        FScrollRangeAgain = true;
        return;
    }
    FitScrollBars();
}

// Kept apart from the checks above, which every row added passes through.
void TgxBaseGrid::FitScrollBars() {
    FInScrollRange = true;
    try {
        // A bar that appears narrows the client area, which may call for
        // the other bar: once more when that happened.
        for (int Pass = 0; Pass < 2; ++Pass) {
            FScrollRangeAgain = false;
            const bool HorzBefore = FHorzShown;
            const bool VertBefore = FVertShown;
            SetHorzVisible(CanShowHorzScrollBar());
            SetVertVisible(CanShowVertScrollBar());
            if (!FScrollRangeAgain && HorzBefore == FHorzShown && VertBefore == FVertShown) break;
        }
    } catch (...) {
        FInScrollRange = false;
        throw;
    }
    FInScrollRange = false;
    FScrollRangePending = false;
}

void TgxBaseGrid::UpdateScrollPos() {
    if (!HandleAllocated() || FGridScrollBars == ssNone) return;
    if (!PaintEnabled()) {
        FScrollPosPending = true;
        return;
    }
    if (FGridScrollBars == ssHorizontal || FGridScrollBars == ssBoth) {
        const int Pos = GetHorzScrollPos();
        if (Pos != GetScrollPos(this, SB_HORZ)) SetScrollPos(this, SB_HORZ, Pos, true);
    }
    if (FGridScrollBars == ssVertical || FGridScrollBars == ssBoth) {
        const int Pos = GetVertScrollPos();
        if (Pos != GetScrollPos(this, SB_VERT)) SetScrollPos(this, SB_VERT, Pos, true);
    }
    FScrollPosPending = false;
}

int TgxBaseGrid::CalcVertScrollBar(int ScrollCode, int Pos) const {
    const int MaxScroll = GetMaxScrollRow();
    return ScrollTarget(FVisibleRows, ScrollRange(FVisibleRows, FixedRows(), MaxScroll), TopRow(),
                        FixedRows(), ScrollCode, Pos, FThumbTracking, PrevScrollRows(),
                        VisibleScrollRows(), MaxScroll);
}

int TgxBaseGrid::CalcHorzScrollBar(int ScrollCode, int Pos) const {
    const int MaxScroll = GetMaxScrollCol();
    return ScrollTarget(FVisibleCols, ScrollRange(FVisibleCols, FixedCols(), MaxScroll), LeftCol(),
                        FixedCols(), ScrollCode, Pos, FThumbTracking, PrevScrollCols(),
                        VisibleScrollCols(), MaxScroll);
}

// A click on a bar gives the grid the focus, as a click into it would.
void TgxBaseGrid::TakeFocusForScroll() {
    if (Visible() && CanFocus() && !ComponentState().Contains(csDesigning) && !IsFocused())
        SetFocus();
}

void TgxBaseGrid::ModifyVertScrollBar(int ScrollCode, int Pos) {
    TakeFocusForScroll();
    const int NewTop =
        std::min(std::max(CalcVertScrollBar(ScrollCode, Pos), FixedRows()), GetMaxTopRow());
    if (NewTop != TopRow()) MoveTopLeft(LeftCol(), NewTop);
    DrawCurrentFocusRect(true);
}

void TgxBaseGrid::ModifyHorzScrollBar(int ScrollCode, int Pos) {
    TakeFocusForScroll();
    const int NewLeft =
        std::min(std::max(CalcHorzScrollBar(ScrollCode, Pos), FixedCols()), GetMaxLeftCol());
    if (NewLeft != LeftCol()) MoveTopLeft(NewLeft, TopRow());
    DrawCurrentFocusRect(true);
}

void TgxBaseGrid::WMVScroll(TMessage& Message) {
    const TWMScroll M(Message);
    const int Code = M.ScrollCode();
    // An open list hangs under a cell the scroll moves away.
    CheckDropDownOff(false);
    if ((Code == SB_LINEUP || Code == SB_PAGEUP) && TopRow() == FixedRows()) return;
    if (Code != SB_ENDSCROLL) HideControlBeforeScroll(!Focused());
    {
        bool Ending = false;
        TFlagScope Hold(Code == SB_ENDSCROLL ? Ending : FControlHeldForScroll);
        ModifyVertScrollBar(Code, M.Pos());
    }
    UpdateScrollPos();
    if (Code == SB_ENDSCROLL) ShowControlAfterScroll();
}

void TgxBaseGrid::WMHScroll(TMessage& Message) {
    const TWMScroll M(Message);
    const int Code = M.ScrollCode();
    // An open list hangs under a cell the scroll moves away.
    CheckDropDownOff(false);
    if ((Code == SB_LINEUP || Code == SB_PAGEUP) && LeftCol() == FixedCols()) return;
    if (Code != SB_ENDSCROLL) HideControlBeforeScroll(!Focused());
    {
        bool Ending = false;
        TFlagScope Hold(Code == SB_ENDSCROLL ? Ending : FControlHeldForScroll);
        ModifyHorzScrollBar(Code, M.Pos());
    }
    UpdateScrollPos();
    if (Code == SB_ENDSCROLL) ShowControlAfterScroll();
}

void TgxBaseGrid::MoveTopLeft(int ALeft, int ATop) {
    if (GetFastAssign() || !HandleAllocated()) {
        TCustomGrid_ts::MoveTopLeft(ALeft, ATop);
        return;
    }
    MoveTopLeftWithin(std::min(ALeft, std::max(GetMaxLeftCol(), FixedCols())),
                      std::min(ATop, std::max(GetMaxTopRow(), FixedRows())));
}

namespace {

int WithinScrollable(int Position, int Fixed, int Count) {
    return std::max(Fixed, std::min(Position, Count - 1));
}

} // namespace

void TgxBaseGrid::MoveTopLeftWithin(int Left, int Top) {
    int NewLeft = LeftCol();
    int NewTop = TopRow();
    // With nothing shown to scroll to, the top-left stays, but never where
    // the fixed cells or the counts no longer let it be.
    if (!GetVisibleLeftCol(Left, NewLeft))
        NewLeft = WithinScrollable(LeftCol(), FixedCols(), ColCount());
    if (!GetVisibleTopRow(Top, NewTop))
        NewTop = WithinScrollable(TopRow(), FixedRows(), RowCount());
    if (NewLeft == LeftCol() && NewTop == TopRow()) return;
    // A cell button held down moves away with its cell: it is let go, and
    // the release of the mouse clicks nothing.
    ResetButton();
    // The in-place control stays hidden while the pixels move; a cell that
    // stopped being current on the way is repainted.
    HideGridControl(false);
    const TGridCoord Current = FCurrent;
    TCustomGrid_ts::MoveTopLeft(NewLeft, NewTop);
    if (!FControlHeldForScroll) ShowGridControl();
    if (Current.X != Col() || Current.Y != Row()) CheckInvalidateCell(Current.X, Current.Y);
}

void TgxBaseGrid::SetGridScrollBars(TScrollStyle Value) {
    if (Value == FGridScrollBars) return;
    FGridScrollBars = Value;
    UpdateScrollRange();
    UpdateScrollPos();
}

void TgxBaseGrid::SetAlwaysShowScrollBar(TScrollStyle Value) {
    if (Value == FAlwaysShowScrollBar) return;
    FAlwaysShowScrollBar = Value;
    UpdateScrollRange();
}

int TgxBaseGrid::GetMaxScrollHeight() const {
    if (!HandleAllocated()) return 0;
    const int Count = FVisibleRows.VisibleCount();
    if (Count == 0) return std::min(ClientHeight(), FFixedHeight);
    const TRect Last = CellRect(0, FVisibleRows.GetItem(Count));
    if (Last.Bottom <= Last.Top) return ClientHeight();
    return std::min(ClientHeight(), Last.Bottom + FHorzLineWidth);
}

int TgxBaseGrid::WaitingTime(int ScreenX, int ScreenY, int Direction) const {
    const TPoint P = ScreenToClient(TPoint{ScreenX, ScreenY});
    const TPoint Corner = ClientToScreen(TPoint{FFixedWidth, FFixedHeight});
    int H = 0;
    int V = 0;
    int M = 30;
    if (Direction == 0 || Direction == 2) {
        if (P.X >= ClientWidth()) {
            H = P.X - ClientWidth();
            M = std::min(30, Screen->Width() - ScreenX);
        } else if (P.X <= FFixedWidth) {
            H = FFixedWidth - P.X;
            M = std::min(30, Corner.X);
        }
    }
    if (Direction == 1 || Direction == 2) {
        const int MaxHeight = GetMaxScrollHeight();
        if (P.Y >= MaxHeight) {
            V = P.Y - MaxHeight;
            M = std::min(M, Screen->Height() - ScreenY);
        } else if (P.Y <= FFixedHeight) {
            V = FFixedHeight - P.Y;
            M = std::min(M, Corner.Y);
        }
    }
    const int Distance = Direction == 2 ? std::max(H, V) : Direction == 1 ? V : H;
    if (M <= 0) return ScrollHighSpeedDelay;
    const int K = std::min(Distance, M) * std::abs(ScrollLowSpeedDelay - ScrollHighSpeedDelay) / M;
    return K < ScrollLowSpeedDelay / 2 ? ScrollLowSpeedDelay : ScrollHighSpeedDelay;
}

} // namespace grid
