// The base grid's current cell, top-left and scrolling: moving the current
// cell and the anchor, keeping a cell in view, scrolling the window's
// pixels, the scroll bars and their commands, and the keyboard.
//
// The scroll bars have a fixed range of 0..127; the top-left is scaled
// onto it, so a grid of any size scrolls with the same bar.
#include "grid/foundation/CustomGrid.h"

#include "grid/foundation/InplaceEdit.h"
#include "platform/gui/WindowScroll.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace grid {

namespace {

// A * B / C rounded half away from zero, or -1 when C is 0 (as the
// platform's MulDiv).
int MulDiv(int A, int B, int C) {
    if (C == 0) return -1;
    return static_cast<int>(std::llround(static_cast<double>(A) * B / C));
}

// The scroll-bar position for a first cell between Min and Max.
int ScaledPos(int Value, int Min, int Max) {
    if (Max <= Min) return 0;
    return std::clamp(MulDiv(Value - Min, TCustomGrid_ts::ScrollRangeMax, Max - Min), 0,
                      TCustomGrid_ts::ScrollRangeMax);
}

// The pixel distance between two first cells, false when it exceeds the
// scrolling area (the caller repaints instead of scrolling).
bool ScrollDistance(const TGridAxisDrawInfo& Axis, int OldPos, int NewPos, int& Amount) {
    Amount = 0;
    if (OldPos == NewPos) return true;
    const int Start = std::min(OldPos, NewPos), Stop = std::max(OldPos, NewPos);
    const int Limit = Axis.GridBoundary - Axis.FixedBoundary;
    for (int I = Start; I < Stop; ++I) {
        Amount += Axis.GetExtent(I) + Axis.EffectiveLineWidth;
        if (Amount > Limit) return false;
    }
    if (OldPos < NewPos) Amount = -Amount;
    return true;
}

} // namespace

// ---- current cell and anchor ----------------------------------------------------------------

void TCustomGrid_ts::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
    PlaceCurrent(ACol, ARow, MoveAnchor, Show);
}

void TCustomGrid_ts::CheckCellIndex(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        throw EInvalidGridOperation("Grid index out of range");
}

void TCustomGrid_ts::PlaceCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
    CheckCellIndex(ACol, ARow);
    if (!SelectCell(ACol, ARow)) return;
    const TGridRect OldSel = Selection();
    const TGridCoord OldCurrent = FCurrent;
    FCurrent = {ACol, ARow};
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    if (MoveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    }
    if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
    if (Show) ClampInView(FCurrent);
    SelectionMoved(OldSel);
    InvalidateCell(OldCurrent.X, OldCurrent.Y);
    InvalidateCell(ACol, ARow);
}

void TCustomGrid_ts::MoveAnchor(const TGridCoord& NewAnchor) {
    if (!FOptions.Contains(goRangeSelect) || FOptions.Contains(goEditing)) {
        MoveCurrent(NewAnchor.X, NewAnchor.Y, true, true);
        return;
    }
    const TGridRect OldSel = Selection();
    FAnchor = NewAnchor;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    ClampInView(NewAnchor);
    SelectionMoved(OldSel);
}

void TCustomGrid_ts::FocusCell(int ACol, int ARow, bool MoveAnchor) {
    MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid_ts::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) {
    MoveCurrent(ACol, ARow, MoveAnchor, Show);
}

void TCustomGrid_ts::ClampInView(const TGridCoord& Coord) {
    if (!HandleAllocated()) return;
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    // A fixed cell is always on screen: on its axis nothing scrolls (the
    // top-left never goes into the fixed cells).
    const bool FixedX = Coord.X < FFixedCols;
    const bool FixedY = Coord.Y < FFixedRows;
    if ((FixedX || (Coord.X >= FTopLeft.X && Coord.X <= DrawInfo.Horz.LastFullVisibleCell)) &&
        (FixedY || (Coord.Y >= FTopLeft.Y && Coord.Y <= DrawInfo.Vert.LastFullVisibleCell)))
        return;
    const TGridCoord OldTopLeft = FTopLeft;
    const TGridCoord MaxTopLeft = CalcMaxTopLeft(Coord, DrawInfo);
    Update();
    if (!FixedX && Coord.X < FTopLeft.X)
        FTopLeft.X = Coord.X;
    else if (!FixedX && Coord.X > DrawInfo.Horz.LastFullVisibleCell)
        FTopLeft.X = MaxTopLeft.X;
    if (!FixedY && Coord.Y < FTopLeft.Y)
        FTopLeft.Y = Coord.Y;
    else if (!FixedY && Coord.Y > DrawInfo.Vert.LastFullVisibleCell)
        FTopLeft.Y = MaxTopLeft.Y;
    TopLeftMoved(OldTopLeft);
}

