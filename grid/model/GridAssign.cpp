// State transfer between grids and reset to a new grid's state. A grid
// takes another's groups through the saved state, so assignment, partial
// saves and loads share one path and one set of checks.
#include "grid/foundation/CellStore.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/GridGuards.h"
#include "grid/model/Rows.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Streams.h"

#include <set>

namespace grid {

namespace {

// Published properties of the grid level that a reset leaves alone: where
// the grid stands, what it is called, and what the groups of columns and
// rows or the values decide.
const std::set<AnsiString> KeptOnReset = {
    "Name",   "Left",   "Top", "Width", "Height",          "Visible",          "TabOrder",
    "Cols",   "Rows",   "Tag", "Align", "DefaultColWidth", "DefaultRowHeight", "StoreData",
    "Parent", "Version"};

// Copies the published properties of Source to Dest (same class), except
// the names in Kept.
void CopyPublished(const TgxBaseGrid& Source, TgxBaseGrid& Dest, const std::set<AnsiString>& Kept) {
    for (const TPropInfo* Prop : GetPropList(&Source)) {
        if (Kept.count(Prop->Name) || !Prop->Writable()) continue;
        switch (Prop->Kind()) {
        case tkInteger:
        case tkInt64:
        case tkChar:
        case tkWChar:
        case tkEnumeration:
        case tkSet:
            if (Prop->GetOrd && Prop->SetOrd) Prop->SetOrd(&Dest, Prop->GetOrd(&Source));
            break;
        case tkFloat:
            if (Prop->GetFloat && Prop->SetFloat) Prop->SetFloat(&Dest, Prop->GetFloat(&Source));
            break;
        case tkString:
        case tkLString:
        case tkWString:
            if (Prop->GetStr && Prop->SetStr) Prop->SetStr(&Dest, Prop->GetStr(&Source));
            break;
        case tkVariant:
            if (Prop->GetVar && Prop->SetVar) Prop->SetVar(&Dest, Prop->GetVar(&Source));
            break;
        case tkClass:
            // Links to other components (a report, a menu) are the
            // application's, not grid state: they stay.
            if (Prop->PropType->IsComponent) break;
            if (Prop->GetObj && Prop->SetObj) Prop->SetObj(&Dest, Prop->GetObj(&Source));
            break;
        default:
            break;
        }
    }
}

} // namespace

std::unique_ptr<TgxBaseGrid> TgxBaseGrid::CreateSameGrid() const {
    // The nearest published grid class, so every stored property has a home.
    if (const TClassInfo* Info = GetClassInfo(this); Info && Info->Create) {
        std::unique_ptr<TComponent> Made(Info->Create(nullptr));
        if (auto* Grid = dynamic_cast<TgxBaseGrid*>(Made.get())) {
            Made.release();
            return std::unique_ptr<TgxBaseGrid>(Grid);
        }
    }
    return std::make_unique<TgxBaseGrid>(nullptr);
}

void TgxBaseGrid::Assign(TPersistent* Source) {
    if (auto* Grid = dynamic_cast<TgxBaseGrid*>(Source)) {
        AssignPropKinds(Grid, AllPropKinds, true);
        return;
    }
    TCustomGrid_ts::Assign(Source);
}

void TgxBaseGrid::AssignPropKinds(TgxBaseGrid* Source, TgxPropKinds Kinds, bool WithData) {
    if (!Source || Source == this) return;
    // Where this grid stands and whether it shows are its own.
    const int L = Left(), T = Top(), W = Width(), H = Height();
    const bool Shown = Visible();
    TMemoryStream Stream;
    Source->SavePropToStream(&Stream, Kinds, AllProperties(), WithData);
    Stream.SetPosition(0);
    // The checked load: a source beyond what a stream may hold is refused
    // before this grid changes.
    LoadFromStream(&Stream, cmaNone);
    SetBounds(L, T, W, H);
    SetVisible(Shown);
}

void TgxBaseGrid::CopyData(TgxBaseGrid* Source) {
    if (!Source || Source == this) return;
    SetStoreData(Source->StoreData());
    if (FStore && Source->DataStore()) {
        FStore->Assign(Source->DataStore());
        if (GetGridRowCount() < Source->GetGridRowCount())
            FStore->DeleteRows(GetGridRowCount() + 1, Source->GetGridRowCount());
        if (GetGridColCount() < Source->GetGridColCount())
            FStore->DeleteCols(GetGridColCount() + 1, Source->GetGridColCount());
    }
    InvalidateGridNow();
}

void TgxBaseGrid::ResetPropKinds(TgxPropKinds Kinds) {
    const std::unique_ptr<TgxBaseGrid> Fresh = CreateSameGrid();
    TgxFastAssignOn Fast(*this);
    if (Kinds.Contains(pkCols)) {
        // Taking every column away and making new ones leaves nothing of
        // the old ones: order, sizes, selection and cell properties. The
        // row bar keeps its own width.
        const int RowBar = GetRowBarWidth();
        SetGridColCount(0);
        SetDefaultColWidth(Fresh->DefaultColWidth());
        SetGridColCount(Fresh->GetGridColCount());
        SetRowBarWidth(RowBar);
    }
    if (Kinds.Contains(pkRows)) {
        const int Heading = GetHeadingHeight();
        SetGridRowCount(0);
        SetDefaultRowHeight(Fresh->DefaultRowHeight());
        SetGridRowCount(Fresh->GetGridRowCount());
        SetHeadingHeight(Heading);
    }
    if (Kinds.Contains(pkGrid)) CopyPublished(*Fresh, *this, KeptOnReset);
    if (Kinds.Contains(pkCells)) ResetCellProperties(AllProperties());
    CheckGridStatus();
    UpdateScrollRange();
}

void TgxBaseGrid::ResetProperties(TgxProperties Properties) {
    ResetColProperties(Properties);
    ResetRowProperties(Properties);
    ResetCellProperties(Properties);
}

void TgxBaseGrid::ResetColProperties(TgxProperties Properties) {
    if (Properties.Empty()) return;
    TgxPaintOff Off(*this);
    if (Properties.Contains(prSelected)) FColSelection.Reset();
    for (int C = 1; C <= GetGridColCount(); ++C)
        FCols->Item(C)->Reset(Properties);
    CheckGridStatus();
}

void TgxBaseGrid::ResetRowProperties(TgxProperties Properties) {
    if (Properties.Empty()) return;
    TgxPaintOff Off(*this);
    if (Properties.Contains(prSelected)) FRowSelection.Reset();
    for (int R = 1; R <= GetGridRowCount(); ++R) {
        if (TgxRow* Row = FRows->Item(R)) Row->Reset(Properties);
        if (Properties.Contains(prChanged)) SetRowChanged(R, false);
    }
    // Back to data order: each data row to its own position, in turn.
    if (Properties.Contains(prDisplayNumber))
        for (int R = 1; R <= GetGridRowCount(); ++R)
            SetDisplayRownr(R, R);
    CheckGridStatus();
}

void TgxBaseGrid::ResetCellProperties(TgxProperties Properties) {
    if (Properties.Empty()) return;
    TgxPaintOff Off(*this);
    if (Properties.Contains(prSelected) && FGridStatus == grCellSelect) FAnchor = FCurrent;
    FCellProps->ResetProperties(Properties, true);
    ResetLastCell();
    CheckGridStatus();
}

void TgxBaseGrid::CheckGridStatus() {
    const TgxGridStatus Old = FGridStatus;
    if (FColSelection.Count() > 0)
        FGridStatus = grColSelect;
    else if (FRowSelection.Count() > 0)
        FGridStatus = grRowSelect;
    else if (FAnchor.X == FCurrent.X && FAnchor.Y == FCurrent.Y)
        FGridStatus = grNormal;
    else
        FGridStatus = grCellSelect;
    if (Old != FGridStatus && !GetFastAssign()) DoGridStatusChanged(Old, FGridStatus);
}

} // namespace grid
