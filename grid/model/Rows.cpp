#include "grid/model/Rows.h"

#include "grid/foundation/IntLists.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Combo.h"
#include "grid/model/GridGuards.h"
#include "grid/model/GridLinks.h"
#include "grid/model/OwnFont.h"

#include <algorithm>

namespace grid {

TgxRow::TgxRow(TgxBaseGrid* Grid, int DataRow)
    : FGrid(Grid), FDataRow(DataRow), FHeight(Grid->DefaultRowHeight()),
      FSetHeight(Grid->DefaultRowHeight()) {}

TgxRow::~TgxRow() {
    if (FDateTimeDef && FGrid->DateTimeLink()) FGrid->DateTimeLink()->Remove(FDateTimeDef);
    if (FCombo) FGrid->CheckLastUsedCombo(FCombo.get());
    if (FDateTimeDef) FGrid->CheckLastUsedDateTime(FDateTimeDef);
    ResetDropDownInits(FGrid);
}

int TgxRow::GetId() const {
    return FGrid->GridRows()->GetRowId(FDataRow);
}

bool TgxRow::GetChanged() const {
    return FGrid->IsRowChanged(FDataRow);
}

void TgxRow::SetChanged(bool Value) {
    FGrid->SetRowChanged(FDataRow, Value);
}

int TgxRow::GetDisplayRow() const {
    return FGrid->GridRows()->GetDisplayRowNumber(FDataRow);
}

void TgxRow::SetDisplayRow(int DisplayRow) {
    FGrid->SetDisplayRownr(FDataRow, DisplayRow);
}

bool TgxRow::GetFixed() const {
    const int D = GetDisplayRow();
    return D == 0 || D <= std::max(0, FGrid->FixedRows() - 1);
}

void TgxRow::LookChanged(bool Redisplay) {
    const int D = GetDisplayRow();
    if (FGrid->CheckInvalidateRow(D) && Redisplay && FGrid->Row() == D) FGrid->RedisplayControl();
}

void TgxRow::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    LookChanged(true);
}

void TgxRow::UpdateFont(TFont* Source) {
    CopyOwnFont(FFont, FFontLock, Source, [this](TObject*) { FontChange(); });
}

void TgxRow::FontChange() {
    if (FFontLock > 0) return;
    FParentFont = false;
    LookChanged(true);
    FGrid->UpdateCellFonts();
}

TFont* TgxRow::GetFont() {
    return ReadOwnFont(FFont, FParentFont, FAutoCreateFont, FGrid->ComponentState(), FGrid->Font(),
                       [this](TFont* F) { UpdateFont(F); });
}

void TgxRow::SetFont(TFont* Value) {
    if (SetOwnFont(FFont, FParentFont, Value, [this](TFont* F) { UpdateFont(F); }))
        LookChanged(true);
}

void TgxRow::SetParentFont(bool Value) {
    if (SwitchParentFont(FFont, FParentFont, Value, FAutoCreateFont, FGrid->Font(),
                         [this](TFont* F) { UpdateFont(F); }) &&
        Value)
        LookChanged(true);
}

void TgxRow::SetAutoCreateFont(bool Value) {
    if (Value == FAutoCreateFont) return;
    FAutoCreateFont = Value;
    TgxIntegerList* List = FGrid->AutoFontRows();
    if (Value) {
        List->AddItem(FDataRow);
    } else {
        List->Remove(FDataRow);
        RemoveFonts();
    }
}

void TgxRow::CheckFont() {
    if (FParentFont && FFont) UpdateFont(FGrid->Font());
}

void TgxRow::RemoveFonts() {
    if (FParentFont) FFont.reset();
}

void TgxRow::SetMaskName(const AnsiString& Value) {
    if (Value == FMaskName) return;
    FMaskName = Value;
    if (FGrid->InGridState() && FGrid->GetCurrentDataRow() == FDataRow) FGrid->SetControlMask();
}

bool TgxRow::GetSelected() const {
    return FGrid->RowSelection().GetSelected(GetDisplayRow());
}

void TgxRow::SetSelected(bool Value) {
    FGrid->SetRowSelected(FDataRow, Value);
}

void TgxRow::SetAlignment(TAlignment Value) {
    if (FAlignState.SetAlignment(Value)) LookChanged(true);
}

void TgxRow::SetAlign(bool Value) {
    if (FAlignState.SetAlign(Value)) LookChanged(true);
}

