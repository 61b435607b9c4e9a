// State transfer between grids and reset to a new grid's state. A grid
// takes another's state group by group, each group copied as the table of
// kinds says, so a copy of one group leaves the others as they are.
#include "grid/foundation/CellStore.h"
#include "grid/foundation/GridCommonProps.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridGuards.h"
#include "grid/model/Rows.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <set>
#include <vector>

namespace grid {

namespace {

// The names of a ";"-separated list, in lower case.
std::set<AnsiString> LowerNames(const AnsiString& List) {
    std::set<AnsiString> Result;
    std::size_t Start = 0;
    while (Start <= List.size()) {
        std::size_t End = List.find(';', Start);
        if (End == AnsiString::npos) End = List.size();
        const AnsiString Name = Trim(List.substr(Start, End - Start));
        if (!Name.empty()) Result.insert(LowerCase(Name));
        Start = End + 1;
    }
    return Result;
}

// The grid's published links to other components (definitions, lists, a
// report, a menu), as a list of names.
AnsiString LinkNames(const TgxBaseGrid& Grid) {
    AnsiString Names;
    for (const TPropInfo* Prop : GetPropList(&Grid))
        if (Prop->Kind() == tkClass && Prop->PropType->IsComponent) Names += Prop->Name + ";";
    return Names;
}

// Holds the grid's move reports back for its lifetime: the steps of taking
// another grid's order are not moves of their own.
class TMovesHeld {
public:
    explicit TMovesHeld(TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.HoldMoves(true); }
    ~TMovesHeld() { FGrid.HoldMoves(false); }
    TMovesHeld(const TMovesHeld&) = delete;
    TMovesHeld& operator=(const TMovesHeld&) = delete;

private:
    TgxBaseGrid& FGrid;
};

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
        // A grid taking a designed grid is designed too, and so takes it
        // as it is shown.
        if (!GetInDesignMode()) SetInDesignMode(Grid->GetInDesignMode());
        AssignPropKinds(Grid, AllPropKinds, true);
        return;
    }
    TCustomGrid_ts::Assign(Source);
}

void TgxBaseGrid::AssignPropKinds(TgxBaseGrid* Source, TgxPropKinds Kinds, bool WithData) {
    CopyPropKinds(Source, Kinds, WithData, false);
}

void TgxBaseGrid::CopyPropKinds(TgxBaseGrid* Source, TgxPropKinds Kinds, bool WithData,
                                bool Reset) {
    if (!Source || Source == this) return;
    TgxFastAssignOn Fast(*this);
    if (Kinds.Contains(pkGrid)) {
        // The counts and default sizes are the column and row groups'. The
        // values are no group: a reset keeps them. A load resets before it
        // reads, and the links it cannot name in its stream (to components
        // on no form) stay.
        AnsiString Excluded;
        if (Reset) Excluded += "StoreData;";
        if (Reset && Reading()) Excluded += LinkNames(*this);
        if (!Kinds.Contains(pkCols)) Excluded += "Cols;DefaultColWidth;";
        if (!Kinds.Contains(pkRows)) Excluded += "Rows;DefaultRowHeight;";
        if (FColMatch == cmaFieldName && Reading()) Excluded += "FieldState;";
        AssignProperties(Source, Excluded);
    }
    if (Kinds.Contains(pkCols)) {
        SetGridColCount(Source->GetGridColCount());
        if (DefaultColWidth() != Source->DefaultColWidth())
            SetDefaultColWidth(Source->DefaultColWidth());
        AssignColProperties(Source);
    }
    if (Kinds.Contains(pkRows)) {
        SetGridRowCount(Source->GetGridRowCount());
        if (DefaultRowHeight() != Source->DefaultRowHeight())
            SetDefaultRowHeight(Source->DefaultRowHeight());
        AssignRowProperties(Source);
        AssignChangedRows(Source);
    }
    if (Kinds.Contains(pkCells)) {
        // Copied cells make room for themselves in a smaller grid; reset
        // ones need none.
        if (!Reset && GetGridColCount() < Source->GetGridColCount())
            SetGridColCount(Source->GetGridColCount());
        if (!Reset && GetGridRowCount() < Source->GetGridRowCount())
            SetGridRowCount(Source->GetGridRowCount());
        AssignCellProperties(Source);
    }
    AssignSelections(Source, Kinds);
    if (WithData)
        AssignGridData(Source);
    else
        CheckGridData(0, 0);
    CheckGridStatus();
    CheckTopLeftNow();
    UpdateScrollRange();
}

// ---- single groups ---------------------------------------------------------------------

