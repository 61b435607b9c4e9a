// The base grid's mouse: selecting, resizing and dragging columns and rows,
// the XOR feedback lines of a resize or a drag, and the auto-scroll timer
// that keeps a selection or a drag going past the edge.
#include "grid/foundation/CustomGrid.h"

#include "platform/gui/Forms.h"

#include <algorithm>

namespace grid {

namespace {

// Saves the canvas's pen and puts it back.
class TPenKeeper {
public:
    explicit TPenKeeper(TCanvas* Canvas) : FCanvas(Canvas) { FPen.Assign(Canvas->Pen()); }
    ~TPenKeeper() { FCanvas->Pen()->Assign(&FPen); }
    TPenKeeper(const TPenKeeper&) = delete;
    TPenKeeper& operator=(const TPenKeeper&) = delete;

private:
    TCanvas* FCanvas;
    TPen FPen;
};

void XorPen(TCanvas* Canvas, int Width) {
    Canvas->Pen()->SetStyle(psDot);
    Canvas->Pen()->SetMode(pmXor);
    Canvas->Pen()->SetColor(clWhite);
    Canvas->Pen()->SetWidth(Width);
}

} // namespace

// ---- resize zones ----------------------------------------------------------------------------

void TCustomGrid_ts::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                     int& SizingOfs, TGridDrawInfo& FixedInfo) {
    State = gsNormal;
    Index = -1;
    const TGridOptions Effective = EffectiveOptions();
    if (!Effective.Contains(goColSizing) && !Effective.Contains(goRowSizing)) return;
    const int W = ClientWidth();
    FixedInfo.Horz.GridExtent = W;
    FixedInfo.Vert.GridExtent = ClientHeight();
    const bool RightToLeft = UseRightToLeftAlignment();

    auto AxisTest = [&](const TGridAxisDrawInfo& Axis, int Pos, TGridState AxisState) {
        int Range = Axis.EffectiveLineWidth, Back = 0;
        if (Range < 7) {
            Range = 7;
            Back = (7 - Axis.EffectiveLineWidth) / 2;
        }
        int Line = Axis.FixedBoundary;
        for (int I = Axis.FirstGridCell; I < Axis.GridCellCount; ++I) {
            Line += Axis.GetExtent(I);
            if (Line > Axis.GridBoundary) break;
            if (Pos >= Line - Back && Pos <= Line - Back + Range) {
                State = AxisState;
                SizingPos = Line;
                SizingOfs = Line - Pos;
                Index = I;
                return;
            }
            Line += Axis.EffectiveLineWidth;
        }
        if (Axis.GridBoundary == Axis.GridExtent && Pos >= Axis.GridExtent - Back &&
            Pos <= Axis.GridExtent) {
            State = AxisState;
            SizingPos = Axis.GridExtent;
            SizingOfs = Axis.GridExtent - Pos;
            Index = Axis.LastFullVisibleCell + 1;
        }
    };

    const int HFixed = FixedInfo.Horz.FixedBoundary, VFixed = FixedInfo.Vert.FixedBoundary;
    const bool PastFixedCols = RightToLeft ? X < W - HFixed : X > HFixed;
    if (PastFixedCols && Effective.Contains(goColSizing)) {
        if (Y < VFixed) AxisTest(FixedInfo.Horz, RightToLeft ? W - X : X, gsColSizing);
    } else if (Y > VFixed && Effective.Contains(goRowSizing)) {
        const bool InFixedCols = RightToLeft ? X > W - HFixed : X < HFixed;
        if (InFixedCols) AxisTest(FixedInfo.Vert, Y, gsRowSizing);
    }
}

bool TCustomGrid_ts::Sizing(int X, int Y) {
    if (FGridState != gsNormal) return true;
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    TGridState State;
    int Index = 0, Pos = 0, Ofs = 0;
    CalcSizingState(X, Y, State, Index, Pos, Ofs, DrawInfo);
    return State != gsNormal;
}

void TCustomGrid_ts::UpdateDesigner() {
    // Only a form being designed has a designer to tell; there is none at
    // run time.
}

// ---- feedback lines ------------------------------------------------------------------------------