void TgxRow::SetHorzAlignment(TgxHorzAlignment Value) {
    if (FAlignState.SetHorz(Value)) LookChanged(true);
}

void TgxRow::SetVertAlignment(TgxVertAlignment Value) {
    if (Value == FVertAlignment) return;
    FVertAlignment = Value;
    LookChanged(true);
}

void TgxRow::SetWordWrap(TgxWordWrap Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    LookChanged(true);
}

void TgxRow::SetPicture(int Index, TgxDrawOption Value) {
    if (Value == FPicture[Index]) return;
    FPicture[Index] = Value;
    LookChanged(false);
}

void TgxRow::SetHeight(int Value) {
    FSetHeight = Value;
    CopyHeight(Value);
}

void TgxRow::CopyHeight(int Value) {
    if (Value == FHeight) return;
    const int Old = FHeight;
    FHeight = Value;
    CheckHeight(Old);
    FGrid->RedisplayControlForRow(GetDisplayRow());
}

void TgxRow::CheckHeight(int OldHeight) {
    if (FHeight == OldHeight) return;
    const int D = GetDisplayRow();
    if (D < 0 || D >= FGrid->RowCount()) return;
    if (FVisible)
        FGrid->ResizeRowPixels(D, FHeight);
    else if (FGrid->RowHeights(D) != 0)
        FGrid->ResizeRowPixels(D, 0);
    else
        FGrid->RowResized(D);
    if (FDataRow == 0) FGrid->HeadingHeightSet(FHeight);
}

void TgxRow::SetVisible(bool Value) {
    if (Value == FVisible) return;
    const int D = GetDisplayRow();
    if (FGrid->HoldsInsertRow(D)) return;
    if (FGrid->Row() == D && !FGrid->CheckEndEdit(0, FDataRow, false)) return;
    FVisible = Value;
    if (D > 0) {
        if (Value)
            FGrid->VisibleRows().Add(D);
        else
            FGrid->VisibleRows().Remove(D);
    }
    if (D < 0 || D >= FGrid->RowCount()) return;
    const bool Skip = FGrid->CanSkipReadOnly();
    const bool RowSelect = FGrid->InRowSelectMode();
    if (Value) {
        FGrid->SetRowPixelHeight(D, FHeight);
        FGrid->CheckTopLeftNow();
        if (FGrid->Row() < 1) FGrid->MoveToNewRow(D, false, Skip, RowSelect);
    } else {
        FGrid->SetRowPixelHeight(D, 0);
        if (D > 0) {
            FGrid->DeleteRowSelection(D, D);
            TgxPaintOff PaintOff(*FGrid);
            if (FGrid->Row() == D) FGrid->MoveToNewRow(D, true, Skip, RowSelect);
            if (D >= FGrid->TopRow()) FGrid->CheckTopLeftNow();
        }
        FGrid->CheckSelectedCellsRow(D);
    }
    FGrid->UpdateScrollRange();
    FGrid->RedisplayControl();
    FGrid->CheckRowSelection();
    FGrid->SelectionsChanged(false);
    FGrid->GridStatusChanged();
}

void TgxRow::SetReadOnly(bool Value) {
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    const int D = GetDisplayRow();
    FGrid->CheckInvalidateRow(D);
    if (FGrid->Row() < 1 || (Value && FGrid->Row() == D && FGrid->SkipReadOnly()))
        FGrid->MoveToNewRow(FGrid->Row(), false, FGrid->CanSkipReadOnly(),
                            FGrid->InRowSelectMode());
}

void TgxRow::SetIs3D(bool Value) {
    if (Value == FIs3D) return;
    FIs3D = Value;
    FGrid->CheckInvalidateRow(GetDisplayRow());
    FGrid->RedisplayControl();
}

void TgxRow::SetButtonType(TgxButtonType Value) {
    if (FGrid->IsComboGrid() || Value == FButtonType) return;
    FButtonType = Value;
    if (Value == btCombo) FGrid->CheckComboCreated();
    const int D = GetDisplayRow();
    FGrid->CheckInvalidateRow(D);
    if (FGrid->Row() == D) {
        FGrid->RedisplayControl();
        if (Value == btDateTimeDropDown || Value == btDateTimePopup) FGrid->ResetDateTimeInit();
    }
}

void TgxRow::SetParentCombo(bool Value) {
    if (Value == FParentCombo) return;
    if (Value)
        ResetCombo();
    else
        AssignCombo();
}

