#include "grid/model/CellFacade.h"

#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/Rows.h"

namespace grid {

TColor TgxCell::Color() const {
    return FGrid->GetCellColor(FDataCol, FDataRow);
}
void TgxCell::SetColor(TColor Value) {
    FGrid->SetCellColor(FDataCol, FDataRow, Value);
}
TgxControlType TgxCell::ControlType() const {
    return FGrid->GetCellControlType(FDataCol, FDataRow);
}
void TgxCell::SetControlType(TgxControlType Value) {
    FGrid->SetCellControlType(FDataCol, FDataRow, Value);
}
TgxSpinOptions TgxCell::SpinOptions() const {
    return FGrid->GetCellSpinOptions(FDataCol, FDataRow);
}
void TgxCell::SetSpinOptions(TgxSpinOptions Value) {
    FGrid->SetCellSpinOptions(FDataCol, FDataRow, Value);
}
double TgxCell::SpinIncrement() const {
    return FGrid->GetCellSpinIncrement(FDataCol, FDataRow);
}
void TgxCell::SetSpinIncrement(double Value) {
    FGrid->SetCellSpinIncrement(FDataCol, FDataRow, Value);
}
TFont* TgxCell::Font() const {
    return FGrid->GetCellFont(FDataCol, FDataRow);
}
void TgxCell::SetFont(TFont* Value) {
    FGrid->SetCellFont(FDataCol, FDataRow, Value);
}
bool TgxCell::ParentFont() const {
    return FGrid->GetCellParentFont(FDataCol, FDataRow);
}
void TgxCell::SetParentFont(bool Value) {
    FGrid->SetCellParentFont(FDataCol, FDataRow, Value);
}
TAlignment TgxCell::Alignment() const {
    return FGrid->GetCellAlignment(FDataCol, FDataRow);
}
void TgxCell::SetAlignment(TAlignment Value) {
    FGrid->SetCellAlignment(FDataCol, FDataRow, Value);
}
bool TgxCell::Align() const {
    return FGrid->GetCellAlign(FDataCol, FDataRow);
}
void TgxCell::SetAlign(bool Value) {
    FGrid->SetCellAlign(FDataCol, FDataRow, Value);
}
TgxHorzAlignment TgxCell::HorzAlignment() const {
    return FGrid->GetCellHorzAlignment(FDataCol, FDataRow);
}
void TgxCell::SetHorzAlignment(TgxHorzAlignment Value) {
    FGrid->SetCellHorzAlignment(FDataCol, FDataRow, Value);
}
TgxVertAlignment TgxCell::VertAlignment() const {
    return FGrid->GetCellVertAlignment(FDataCol, FDataRow);
}
void TgxCell::SetVertAlignment(TgxVertAlignment Value) {
    FGrid->SetCellVertAlignment(FDataCol, FDataRow, Value);
}
bool TgxCell::Is3D() const {
    return FGrid->GetCellIs3D(FDataCol, FDataRow);
}
void TgxCell::SetIs3D(bool Value) {
    FGrid->SetCellIs3D(FDataCol, FDataRow, Value);
}
TgxWordWrap TgxCell::WordWrap() const {
    return FGrid->GetCellWordWrap(FDataCol, FDataRow);
}
void TgxCell::SetWordWrap(TgxWordWrap Value) {
    FGrid->SetCellWordWrap(FDataCol, FDataRow, Value);
}
TgxButtonType TgxCell::ButtonType() const {
    return FGrid->GetCellButtonType(FDataCol, FDataRow);
}
void TgxCell::SetButtonType(TgxButtonType Value) {
    FGrid->SetCellButtonType(FDataCol, FDataRow, Value);
}
TgxDropDownStyle TgxCell::DropDownStyle() const {
    return FGrid->GetCellDropDownStyle(FDataCol, FDataRow);
}
void TgxCell::SetDropDownStyle(TgxDropDownStyle Value) {
    FGrid->SetCellDropDownStyle(FDataCol, FDataRow, Value);
}
TgxReadOnly TgxCell::ReadOnly() const {
    return FGrid->IsCellReadOnly(FDataCol, FDataRow);
}
void TgxCell::SetReadOnly(TgxReadOnly Value) {
    FGrid->SetCellReadOnly(FDataCol, FDataRow, Value);
}
AnsiString TgxCell::MaskName() const {
    return FGrid->GetCellMaskName(FDataCol, FDataRow);
}
void TgxCell::SetMaskName(const AnsiString& Value) {
    FGrid->SetCellMaskName(FDataCol, FDataRow, Value);
}
bool TgxCell::ParentCombo() const {
    return FGrid->GetCellParentCombo(FDataCol, FDataRow);
}
void TgxCell::SetParentCombo(bool Value) {
    FGrid->SetCellParentCombo(FDataCol, FDataRow, Value);
}
TgxCombo* TgxCell::GetCombo() const {
    return FGrid->GetCellCombo(FDataCol, FDataRow);
}
void TgxCell::SetCombo(TgxCombo* Value) {
    FGrid->SetCellCombo(FDataCol, FDataRow, Value);
}
void TgxCell::AssignCombo() {
    FGrid->AssignCellCombo(FDataCol, FDataRow);
}
TgxDateTimeDefComponent* TgxCell::DateTimeDef() const {
    return FGrid->GetCellDateTimeDef(FDataCol, FDataRow);
}
void TgxCell::SetDateTimeDef(TgxDateTimeDefComponent* Value) {
    FGrid->SetCellDateTimeDef(FDataCol, FDataRow, Value);
}
TgxDrawOption TgxCell::Picture(int Index) const {
    return FGrid->GetCellPicture(FDataCol, FDataRow, Index);
}
void TgxCell::SetPicture(int Index, TgxDrawOption Value) {
    FGrid->SetCellPicture(FDataCol, FDataRow, Index, Value);
}

bool TgxCell::AutoCreateFont() const {
    if (FGrid->CellProps()->Count() == 0) return false;
    const TgxCellElement* Element = FGrid->CellProps()->Find(FDataCol, FDataRow);
    return Element && Element->AutoCreateFont();
}

void TgxCell::SetAutoCreateFont(bool Value) {
    TgxCustomElement* Element = FGrid->CellProps()->Find(FDataCol, FDataRow);
    FGrid->CellProps()->SetAutoCreateFont(FDataCol, FDataRow, true, Value, Element);
    FGrid->ResetLastCell();
}

void TgxCell::Assign(TPersistent* Source) {
    const auto* From = dynamic_cast<const TgxCell*>(Source);
    if (!From) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(From->Color());
    SetControlType(From->ControlType());
    SetSpinOptions(From->SpinOptions());
    SetSpinIncrement(From->SpinIncrement());
    SetHorzAlignment(From->HorzAlignment());
    SetVertAlignment(From->VertAlignment());
    SetIs3D(From->Is3D());
    SetWordWrap(From->WordWrap());
    SetButtonType(From->ButtonType());
    SetDropDownStyle(From->DropDownStyle());
    SetReadOnly(From->ReadOnly());
    SetMaskName(From->MaskName());
    SetParentCombo(From->ParentCombo());
    for (int I = 1; I <= 4; ++I)
        SetPicture(I, From->Picture(I));
    SetDateTimeDef(From->DateTimeDef());
    SetParentFont(From->ParentFont());
    if (!From->ParentFont()) SetFont(From->Font());
}

void TgxDesignRow::Assign(TPersistent* Source) {
    const auto* From = dynamic_cast<const TgxDesignRow*>(Source);
    if (!From) {
        TPersistent::Assign(Source);
        return;
    }
    TgxGridRows* Rows = FGrid->GridRows();
    TgxRow* Own = FDataRow < Rows->Count() ? Rows->Item(FDataRow) : nullptr;
    TgxRow* Theirs = From->FDataRow < From->FGrid->GridRows()->Count()
                         ? From->FGrid->GridRows()->Item(From->FDataRow)
                         : nullptr;
    if (!Own && !Theirs) return;
    if (Theirs) {
        Rows->CreateDataRow(FDataRow)->Assign(Theirs);
    } else {
        Own->Reset(AllProperties());
    }
    Rows->CheckRemoveDataRow(FDataRow);
}

} // namespace grid
