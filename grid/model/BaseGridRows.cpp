// Columns and rows of the grid: the column and row getters, the row
// property accessors and the per-row state (changed, selected, identity).
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Rows.h"

namespace grid {

TgxCol* TgxBaseGrid::GetCol(const Variant& Col) const {
    if (Col.Type() == varString || Col.Type() == varOleStr) {
        TgxCol* Found = FCols->FindCol(Col.AsString());
        if (!Found) CheckRaise("Unknown field name '" + Col.AsString() + "'");
        return Found;
    }
    const int N = Col.AsInteger();
    if (!CheckIndex(itCol, N, GetGridColCount(), 1)) return nullptr;
    return FCols->Item(N);
}

TgxRow* TgxBaseGrid::GetRow(int DataRow) const {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 0)) return nullptr;
    return FRows->Item(DataRow);
}

template <class T, class Setter>
void TgxBaseGrid::SetRowProperty(int DataRow, const T& Value, const T& Default, Setter Set) {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return;
    if (Value == Default && !FRows->Item(DataRow)) return;
    Set(*FRows->CreateDataRow(DataRow));
    FRows->CheckRemoveDataRow(DataRow);
}

template <class Getter> auto TgxBaseGrid::GetRowProperty(int DataRow, Getter Get) const {
    // A bad index (with the check switch off) answers as a row without settings.
    const TgxRow* Row =
        CheckIndex(itRow, DataRow, GetGridRowCount(), 1) ? FRows->Item(DataRow) : nullptr;
    return Get(Row);
}

TColor TgxBaseGrid::GetRowColor(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R ? R->Color() : clNone; });
}

void TgxBaseGrid::SetRowColor(int DataRow, TColor Value) {
    SetRowProperty(DataRow, Value, clNone, [&](TgxRow& R) { R.SetColor(Value); });
}

int TgxBaseGrid::GetRowHeight(int DataRow) const {
    return CheckIndex(itRow, DataRow, GetGridRowCount(), 1) ? FRows->GetRowHeight(DataRow)
                                                           : DefaultRowHeight();
}

void TgxBaseGrid::SetRowHeight(int DataRow, int Value) {
    SetRowProperty(DataRow, Value, DefaultRowHeight(), [&](TgxRow& R) { R.SetHeight(Value); });
}

bool TgxBaseGrid::GetRowVisible(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return !R || R->Visible(); });
}

bool TgxBaseGrid::RowObjectShown(int DataRow) const {
    if (DataRow < 0 || DataRow >= FRows->Count()) return false;
    const TgxRow* Row = FRows->Item(DataRow);
    return !Row || Row->Visible();
}

void TgxBaseGrid::SetRowVisible(int DataRow, bool Value) {
    SetRowProperty(DataRow, Value, true, [&](TgxRow& R) { R.SetVisible(Value); });
}

bool TgxBaseGrid::IsRowVisible(int DataRow) const {
    return DataRow >= 0 && DataRow <= GetGridRowCount() && RowObjectShown(DataRow);
}

TgxHorzAlignment TgxBaseGrid::GetRowHorzAlignment(int DataRow) const {
    return GetRowProperty(DataRow,
                          [](const TgxRow* R) { return R ? R->HorzAlignment() : htaDefault; });
}

void TgxBaseGrid::SetRowHorzAlignment(int DataRow, TgxHorzAlignment Value) {
    SetRowProperty(DataRow, Value, htaDefault, [&](TgxRow& R) { R.SetHorzAlignment(Value); });
}

TgxVertAlignment TgxBaseGrid::GetRowVertAlignment(int DataRow) const {
    return GetRowProperty(DataRow,
                          [](const TgxRow* R) { return R ? R->VertAlignment() : vtaDefault; });
}

void TgxBaseGrid::SetRowVertAlignment(int DataRow, TgxVertAlignment Value) {
    SetRowProperty(DataRow, Value, vtaDefault, [&](TgxRow& R) { R.SetVertAlignment(Value); });
}

TgxWordWrap TgxBaseGrid::GetRowWordWrap(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R ? R->WordWrap() : uiDefault; });
}

void TgxBaseGrid::SetRowWordWrap(int DataRow, TgxWordWrap Value) {
    SetRowProperty(DataRow, Value, uiDefault, [&](TgxRow& R) { R.SetWordWrap(Value); });
}

bool TgxBaseGrid::GetRowReadOnly(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R && R->ReadOnly(); });
}

void TgxBaseGrid::SetRowReadOnly(int DataRow, bool Value) {
    SetRowProperty(DataRow, Value, false, [&](TgxRow& R) { R.SetReadOnly(Value); });
}