TgxDropDownStyle TgxRow::DropDownStyle() const {
    return FCombo ? FCombo->GetDropDownStyle() : FDropDownStyle;
}

void TgxRow::SetDropDownStyle(TgxDropDownStyle Value) {
    if (Value == FDropDownStyle) return;
    FDropDownStyle = Value;
    if (FCombo) FCombo->SetDropDownStyle(Value);
    if (FGrid->Row() == GetDisplayRow()) FGrid->RedisplayControl();
}

void TgxRow::AssignCombo() {
    if (FCombo) return;
    FCombo.reset(FGrid->CreateCombo());
    FParentCombo = false;
    FCombo->SetDropDownStyle(FDropDownStyle);
    if (FGrid->Row() == GetDisplayRow()) {
        FGrid->RedisplayControl();
        FGrid->ResetComboInit(false);
    }
}

void TgxRow::SetCombo(TgxCombo* Value) {
    if (FGrid->IsComboGrid() || Value == FCombo.get()) return;
    if (!Value) {
        ResetCombo();
        return;
    }
    AssignCombo();
    FCombo->Assign(Value);
    if (FGrid->Row() == GetDisplayRow())
        FGrid->ResetComboInit(false);
    else
        FGrid->CheckLastUsedCombo(FCombo.get());
}

void TgxRow::ResetCombo() {
    FParentCombo = true;
    if (!FCombo) return;
    if (FGrid->Row() == GetDisplayRow()) FGrid->RedisplayControl();
    FGrid->CheckLastUsedCombo(FCombo.get());
    FCombo.reset();
}

void TgxRow::SetControlType(TgxControlType Value) {
    if (Value == FControlType) return;
    const int D = GetDisplayRow();
    const bool Current = FGrid->Row() == D;
    if (Current) FGrid->ClearCurrentFocusRect(false);
    FControlType = Value;
    FGrid->CheckInvalidateRow(D);
    if (Current) {
        FGrid->RedisplayControl();
        FGrid->ClearCurrentFocusRect(false);
    }
    FGrid->CheckGridData(0, FDataRow);
}

void TgxRow::SetDateTimeDef(TgxDateTimeDefComponent* Value) {
    if (Value == FDateTimeDef) return;
    if (FGrid->Row() == GetDisplayRow())
        FGrid->ResetDateTimeInit();
    else
        FGrid->CheckLastUsedDateTime(FDateTimeDef);
    ReplaceDateTimeDef(FGrid, FDateTimeDef, Value);
}

bool TgxRow::DefaultProps() const {
    return FColor == clNone && !FFont && FParentFont && !FAutoCreateFont &&
           FAlignState.IsDefault() && FVertAlignment == vtaDefault && FWordWrap == uiDefault &&
           FHeight == FGrid->DefaultRowHeight() && FSetHeight == FHeight && FVisible &&
           !FReadOnly && !FIs3D && FMaskName.empty() && FButtonType == btDefault &&
           FDropDownStyle == ddDropDown && FParentCombo &&
           std::all_of(std::begin(FPicture), std::end(FPicture),
                       [](TgxDrawOption O) { return O == dopDefault; }) &&
           FControlType == ctDefault &&
           FSpinOptions == TgxSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit} &&
           FSpinIncrement == 1.0 && !FDateTimeDef;
}

void TgxRow::AssignProperties(const TgxRow& Source) {
    SetColor(Source.FColor);
    SetAutoCreateFont(Source.FAutoCreateFont);
    if (Source.FParentFont) {
        SetParentFont(true);
        CheckFont();
    } else {
        SetFont(Source.FFont.get());
    }
    SetHorzAlignment(Source.FAlignState.Horz);
    SetVertAlignment(Source.FVertAlignment);
    SetWordWrap(Source.FWordWrap);
    FSetHeight = Source.FHeight;
    CopyHeight(Source.FHeight);
    SetVisible(Source.FVisible);
    SetReadOnly(Source.FReadOnly);
    SetIs3D(Source.FIs3D);
    SetMaskName(Source.FMaskName);
    SetButtonType(Source.FButtonType);
    SetDropDownStyle(Source.FDropDownStyle);
    SetCombo(Source.FCombo.get());
    for (int I = 0; I < 4; ++I)
        SetPicture(I, Source.FPicture[I]);
    SetControlType(Source.FControlType);
    FSpinOptions = Source.FSpinOptions;
    FSpinIncrement = Source.FSpinIncrement;
    SetDateTimeDef(Source.FDateTimeDef);
}

