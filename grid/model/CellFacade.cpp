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
    // The other cell's own list is copied into this cell's own.
    SetCombo(From->GetCombo());
    SetParentFont(From->ParentFont());
    if (!From->ParentFont()) SetFont(From->Font());
}

// ---- the design row ---------------------------------------------------------------------

// Each accessor reads or writes the grid's row accessor of the same name.
#define GX_DESIGN_ROW_PROPERTY(Type, Name, Getter, Setter)                                         \
    Type TgxDesignRow::Name() const {                                                              \
        return FGrid->Getter(FDataRow);                                                            \
    }                                                                                              \
    void TgxDesignRow::Set##Name(Type Value) {                                                     \
        FGrid->Setter(FDataRow, Value);                                                            \
    }

GX_DESIGN_ROW_PROPERTY(TgxButtonType, ButtonType, GetRowButtonType, SetRowButtonType)
GX_DESIGN_ROW_PROPERTY(TColor, Color, GetRowColor, SetRowColor)
GX_DESIGN_ROW_PROPERTY(TgxControlType, ControlType, GetRowControlType, SetRowControlType)
GX_DESIGN_ROW_PROPERTY(TgxDateTimeDefComponent*, DateTimeDef, GetRowDateTimeDef, SetRowDateTimeDef)
GX_DESIGN_ROW_PROPERTY(int, DisplayRow, GetDisplayRow, SetDisplayRownr)
GX_DESIGN_ROW_PROPERTY(TgxDropDownStyle, DropDownStyle, GetRowDropDownStyle, SetRowDropDownStyle)
GX_DESIGN_ROW_PROPERTY(TFont*, Font, GetRowFont, SetRowFont)
GX_DESIGN_ROW_PROPERTY(int, Height, GetRowHeight, SetRowHeight)
GX_DESIGN_ROW_PROPERTY(TgxHorzAlignment, HorzAlignment, GetRowHorzAlignment, SetRowHorzAlignment)
GX_DESIGN_ROW_PROPERTY(bool, Is3D, GetRowIs3D, SetRowIs3D)
GX_DESIGN_ROW_PROPERTY(bool, ParentCombo, GetRowParentCombo, SetRowParentCombo)
GX_DESIGN_ROW_PROPERTY(bool, ParentFont, GetRowParentFont, SetRowParentFont)
GX_DESIGN_ROW_PROPERTY(bool, ReadOnly, GetRowReadOnly, SetRowReadOnly)
GX_DESIGN_ROW_PROPERTY(TgxSpinOptions, SpinOptions, GetRowSpinOptions, SetRowSpinOptions)
GX_DESIGN_ROW_PROPERTY(double, SpinIncrement, GetRowSpinIncrement, SetRowSpinIncrement)
GX_DESIGN_ROW_PROPERTY(TgxVertAlignment, VertAlignment, GetRowVertAlignment, SetRowVertAlignment)
GX_DESIGN_ROW_PROPERTY(bool, Visible, GetRowVisible, SetRowVisible)
GX_DESIGN_ROW_PROPERTY(TgxWordWrap, WordWrap, GetRowWordWrap, SetRowWordWrap)
GX_DESIGN_ROW_PROPERTY(TAlignment, Alignment, GetRowAlignment, SetRowAlignment)
GX_DESIGN_ROW_PROPERTY(bool, Align, GetRowAlign, SetRowAlign)
GX_DESIGN_ROW_PROPERTY(bool, Changed, GetRowChanged, SetRowChanged)
GX_DESIGN_ROW_PROPERTY(bool, Selected, GetRowSelected, SetRowSelected)
GX_DESIGN_ROW_PROPERTY(bool, AutoCreateFont, GetRowAutoCreateFont, SetRowAutoCreateFont)

#undef GX_DESIGN_ROW_PROPERTY

AnsiString TgxDesignRow::MaskName() const {
    return FGrid->GetRowMaskName(FDataRow);
}
void TgxDesignRow::SetMaskName(const AnsiString& Value) {
    FGrid->SetRowMaskName(FDataRow, Value);
}
TgxCombo* TgxDesignRow::GetCombo() const {
    return FGrid->GetRowCombo(FDataRow);
}
void TgxDesignRow::SetCombo(TgxCombo* Value) {
    FGrid->SetRowCombo(FDataRow, Value);
}
void TgxDesignRow::AssignCombo() {
    FGrid->AssignRowCombo(FDataRow);
}
int TgxDesignRow::Id() const {
    return FGrid->GetRowId(FDataRow);
}
TgxDrawOption TgxDesignRow::Picture(int Index) const {
    return FGrid->GetRowPicture(FDataRow, Index);
}
void TgxDesignRow::SetPicture(int Index, TgxDrawOption Value) {
    FGrid->SetRowPicture(FDataRow, Index, Value);
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
