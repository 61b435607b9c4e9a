// Construction, defaults and destruction of the grid.
#include "grid/foundation/CellStore.h"
#include "grid/foundation/IntLists.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellButtons.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridLinks.h"
#include "grid/model/Rows.h"
#include "platform/rtl/StringList.h"

namespace grid {

TgxBaseGrid::TgxBaseGrid(TComponent* AOwner) : TCustomGrid_ts(AOwner) {
    // The mouse handling raises the click and double-click events itself.
    ControlStyle >> csClickEvents;
    // Display order: the identity over the base control's counts.
    ResizeDisplayArrays();
    FCols = CreateCols(ColCount());
    FRows = CreateRows(RowCount());
    FCurrentCell = CreateCurrentCell();
    FColCellProps = std::make_unique<TgxIntegerSetList>();
    FRowCellProps = std::make_unique<TgxIntegerSetList>();
    ResizeCellPropArrays(0, 0);
    FCellProps = std::make_unique<TgxCellPropSet>(this);
    FMaskLink = std::make_unique<TgxGridMaskLink>(this);
    FImageLink = std::make_unique<TgxGridImageLink>(this);
    FDateTimeLink = std::make_unique<TgxGridDateTimeLink>(this);
    FImageListIds = std::make_unique<TStringList>();
    FAutoFontCols = std::make_unique<TgxIntegerList>();
    FAutoFontRows = std::make_unique<TgxIntegerList>();
    FCoordList = std::make_unique<TgxCoordList>();

    CreateDefaultValues();

    FRowSelection.SetSize(RowCount());
    FColSelection.SetSize(ColCount());
    FVisibleCols.SetSize(ColCount() - 1, 1);
    FVisibleRows.SetSize(RowCount() - 1, 1);
    FChangedRows.SetSize(RowCount());
    CreateGridControls();
    // The grid manages its scroll bars itself.
    SetScrollBars(ssNone);
}

void TgxBaseGrid::CreateDefaultValues() {
    FSettingDefaults = true;
    SetOptions(TGridOptions{});
    // Row bar 14 wide, heading 15 high; default sizes 14 and 64.
    SetDefaultRowHeight(14);
    FSetDefaultRowHeight = 14;
    SetDefaultColWidth(64);
    FSetDefaultColWidth = 64;
    SetDefaultDrawing(false);
    FDataColCount = DefaultColCount;
    FDataRowCount = DefaultRowCount;
    SetColCount(DefaultColCount + 1);
    SetRowCount(DefaultRowCount + 1);
    SetFixedCols(1);
    SetFixedRows(1);
    FLastFixedCol = 0;
    FLastFixedRow = 0;
    SetGridLineWidth(0);
    FCols->Item(0)->SetWidth(14);
    FRows->Item(0)->SetHeight(15);
    FRowBarWidthRef = 14;
    FHeadingHeightRef = 15;
    SetCol(1);
    SetRow(1);
    FHeadingFont = std::make_unique<TFont>();
    FHeadingFont->Assign(Font());
    FHeadingFont->OnChange = [this](TObject*) { HeadingFontChanged(); };
    CalcHorzFixedWidth();
    CalcVertFixedHeight();
    FSettingDefaults = false;
}

TgxBaseGrid::~TgxBaseGrid() {
    StopTimer(FButtonTimer);
    StopTimer(FSpinTimer);
    // The in-place controls go first: one going may still draw on the grid
    // (its caret), which needs the model in place.
    FGridControl = nullptr;
    FEditControl.reset();
    FCheckControl.reset();
    for (auto& Control : FDefaultControls)
        Control.reset();
    // Columns, rows and cell elements tell the grid of their going: let
    // them do it while the grid's lists still exist.
    FCellProps.reset();
    FCols.reset();
    FRows.reset();
    for (auto& Button : FButtons)
        Button.reset();
    FStore.reset();
    ResetGridDc();
}

void TgxBaseGrid::CreateGridControls() {
    // Their notifications reach the grid once a control is hosted.
    FEditControl = std::make_unique<TgxEditGridControl>(this);
    FCheckControl = std::make_unique<TgxCheckGridControl>(this);
    for (auto& Control : FDefaultControls)
        Control = std::make_unique<TgxDefaultGridControl>(this);
    for (TgxCustomGridControl* Control : {FEditControl.get(), FCheckControl.get(),
                                          FDefaultControls[0].get(), FDefaultControls[1].get()})
        Control->SetGrid(this);
    auto* Check = static_cast<TgxCheckGridControl*>(FCheckControl.get());
    Check->CheckBox()->AllowGrayed = false;
    Check->SetCheckBoxValues(FCheckBoxValues);
}

void TgxBaseGrid::SetCheckBoxOnBitmap(TBitmap* Bitmap) {
    static_cast<TgxCheckGridControl*>(FCheckControl.get())->SetCheckBoxBitmap(cbChecked, Bitmap);
    InvalidateGridNow();
}

void TgxBaseGrid::SetCheckBoxOffBitmap(TBitmap* Bitmap) {
    static_cast<TgxCheckGridControl*>(FCheckControl.get())->SetCheckBoxBitmap(cbUnchecked, Bitmap);
    InvalidateGridNow();
}

void TgxBaseGrid::SetCheckBoxGrayedBitmap(TBitmap* Bitmap) {
    static_cast<TgxCheckGridControl*>(FCheckControl.get())->SetCheckBoxBitmap(cbGrayed, Bitmap);
    InvalidateGridNow();
}

TgxCustomGridControl* TgxBaseGrid::GridCellControl(TgxControlType Type) const {
    switch (Type) {
    case ctText:
        return FEditControl.get();
    case ctCheck:
        return FCheckControl.get();
    case ctPicture:
        return FDefaultControls[0].get();
    default:
        return FDefaultControls[1].get();
    }
}

std::unique_ptr<TgxGridCols> TgxBaseGrid::CreateCols(int Count) {
    return std::make_unique<TgxGridCols>(Count, this);
}

std::unique_ptr<TgxGridRows> TgxBaseGrid::CreateRows(int Count) {
    return std::make_unique<TgxGridRows>(Count, this);
}

std::unique_ptr<TgxCurrentCell> TgxBaseGrid::CreateCurrentCell() {
    return std::make_unique<TgxCurrentCell>(this);
}

void TgxBaseGrid::ResizeDisplayArrays() {
    const auto Extend = [](std::vector<std::int32_t>& Map, int Count) {
        const int Old = static_cast<int>(Map.size());
        if (Count == Old) return;
        // Rows are mostly added one at a time.
        if (Count == Old + 1) {
            Map.push_back(Old);
            return;
        }
        Map.resize(static_cast<std::size_t>(std::max(Count, 0)));
        for (int I = Old; I < Count; ++I)
            Map[static_cast<std::size_t>(I)] = I;
    };
    Extend(FDisplayCols, ColCount());
    Extend(FDisplayRows, RowCount());
}

void TgxBaseGrid::SetHeadingFont(TFont* Value) {
    if (Value) FHeadingFont->Assign(Value);
}

void TgxBaseGrid::SetHeadingParentFont(bool Value) {
    if (Value == FHeadingParentFont) return;
    FHeadingParentFont = Value;
    if (Value) FollowHeadingFont(Parent() ? Parent()->Font() : Font());
}

void TgxBaseGrid::FollowHeadingFont(TFont* From) {
    FUpdatingHeadingFont = true;
    try {
        FHeadingFont->Assign(From);
    } catch (...) {
        FUpdatingHeadingFont = false;
        throw;
    }
    FUpdatingHeadingFont = false;
}

void TgxBaseGrid::HeadingFontChanged() {
    // A font set from outside is the heading's own from then on.
    if (!FUpdatingHeadingFont && !FSettingDefaults) FHeadingParentFont = false;
    // Columns that keep a heading font while following the grid's take the
    // change over.
    for (int I = 0; I < FAutoFontCols->Count(); ++I) {
        const int DataCol = FAutoFontCols->GetItem(I);
        if (DataCol >= 0 && DataCol < FCols->Count()) FCols->Item(DataCol)->CheckHeadingFont();
    }
    if (PaintEnabled() && !FSettingDefaults) CheckInvalidateRow(0);
}

bool TgxBaseGrid::GetInDesignMode() const {
    if (ComponentState().Contains(csDesigning) || FDesignOverride) return true;
    // A list is designed with the grid whose combo it serves.
    const TgxBaseGrid* Parent = IsComboGrid() ? GetParentGrid() : nullptr;
    return Parent && Parent != this && Parent->GetInDesignMode();
}

bool TgxBaseGrid::SetInDesignMode(bool Value) {
    const bool Old = GetInDesignMode();
    if (Value != FDesignOverride) FDesignOverride = Value;
    return Old;
}

} // namespace grid
