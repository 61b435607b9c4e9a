#include "platform/gui/Grids.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>

TStringGrid::TStringGrid(TComponent* AOwner)
    : TCustomControl(AOwner), FColWidths(FColCount, FDefaultColWidth),
      FRowHeights(FRowCount, FDefaultRowHeight), FCells(FColCount * FRowCount) {
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    SetBounds(Left(), Top(), 320, 120);
}

void TStringGrid::CheckCell(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount)
        throw EInvalidOperation(Format("Grid index out of range: column %d, row %d", ACol, ARow));
}

void TStringGrid::SetColCount(int Value) {
    if (Value < 1) throw EInvalidOperation(Format("Invalid column count: %d", Value));
    if (Value == FColCount) return;
    std::vector<AnsiString> Cells(static_cast<size_t>(Value) * FRowCount);
    for (int R = 0; R < FRowCount; ++R)
        for (int C = 0; C < std::min(Value, FColCount); ++C)
            Cells[R * Value + C] = std::move(FCells[R * FColCount + C]);
    FCells = std::move(Cells);
    FColWidths.resize(Value, FDefaultColWidth);
    FColCount = Value;
    FFixedCols = std::min(FFixedCols, Value - 1);
    FCol = std::min(FCol, Value - 1);
    Resized();
}

void TStringGrid::SetRowCount(int Value) {
    if (Value < 1) throw EInvalidOperation(Format("Invalid row count: %d", Value));
    if (Value == FRowCount) return;
    FCells.resize(static_cast<size_t>(Value) * FColCount);
    FRowHeights.resize(Value, FDefaultRowHeight);
    FRowCount = Value;
    FFixedRows = std::min(FFixedRows, Value - 1);
    FRow = std::min(FRow, Value - 1);
    Resized();
}

void TStringGrid::SetFixedCols(int Value) {
    if (Value < 0 || Value >= FColCount)
        throw EInvalidOperation(
            Format("Fixed column count must be less than column count: %d", Value));
    FFixedCols = Value;
    FCol = std::max(FCol, Value);
    Resized();
}

void TStringGrid::SetFixedRows(int Value) {
    if (Value < 0 || Value >= FRowCount)
        throw EInvalidOperation(Format("Fixed row count must be less than row count: %d", Value));
    FFixedRows = Value;
    FRow = std::max(FRow, Value);
    Resized();
}

void TStringGrid::SetDefaultColWidth(int Value) {
    FDefaultColWidth = Value;
    std::fill(FColWidths.begin(), FColWidths.end(), Value);
    Resized();
}

void TStringGrid::SetDefaultRowHeight(int Value) {
    FDefaultRowHeight = Value;
    std::fill(FRowHeights.begin(), FRowHeights.end(), Value);
    Resized();
}

int TStringGrid::ColWidths(int Index) const {
    CheckCell(Index, 0);
    return FColWidths[Index];
}

void TStringGrid::SetColWidths(int Index, int Value) {
    CheckCell(Index, 0);
    FColWidths[Index] = Value;
    Resized();
}

int TStringGrid::RowHeights(int Index) const {
    CheckCell(0, Index);
    return FRowHeights[Index];
}

void TStringGrid::SetRowHeights(int Index, int Value) {
    CheckCell(0, Index);
    FRowHeights[Index] = Value;
    Resized();
}

void TStringGrid::SetGridLineWidth(int Value) {
    FGridLineWidth = std::max(0, Value);
    Resized();
}

AnsiString TStringGrid::Cells(int ACol, int ARow) const {
    CheckCell(ACol, ARow);
    return FCells[ARow * FColCount + ACol];
}

void TStringGrid::SetCells(int ACol, int ARow, const AnsiString& Value) {
    CheckCell(ACol, ARow);
    AnsiString& Cell = FCells[ARow * FColCount + ACol];
    if (Cell == Value) return;
    Cell = Value;
    Invalidate();
}

void TStringGrid::SetCol(int Value) {
    CheckCell(Value, FRow);
    FCol = Value;
    Invalidate();
}

void TStringGrid::SetRow(int Value) {
    CheckCell(FCol, Value);
    FRow = Value;
    Invalidate();
}

void TStringGrid::SetDefaultDrawing(bool Value) {
    FDefaultDrawing = Value;
    Invalidate();
}

void TStringGrid::Resized() {
    Invalidate();
}

TRect TStringGrid::CellRect(int ACol, int ARow) const {
    CheckCell(ACol, ARow);
    int X = 0;
    for (int C = 0; C < ACol; ++C)
        X += FColWidths[C] + FGridLineWidth;
    int Y = 0;
    for (int R = 0; R < ARow; ++R)
        Y += FRowHeights[R] + FGridLineWidth;
    return Rect(X, Y, X + FColWidths[ACol], Y + FRowHeights[ARow]);
}

void TStringGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    ACol = -1;
    ARow = -1;
    if (X < 0 || Y < 0) return;
    int Right = 0;
    for (int C = 0; C < FColCount; ++C) {
        Right += FColWidths[C] + FGridLineWidth;
        if (X < Right) {
            ACol = C;
            break;
        }
    }
    int Bottom = 0;
    for (int R = 0; R < FRowCount; ++R) {
        Bottom += FRowHeights[R] + FGridLineWidth;
        if (Y < Bottom) {
            ARow = R;
            break;
        }
    }
    if (ACol < 0 || ARow < 0) ACol = ARow = -1;
}

void TStringGrid::Paint() {
    TCanvas* C = Canvas();
    // The lines between cells show the background through the gaps.
    C->Brush()->SetColor(FGridLineWidth > 0 ? clSilver : Color());
    C->FillRect(ClientRect());
    for (int R = 0; R < FRowCount; ++R)
        for (int Col = 0; Col < FColCount; ++Col) {
            TGridDrawState State;
            if (Col < FFixedCols || R < FFixedRows) State << gdFixed;
            if (Col == FCol && R == FRow) State << gdSelected << gdFocused;
            DrawCell(Col, R, CellRect(Col, R), State);
        }
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    TCanvas* C = Canvas();
    if (FDefaultDrawing) {
        const bool Fixed = AState.Contains(gdFixed);
        const bool Selected = !Fixed && AState.Contains(gdSelected);
        C->Brush()->SetColor(Fixed ? clBtnFace : Selected ? clHighlight : Color());
        C->FillRect(ARect);
        C->Font()->Assign(Font());
        if (Selected) C->Font()->SetColor(clHighlightText);
        C->Brush()->SetStyle(bsClear);
        C->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
        C->Brush()->SetStyle(bsSolid);
    }
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TStringGrid::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    int C = FCol;
    int R = FRow;
    switch (Key) {
    case VK_LEFT:
        --C;
        break;
    case VK_RIGHT:
        ++C;
        break;
    case VK_UP:
        --R;
        break;
    case VK_DOWN:
        ++R;
        break;
    default:
        return;
    }
    if (C < FFixedCols || C >= FColCount || R < FFixedRows || R >= FRowCount) return;
    FCol = C;
    FRow = R;
    Invalidate();
    Key = 0;
}

void TStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        int C = 0;
        int R = 0;
        MouseToCell(X, Y, C, R);
        if (C >= FFixedCols && R >= FFixedRows) {
            FCol = C;
            FRow = R;
            Invalidate();
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}