void TCustomGrid_ts::DrawSizingLine(const TGridDrawInfo& DrawInfo) {
    TPenKeeper Keep(Canvas());
    XorPen(Canvas(), 1);
    if (FGridState == gsRowSizing) {
        const int W = ClientWidth();
        const int From = UseRightToLeftAlignment() ? W - DrawInfo.Horz.GridBoundary : 0;
        const int To = UseRightToLeftAlignment() ? W : DrawInfo.Horz.GridBoundary;
        Canvas()->MoveTo(From, FSizingPos);
        Canvas()->LineTo(To, FSizingPos);
    } else {
        Canvas()->MoveTo(FSizingPos, 0);
        Canvas()->LineTo(FSizingPos, DrawInfo.Vert.GridBoundary);
    }
    FSizingLineDrawn = !FSizingLineDrawn;
}

void TCustomGrid_ts::DrawMoveLine() {
    TPenKeeper Keep(Canvas());
    XorPen(Canvas(), 5);
    const bool Forward = FMoveIndex < FMovePos;
    if (FGridState == gsRowMoving) {
        const TRect R = CellRect(0, FMovePos);
        const int Y = Forward ? R.Bottom : R.Top;
        Canvas()->MoveTo(0, Y);
        Canvas()->LineTo(ClientWidth(), Y);
    } else {
        const TRect R = CellRect(FMovePos, 0);
        const bool RightEdge = UseRightToLeftAlignment() ? !Forward : Forward;
        const int X = RightEdge ? R.Right : R.Left;
        Canvas()->MoveTo(X, 0);
        Canvas()->LineTo(X, ClientHeight());
    }
    FMoveLineDrawn = !FMoveLineDrawn;
}

// ---- mouse ---------------------------------------------------------------------------------------

void TCustomGrid_ts::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    HideEdit();
    if (!Designing() && (CanFocus() || !GetParentForm(this))) {
        if (!Focused() && CanFocus()) SetFocus();
        if (!IsActiveControl()) {
            SetMouseCapture(false);
            return;
        }
    }
    if (Button == mbLeft && Shift.Contains(ssDouble)) {
        DblClick();
        return;
    }
    if (Button == mbLeft) {
        TGridDrawInfo DrawInfo;
        CalcDrawInfo(DrawInfo);
        CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, DrawInfo);
        if (FGridState != gsNormal) {
            if (UseRightToLeftAlignment()) FSizingPos = ClientWidth() - FSizingPos;
            DrawSizingLine(DrawInfo);
            return;
        }
        const TGridCoord Cell = CalcCoordFromPoint(X, Y, DrawInfo);
        if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows) {
            if (FOptions.Contains(goEditing)) {
                if (Cell == FCurrent) {
                    ShowEditor();
                } else {
                    MoveCurrent(Cell.X, Cell.Y, true, true);
                    UpdateEdit();
                }
                Click();
            } else {
                FGridState = gsSelecting;
                SetTimer(this, AutoScrollTimerId, AutoScrollInterval);
                if (Shift.Contains(ssShift))
                    MoveAnchor(Cell);
                else
                    MoveCurrent(Cell.X, Cell.Y, true, true);
            }
        } else {
            // A press on a fixed cell of a movable row or column starts a drag.
            auto BeginDrag = [&](TGridState Moving, int Index) {
                FMoveIndex = FMovePos = Index;
                const bool Agreed = Moving == gsRowMoving
                                        ? BeginRowDrag(FMoveIndex, FMovePos, Point(X, Y))
                                        : BeginColumnDrag(FMoveIndex, FMovePos, Point(X, Y));
                if (!Agreed) return;
                FGridState = Moving;
                Update();
                DrawMoveLine();
                SetTimer(this, AutoScrollTimerId, AutoScrollInterval);
            };
            if (FOptions.Contains(goRowMoving) && Cell.X >= 0 && Cell.X < FFixedCols &&
                Cell.Y >= FFixedRows)
                BeginDrag(gsRowMoving, Cell.Y);
            else if (FOptions.Contains(goColMoving) && Cell.Y >= 0 && Cell.Y < FFixedRows &&
                     Cell.X >= FFixedCols)
                BeginDrag(gsColMoving, Cell.X);
        }
    }
    try {
        TCustomControl::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        // The user's handler failed: the drag it interrupted ends here.
        if (FGridState == gsRowMoving || FGridState == gsColMoving) {
            if (FMoveLineDrawn) DrawMoveLine();
            KillTimer(this, AutoScrollTimerId);
            FGridState = gsNormal;
        }
    }
}

