// The events the base grid raises itself, each through one relay a derived
// grid may intercept. Some stay silent while the grid is being loaded.
#include "grid/model/BaseGrid.h"

namespace grid {

void TgxBaseGrid::DoPaint() {
    if (OnPaint) OnPaint(this);
}

void TgxBaseGrid::DoResize() {
    if (OnResize && CanActivateEvent()) OnResize(this);
}

void TgxBaseGrid::DoHeadingDown(int DataCol) {
    if (OnHeadingDown) OnHeadingDown(this, DataCol);
}

void TgxBaseGrid::DoHeadingUp(int DataCol) {
    if (OnHeadingUp) OnHeadingUp(this, DataCol);
}

void TgxBaseGrid::DoHeadingClick(int DataCol) {
    if (OnHeadingClick) OnHeadingClick(this, DataCol);
}

void TgxBaseGrid::DoColMoved(int ToDisplayCol, int Count, bool ByUser) {
    if (OnColMoved && CanActivateEvent()) OnColMoved(this, ToDisplayCol, Count, ByUser);
}

void TgxBaseGrid::DoRowMoved(int ToDisplayRow, int Count, bool ByUser) {
    if (OnRowMoved && CanActivateEvent()) OnRowMoved(this, ToDisplayRow, Count, ByUser);
}

void TgxBaseGrid::DoColChanged(int OldCol) {
    if (OnColChanged && CanActivateEvent()) OnColChanged(this, OldCol, GetDataColnr(Col()));
}

void TgxBaseGrid::DoSelectChanged(TgxSelectType SelectType, bool ByUser) {
    if (OnSelectChanged && CanActivateEvent()) OnSelectChanged(this, SelectType, ByUser);
}

void TgxBaseGrid::DoColCountChanged(int OldCount, int NewCount) {
    if (OnColCountChanged && CanActivateEvent()) OnColCountChanged(this, OldCount, NewCount);
}

void TgxBaseGrid::DoRowCountChanged(int OldCount, int NewCount) {
    if (OnRowCountChanged && CanActivateEvent()) OnRowCountChanged(this, OldCount, NewCount);
}

void TgxBaseGrid::DoColResized(int DataCol) {
    if (OnColResized && CanActivateEvent()) OnColResized(this, DataCol);
}

void TgxBaseGrid::DoRowResized(int DataRow) {
    if (OnRowResized && CanActivateEvent()) OnRowResized(this, DataRow);
}

bool TgxBaseGrid::DoCanStartDrag() {
    bool CanDrag = true;
    if (OnCanStartDrag) OnCanStartDrag(this, CanDrag);
    return CanDrag;
}

void TgxBaseGrid::DoMouseStatusChanged(TgxMouseStatus OldStatus, TgxMouseStatus NewStatus) {
    if (OnMouseStatusChanged) OnMouseStatusChanged(this, OldStatus, NewStatus);
}

void TgxBaseGrid::DoGridStatusChanged(TgxGridStatus OldStatus, TgxGridStatus NewStatus) {
    if (OnGridStatusChanged) OnGridStatusChanged(this, OldStatus, NewStatus);
}

void TgxBaseGrid::DoEditTextResized(bool ByUser) {
    if (OnEditTextResized) OnEditTextResized(this, ByUser);
}

void TgxBaseGrid::DoDeleteCol(int DataCol, bool ByUser) {
    if (OnDeleteCol && CanActivateEvent()) OnDeleteCol(this, DataCol, ByUser);
}

void TgxBaseGrid::DoInsertCol(int DataCol, bool ByUser) {
    if (OnInsertCol && CanActivateEvent()) OnInsertCol(this, DataCol, ByUser);
}

void TgxBaseGrid::DoComboCompareValue(const AnsiString& ComboString,
                                      const AnsiString& CurrentCellString, int& CompareRes) {
    if (OnComboCompareValue) OnComboCompareValue(this, ComboString, CurrentCellString, CompareRes);
}

void TgxBaseGrid::DoComboLCompareValue(const AnsiString& ComboString,
                                       const AnsiString& CurrentCellString, int Len,
                                       int& CompareRes) {
    if (OnComboLCompareValue)
        OnComboLCompareValue(this, ComboString, CurrentCellString, Len, CompareRes);
}

void TgxBaseGrid::DoKeyDown(Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TgxBaseGrid::DoKeyUp(Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TgxBaseGrid::DoKeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TgxBaseGrid::CheckRowCountChanged(int OldCount, int NewCount) {
    if (OldCount != NewCount) DoRowCountChanged(OldCount, NewCount);
}

} // namespace grid
