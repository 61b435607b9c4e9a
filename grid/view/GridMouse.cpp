// The grid's mouse: one gesture at a time. A press picks the gesture from
// where it falls (a boundary, the row bar, a heading, the corner, a cell
// button, a cell), moves carry it on, and the release completes it and
// raises the click events. The gesture in progress is the mouse status.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/WindowScroll.h"

namespace grid {

namespace {

bool IsResize(TgxMouseStatus S) {
    return S == msRowResize || S == msColResize || S == msHeadingResize || S == msRowBarResize;
}

bool IsRowResize(TgxMouseStatus S) {
    return S == msRowResize || S == msHeadingResize;
}

// Closes an open list or calendar, unless it is the one of the display cell
// (C, R); with no cell, whatever is open.
void CloseDropDown(TgxBaseGrid& Grid, int C = -1, int R = -1) {
    if (!Grid.DropDownVisible()) return;
    const int DataCol = C > 0 ? Grid.GetDataCol(C) : -1;
    const int DataRow = R > 0 ? Grid.GetDataRow(R) : -1;
    const bool OwnCombo =
        Grid.ComboVisible() && Grid.ComboDataCol() == DataCol && Grid.ComboDataRow() == DataRow;
    const bool OwnDateTime = Grid.DateTimeVisible() && Grid.DateTimeDataCol() == DataCol &&
                             Grid.DateTimeDataRow() == DataRow;
    if (DataCol > 0 && DataRow > 0 && (OwnCombo || OwnDateTime)) return;
    Grid.CheckDropDownOff(true);
}

} // namespace

bool TgxBaseGrid::InResizing() const {
    return IsResize(FMouseStatus);
}

// ---- status ------------------------------------------------------------------------------------

void TgxBaseGrid::SetMouseDownColRow(int DisplayCol, int DisplayRow) {
    FMouseDownCol = DisplayCol;
    FMouseDownRow = DisplayRow;
}

void TgxBaseGrid::SetMouseUpColRow(int DisplayCol, int DisplayRow) {
    FMouseUpCol = DisplayCol;
    FMouseUpRow = DisplayRow;
}

// ---- clicks ------------------------------------------------------------------------------------

TgxClickPosition TgxBaseGrid::ClickPos(int Col, int Row) const {
    if (Col < 0 || Row < 0) return cpNone;
    if (Col == 0 && Row == 0) return cpUpperLeft;
    if (Col == 0) return cpRowBar;
    if (Row == 0) return cpHeading;
    return cpCell;
}

void TgxBaseGrid::ClickCell(int DownCol, int DownRow, int UpCol, int UpRow) {
    DoClickCell(DownCol, Variant(DownRow), UpCol, Variant(UpRow), ClickPos(DownCol, DownRow),
                ClickPos(UpCol, UpRow));
}

void TgxBaseGrid::DblClickCell(int DataCol, int DataRow) {
    DoDblClickCell(DataCol, Variant(DataRow), ClickPos(DataCol, DataRow));
}

bool TgxBaseGrid::InDragArea(int DataCol, int DataRow) {
    const int C = DataCol <= 0 ? DataCol : GetDisplayCol(DataCol);
    const int R = DataRow <= 0 ? DataRow : GetDisplayRow(DataRow);
    if (C < 0 || R < 0 || !IsCellSelected(C, R)) return false;
    // A selected heading or row-bar cell that may be moved starts a move.
    if (R == 0 && FColSelectMode == csMulti && FColMoving && FColSelection.First() >= FixedCols())
        return false;
    if (C == 0 && FRowMoving && FRowSelection.First() >= FixedRows()) return false;
    return true;
}

// ---- press -------------------------------------------------------------------------------------

void TgxBaseGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    int C = -1;
    int R = -1;
    if (Designing()) {
        CellFromXY(X, Y, C, R);
        if (Button == mbLeft && MDSizing(X, Y, R, C))
            MouseDownResize();
        else
            TCustomGrid_ts::MouseDown(Button, Shift, X, Y);
        return;
    }
    FForwardToControl = false;
    FMouseToControl = false;
    FDblClickDone = false;
    FMouseDownActive = true;
    const bool HadCapture = MouseCapture();
    const bool HadFocus = IsFocused();
    bool FocusFailed = false;
    if (Button == mbLeft || Button == mbRight) {
        FHeadingDownCol = -1;
        FHeadingIsButton = false;
        FHeadingPressed = false;
        if (CanFocus() && !HadFocus) {
            try {
                SetFocus();
            } catch (const Exception&) {
            }
            FocusFailed = !IsFocused();
        }
    }
    bool TimerRan = false;
    if (!(FocusFailed && FCheckMouseFocus)) {
        TimerRan = StopTimer(FButtonTimer);
        CellFromXY(X, Y, C, R);
        try {
            if (Button == mbRight)
                RightPress(Shift, X, Y, C, R);
            else if (Button == mbLeft)
                LeftPress(Shift, X, Y, C, R);
        } catch (...) {
            if (!MouseCapture() && FHeadingDownCol == -1) SetMouseStatus(msNormal);
            throw;
        }
    }
    // A drag the application started from the press ends it: no more events.
    if (Button == mbLeft && Dragging()) {
        FMouseDownActive = false;
        return;
    }
    if (FHeadingDownCol != -1 && FMouseStatus != msHeadingDown) {
        SetMouseStatus(msHeadingDown);
        const TgxColHeadingButton Own = FCols->Item(FHeadingDownCol)->HeadingButton();
        FHeadingIsButton = (FHeadingButton == hbButton && Own == cbGrid) || Own == cbButton;
        FHeadingPressed = true;
        InvalidateGridCell(GetDisplayCol(FHeadingDownCol), 0);
        DoHeadingDown(FHeadingDownCol);
        SetMouseCapture(true);
    }
    if (TimerRan && !MouseCapture()) StartButtonTimer();
    if (FForwardToControl) {
        FMouseDownActive = false;
        SetMouseCapture(false);
        MouseMessageToControl(HadCapture && HadFocus);
        return;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TgxBaseGrid::RightPress(TShiftState Shift, int X, int Y, int C, int R) {
    CloseDropDown(*this, C, R);
    if (C < 0 || R < 0 || (C == Col() && R == Row()) || IsCellSelected(C, R)) return;
    if (R == 0 && C > 0)
        MDSelectNone(Shift, X, Row(), C, Y);
    else if (C == 0 && R > 0)
        MDSelectNone(Shift, X, R, Col(), Y);
    else if (C > 0 && R > 0)
        MDSelectNone(Shift, X, R, C, Y);
}

void TgxBaseGrid::LeftPress(TShiftState Shift, int X, int Y, int C, int R) {
    const bool Sizing = MDSizing(X, Y, R, C);
    SetMouseDownColRow(C, R);
    const bool OnButton = DrawButtonDown(X, Y, C, R);
    const bool HeadingClick = R == 0 && C > 0 && CanClickHeading(X, Y, C);
    if (Shift.Contains(ssDouble) && !OnButton && (!HeadingClick || Sizing)) {
        if (Sizing) {
            MouseDownResize();
            FSizingByDblClick = true;
        }
        bool Selected = false;
        if (ControlDisplayed() && C == Col() && R == Row()) {
            // The in-place control over the current cell takes the double-click.
            FMouseToControl = true;
            FMouseToControlDouble = true;
            FMouseToControlPos = Point(X, Y);
            FForwardToControl = true;
        } else if (!FSizingByDblClick) {
            DblClick();
            DblClickCell(C < 0 ? -1 : GetDataCol(C), R < 0 ? -1 : GetDataRow(R));
            Selected = DblClickSelectNone(Shift, X, R, C, Y);
        }
        FDblClickDone = !Selected;
        return;
    }
    if (!Sizing) ResetButton();
    if (Sizing) {
        CloseDropDown(*this);
        MouseDownResize();
    } else if (C < 0 || R < 0) {
        CloseDropDown(*this);
    } else {
        if (InDragArea(C <= 0 ? C : GetDataCol(C), R <= 0 ? R : GetDataRow(R)) &&
            Shift.Contains(ssLeft) && !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl)) {
            // The application may start dragging the control from here.
            CloseDropDown(*this);
            DoCanStartDrag();
            if (Dragging()) {
                FMouseDownActive = false;
                return;
            }
        }
        const bool InEditModes =
            FGridMode == gmEdit || FGridMode == gmEditInsert || FGridMode == gmBrowse;
        if (C > 0 && R > 0 && InEditModes && FCellSelectMode == cmRange &&
            X < CalcColOffset(C) + 3) {
            CloseDropDown(*this);
            MDRangeSelecting(Shift, X, R, C, Y);
        } else if (C <= 0 && R > 0) {
            CloseDropDown(*this);
            MDRowSelect(Shift, X, R, C, Y);
        } else if (C > 0 && R <= 0) {
            CloseDropDown(*this);
            if (HeadingClick && !Shift.Contains(ssShift) && !Shift.Contains(ssAlt) &&
                !Shift.Contains(ssCtrl))
                FHeadingDownCol = GetDataCol(C);
            else if (FMouseStatus != msHeadingDown)
                MDColSelect(Shift, X, R, C, Y);
        } else if (C <= 0 && R <= 0) {
            CloseDropDown(*this);
            MDSelectAll(true);
        } else if (OnButton) {
            CloseDropDown(*this, C, R);
            MDButtonDown(Shift, X, Y, C, R);
        } else {
            CloseDropDown(*this, C, R);
            MDSelectNone(Shift, X, R, C, Y);
        }
    }
    CheckRowSelection(false);
    GridStatusChanged();
    if (!MouseCapture() && FHeadingDownCol == -1) SetMouseStatus(msNormal);
}

// ---- move --------------------------------------------------------------------------------------

void TgxBaseGrid::MouseMoveHeadingDown(int X, int Y, int DisplayCol, int DisplayRow) {
    const int Held = GetDisplayCol(FHeadingDownCol);
    const bool OnHeading = DisplayCol == Held && DisplayRow == 0 && Y > 0;
    const bool OnButton = !FHeadingIsButton || MouseOverHeadingButton(X, Y, Held);
    if (FHeadingPressed) {
        if (!OnHeading || !OnButton) {
            FHeadingPressed = false;
            InvalidateGridCell(Held, 0);
        }
    } else if (OnHeading && OnButton) {
        FHeadingPressed = true;
        InvalidateGridCell(Held, 0);
    }
}

void TgxBaseGrid::MouseMove(TShiftState Shift, int X, int Y) {
    if ((Designing() && FMouseStatus == msNormal) || FInMouseMove) {
        TCustomGrid_ts::MouseMove(Shift, X, Y);
        return;
    }
    struct TReentry {
        bool& Flag;
        ~TReentry() { Flag = false; }
    } Reentry{FInMouseMove};
    FInMouseMove = true;
    int C = -1;
    int R = -1;
    ColRowFromXY(X, Y, C, R);
    if (Shift.Contains(ssLeft) && !FDblClickDone) {
        switch (FMouseStatus) {
        case msRowSelect:
            MouseMoveRowSelecting(X, Y, C, R);
            break;
        case msColSelect:
            MouseMoveColSelecting(X, Y, C, R);
            break;
        case msCellSelect: {
            int NewX = X;
            int NewY = Y;
            MouseMoveSetPosition(X, Y, C, R, NewX, NewY);
            MouseMoveRangeSelecting(NewX, NewY, C, R);
            break;
        }
        case msRowResize:
        case msHeadingResize:
        case msColResize:
        case msRowBarResize:
            if (FMouseSizingLineDrawn) DrawSizingLine();
            FSizingLinePos = (IsRowResize(FMouseStatus) ? Y : X) + FSizingOffset;
            DrawSizingLine();
            break;
        case msRowMove:
            MouseMoveRowMoving(X, Y, C, R);
            break;
        case msColMove:
            MouseMoveColMoving(X, Y, C, R);
            break;
        case msButtonDown:
            MouseMoveButtonDown(X, Y, C, R);
            break;
        case msHeadingDown: {
            int HC = -1;
            int HR = -1;
            CellFromXY(X, Y, HC, HR);
            MouseMoveHeadingDown(X, Y, HC, HR);
            break;
        }
        default:
            break;
        }
        if (!MouseCapture()) SetMouseStatus(msNormal);
    } else if (Shift.Contains(ssRight) && FMouseStatus == msHeadingDown) {
        int HC = -1;
        int HR = -1;
        CellFromXY(X, Y, HC, HR);
        MouseMoveHeadingDown(X, Y, HC, HR);
    } else if (!Shift.Contains(ssLeft) && !Shift.Contains(ssRight) && !Shift.Contains(ssMiddle) &&
               !FDblClickDone) {
        int HC = -1;
        int HR = -1;
        CellFromXY(X, Y, HC, HR);
        MouseMoveDrawButton(X, Y, HC, HR);
        if (!MouseCapture()) SetMouseStatus(msNormal);
    }
    TCustomGrid_ts::MouseMove(Shift, X, Y);
}

// ---- release -----------------------------------------------------------------------------------

void TgxBaseGrid::MUHeadingUp(TMouseButton Button) {
    (void)Button;
    const int DataCol = FHeadingDownCol;
    const bool WasPressed = FHeadingPressed;
    FHeadingDownCol = -1;
    FHeadingIsButton = false;
    if (DataCol < 0) return;
    if (WasPressed) {
        FHeadingPressed = false;
        InvalidateGridCell(GetDisplayCol(DataCol), 0);
    }
    if (MouseCapture()) SetMouseCapture(false);
    DoHeadingUp(DataCol);
    // A release away from the heading is no click on it.
    if (WasPressed) DoHeadingClick(DataCol);
}

void TgxBaseGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if ((Designing() && FMouseStatus == msNormal) || Dragging()) {
        TCustomGrid_ts::MouseUp(Button, Shift, X, Y);
        return;
    }
    StopTimer(FButtonTimer);
    if (Button == mbLeft) {
        int C = -1;
        int R = -1;
        CellFromXY(X, Y, C, R);
        SetMouseUpColRow(C, R);
        const TgxMouseStatus Status = FMouseStatus;
        const TgxSpinButton Part = FDownSpinPart;
        const bool OverPressed = FDownButtonCol >= 0 && C == FDownButtonCol &&
                                 R == FDownButtonRow && MouseOverButton(X, Y, C, R);
        try {
            EndGesture(Status, true, X, Y, Button);
        } catch (...) {
            SetMouseStatus(msNormal);
            throw;
        }
        SetMouseStatus(msNormal);
        if (IsResize(Status)) Update();
        GridStatusChanged();
        if (!EditorMode()) RedisplayControl();
        if (!FDblClickDone) {
            if (Status == msButtonDown) {
                const int DataCol = GetDataCol(Col());
                const int DataRow = GetDataRow(Row());
                TgxDropDownStyle Style = ddDropDown;
                const TgxButtonType Type = GiveCellButton(DataCol, DataRow, Style);
                const bool Spin = Type == btVertSpin || Type == btHorzSpin;
                if (OverPressed || Type == btCombo || Type == btDateTimeDropDown ||
                    Type == btDateTimePopup) {
                    if (!Spin) {
                        ButtonClick(DataCol, DataRow);
                        if (Type == btDateTimePopup) {
                            ResetButton();
                            DateTimeButtonDown(DataCol, DataRow);
                        }
                    } else if (Part != spbNone)
                        SpinButtonClick(DataCol, DataRow, Part);
                }
                if (Spin)
                    SpinButtonUp(DataCol, DataRow, Part);
                else
                    ButtonUp(DataCol, DataRow);
            } else if (!IsResize(Status) && Status != msRowMove && Status != msColMove &&
                       (FMouseDownActive || IsFocused())) {
                // No click follows a resize or a move.
                FMouseDownActive = false;
                Click();
                const auto DataColOf = [this](int D) { return D <= 0 ? D : GetDataCol(D); };
                const auto DataRowOf = [this](int D) { return D <= 0 ? D : GetDataRow(D); };
                ClickCell(DataColOf(FMouseDownCol), DataRowOf(FMouseDownRow),
                          DataColOf(FMouseUpCol), DataRowOf(FMouseUpRow));
            }
        }
    }
    FDblClickDone = false;
    FMouseDownActive = false;
    try {
        TCustomGrid_ts::MouseUp(Button, Shift, X, Y);
    } catch (const EInvalidGridOperation& E) {
        if (E.Message != "Grid index out of range") throw;
    }
    if (HandleAllocated() && !MouseCapture()) {
        const TPoint P = ScreenToClient(Mouse->CursorPos());
        int HC = -1;
        int HR = -1;
        CellFromXY(P.X, P.Y, HC, HR);
        MouseMoveDrawButton(P.X, P.Y, HC, HR);
    }
}