// ---- top-left and pixel scrolling -----------------------------------------------------------

void TCustomGrid_ts::MoveTopLeft(int ALeft, int ATop) {
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
    // What waits to be painted is not painted first: scrolling moves the
    // waiting area with the pixels, and the one paint after the move draws
    // it (a page down would otherwise paint its old current cell for nothing).
    const TGridCoord OldTopLeft = FTopLeft;
    FTopLeft = {ALeft, ATop};
    TopLeftMoved(OldTopLeft);
}

void TCustomGrid_ts::TopLeftMoved(const TGridCoord& OldTopLeft) {
    UpdateScrollPos();
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    int DX = 0, DY = 0;
    if (ScrollDistance(DrawInfo.Horz, OldTopLeft.X, FTopLeft.X, DX) &&
        ScrollDistance(DrawInfo.Vert, OldTopLeft.Y, FTopLeft.Y, DY))
        ScrollDataInfo(DX, DY, DrawInfo);
    else
        InvalidateGrid();
    TopLeftChanged();
}

void TCustomGrid_ts::TopLeftChanged() {
    if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid_ts::ScrollData(int DX, int DY) {
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    ScrollDataInfo(DX, DY, DrawInfo);
}

void TCustomGrid_ts::ScrollDataInfo(int DX, int DY, const TGridDrawInfo& DrawInfo) {
    if (DX == 0 && DY == 0) return;
    const unsigned Flags = FDefaultDrawing ? SW_INVALIDATE : SW_INVALIDATE | SW_ERASE;
    const int W = ClientWidth(), H = ClientHeight();
    const int HFixed = DrawInfo.Horz.FixedBoundary, VFixed = DrawInfo.Vert.FixedBoundary;
    const bool RightToLeft = UseRightToLeftAlignment();
    // The strips are laid out left to right; right to left they mirror and
    // move the other way.
    auto Mirror = [&](TRect R) { return RightToLeft ? Rect(W - R.Right, R.Top, W - R.Left, R.Bottom) : R; };
    const int HX = RightToLeft ? -DX : DX;
    auto Scroll = [&](TRect R, int SX, int SY) {
        R = Mirror(R);
        if (R.Right > R.Left && R.Bottom > R.Top) ScrollWindowEx(this, SX, SY, &R, &R, nullptr, Flags);
    };
    if (DY == 0) {
        Scroll(Rect(HFixed, 0, W, H), HX, 0);
    } else if (DX == 0) {
        Scroll(Rect(0, VFixed, W, H), 0, DY);
    } else {
        Scroll(Rect(HFixed, 0, W, VFixed), HX, 0);
        Scroll(Rect(0, VFixed, HFixed, H), 0, DY);
        Scroll(Rect(HFixed, VFixed, W, H), HX, DY);
    }
    if (FOptions.Contains(goRowSelect)) InvalidateRect(Selection());
}

// ---- scroll bars ------------------------------------------------------------------------------

void TCustomGrid_ts::ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos, bool UseRightToLeft) {
    const int Direction =
        ScrollBar == SB_HORZ && UseRightToLeftAlignment() && UseRightToLeft ? -1 : 1;
    FocusGrid();
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    if (ScrollBar == SB_HORZ && FColCount == 1) {
        PixelScrollHorz(ScrollCode, Pos, Direction, DrawInfo);
        return;
    }
    const TGridCoord MaxTopLeft = CalcMaxTopLeft(TGridCoord{FColCount - 1, FRowCount - 1}, DrawInfo);
    const bool Horz = ScrollBar == SB_HORZ;
    const TGridAxisDrawInfo& Axis = Horz ? DrawInfo.Horz : DrawInfo.Vert;
    const int Min = Horz ? FFixedCols : FFixedRows;
    const int Max = Horz ? MaxTopLeft.X : MaxTopLeft.Y;
    const int Current = Horz ? FTopLeft.X : FTopLeft.Y;

    auto Step = [&](int Value) {
        switch (ScrollCode) {
        case SB_LINEUP:
            return Value - Direction;
        case SB_LINEDOWN:
            return Value + Direction;
        case SB_PAGEUP: {
            const TGridCoord Before = CalcMaxTopLeft(FTopLeft, DrawInfo);
            const int Page = std::max(1, Current - (Horz ? Before.X : Before.Y));
            return Value - Direction * Page;
        }
        case SB_PAGEDOWN:
            return Value + Direction * std::max(1, Axis.LastFullVisibleCell - Axis.FirstGridCell);
        case SB_THUMBTRACK:
            if (!FOptions.Contains(goThumbTracking)) return Value;
            [[fallthrough]];
        case SB_THUMBPOSITION:
            if (Direction != 1) return Max - MulDiv(Pos, Max - Min, ScrollRangeMax);
            return Min + MulDiv(Pos, Max - Min, ScrollRangeMax);
        case SB_TOP:
            return Min;
        case SB_BOTTOM:
            return Max;
        default:
            return Value;
        }
    };
    int NewValue = Step(Current);
    // Hidden (zero-extent) cells are stepped over.
    for (int Previous = Current; NewValue > Min && NewValue < Max &&
                                 Axis.GetExtent(NewValue) <= 0 && NewValue != Previous;) {
        Previous = NewValue;
        NewValue = Step(NewValue);
    }
    NewValue = std::clamp(NewValue, Min, std::max(Min, Max));
    if (NewValue != Current)
        MoveTopLeft(Horz ? NewValue : FTopLeft.X, Horz ? FTopLeft.Y : NewValue);
}

