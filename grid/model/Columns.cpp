#include "grid/model/Columns.h"

#include "grid/foundation/GridCommonCheckBox.h"
#include "grid/foundation/GridCommonText.h"
#include "grid/foundation/IntLists.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/OwnFont.h"
#include "grid/model/CellButtons.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridGuards.h"
#include "grid/model/GridLinks.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace grid {

TgxCol::TgxCol(TgxBaseGrid* Grid, int DataCol)
    : FGrid(Grid), FDataCol(DataCol), FDisplayCol(DataCol) {}

TgxCol::~TgxCol() {
    if (FDateTimeDef && FGrid->DateTimeLink()) FGrid->DateTimeLink()->Remove(FDateTimeDef);
    if (FCombo) FGrid->CheckLastUsedCombo(FCombo.get());
    if (FDateTimeDef) FGrid->CheckLastUsedDateTime(FDateTimeDef);
    ResetDropDownInits(FGrid);
}

int TgxCol::GetDataCol() const {
    return FGrid->GetDataCol(FDisplayCol);
}

bool TgxCol::GetFixed() const {
    return FDisplayCol == 0 || FDisplayCol <= std::max(0, FGrid->FixedCols() - 1);
}

bool TgxCol::HoldsCurrentCell() const {
    return FGrid->Col() == FDisplayCol;
}

void TgxCol::CellLookChanged(bool Redisplay) {
    if (FGrid->CheckInvalidateCol(FDisplayCol) && Redisplay && HoldsCurrentCell())
        FGrid->RedisplayControl();
}

void TgxCol::HeadingChanged() {
    FGrid->CheckInvalidateCell(FDisplayCol, 0);
}

void TgxCol::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    CellLookChanged(true);
}

void TgxCol::UpdateFont(TFont* Source) {
    CopyOwnFont(FFont, FFontLock, Source, [this](TObject*) { FontChange(); });
}

void TgxCol::FontChange() {
    if (FFontLock > 0) return;
    FParentFont = false;
    CellLookChanged(true);
    FGrid->UpdateCellFonts();
}

void TgxCol::UpdateHeadingFont(TFont* Source) {
    CopyOwnFont(FHeadingFont, FFontLock, Source, [this](TObject*) { HeadingFontChange(); });
}

void TgxCol::HeadingFontRepaint() {
    if (!FGrid->Painting()) HeadingChanged();
}

void TgxCol::HeadingFontChange() {
    if (FFontLock > 0) return;
    FHeadingParentFont = false;
    HeadingFontRepaint();
}

TFont* TgxCol::GetHeadingFont() {
    return ReadOwnFont(FHeadingFont, FHeadingParentFont, FAutoCreateFont, FGrid->ComponentState(),
                       FGrid->HeadingFont(), [this](TFont* F) { UpdateHeadingFont(F); });
}

void TgxCol::SetHeadingParentFont(bool Value) {
    if (SwitchParentFont(FHeadingFont, FHeadingParentFont, Value, FAutoCreateFont,
                         FGrid->HeadingFont(), [this](TFont* F) { UpdateHeadingFont(F); }) &&
        Value)
        HeadingFontRepaint();
}

void TgxCol::CheckHeadingFont() {
    if (FHeadingParentFont && FHeadingFont) UpdateHeadingFont(FGrid->HeadingFont());
}

TFont* TgxCol::GetFont() {
    return ReadOwnFont(FFont, FParentFont, FAutoCreateFont, FGrid->ComponentState(), FGrid->Font(),
                       [this](TFont* F) { UpdateFont(F); });
}

void TgxCol::SetFont(TFont* Value) {
    if (SetOwnFont(FFont, FParentFont, Value, [this](TFont* F) { UpdateFont(F); }))
        CellLookChanged(true);
}

void TgxCol::SetParentFont(bool Value) {
    if (SwitchParentFont(FFont, FParentFont, Value, FAutoCreateFont, FGrid->Font(),
                         [this](TFont* F) { UpdateFont(F); }) &&
        Value)
        CellLookChanged(true);
}

void TgxCol::SetAutoCreateFont(bool Value) {
    if (Value == FAutoCreateFont) return;
    FAutoCreateFont = Value;
    TgxIntegerList* List = FGrid->AutoFontCols();
    if (Value) {
        List->AddItem(FDataCol);
    } else {
        List->Remove(FDataCol);
        RemoveFonts();
    }
}