void TgxRow::Copy(const TgxRow& Source) {
    FGrid = Source.FGrid;
    AssignProperties(Source);
}

void TgxRow::Assign(TPersistent* Source) {
    if (auto* Row = dynamic_cast<TgxRow*>(Source)) {
        // The row goes where the source shows; the grid ignores a place it
        // has not got.
        if (FDataRow > 0) FGrid->SetDisplayRownr(FDataRow, Row->GetDisplayRow());
        AssignProperties(*Row);
        FGrid->CheckInvalidateRow(GetDisplayRow());
        return;
    }
    TPersistent::Assign(Source);
}

void TgxRow::Reset(TgxProperties Properties) {
    auto Has = [&](TgxProperty P) { return Properties.Contains(P); };
    if (Has(prColor)) SetColor(clNone);
    if (Has(prFont)) SetParentFont(true);
    if (Has(prIs3D)) SetIs3D(false);
    if (Has(prVisible)) SetVisible(true);
    if (Has(prChanged)) FGrid->SetRowChanged(FDataRow, false);
    if (Has(prHeight)) CopyHeight(FSetHeight);
    if (Has(prDisplayNumber)) SetDisplayRow(FDataRow);
    if (Has(prAlign)) SetAlign(false);
    if (Has(prAlignment)) SetAlignment(taLeftJustify);
    if (Has(prHorzAlignment)) SetHorzAlignment(htaDefault);
    if (Has(prVertAlignment)) SetVertAlignment(vtaDefault);
    if (Has(prReadOnly)) SetReadOnly(false);
    if (Has(prWordWrap)) SetWordWrap(uiDefault);
    if (Has(prMask)) SetMaskName("");
    if (Has(prButtonType)) SetButtonType(btDefault);
    if (Has(prCombo) || Has(prParentCombo)) SetParentCombo(true);
    if (Has(prPicture))
        for (int I = 0; I < 4; ++I)
            SetPicture(I, dopDefault);
    if (Has(prSpinOptions)) FSpinOptions = {spoAutoRepeat, spoAutoIncrement, spoKeyEdit};
    if (Has(prSpinIncrement)) FSpinIncrement = 1.0;
    if (Has(prDateTime)) SetDateTimeDef(nullptr);
    if (Has(prDropDownStyle)) SetDropDownStyle(ddDropDown);
}

// ---- the row list ------------------------------------------------------------------------

TgxGridRows::TgxGridRows(int Count, TgxBaseGrid* Grid) : FGrid(Grid) {
    CreateDefaultValues(0, Count);
}

TgxGridRows::~TgxGridRows() = default;

std::unique_ptr<TgxRow> TgxGridRows::CreateRow(int DataRow) {
    return std::make_unique<TgxRow>(FGrid, DataRow);
}

void TgxGridRows::CreateDefaultValues(int OldCount, int NewCount) {
    (void)OldCount;
    const int Size = std::max(NewCount, 0);
    const int Before = static_cast<int>(FIds.size());
    if (Size == Before + 1 && FRows.size() == FIds.size() &&
        (!FDisplayMade || FDisplay.size() == FIds.size())) {
        // One row added, as rows mostly are.
        FRows.emplace_back();
        FIds.push_back(FNextId++);
        if (FDisplayMade) FDisplay.push_back(Before);
    } else {
        FRows.resize(static_cast<std::size_t>(Size));
        FIds.resize(static_cast<std::size_t>(Size));
        if (FDisplayMade) FDisplay.resize(static_cast<std::size_t>(Size));
        for (int R = Before; R < Size; ++R) {
            if (FDisplayMade) FDisplay[static_cast<std::size_t>(R)] = R;
            FIds[static_cast<std::size_t>(R)] = FNextId++;
        }
    }
    FCount = Size;
    if (Size > 0 && !FRows[0]) CreateDataRow(0);
}

void TgxGridRows::Resize(int OldCount) {
    CreateDefaultValues(OldCount, FGrid->RowCount());
}

TgxRow* TgxGridRows::GetRow(int R) const {
    if (!FGrid->CheckIndex(itRow, R, FCount - 1, 0)) return nullptr;
    return Item(R);
}