void TCustomGrid_ts::PixelScrollHorz(int ScrollCode, int Pos, int Direction,
                                     const TGridDrawInfo& DrawInfo) {
    const int ColWidth = GetColWidths(DrawInfo.Horz.FirstGridCell);
    const int GridSpace = ClientWidth() - DrawInfo.Horz.FixedBoundary;
    const int MaxOffset = std::max(0, ColWidth - GridSpace);
    const int Old = FColOffset;
    int New = Old;
    switch (ScrollCode) {
    case SB_LINEUP:
        New -= Direction * Canvas()->TextWidth("0");
        break;
    case SB_LINEDOWN:
        New += Direction * Canvas()->TextWidth("0");
        break;
    case SB_PAGEUP:
        New -= Direction * GridSpace;
        break;
    case SB_PAGEDOWN:
        New += Direction * GridSpace;
        break;
    case SB_THUMBTRACK:
        if (!FOptions.Contains(goThumbTracking)) break;
        [[fallthrough]];
    case SB_THUMBPOSITION:
        New = UseRightToLeftAlignment() ? MaxOffset - Pos : Pos;
        break;
    case SB_TOP:
        New = 0;
        break;
    case SB_BOTTOM:
        New = MaxOffset;
        break;
    default:
        break;
    }
    New = std::clamp(New, 0, MaxOffset);
    if (New == Old) return;
    FColOffset = New;
    ScrollData(Old - New, 0);
    InvalidateRect(TGridRect{0, 0, 0, FFixedRows});
    Update();
    UpdateScrollPos();
}

void TCustomGrid_ts::FocusGrid() {
    if (Visible() && CanFocus() && TabStop() && !Designing() && HandleAllocated() && !Focused()) {
        try {
            SetFocus();
        } catch (const EInvalidOperation&) {
            // A window that cannot take the focus (not shown yet) scrolls all the same.
        }
    }
}