void TgxBaseGrid::EndGesture(TgxMouseStatus Status, bool Apply, int X, int Y, TMouseButton Button) {
    switch (Status) {
    case msRowSelect:
        EndRowSelecting(Apply);
        break;
    case msColSelect:
        EndColSelecting(Apply);
        break;
    case msCellSelect:
        EndCellSelecting(Apply);
        break;
    case msRowResize:
    case msHeadingResize:
        MUResizedRow(Y, Apply);
        break;
    case msColResize:
    case msRowBarResize:
        MUResizedCol(X, Apply);
        break;
    case msRowMove:
        EndRowMoving(Apply);
        break;
    case msColMove:
        EndColMoving(Apply);
        break;
    case msButtonDown:
        // A cancelled press leaves the button to the next hover check.
        if (Apply) MUButtonUp(X, Y);
        break;
    case msHeadingDown:
        MUHeadingUp(Button);
        break;
    default:
        break;
    }
}

void TgxBaseGrid::CancelMouseAction() {
    const TgxMouseStatus Status = FMouseStatus;
    try {
        EndGesture(Status, false, 0, 0, mbLeft);
    } catch (...) {
        SetMouseStatus(msNormal);
        throw;
    }
    SetMouseStatus(msNormal);
    if (IsResize(Status)) Update();
    GridStatusChanged();
}

