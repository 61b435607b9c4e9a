// The events of cell buttons and cell clicks: the base grid's relays do
// nothing (a derived grid may take them); the custom grid raises the
// published events.
#include "grid/model/GxGrid.h"

namespace grid {

void TgxBaseGrid::DoButtonClick(int, const Variant&) {}
void TgxBaseGrid::DoButtonDown(int, const Variant&) {}
void TgxBaseGrid::DoButtonUp(int, const Variant&) {}
void TgxBaseGrid::DoSpinButtonClick(int, const Variant&, TgxSpinButton) {}
void TgxBaseGrid::DoSpinButtonDown(int, const Variant&, TgxSpinButton) {}
void TgxBaseGrid::DoSpinButtonUp(int, const Variant&, TgxSpinButton) {}
void TgxBaseGrid::DoSpinRepeat(int, const Variant&, int, TgxSpinButton) {}

bool TgxBaseGrid::DoClickCell(int, const Variant&, int, const Variant&, TgxClickPosition,
                              TgxClickPosition) {
    return false;
}

void TgxBaseGrid::DoDblClickCell(int, const Variant&, TgxClickPosition) {}

void TgxCustomGrid::DoButtonClick(int DataCol, const Variant& DataRow) {
    if (OnButtonClick) OnButtonClick(this, DataCol, DataRow);
}

void TgxCustomGrid::DoButtonDown(int DataCol, const Variant& DataRow) {
    if (OnButtonDown) OnButtonDown(this, DataCol, DataRow);
}

void TgxCustomGrid::DoButtonUp(int DataCol, const Variant& DataRow) {
    if (OnButtonUp) OnButtonUp(this, DataCol, DataRow);
}

void TgxCustomGrid::DoSpinButtonClick(int DataCol, const Variant& DataRow,
                                      TgxSpinButton SpinButton) {
    if (OnSpinButtonClick) OnSpinButtonClick(this, DataCol, DataRow, SpinButton);
}

void TgxCustomGrid::DoSpinButtonDown(int DataCol, const Variant& DataRow,
                                     TgxSpinButton SpinButton) {
    if (OnSpinButtonDown) OnSpinButtonDown(this, DataCol, DataRow, SpinButton);
}

void TgxCustomGrid::DoSpinButtonUp(int DataCol, const Variant& DataRow, TgxSpinButton SpinButton) {
    if (OnSpinButtonUp) OnSpinButtonUp(this, DataCol, DataRow, SpinButton);
}

void TgxCustomGrid::DoSpinRepeat(int DataCol, const Variant& DataRow, int Count,
                                 TgxSpinButton SpinButton) {
    if (OnSpinRepeat) OnSpinRepeat(this, DataCol, DataRow, Count, SpinButton);
}

bool TgxCustomGrid::DoClickCell(int DataColDown, const Variant& DataRowDown, int DataColUp,
                                const Variant& DataRowUp, TgxClickPosition DownPos,
                                TgxClickPosition UpPos) {
    if (!OnClickCell) return false;
    OnClickCell(this, DataColDown, DataRowDown, DataColUp, DataRowUp, DownPos, UpPos);
    return true;
}

void TgxCustomGrid::DoDblClickCell(int DataCol, const Variant& DataRow, TgxClickPosition Pos) {
    if (OnDblClickCell) OnDblClickCell(this, DataCol, DataRow, Pos);
}

} // namespace grid
