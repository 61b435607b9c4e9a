#include "grid/foundation/DrawGrid.h"

namespace grid {

void TDrawGrid_ts::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    const TGridCoord Coord = MouseCoord(X, Y);
    ACol = Coord.X;
    ARow = Coord.Y;
}

void TDrawGrid_ts::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (!OnDrawCell) return;
    TCanvas* C = Canvas();
    const int Mirror = C->MirrorWidth();
    if (!UseRightToLeftAlignment() || Mirror == 0) {
        OnDrawCell(this, ACol, ARow, ARect, AState);
        return;
    }
    const TRect Screen = Rect(Mirror - ARect.Right, ARect.Top, Mirror - ARect.Left, ARect.Bottom);
    C->SetMirrorWidth(0);
    try {
        OnDrawCell(this, ACol, ARow, Screen, AState);
    } catch (...) {
        C->SetMirrorWidth(Mirror);
        throw;
    }
    C->SetMirrorWidth(Mirror);
}

AnsiString TDrawGrid_ts::GetEditMask(int ACol, int ARow) {
    AnsiString Result;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, Result);
    return Result;
}

AnsiString TDrawGrid_ts::GetEditText(int ACol, int ARow) {
    AnsiString Result;
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, Result);
    return Result;
}

void TDrawGrid_ts::SetEditText(int ACol, int ARow, const AnsiString& Value) {
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

bool TDrawGrid_ts::SelectCell(int ACol, int ARow) {
    bool Result = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, Result);
    return Result;
}

void TDrawGrid_ts::ColumnMoved(int FromIndex, int ToIndex) {
    if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid_ts::RowMoved(int FromIndex, int ToIndex) {
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

} // namespace grid