void TCustomGrid_ts::MouseMove(TShiftState Shift, int X, int Y) {
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    switch (FGridState) {
    case gsSelecting:
    case gsRowMoving:
    case gsColMoving: {
        const TGridCoord Cell = CalcCoordFromPoint(X, Y, DrawInfo);
        // A drag follows its own axis wherever the pointer is on the other
        // (a heading is dragged along the heading row).
        const bool ColOk = Cell.X >= FFixedCols && Cell.X <= DrawInfo.Horz.LastFullVisibleCell + 1;
        const bool RowOk = Cell.Y >= FFixedRows && Cell.Y <= DrawInfo.Vert.LastFullVisibleCell + 1;
        if (FGridState == gsSelecting) {
            if (ColOk && RowOk && Cell != FAnchor) MoveAnchor(Cell);
        } else if (FGridState == gsRowMoving) {
            if (RowOk || Cell.Y < 0)
                MoveAndScroll(Y, Cell.Y, DrawInfo, DrawInfo.Vert, SB_VERT, Point(X, Y));
        } else if (ColOk || Cell.X < 0) {
            MoveAndScroll(X, Cell.X, DrawInfo, DrawInfo.Horz, SB_HORZ, Point(X, Y));
        }
        break;
    }
    case gsRowSizing:
    case gsColSizing:
        DrawSizingLine(DrawInfo);
        // The offset was taken left to right; mirrored it points the other way.
        if (FGridState == gsRowSizing)
            FSizingPos = Y + FSizingOfs;
        else
            FSizingPos = UseRightToLeftAlignment() ? X - FSizingOfs : X + FSizingOfs;
        DrawSizingLine(DrawInfo);
        break;
    default:
        break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid_ts::MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& DrawInfo,
                                   TGridAxisDrawInfo& Axis, int ScrollBar, const TPoint& MousePt) {
    if (ScrollBar == SB_HORZ && UseRightToLeftAlignment()) Mouse = ClientWidth() - Mouse;
    if (CellHit == FMovePos ||
        (FMovePos == Axis.FixedCellCount && Mouse < Axis.FixedBoundary) ||
        (FMovePos == Axis.GridCellCount - 1 && Mouse > Axis.GridBoundary))
        return;
    DrawMoveLine();
    if (Mouse < Axis.FixedBoundary) {
        if (FMovePos > Axis.FixedCellCount) {
            ModifyScrollBar(ScrollBar, SB_LINEUP, 0, false);
            Update();
            CalcDrawInfo(DrawInfo);
        }
        CellHit = Axis.FirstGridCell;
    } else if (Mouse >= Axis.FullVisBoundary) {
        if (FMovePos == Axis.LastFullVisibleCell && FMovePos < Axis.GridCellCount - 1) {
            ModifyScrollBar(ScrollBar, SB_LINEDOWN, 0, false);
            Update();
            CalcDrawInfo(DrawInfo);
        }
        CellHit = Axis.LastFullVisibleCell;
    } else if (CellHit < 0) {
        CellHit = FMovePos;
    }
    const bool Agreed = FGridState == gsColMoving ? CheckColumnDrag(FMoveIndex, CellHit, MousePt)
                                                  : CheckRowDrag(FMoveIndex, CellHit, MousePt);
    if (Agreed) FMovePos = CellHit;
    DrawMoveLine();
}

void TCustomGrid_ts::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // The state is normal again afterwards, whatever fails on the way.
    struct TBackToNormal {
        TGridState& State;
        ~TBackToNormal() { State = gsNormal; }
    } BackToNormal{FGridState};

    switch (FGridState) {
    case gsSelecting:
        MouseMove(Shift, X, Y);
        KillTimer(this, AutoScrollTimerId);
        UpdateEdit();
        Click();
        break;
    case gsRowSizing:
    case gsColSizing: {
        TGridDrawInfo DrawInfo;
        CalcDrawInfo(DrawInfo);
        DrawSizingLine(DrawInfo);
        if (UseRightToLeftAlignment()) FSizingPos = ClientWidth() - FSizingPos;
        const TGridAxisDrawInfo& Axis =
            FGridState == gsColSizing ? DrawInfo.Horz : DrawInfo.Vert;
        int Start = Axis.FixedBoundary;
        for (int I = Axis.FirstGridCell; I < FSizingIndex; ++I)
            Start += Axis.GetExtent(I) + Axis.EffectiveLineWidth;
        const int NewSize = FSizingPos - Start;
        if (NewSize > 1) {
            if (FGridState == gsColSizing)
                SetColWidths(FSizingIndex, NewSize);
            else
                SetRowHeights(FSizingIndex, NewSize);
            UpdateDesigner();
        }
        break;
    }
    case gsRowMoving:
    case gsColMoving: {
        const bool Cols = FGridState == gsColMoving;
        if (FMoveLineDrawn) DrawMoveLine();
        KillTimer(this, AutoScrollTimerId);
        const TPoint P = Point(X, Y);
        const bool Agreed =
            Cols ? EndColumnDrag(FMoveIndex, FMovePos, P) : EndRowDrag(FMoveIndex, FMovePos, P);
        if (Agreed && FMoveIndex != FMovePos) {
            if (Cols)
                MoveColumn(FMoveIndex, FMovePos);
            else
                MoveRow(FMoveIndex, FMovePos);
            UpdateDesigner();
        }
        UpdateEdit();
        break;
    }
    default:
        UpdateEdit();
        break;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid_ts::CancelMode() {
    try {
        switch (FGridState) {
        case gsSelecting:
            KillTimer(this, AutoScrollTimerId);
            break;
        case gsRowSizing:
        case gsColSizing:
            if (FSizingLineDrawn) {
                TGridDrawInfo DrawInfo;
                CalcDrawInfo(DrawInfo);
                DrawSizingLine(DrawInfo);
            }
            break;
        case gsRowMoving:
        case gsColMoving:
            if (FMoveLineDrawn) DrawMoveLine();
            KillTimer(this, AutoScrollTimerId);
            break;
        default:
            break;
        }
    } catch (...) {
        FGridState = gsNormal;
        throw;
    }
    FGridState = gsNormal;
}

// ---- auto-scroll -----------------------------------------------------------------------------------

void TCustomGrid_ts::WMTimer(TMessage& Message) {
    if (Message.WParam != AutoScrollTimerId) {
        DefaultHandler(Message);
        return;
    }
    if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) return;
    const TPoint P = ScreenToClient(Mouse->CursorPos());
    TGridDrawInfo DrawInfo;
    CalcDrawInfo(DrawInfo);
    const TGridCoord Cell = CalcCoordFromPoint(P.X, P.Y, DrawInfo);
    switch (FGridState) {
    case gsSelecting: {
        TGridScrollDirections Direction;
        const int W = ClientWidth();
        if (UseRightToLeftAlignment()) {
            if (P.X < W - DrawInfo.Horz.FullVisBoundary) Direction << sdRight;
            if (P.X > W - DrawInfo.Horz.FixedBoundary) Direction << sdLeft;
        } else {
            if (P.X < DrawInfo.Horz.FixedBoundary) Direction << sdLeft;
            if (P.X > DrawInfo.Horz.FullVisBoundary) Direction << sdRight;
        }
        if (P.Y < DrawInfo.Vert.FixedBoundary) Direction << sdUp;
        if (P.Y > DrawInfo.Vert.FullVisBoundary) Direction << sdDown;
        if (!Direction.Empty()) TimedScroll(Direction);
        break;
    }
    case gsRowMoving:
        MoveAndScroll(P.Y, Cell.Y, DrawInfo, DrawInfo.Vert, SB_VERT, P);
        break;
    case gsColMoving:
        MoveAndScroll(P.X, Cell.X, DrawInfo, DrawInfo.Horz, SB_HORZ, P);
        break;
    default:
        break;
    }
}

void TCustomGrid_ts::TimedScroll(TGridScrollDirections Direction) {
    TGridCoord NewAnchor = FAnchor;
    if (Direction.Contains(sdLeft) && FAnchor.X > FFixedCols) --NewAnchor.X;
    if (Direction.Contains(sdRight) && FAnchor.X < FColCount - 1) ++NewAnchor.X;
    if (Direction.Contains(sdUp) && FAnchor.Y > FFixedRows) --NewAnchor.Y;
    if (Direction.Contains(sdDown) && FAnchor.Y < FRowCount - 1) ++NewAnchor.Y;
    if (NewAnchor != FAnchor) MoveAnchor(NewAnchor);
}

} // namespace grid