void TgxCol::CheckFont() {
    if (FParentFont && FFont) UpdateFont(FGrid->Font());
}

void TgxCol::RemoveFonts() {
    if (FParentFont) FFont.reset();
    if (FHeadingParentFont) FHeadingFont.reset();
}

void TgxCol::SetAlignment(TAlignment Value) {
    if (FAlignState.SetAlignment(Value)) CellLookChanged(true);
}

void TgxCol::SetAlign(bool Value) {
    if (FAlignState.SetAlign(Value)) CellLookChanged(true);
}

void TgxCol::SetHorzAlignment(TgxHorzAlignment Value) {
    if (FAlignState.SetHorz(Value)) CellLookChanged(true);
}

void TgxCol::SetVertAlignment(TgxVertAlignment Value) {
    if (Value == FVertAlignment) return;
    FVertAlignment = Value;
    CellLookChanged(true);
}

void TgxCol::SetWordWrap(TgxWordWrap Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    CellLookChanged(true);
}

void TgxCol::SetPicture(int Index, TgxDrawOption Value) {
    if (Value == FPicture[Index]) return;
    FPicture[Index] = Value;
    CellLookChanged(false);
}

void TgxCol::SetHeading(const AnsiString& Value) {
    if (Value == FHeading) return;
    FHeading = Value;
    AnsiString Plain;
    TextAccelKey(FHeading, Plain, FAccelPos);
    HeadingChanged();
}

AnsiString TgxCol::GetHeading() const {
    return FHeading.empty() ? FFieldName : FHeading;
}

void TgxCol::SetControlType(TgxControlType Value) {
    if (Value == FControlType) return;
    const bool Current = HoldsCurrentCell();
    if (Current) FGrid->ClearCurrentFocusRect(false);
    FControlType = Value;
    FGrid->CheckInvalidateCol(FDisplayCol);
    if (Current) {
        FGrid->RedisplayControl();
        FGrid->ClearCurrentFocusRect(false);
    }
    FGrid->CheckGridData(FDataCol, 0);
}

void TgxCol::SetWidth(int Value) {
    FSetWidth = Value;
    CopyWidth(Value);
}

void TgxCol::CopyWidth(int Value) {
    if (Value == FWidth) return;
    const int Old = FWidth;
    FWidth = Value;
    CheckWidth(Old);
    FGrid->RedisplayControl();
}

void TgxCol::CheckWidth(int OldWidth) {
    if (FWidth == OldWidth) return;
    if (FDisplayCol < 0 || FDisplayCol >= FGrid->ColCount()) return;
    if (FVisible)
        FGrid->SetColPixelWidth(FDisplayCol, FWidth);
    else if (FGrid->ColWidths(FDisplayCol) != 0)
        FGrid->SetColPixelWidth(FDisplayCol, 0);
    FGrid->ColResized(FDisplayCol);
    if (FDisplayCol == 0) FGrid->RowBarWidthSet(FWidth);
}

void TgxCol::SetVisible(bool Value) {
    if (Value == FVisible) return;
    if (HoldsCurrentCell() && !FGrid->CheckEndEdit(FDataCol, 0, false)) return;
    FVisible = Value;
    if (FDisplayCol > 0) {
        if (Value)
            FGrid->VisibleCols().Add(FDisplayCol);
        else
            FGrid->VisibleCols().Remove(FDisplayCol);
    }
    if (FDisplayCol < 0 || FDisplayCol >= FGrid->ColCount()) return;
    const bool Skip = FGrid->CanSkipReadOnly();
    const bool RowSelect = FGrid->InRowSelectMode();
    if (Value) {
        FGrid->SetColPixelWidth(FDisplayCol, FWidth);
        FGrid->CheckTopLeftNow();
        if (FGrid->Col() < 1) FGrid->MoveToNewCol(FDisplayCol, false, Skip, RowSelect);
    } else {
        FGrid->SetColPixelWidth(FDisplayCol, 0);
        if (FDisplayCol > 0) {
            FGrid->DeleteColSelection(FDisplayCol, FDisplayCol);
            if (HoldsCurrentCell()) FGrid->MoveToNewCol(FDisplayCol, true, Skip, RowSelect);
            if (FDisplayCol >= FGrid->LeftCol()) {
                TgxPaintOff PaintOff(*FGrid);
                FGrid->CheckTopLeftNow();
            }
        }
        FGrid->CheckSelectedCellsCol(FDisplayCol);
    }
    FGrid->UpdateScrollRange();
    FGrid->RedisplayControl();
    FGrid->SelectionsChanged(false);
    FGrid->GridStatusChanged();
}