// ---- cursor ------------------------------------------------------------------------------------

TCursor TgxBaseGrid::ShapeCursor(int X, int Y, int DisplayRow, int DisplayCol) {
    if (FMouseStatus == msButtonDown) return crNone;
    if (IsRowResize(FMouseStatus)) return crVSplit;
    if (FMouseStatus == msColResize || FMouseStatus == msRowBarResize) return crHSplit;
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) return crDefault;
    // Only the hit test, not a resize: the sizing fields stay as they were.
    const int Index = FMouseSizingIndex;
    const int Pos = FSizingLinePos;
    const int Offset = FSizingOffset;
    const TgxMouseStatus Zone = GetSizingState(X, Y, DisplayRow, DisplayCol);
    FMouseSizingIndex = Index;
    FSizingLinePos = Pos;
    FSizingOffset = Offset;
    if (IsRowResize(Zone)) return crVSplit;
    if (Zone == msColResize || Zone == msRowBarResize) return crHSplit;
    const int DataCol = DisplayCol <= 0 ? DisplayCol : GetDataCol(DisplayCol);
    const int DataRow = DisplayRow <= 0 ? DisplayRow : GetDataRow(DisplayRow);
    if (FSelectedAreaCursor != crDefault && DisplayCol >= 0 && DisplayRow >= 0 &&
        InDragArea(DataCol, DataRow))
        return FSelectedAreaCursor;
    if (DisplayCol < 0 || DisplayRow < 0) return Cursor();
    const bool AppendRow = InsertionRowShown() && DisplayRow == RowCount() - 1;
    // The selection arrows are offered only where a press would select:
    // frozen lines need SelectFixed.
    if (DisplayCol == 0 && DisplayRow > 0) {
        if (FRowSelectMode == rsNone || AppendRow || !CanSelect(-1, DisplayRow)) return Cursor();
        if (FRowSelection.GetSelected(DisplayRow) && GridStatus() == grRowSelect && FRowMoving &&
            !FixedRowsSelected())
            return Cursor();
        return crGxHorArrowRight;
    }
    if (DisplayRow == 0 && DisplayCol > 0) {
        if (FColSelectMode != csMulti || IsColHeadingButton(DisplayCol) ||
            MouseOverHeadingButton(X, Y, DisplayCol))
            return Cursor();
        if (FColSelection.GetSelected(DisplayCol) && FColMoving && !FixedColsSelected())
            return Cursor();
        return crGxVertArrowDown;
    }
    if (DisplayCol == 0 || DisplayRow == 0) return Cursor();
    const bool EditModes = FGridMode == gmEdit || FGridMode == gmEditInsert;
    if (!AppendRow && (EditModes || FGridMode == gmBrowse) && FCellSelectMode == cmRange &&
        X < CalcColOffset(DisplayCol) + 3 && CanSelect(DisplayCol, DisplayRow))
        return crGxArrowRev;
    if (EditModes && !CellIsReadOnly(DataCol, DataRow)) {
        TgxDropDownStyle Style = ddDropDown;
        const TgxButtonType Type = GiveCellButton(DataCol, DataRow, Style);
        const bool ListStyle =
            (Type == btCombo || Type == btDateTimeDropDown || Type == btDateTimePopup) &&
            Style == ddDropDownList;
        if (!ListStyle) {
            const TgxControlType Control = GiveCellControlType(DataCol, DataRow);
            if (Control == ctText && FAlwaysShowEditor &&
                !MouseOverButton(X, Y, DisplayCol, DisplayRow))
                return crIBeam;
            if (Control != ctText && Control != ctCheck) return crNone;
        }
    }
    return Cursor();
}