void TgxBaseGrid::AssignProperties(TgxBaseGrid* Source, const AnsiString& ExcludedNames) {
    if (!Source || Source == this) return;
    const std::set<AnsiString> Asked = LowerNames(ExcludedNames);
    AnsiString Kept = ExcludedNames +
                      ";Height;Left;Name;Top;Width;Visible;TabOrder;DefaultColWidth;"
                      "DefaultRowHeight;Datasource;ColProperties;RowProperties;CellProperties;"
                      "Constraints";
    if (IsComboGrid()) Kept += ";RowSelectMode;GridMode";
    TgxFastAssignOn Fast(*this);
    AssignObject(this, Source, Kept);
    if (!Asked.count("defaultcolwidth") && DefaultColWidth() != Source->DefaultColWidth())
        SetDefaultColWidth(Source->DefaultColWidth());
    if (!Asked.count("defaultrowheight") && DefaultRowHeight() != Source->DefaultRowHeight())
        SetDefaultRowHeight(Source->DefaultRowHeight());
    if (!Asked.count("constraints")) Constraints()->Assign(Source->Constraints());
}

void TgxBaseGrid::AssignColProperties(TgxBaseGrid* Source) {
    if (!Source || Source == this) return;
    const int Count = GetGridColCount();
    if (Source->GetGridColCount() != Count)
        InvalidOp(Format("Column properties of a grid with %d columns cannot go to one with %d",
                         Source->GetGridColCount(), Count));
    // In design mode each column takes the source column shown at its own
    // position; otherwise the column of its own number and its position.
    const bool Design = GetInDesignMode();
    TgxFastAssignOn Fast(*this);
    for (int I = 1; I <= Count; ++I) {
        TgxCol* From = Source->GridCols()->Item(Design ? Source->GetDataCol(I) : I);
        TgxCol* To = FCols->Item(I);
        if (!From || !To) continue;
        To->Assign(From);
        // The heading font is the column's as much as its cell font.
        To->SetHeadingFont(From->HeadingParentFont() ? nullptr : From->HeadingFontObject());
    }
    if (!Design) {
        // The order is taken in steps; then each column that stands
        // elsewhere than before is reported once, as not moved by the user.
        std::vector<int> Moved;
        for (int C = 1; C <= Count; ++C)
            if (GetDisplayCol(C) != Source->GetDisplayCol(C)) Moved.push_back(C);
        {
            TMovesHeld Held(*this);
            for (int D = 1; D <= Count; ++D) {
                const int DataCol = Source->GetDataCol(D);
                if (GetDisplayCol(DataCol) != D) FCols->Item(DataCol)->SetDisplayCol(D);
            }
        }
        for (int C : Moved)
            DoColMoved(GetDisplayCol(C), 1, false);
    }
    UpdateScrollRange();
    InvalidateGridNow();
}

void TgxBaseGrid::AssignRowProperties(TgxBaseGrid* Source) {
    if (!Source || Source == this) return;
    const int Count = std::min(GetGridRowCount(), Source->GetGridRowCount());
    const bool Design = GetInDesignMode();
    // A row without an object of its own in the source takes the look of a
    // fresh row: a reset would bring back the height last set on it, which
    // the source does not have. Where it shows is the order's concern, below.
    const TgxRow Fresh(this, 0);
    TgxFastAssignOn Fast(*this);
    for (int I = 1; I <= Count; ++I) {
        const TgxRow* From = Source->GridRows()->Item(Design ? Source->GetDataRow(I) : I);
        TgxRow* To = FRows->Item(I);
        if (From) {
            // The order follows below, reported once.
            if (!To) To = FRows->CreateDataRow(I);
            To->AssignProperties(*From);
        } else if (To) {
            To->AssignProperties(Fresh);
            FRows->CheckRemoveDataRow(I);
        }
    }
    if (!Design) {
        std::vector<int> Moved;
        for (int R = 1; R <= Count; ++R)
            if (GetDisplayRow(R) != Source->GetDisplayRow(R)) Moved.push_back(R);
        {
            TMovesHeld Held(*this);
            for (int D = 1; D <= Count; ++D) {
                const int DataRow = Source->GetDataRow(D);
                if (DataRow <= Count && GetDisplayRow(DataRow) != D) SetDisplayRownr(DataRow, D);
            }
        }
        for (int R : Moved)
            DoRowMoved(GetDisplayRow(R), 1, false);
    }
    UpdateScrollRange();
    InvalidateGridNow();
}