void TgxCol::SetDisplayCol(int P) {
    if (P == FDisplayCol || P <= 0 || P > FGrid->GetGridColCount()) return;
    const int Old = FDisplayCol;
    FGrid->ChangeDisplayCol(Old, P);
    FGrid->MoveVisibleCol(Old, P);
    FGrid->ChangeColWidths(Old, P);
    FGrid->ChangeSelectedCols(Old, P);
    FGrid->ChangeCurrentColPosition(Old, P);
    if (!FGrid->MovesHeld()) FGrid->DoColMoved(P, 1, false);
    FGrid->InvalidateGridNow();
    FGrid->UpdateScrollRange();
    FGrid->CheckTopLeftNow();
    FGrid->RedisplayControl();
}

void TgxCol::SetReadOnly(bool Value) {
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    FGrid->CheckInvalidateCol(FDisplayCol);
    if (FGrid->Col() < 1 || (Value && HoldsCurrentCell() && FGrid->SkipReadOnly()))
        FGrid->MoveToNewCol(HoldsCurrentCell() ? FDisplayCol : 1, false, FGrid->CanSkipReadOnly(),
                            FGrid->InRowSelectMode());
}

void TgxCol::SetIs3D(bool Value) {
    if (Value == FIs3D) return;
    FIs3D = Value;
    CellLookChanged(true);
}

void TgxCol::SetAllowGrayed(bool Value) {
    if (Value == FAllowGrayed) return;
    FAllowGrayed = Value;
    CellLookChanged(true);
}

void TgxCol::SetButtonType(TgxButtonType Value) {
    if (FGrid->IsComboGrid() || Value == FButtonType) return;
    FButtonType = Value;
    if (Value == btCombo) FGrid->CheckComboCreated();
    FGrid->CheckInvalidateCol(FDisplayCol);
    if (HoldsCurrentCell()) {
        FGrid->RedisplayControl();
        if (Value == btDateTimeDropDown || Value == btDateTimePopup) FGrid->ResetDateTimeInit();
    }
}

void TgxCol::CreateButton(TBitmap* Bitmap, TColor TransparentColor, int Width, int Height) {
    if (!Bitmap) {
        DestroyButton();
        return;
    }
    FButton = std::make_unique<TgxNormalButton>(FGrid, Bitmap, TransparentColor, Width, Height);
    CellLookChanged(true);
}

void TgxCol::SetButton(TgxNormalButton* Value) {
    if (Value == FButton.get()) return;
    if (!Value) {
        DestroyButton();
        return;
    }
    CreateButton(Value->GetBitmap(), Value->GetTransparentColor(), Value->GetWidth(),
                 Value->GetHeight());
}

void TgxCol::DestroyButton() {
    if (!FButton) return;
    FButton.reset();
    if (!FGrid->Destroying()) CellLookChanged(true);
}

TgxDropDownStyle TgxCol::DropDownStyle() const {
    return FCombo ? FCombo->GetDropDownStyle() : FDropDownStyle;
}

void TgxCol::SetDropDownStyle(TgxDropDownStyle Value) {
    if (Value == FDropDownStyle) return;
    FDropDownStyle = Value;
    if (FCombo) FCombo->SetDropDownStyle(Value);
    if (HoldsCurrentCell()) FGrid->RedisplayControl();
}

void TgxCol::SetHeadingButton(TgxColHeadingButton Value) {
    if (Value == FHeadingButton) return;
    FHeadingButton = Value;
    HeadingChanged();
}

void TgxCol::SetHeadingHorzAlignment(TgxHorzAlignment Value) {
    if (FHeadingAlignState.SetHorz(Value)) HeadingChanged();
}

void TgxCol::SetHeadingAlignment(TAlignment Value) {
    if (FHeadingAlignState.SetAlignment(Value)) HeadingChanged();
}

void TgxCol::SetHeadingAlign(bool Value) {
    if (FHeadingAlignState.SetAlign(Value)) HeadingChanged();
}

void TgxCol::SetHeadingVertAlignment(TgxVertAlignment Value) {
    if (Value == FHeadingVertAlignment) return;
    FHeadingVertAlignment = Value;
    HeadingChanged();
}

void TgxCol::SetHeadingWordWrap(TgxWordWrap Value) {
    if (Value == FHeadingWordWrap) return;
    FHeadingWordWrap = Value;
    HeadingChanged();
}