bool TgxBaseGrid::IsRowReadOnly(int DataRow) const {
    if (DataRow < 1 || DataRow > GetGridRowCount()) return false;
    const TgxRow* Row = FRows->Item(DataRow);
    return Row && Row->ReadOnly();
}

bool TgxBaseGrid::GetRowIs3D(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R && R->Is3D(); });
}

void TgxBaseGrid::SetRowIs3D(int DataRow, bool Value) {
    SetRowProperty(DataRow, Value, false, [&](TgxRow& R) { R.SetIs3D(Value); });
}

TgxControlType TgxBaseGrid::GetRowControlType(int DataRow) const {
    return GetRowProperty(DataRow,
                          [](const TgxRow* R) { return R ? R->ControlType() : ctDefault; });
}

void TgxBaseGrid::SetRowControlType(int DataRow, TgxControlType Value) {
    SetRowProperty(DataRow, Value, ctDefault, [&](TgxRow& R) { R.SetControlType(Value); });
}

TgxButtonType TgxBaseGrid::GetRowButtonType(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R ? R->ButtonType() : btDefault; });
}

void TgxBaseGrid::SetRowButtonType(int DataRow, TgxButtonType Value) {
    if (FIsComboGrid) return;
    SetRowProperty(DataRow, Value, btDefault, [&](TgxRow& R) { R.SetButtonType(Value); });
}

AnsiString TgxBaseGrid::GetRowMaskName(int DataRow) const {
    return GetRowProperty(DataRow,
                          [](const TgxRow* R) { return R ? R->MaskName() : AnsiString(); });
}

void TgxBaseGrid::SetRowMaskName(int DataRow, const AnsiString& Value) {
    SetRowProperty(DataRow, Value, AnsiString(), [&](TgxRow& R) { R.SetMaskName(Value); });
}

TFont* TgxBaseGrid::GetRowFont(int DataRow) const {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return nullptr;
    TgxRow* Row = FRows->Item(DataRow);
    return Row ? Row->GetFont() : nullptr;
}

void TgxBaseGrid::SetRowFont(int DataRow, TFont* Value) {
    SetRowProperty(DataRow, Value, static_cast<TFont*>(nullptr),
                   [&](TgxRow& R) { R.SetFont(Value); });
}

bool TgxBaseGrid::GetRowParentFont(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return !R || R->ParentFont(); });
}

void TgxBaseGrid::SetRowParentFont(int DataRow, bool Value) {
    SetRowProperty(DataRow, Value, true, [&](TgxRow& R) { R.SetParentFont(Value); });
}

TAlignment TgxBaseGrid::GetRowAlignment(int DataRow) const {
    return GetRowProperty(DataRow,
                          [](const TgxRow* R) { return R ? R->Alignment() : taLeftJustify; });
}

void TgxBaseGrid::SetRowAlignment(int DataRow, TAlignment Value) {
    SetRowProperty(DataRow, Value, taLeftJustify, [&](TgxRow& R) { R.SetAlignment(Value); });
}

bool TgxBaseGrid::GetRowAlign(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R && R->Align(); });
}

void TgxBaseGrid::SetRowAlign(int DataRow, bool Value) {
    SetRowProperty(DataRow, Value, false, [&](TgxRow& R) { R.SetAlign(Value); });
}

TgxDrawOption TgxBaseGrid::GetRowPicture(int DataRow, int Index) const {
    if (Index < 1 || Index > 4) return dopDefault;
    return GetRowProperty(DataRow,
                          [&](const TgxRow* R) { return R ? R->Picture(Index - 1) : dopDefault; });
}

void TgxBaseGrid::SetRowPicture(int DataRow, int Index, TgxDrawOption Value) {
    if (Index < 1 || Index > 4) return;
    SetRowProperty(DataRow, Value, dopDefault, [&](TgxRow& R) { R.SetPicture(Index - 1, Value); });
}

TgxSpinOptions TgxBaseGrid::GetRowSpinOptions(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) {
        return R ? R->SpinOptions() : TgxSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit};
    });
}

void TgxBaseGrid::SetRowSpinOptions(int DataRow, TgxSpinOptions Value) {
    SetRowProperty(DataRow, Value, TgxSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit},
                   [&](TgxRow& R) { R.SetSpinOptions(Value); });
}

double TgxBaseGrid::GetRowSpinIncrement(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R ? R->SpinIncrement() : 1.0; });
}