void TgxBaseGrid::AssignChangedRows(TgxBaseGrid* Source) {
    if (!Source || Source == this || GetInDesignMode()) return;
    for (int R = 1; R <= GetGridRowCount(); ++R)
        SetRowChanged(R, R <= Source->GetGridRowCount() && Source->GetRowChanged(R));
}

void TgxBaseGrid::AssignCellProperties(TgxBaseGrid* Source) {
    if (!Source || Source == this) return;
    TgxFastAssignOn Fast(*this);
    for (TgxCellElement* Element : FCellProps->Elements())
        FCellProps->DeleteElement(Element);
    const bool Design = GetInDesignMode();
    for (const TgxCellElement* From : Source->CellProps()->Elements()) {
        int Col = From->DataCol(), Row = From->DataRow();
        if (Design) {
            Col = Source->GetDisplayCol(Col);
            Row = Source->GetDisplayRow(Row);
        }
        // A cell this grid has no room for has no home here.
        if (Col < 1 || Row < 1 || Col > GetGridColCount() || Row > GetGridRowCount()) continue;
        TgxCellElement* To = CreateCellElement(Col, Row);
        To->AssignProperties(*From);
        FCellProps->CheckDelete(To);
    }
    ResetLastCell();
    InvalidateGridNow();
}

namespace {

// Takes Source's selected positions that Target has room for: a larger
// grid's selection must not select columns or rows this grid lacks.
bool AssignFitting(TgxSelection& Target, const TgxSelection& Source) {
    TgxSelection Fitted;
    Fitted.Assign(Source);
    Fitted.SetSize(Target.GetSize());
    return Target.Assign(Fitted);
}

} // namespace

bool TgxBaseGrid::AssignColSelections(TgxBaseGrid* Source) {
    return AssignFitting(FColSelection, Source->ColSelection());
}

bool TgxBaseGrid::AssignRowSelections(TgxBaseGrid* Source) {
    return AssignFitting(FRowSelection, Source->RowSelection());
}

// The block of cells the user selected and the base control's own anchor
// and current cell both describe a cell selection; both are taken over.
bool TgxBaseGrid::AssignCellSelections(TgxBaseGrid* Source) {
    bool Changed = false;
    const TGridRect Anchored = Source->Selection();
    if (Anchored != Selection() && Anchored.Right < ColCount() && Anchored.Bottom < RowCount()) {
        SetSelection(Anchored);
        Changed = true;
    }
    const TRect Range = Source->SelectedRange();
    if (Range != FRange && Range.Right < ColCount() && Range.Bottom < RowCount()) {
        FRange = Range;
        FRangeAnchor = Source->RangeAnchor();
        Changed = true;
    }
    return Changed;
}

void TgxBaseGrid::AssignSelections(TgxBaseGrid* Source, TgxPropKinds Kinds) {
    if (!Source || Source == this || GetInDesignMode() || IsComboGrid()) return;
    std::vector<TgxSelectType> Changed;
    if (Kinds.Contains(pkCols) && AssignColSelections(Source)) Changed.push_back(stColSelect);
    if (Kinds.Contains(pkRows) && AssignRowSelections(Source)) Changed.push_back(stRowSelect);
    if (Kinds.Contains(pkCells) && AssignCellSelections(Source)) Changed.push_back(stCellSelect);
    CheckGridStatus();
    InvalidateGridNow();
    if (IsLoading()) return;
    for (TgxSelectType Kind : Changed)
        DoSelectChanged(Kind, false);
}

void TgxBaseGrid::AssignGridData(TgxBaseGrid* Source) {
    if (!Source || Source == this) return;
    SetStoreData(Source->StoreData());
    if (StoreData()) CopyStoredValues(Source);
    // The editor and its buffer held the current cell's value from before:
    // they take the one now stored.
    CurrentCell()->Refresh();
    RedisplayControl(true);
    InvalidateGridNow();
}

void TgxBaseGrid::CopyStoredValues(TgxBaseGrid* Source) {
    FImageListIds->Assign(Source->ImageListIds());
    const Tgx2DStorage* From = Source->DataStore();
    if (!FStore || !From) return;
    if (!GetInDesignMode()) {
        FStore->Assign(From);
    } else {
        // In design mode each value goes where the source shows it.
        FStore->Clear(0, true);
        for (int R = 1; R <= From->MaxRowSet(); ++R)
            for (int C = 1; C <= From->MaxColValueSet(R); ++C) {
                const TgxValueType Type = From->GetValueType(C, R);
                const int Col = Source->GetDisplayCol(C), Row = Source->GetDisplayRow(R);
                if (Type == vtpNone || Col < 1 || Row < 1) continue;
                FStore->SetValue(Col, Row, Type, From->GetValue(C, R));
            }
    }
}