void TgxCol::SetHeadingColor(TColor Value) {
    if (Value == FHeadingColor) return;
    FHeadingColor = Value;
    HeadingChanged();
}

void TgxCol::SetHeadingFont(TFont* Value) {
    if (SetOwnFont(FHeadingFont, FHeadingParentFont, Value,
                   [this](TFont* F) { UpdateHeadingFont(F); }))
        HeadingFontRepaint();
}

void TgxCol::SetSortPicture(TgxSortPicture Value) {
    if (Value == FSortPicture) return;
    FSortPicture = Value;
    HeadingChanged();
}

void TgxCol::SetMaxLength(int Value) {
    Value = std::max(Value, 0);
    if (Value == FMaxLength) return;
    FMaxLength = Value;
    FGrid->SetMaxTextLength(FDisplayCol, FMaxLength);
}

bool TgxCol::HoldsCurrentDataCol() const {
    return FGrid->InGridState() && FGrid->GetCurrentDataCol() == FDataCol;
}

void TgxCol::SetMaskName(const AnsiString& Value) {
    if (Value == FMaskName) return;
    FMaskName = Value;
    if (HoldsCurrentDataCol()) FGrid->SetControlMask();
}

void TgxCol::SetParentCombo(bool Value) {
    if (Value == FParentCombo) return;
    if (Value)
        ResetCombo();
    else
        AssignCombo();
}

void TgxCol::AssignCombo() {
    if (FCombo) return;
    FCombo.reset(FGrid->CreateCombo());
    FParentCombo = false;
    FCombo->SetDropDownStyle(FDropDownStyle);
    FCombo->GetGrid()->InitComboColWidth(FWidth);
    if (HoldsCurrentCell()) FGrid->ResetComboInit(false);
}

void TgxCol::SetCombo(TgxCombo* Value) {
    if (FGrid->IsComboGrid() || Value == FCombo.get()) return;
    if (!Value) {
        ResetCombo();
        return;
    }
    AssignCombo();
    FCombo->Assign(Value);
    if (HoldsCurrentCell())
        FGrid->ResetComboInit(false);
    else
        FGrid->CheckLastUsedCombo(FCombo.get());
    // At design time a list-only cell shows its whole text selected.
    if (FGrid->GetInDesignMode() && HoldsCurrentCell() && FCombo->GetDropDownStyle() == ddDropDownList) {
        FGrid->CurrentCell()->SelectAll();
        FGrid->RedisplayControl();
    }
}

void TgxCol::ResetCombo() {
    FParentCombo = true;
    if (!FCombo) return;
    if (HoldsCurrentCell()) FGrid->RedisplayControl();
    FGrid->CheckLastUsedCombo(FCombo.get());
    FCombo.reset();
}

void TgxCol::SetDateTimeDef(TgxDateTimeDefComponent* Value) {
    if (Value == FDateTimeDef) return;
    if (HoldsCurrentCell())
        FGrid->ResetDateTimeInit();
    else
        FGrid->CheckLastUsedDateTime(FDateTimeDef);
    ReplaceDateTimeDef(FGrid, FDateTimeDef, Value);
}

void TgxCol::SetCheckBoxValues(const AnsiString& Value) {
    if (Value == FCheckBoxValues) return;
    if (!CheckBoxValuesOk(Value))
        FGrid->InvalidOp("Invalid CheckBoxValues. CheckBoxValues have the format "
                         "'Checked|Unchecked|Grayed'. The Grayed value is optional");
    FCheckBoxValues = Value;
    FGrid->CheckInvalidateCol(FDisplayCol);
    if (HoldsCurrentDataCol()) FGrid->SetControlCheckBoxValues();
}

int TgxCol::GetMaxTextWidth() const {
    int Widest = 0;
    for (int R = 1; R <= FGrid->GetGridRowCount(); ++R)
        if (FGrid->IsRowVisible(R)) Widest = std::max(Widest, FGrid->GetCellTextWidth(FDataCol, R));
    return Widest;
}

bool TgxCol::GetSelected() const {
    return FGrid->ColSelection().GetSelected(FDisplayCol);
}

void TgxCol::SetSelected(bool Value) {
    if (Value == GetSelected()) return;
    FGrid->SelectCols(FDisplayCol, FDisplayCol, Value);
}