void TgxBaseGrid::WMSetCursor(TMessage& Message) {
    const bool Client = LoWord(static_cast<std::uintptr_t>(Message.LParam)) == HTCLIENT;
    int C = -1;
    int R = -1;
    if (Designing() && Client) {
        // The status follows the border under the mouse, so that the
        // designer's hit test and a press that follows size the grid; a
        // resize under way holds the mouse and keeps its status until the
        // release, wherever the mouse goes meanwhile.
        if (!(MouseCapture() && IsResize(FMouseStatus))) {
            CellFromXY(FHitTest.X, FHitTest.Y, C, R);
            FMouseStatus = GetSizingState(FHitTest.X, FHitTest.Y, R, C);
        }
        const bool ColBorder = FMouseStatus == msColResize || FMouseStatus == msRowBarResize;
        SetWindowCursor(this, IsRowResize(FMouseStatus) ? crVSplit
                              : ColBorder               ? crHSplit
                                                        : crArrow);
        Message.Result = 1;
        return;
    }
    if (!Client || Screen->Cursor() != crDefault) {
        TCustomControl::Dispatch(Message);
        return;
    }
    CellFromXY(FHitTest.X, FHitTest.Y, C, R);
    const TCursor Shape = ShapeCursor(FHitTest.X, FHitTest.Y, R, C);
    if (Shape == crNone) {
        TCustomControl::Dispatch(Message);
        return;
    }
    SetWindowCursor(this, Shape);
    Message.Result = 1;
}

// At design time the designer leaves the mouse to the grid where it
// resizes: while a resize runs, and over a border the grid may take.
void TgxBaseGrid::CMDesignHitTest(TMessage& Message) {
    if (IsResize(FMouseStatus)) {
        Message.Result = -1;
        return;
    }
    const int X = SignedLo(static_cast<std::uintptr_t>(Message.LParam));
    const int Y = SignedHi(static_cast<std::uintptr_t>(Message.LParam));
    int C = -1;
    int R = -1;
    CellFromXY(X, Y, C, R);
    Message.Result = GetSizingState(X, Y, R, C) != msNormal ? -1 : 0;
}

} // namespace grid