void TgxBaseGrid::CopyData(TgxBaseGrid* Source) {
    if (!Source || Source == this) return;
    AssignGridData(Source);
    if (StoreData() && FStore && Source->DataStore()) {
        if (GetGridRowCount() < Source->GetGridRowCount())
            FStore->DeleteRows(GetGridRowCount() + 1, Source->GetGridRowCount());
        if (GetGridColCount() < Source->GetGridColCount())
            FStore->DeleteCols(GetGridColCount() + 1, Source->GetGridColCount());
    }
    InvalidateGridNow();
}

void TgxBaseGrid::ResetPropKinds(TgxPropKinds Kinds) {
    const std::unique_ptr<TgxBaseGrid> Fresh = CreateSameGrid();
    CopyPropKinds(Fresh.get(), Kinds, false, true);
    // A list grid's new state is the one its parent gives a new list: the
    // list's settings, the width of the column it serves and its extents.
    auto* List = dynamic_cast<TgxComboGrid*>(this);
    TgxBaseGrid* Parent = List && !Reading() ? GetParentGrid() : nullptr;
    TgxCombo* Combo = List ? List->GetParentGridCombo() : nullptr;
    if (!Parent || !Combo) return;
    if (Kinds.Contains(pkGrid)) Parent->InitializeComboSettings(List);
    if (Kinds.Contains(pkCols))
        for (int C = 1; C <= Parent->GetGridColCount(); ++C)
            if (Parent->GridCols()->Item(C)->GetCombo() == Combo)
                InitComboColWidth(Parent->GridCols()->Item(C)->Width());
    if (Kinds.Contains(pkCols) && Kinds.Contains(pkRows)) Parent->InitCombo(Combo);
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
    // Columns sized all together go back to the common width, not each to
    // the width it was last given alone.
    const bool Uniform = FResizeCols == rcAll && Properties.Contains(prWidth);
    const TgxProperties Each =
        FResizeCols == rcAll ? Properties - TgxProperties{prWidth} : Properties;
    for (int C = 1; C <= GetGridColCount(); ++C)
        FCols->Item(C)->Reset(Each);
    if (Uniform) {
        CheckHideControl(false);
        for (int C = 1; C <= GetGridColCount(); ++C)
            FCols->Item(C)->SetWidth(DefaultColWidth());
        RedisplayControl();
    }
    CheckGridStatus();
}

void TgxBaseGrid::ResetRowProperties(TgxProperties Properties) {
    if (Properties.Empty()) return;
    TgxPaintOff Off(*this);
    if (Properties.Contains(prSelected)) FRowSelection.Reset();
    const bool Uniform = FResizeRows == rrAll && Properties.Contains(prHeight);
    const TgxProperties Each =
        FResizeRows == rrAll ? Properties - TgxProperties{prHeight} : Properties;
    if (Uniform) CheckHideControl(false);
    for (int R = 1; R <= GetGridRowCount(); ++R) {
        if (TgxRow* Row = FRows->Item(R)) {
            Row->Reset(Each);
            // Rows sized all together go back to the common height.
            if (Uniform) Row->SetHeight(DefaultRowHeight());
            // A row back at every default needs no object of its own.
            FRows->CheckRemoveDataRow(R);
        }
        if (Properties.Contains(prChanged)) SetRowChanged(R, false);
    }
    // Back to data order: each data row to its own position, in turn.
    if (Properties.Contains(prDisplayNumber))
        for (int R = 1; R <= GetGridRowCount(); ++R)
            SetDisplayRownr(R, R);
    if (Uniform) RedisplayControl();
    CheckGridStatus();
}

void TgxBaseGrid::ResetCellProperties(TgxProperties Properties) {
    if (Properties.Empty()) return;
    TgxPaintOff Off(*this);
    if (Properties.Contains(prSelected) && FGridStatus == grCellSelect) {
        DeleteSelections({grCellSelect}, false);
        FAnchor = FCurrent;
        SelectionsChanged(false);
        GridStatusChanged();
        ShowGridControl();
    }
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
    else if (FRange == TRect{0, 0, 0, 0} && FAnchor.X == FCurrent.X && FAnchor.Y == FCurrent.Y)
        FGridStatus = grNormal;
    else
        FGridStatus = grCellSelect;
    if (Old != FGridStatus && !GetFastAssign()) DoGridStatusChanged(Old, FGridStatus);
}

} // namespace grid