bool TgxCol::DefaultProps() const {
    return FDisplayCol == FDataCol && FColor == clNone && !FFont && FParentFont &&
           !FAutoCreateFont && FAlignState.IsDefault() && FVertAlignment == vtaDefault &&
           FWordWrap == uiDefault && FHeading.empty() && FControlType == ctDefault &&
           FWidth == FGrid->DefaultColWidth() && FSetWidth == FWidth && FVisible && !FReadOnly &&
           !FIs3D && FButtonType == btDefault && FDropDownStyle == ddDropDown && !FAllowGrayed &&
           FHeadingButton == cbGrid && FHeadingAlignState.Alignment == taLeftJustify &&
           !FHeadingAlignState.Align && FHeadingAlignState.Horz == htaDefault &&
           FHeadingVertAlignment == vtaDefault && FHeadingWordWrap == uiDefault &&
           FHeadingColor == clNone && !FHeadingFont && FHeadingParentFont &&
           FSortPicture == spNone && FMaxLength == 0 &&
           FFieldName.empty() && FMaskName.empty() && FParentCombo &&
           std::all_of(std::begin(FPicture), std::end(FPicture),
                       [](TgxDrawOption O) { return O == dopDefault; }) &&
           FSpinOptions == TgxSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit} &&
           FSpinIncrement == 1.0 && !FDateTimeDef && FCheckBoxValues.empty() && FData == 0 &&
           FTag == 0 && !FPrintTotals;
}

bool TgxCol::Empty() const {
    return DefaultProps() && !FButton;
}

void TgxCol::AssignProperties(const TgxCol& Source) {
    SetColor(Source.FColor);
    SetAutoCreateFont(Source.FAutoCreateFont);
    if (Source.FParentFont) {
        SetParentFont(true);
        CheckFont();
    } else {
        SetFont(Source.FFont.get());
    }
    if (Source.FHeadingParentFont) {
        SetHeadingParentFont(true);
        CheckHeadingFont();
    } else {
        SetHeadingFont(Source.FHeadingFont.get());
    }
    SetHorzAlignment(Source.FAlignState.Horz);
    SetVertAlignment(Source.FVertAlignment);
    SetWordWrap(Source.FWordWrap);
    SetHeading(Source.FHeading);
    SetControlType(Source.FControlType);
    FSetWidth = Source.FWidth;
    CopyWidth(Source.FWidth);
    SetVisible(Source.FVisible);
    SetReadOnly(Source.FReadOnly);
    SetIs3D(Source.FIs3D);
    SetButtonType(Source.FButtonType);
    SetButton(Source.FButton.get());
    SetDropDownStyle(Source.FDropDownStyle);
    SetCombo(Source.FCombo.get());
    SetAllowGrayed(Source.FAllowGrayed);
    SetHeadingButton(Source.FHeadingButton);
    SetHeadingHorzAlignment(Source.FHeadingAlignState.Horz);
    SetHeadingVertAlignment(Source.FHeadingVertAlignment);
    SetHeadingWordWrap(Source.FHeadingWordWrap);
    SetHeadingColor(Source.FHeadingColor);
    SetSortPicture(Source.FSortPicture);
    SetMaxLength(Source.FMaxLength);
    FFieldName = Source.FFieldName;
    SetMaskName(Source.FMaskName);
    for (int I = 0; I < 4; ++I)
        SetPicture(I, Source.FPicture[I]);
    FSpinOptions = Source.FSpinOptions;
    FSpinIncrement = Source.FSpinIncrement;
    SetDateTimeDef(Source.FDateTimeDef);
    SetCheckBoxValues(Source.FCheckBoxValues);
    FData = Source.FData;
    FTag = Source.FTag;
    FPrintTotals = Source.FPrintTotals;
}

void TgxCol::Copy(const TgxCol& Source) {
    FGrid = Source.FGrid;
    FDisplayCol = Source.FDisplayCol;
    AssignProperties(Source);
}

void TgxCol::Assign(TPersistent* Source) {
    if (auto* Col = dynamic_cast<TgxCol*>(Source)) {
        AssignProperties(*Col);
        FGrid->CheckInvalidateCol(FDisplayCol);
        return;
    }
    TPersistent::Assign(Source);
}