TgxRow* TgxGridRows::CreateDataRow(int R) {
    auto& Slot = FRows[static_cast<std::size_t>(R)];
    if (!Slot) {
        Slot = CreateRow(R);
        const int D = GetDisplayRowNumber(R);
        const int H =
            D >= 0 && D < FGrid->RowCount() ? FGrid->RowHeights(D) : FGrid->DefaultRowHeight();
        Slot->StoreHeight(H);
        Slot->StoreSetHeight(H);
    }
    return Slot.get();
}

void TgxGridRows::RemoveDataRow(int R) {
    FRows[static_cast<std::size_t>(R)].reset();
}

void TgxGridRows::CheckRemoveDataRow(int R) {
    if (R == 0) return;
    auto& Slot = FRows[static_cast<std::size_t>(R)];
    if (Slot && Slot->Empty()) Slot.reset();
}

int TgxGridRows::GetDisplayRowNumber(int R) const {
    return FDisplayMade ? FDisplay[static_cast<std::size_t>(R)] : R;
}

void TgxGridRows::SetDisplayRowNumber(int R, int D) {
    if (FDisplayMade) FDisplay[static_cast<std::size_t>(R)] = D;
}

void TgxGridRows::CreateDisplayRowNumber() {
    if (FDisplayMade) return;
    FDisplay.resize(FIds.size());
    for (std::size_t I = 0; I < FDisplay.size(); ++I)
        FDisplay[I] = static_cast<std::int32_t>(I);
    FDisplayMade = true;
}

int TgxGridRows::FindId(int Id) const {
    auto Begin = FIds.begin() + 1;
    auto End = FIds.begin() + std::max(FGrid->GetGridRowCount() + 1, 1);
    if (Begin >= End) return -1;
    auto It = std::lower_bound(Begin, End, Id);
    return It != End && *It == Id ? static_cast<int>(It - FIds.begin()) : -1;
}

int TgxGridRows::GetRowHeight(int R) const {
    const TgxRow* Row = Item(R);
    return Row ? Row->Height() : FGrid->DefaultRowHeight();
}

void TgxGridRows::SetRowHeight(int R, int Height) {
    if (Height == FGrid->DefaultRowHeight() && !Item(R)) return;
    CreateDataRow(R)->StoreHeight(Height);
    CheckRemoveDataRow(R);
}

int TgxGridRows::GetOldRowHeight(int R) const {
    const TgxRow* Row = Item(R);
    return Row ? Row->SetHeightValue() : FGrid->SetDefaultRowHeightValue();
}

void TgxGridRows::SetOldRowHeight(int R, int Height) {
    if (Height == FGrid->SetDefaultRowHeightValue() && !Item(R)) return;
    CreateDataRow(R)->StoreSetHeight(Height);
    CheckRemoveDataRow(R);
}

void TgxGridRows::CopyRowHeight(int R, int Height) {
    CreateDataRow(R)->CopyHeight(Height);
    CheckRemoveDataRow(R);
}

void TgxGridRows::CntMoveProperties(int Source, int Target, int N) {
    if (N <= 0 || Source == Target) return;
    std::vector<std::unique_ptr<TgxRow>> Moved(static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I)
        Moved[static_cast<std::size_t>(I)] = std::move(FRows[static_cast<std::size_t>(Source + I)]);
    for (int I = 0; I < N; ++I)
        FRows[static_cast<std::size_t>(Target + I)] = std::move(Moved[static_cast<std::size_t>(I)]);
}

int TgxGridRows::ObjectCount() const {
    return static_cast<int>(
        std::count_if(FRows.begin(), FRows.end(), [](const auto& Row) { return Row != nullptr; }));
}

void TgxGridRows::RotateDown(int R, int Last) {
    if (R < 0 || Last <= R || Last >= FCount) return;
    const auto Begin = static_cast<std::ptrdiff_t>(R);
    const auto End = static_cast<std::ptrdiff_t>(Last) + 1;
    std::rotate(FRows.begin() + Begin, FRows.begin() + Begin + 1, FRows.begin() + End);
    for (int I = R; I <= Last; ++I)
        if (FRows[static_cast<std::size_t>(I)])
            FRows[static_cast<std::size_t>(I)]->SetDataRowNumber(I);
    std::rotate(FIds.begin() + Begin, FIds.begin() + Begin + 1, FIds.begin() + End);
    // Identities keep rising with the row number: the row that went to the
    // end gets a new one.
    FIds[static_cast<std::size_t>(Last)] = FNextId++;
    if (FDisplayMade)
        std::rotate(FDisplay.begin() + Begin, FDisplay.begin() + Begin + 1, FDisplay.begin() + End);
}

} // namespace grid