void TgxBaseGrid::SetRowSpinIncrement(int DataRow, double Value) {
    SetRowProperty(DataRow, Value, 1.0, [&](TgxRow& R) { R.SetSpinIncrement(Value); });
}

TgxDropDownStyle TgxBaseGrid::GetRowDropDownStyle(int DataRow) const {
    return GetRowProperty(DataRow,
                          [](const TgxRow* R) { return R ? R->DropDownStyle() : ddDropDown; });
}

void TgxBaseGrid::SetRowDropDownStyle(int DataRow, TgxDropDownStyle Value) {
    SetRowProperty(DataRow, Value, ddDropDown, [&](TgxRow& R) { R.SetDropDownStyle(Value); });
}

TgxDateTimeDefComponent* TgxBaseGrid::GetRowDateTimeDef(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R ? R->DateTimeDef() : nullptr; });
}

void TgxBaseGrid::SetRowDateTimeDef(int DataRow, TgxDateTimeDefComponent* Value) {
    SetRowProperty(DataRow, Value, static_cast<TgxDateTimeDefComponent*>(nullptr),
                   [&](TgxRow& R) { R.SetDateTimeDef(Value); });
}

bool TgxBaseGrid::GetRowAutoCreateFont(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R && R->AutoCreateFont(); });
}

void TgxBaseGrid::SetRowAutoCreateFont(int DataRow, bool Value) {
    SetRowProperty(DataRow, Value, false, [&](TgxRow& R) { R.SetAutoCreateFont(Value); });
}

void TgxBaseGrid::AssignRowFont(int DataRow) {
    SetRowParentFont(DataRow, false);
}

void TgxBaseGrid::ResetRowFont(int DataRow) {
    SetRowParentFont(DataRow, true);
}

bool TgxBaseGrid::GetRowParentCombo(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return !R || R->ParentCombo(); });
}

void TgxBaseGrid::SetRowParentCombo(int DataRow, bool Value) {
    SetRowProperty(DataRow, Value, true, [&](TgxRow& R) { R.SetParentCombo(Value); });
}

TgxCombo* TgxBaseGrid::GetRowCombo(int DataRow) const {
    return GetRowProperty(DataRow, [](const TgxRow* R) { return R ? R->GetCombo() : nullptr; });
}

void TgxBaseGrid::SetRowCombo(int DataRow, TgxCombo* Value) {
    SetRowProperty(DataRow, Value, static_cast<TgxCombo*>(nullptr),
                   [&](TgxRow& R) { R.SetCombo(Value); });
}

void TgxBaseGrid::AssignRowCombo(int DataRow) {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return;
    FRows->CreateDataRow(DataRow)->AssignCombo();
}

// ---- row state ---------------------------------------------------------------------------

void TgxBaseGrid::SetRowChanged(int DataRow, bool Value) {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return;
    if (FChangedRows.GetBit(DataRow) == Value) return;
    FChangedRows.SetBit(DataRow, Value);
    if (!Value && GetDisplayRow(DataRow) == Row()) CheckInvalidateCell(0, Row());
}

bool TgxBaseGrid::GetRowChanged(int DataRow) const {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return false;
    return FChangedRows.GetBit(DataRow);
}

bool TgxBaseGrid::IsRowChanged(int DataRow) const {
    return DataRow >= 1 && DataRow < FChangedRows.Size() && DataRow <= GetGridRowCount() &&
           FChangedRows.GetBit(DataRow);
}

void TgxBaseGrid::SetRowSelected(int DataRow, bool Value) {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return;
    const int D = GetDisplayRow(DataRow);
    if (FRowSelection.GetSelected(D) == Value) return;
    SelectRows(D, D, Value);
}

bool TgxBaseGrid::GetRowSelected(int DataRow) const {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return false;
    return FRowSelection.GetSelected(GetDisplayRow(DataRow));
}

bool TgxBaseGrid::IsRowSelected(int DataRow) const {
    return DataRow >= 1 && DataRow <= GetGridRowCount() &&
           FRowSelection.GetSelected(GetDisplayRow(DataRow));
}

int TgxBaseGrid::GetRowId(int DataRow) const {
    if (!CheckIndex(itRow, DataRow, GetGridRowCount(), 1)) return -1;
    return FRows->GetRowId(DataRow);
}

int TgxBaseGrid::GetIdDataRow(int Id) const {
    return FRows->FindId(Id);
}

int TgxBaseGrid::GetIDDataCol(int Id) const {
    for (int C = 1; C <= GetGridColCount(); ++C)
        if (FCols->Item(C)->Id() == Id) return C;
    return -1;
}

} // namespace grid