void TgxCol::Reset(TgxProperties Properties) {
    auto Has = [&](TgxProperty P) { return Properties.Contains(P); };
    if (Has(prColor)) {
        SetColor(clNone);
        SetHeadingColor(clNone);
    }
    if (Has(prFont)) SetParentFont(true);
    if (Has(prIs3D)) SetIs3D(false);
    if (Has(prVisible)) SetVisible(true);
    if (Has(prWidth)) CopyWidth(FSetWidth);
    if (Has(prDisplayNumber)) SetDisplayCol(FDataCol);
    if (Has(prAlign)) SetAlign(false);
    if (Has(prAlignment)) SetAlignment(taLeftJustify);
    if (Has(prHorzAlignment)) SetHorzAlignment(htaDefault);
    if (Has(prVertAlignment)) SetVertAlignment(vtaDefault);
    if (Has(prSortPicture)) SetSortPicture(spNone);
    if (Has(prHeadingButton)) SetHeadingButton(cbGrid);
    if (Has(prMaxLength)) SetMaxLength(0);
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
    if (Has(prSelected)) SetSelected(false);
    if (Has(prTag)) FTag = 0;
    if (Has(prData)) FData = 0;
}

namespace {

AnsiString AlignmentText(TAlignment Alignment) {
    switch (Alignment) {
    case taRightJustify:
        return " align=\"right\">";
    case taCenter:
        return " align=\"center\">";
    default:
        return ">";
    }
}

} // namespace

AnsiString TgxCol::HTMLCell(const AnsiString& Data) const {
    return "<td" + AlignmentText(FAlignState.Alignment) + Data + "</td>";
}

AnsiString TgxCol::HTMLHeader() const {
    return "<th width=" + std::to_string(FWidth) + AlignmentText(FAlignState.Alignment) +
           GetHeading() + "</th>";
}

AnsiString TgxCol::XMLHeading() const {
    AnsiString Result = FFieldName.empty() ? GetHeading() : FFieldName;
    std::replace(Result.begin(), Result.end(), ' ', '_');
    return Result;
}

// ---- the column list -----------------------------------------------------------------

TgxGridCols::TgxGridCols(int Count, TgxBaseGrid* Grid) : FGrid(Grid) {
    CreateDefaultValues(0, Count);
}

TgxGridCols::~TgxGridCols() = default;

std::unique_ptr<TgxCol> TgxGridCols::CreateCol(int DataCol) {
    return std::make_unique<TgxCol>(FGrid, DataCol);
}

void TgxGridCols::CreateDefaultValues(int OldCount, int NewCount) {
    NewCount = std::max(NewCount, 0);
    if (NewCount < static_cast<int>(FCols.size())) FCols.resize(static_cast<std::size_t>(NewCount));
    for (int I = static_cast<int>(FCols.size()); I < NewCount; ++I) {
        auto Col = CreateCol(I);
        const int W = FGrid->ColWidths(I);
        Col->CopyWidthValue(W);
        Col->SetId(FNextId++);
        FCols.push_back(std::move(Col));
    }
    (void)OldCount;
}

void TgxGridCols::Resize(int OldCount) {
    CreateDefaultValues(OldCount, FGrid->ColCount());
}

TgxCol* TgxGridCols::GetCol(const Variant& Col) const {
    if (Col.Type() == varString || Col.Type() == varOleStr) return FindCol(Col.AsString());
    const int N = Col.AsInteger();
    if (!FGrid->CheckIndex(itCol, N, Count() - 1, 0)) return nullptr;
    return Item(N);
}

TgxCol* TgxGridCols::FindCol(const AnsiString& Name) const {
    for (int I = 1; I < Count(); ++I)
        if (AnsiCompareText(FCols[static_cast<std::size_t>(I)]->FieldName(), Name) == 0)
            return FCols[static_cast<std::size_t>(I)].get();
    return nullptr;
}

void TgxGridCols::CntMoveProperties(int Source, int Target, int N) {
    if (N <= 0 || Source == Target) return;
    std::vector<std::unique_ptr<TgxCol>> Moved(static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I)
        Moved[static_cast<std::size_t>(I)] = std::move(FCols[static_cast<std::size_t>(Source + I)]);
    for (int I = 0; I < N; ++I)
        FCols[static_cast<std::size_t>(Target + I)] = std::move(Moved[static_cast<std::size_t>(I)]);
}

std::unique_ptr<TgxCol> TgxGridCols::Take(int DataCol) {
    return std::move(FCols[static_cast<std::size_t>(DataCol)]);
}

void TgxGridCols::Put(int DataCol, std::unique_ptr<TgxCol> Col) {
    FCols[static_cast<std::size_t>(DataCol)] = std::move(Col);
}

} // namespace grid