void TCustomGrid_ts::UpdateScrollRange() {
    if (FScrollBars == ssNone || !HandleAllocated() || !Showing()) return;
    // Size without the bars first: a bar only stays when the grid needs it.
    TGridDrawInfo DrawInfo;
    int Width = ClientWidth(), Height = ClientHeight();
    if (ScrollBarVisible(this, SB_HORZ)) Height += GetSystemMetrics(SM_CYHSCROLL);
    if (ScrollBarVisible(this, SB_VERT)) Width += GetSystemMetrics(SM_CXVSCROLL);
    const TGridCoord OldTopLeft = FTopLeft;
    const TScrollStyle OldScrollBars = FScrollBars;
    const bool HorzAllowed = OldScrollBars == ssHorizontal || OldScrollBars == ssBoth;
    const bool VertAllowed = OldScrollBars == ssVertical || OldScrollBars == ssBoth;
    bool Updated = false;
    auto FlushOnce = [&] {
        if (!Updated) Update();
        Updated = true;
    };
    auto MaxTopLeft = [&] {
        CalcDrawInfoXY(DrawInfo, Width, Height);
        return CalcMaxTopLeft(TGridCoord{FColCount - 1, FRowCount - 1}, DrawInfo);
    };
    auto SetHorz = [&] {
        if (!HorzAllowed) return;
        if (FColCount == 1) {
            SetScrollRange(this, SB_HORZ, 0, std::max(0, GetColWidths(0) - ClientWidth()), true);
            return;
        }
        const int Max = MaxTopLeft().X;
        SetScrollRange(this, SB_HORZ, 0, FFixedCols < Max ? ScrollRangeMax : 0, true);
        if (Max < OldTopLeft.X) {
            FlushOnce();
            FTopLeft.X = Max;
        }
    };
    auto SetVert = [&] {
        if (!VertAllowed) return;
        const int Max = MaxTopLeft().Y;
        SetScrollRange(this, SB_VERT, 0, FFixedRows < Max ? ScrollRangeMax : 0, true);
        if (Max < OldTopLeft.Y) {
            FlushOnce();
            FTopLeft.Y = Max;
        }
    };
    // Showing a bar sends WM_SIZE, which comes back here: the style is off
    // meanwhile.
    FScrollBars = ssNone;
    try {
        SetHorz();
        Height = ClientHeight();
        SetVert();
        if (Width != ClientWidth()) {
            Width = ClientWidth();
            SetHorz();
        }
    } catch (...) {
        FScrollBars = OldScrollBars;
        throw;
    }
    FScrollBars = OldScrollBars;
    UpdateScrollPos();
    if (FTopLeft != OldTopLeft) TopLeftMoved(OldTopLeft);
}

void TCustomGrid_ts::UpdateScrollPos() {
    if (!HandleAllocated() || FScrollBars == ssNone) return;
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    const TGridCoord MaxTopLeft = CalcMaxTopLeft(TGridCoord{FColCount - 1, FRowCount - 1}, DrawInfo);
    auto SetPos = [&](int Bar, int Value) {
        if (GetScrollPos(this, Bar) != Value) SetScrollPos(this, Bar, Value, true);
    };
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
        if (FColCount == 1) {
            const int Width = GetColWidths(0);
            const int GridSpace = ClientWidth() - DrawInfo.Horz.FixedBoundary;
            if (FColOffset > 0 && Width - FColOffset < GridSpace) {
                ModifyScrollBar(SB_HORZ, SB_THUMBPOSITION, Width - GridSpace, true);
            } else {
                const int Pos = UseRightToLeftAlignment() ? Width - GridSpace - FColOffset : FColOffset;
                SetPos(SB_HORZ, Pos);
            }
        } else {
            int Pos = ScaledPos(FTopLeft.X, FFixedCols, MaxTopLeft.X);
            if (UseRightToLeftAlignment()) Pos = ScrollRangeMax - Pos;
            SetPos(SB_HORZ, Pos);
        }
    }
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        SetPos(SB_VERT, ScaledPos(FTopLeft.Y, FFixedRows, MaxTopLeft.Y));
}

void TCustomGrid_ts::ColWidthsChanged() {
    UpdateScrollRange();
    UpdateEdit();
}

void TCustomGrid_ts::RowHeightsChanged() {
    UpdateScrollRange();
    UpdateEdit();
}

// ---- keyboard -----------------------------------------------------------------------------------

void TCustomGrid_ts::TabStep(TGridCoord& Current, bool Backward) const {
    const int Start = Current.X;
    do {
        if (Backward) {
            if (--Current.X < FFixedCols) {
                Current.X = FColCount - 1;
                if (--Current.Y < FFixedRows) Current.Y = FRowCount - 1;
            }
        } else {
            if (++Current.X >= FColCount) {
                Current.X = FFixedCols;
                if (++Current.Y >= FRowCount) Current.Y = FFixedRows;
            }
        }
    } while (!TabStops(Current.X) && Current.X != Start);
}

void TCustomGrid_ts::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (!CanGridAcceptKey(Key, Shift)) Key = 0;
    const bool RightToLeft = UseRightToLeftAlignment();
    const int F = RightToLeft ? -1 : 1;
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    const int PageWidth = std::max(1, DrawInfo.Horz.LastFullVisibleCell - FTopLeft.X);
    const int PageHeight = std::max(1, DrawInfo.Vert.LastFullVisibleCell - FTopLeft.Y);
    const bool RowSelect = FOptions.Contains(goRowSelect);
    TGridCoord NewCurrent = FCurrent, NewTopLeft = FTopLeft;
    bool TabMove = false, RepaintAll = false;

    if (Shift.Contains(ssCtrl)) {
        switch (Key) {
        case VK_UP:
            --NewTopLeft.Y;
            break;
        case VK_DOWN:
            ++NewTopLeft.Y;
            break;
        case VK_LEFT:
            if (!RowSelect) {
                NewCurrent.X -= F * PageWidth;
                NewTopLeft.X -= F * PageWidth;
            }
            break;
        case VK_RIGHT:
            if (!RowSelect) {
                NewCurrent.X += F * PageWidth;
                NewTopLeft.X += F * PageWidth;
            }
            break;
        case VK_PRIOR:
            NewCurrent.Y = FTopLeft.Y;
            break;
        case VK_NEXT:
            NewCurrent.Y = DrawInfo.Vert.LastFullVisibleCell;
            break;
        case VK_HOME:
            NewCurrent = {FFixedCols, FFixedRows};
            RepaintAll = RightToLeft;
            break;
        case VK_END:
            NewCurrent = {FColCount - 1, FRowCount - 1};
            RepaintAll = RightToLeft;
            break;
        default:
            break;
        }
    } else {
        switch (Key) {
        case VK_UP:
            --NewCurrent.Y;
            break;
        case VK_DOWN:
            ++NewCurrent.Y;
            break;
        case VK_LEFT:
            if (RowSelect)
                NewCurrent.Y -= F;
            else
                NewCurrent.X -= F;
            break;
        case VK_RIGHT:
            if (RowSelect)
                NewCurrent.Y += F;
            else
                NewCurrent.X += F;
            break;
        case VK_PRIOR:
            NewCurrent.Y -= PageHeight;
            NewTopLeft.Y -= PageHeight;
            break;
        case VK_NEXT:
            NewCurrent.Y += PageHeight;
            NewTopLeft.Y += PageHeight;
            break;
        case VK_HOME:
            if (RowSelect)
                NewCurrent.Y = FFixedRows;
            else
                NewCurrent.X = FFixedCols;
            break;
        case VK_END:
            if (RowSelect)
                NewCurrent.Y = FRowCount - 1;
            else
                NewCurrent.X = FColCount - 1;
            break;
        case VK_TAB:
            if (!Shift.Contains(ssAlt)) {
                TabStep(NewCurrent, Shift.Contains(ssShift));
                TabMove = true;
            }
            break;
        case VK_F2:
            SetEditorMode(true);
            break;
        default:
            break;
        }
    }

    const TGridCoord MaxTopLeft = CalcMaxTopLeft(TGridCoord{FColCount - 1, FRowCount - 1}, DrawInfo);
    NewTopLeft.X = std::clamp(NewTopLeft.X, FFixedCols, std::max(FFixedCols, MaxTopLeft.X));
    NewTopLeft.Y = std::clamp(NewTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopLeft.Y));
    if (NewTopLeft != FTopLeft) MoveTopLeft(NewTopLeft.X, NewTopLeft.Y);
    NewCurrent.X = std::clamp(NewCurrent.X, FFixedCols, FColCount - 1);
    NewCurrent.Y = std::clamp(NewCurrent.Y, FFixedRows, FRowCount - 1);
    if (NewCurrent != FCurrent)
        FocusCell(NewCurrent.X, NewCurrent.Y, TabMove || !Shift.Contains(ssShift));
    if (RepaintAll) InvalidateGrid();
}

} // namespace grid
