#pragma once
// A combo cell's drop-down list: the list grid (TgxComboGrid) that lives on
// the grid's drop-down form, and the combo (TgxCombo) that owns one such
// list and forwards its settings. Columns, rows and cells may hold a combo
// of their own; only the grid's combo is ever dropped down.
#include "grid/model/ComboTypes.h"
#include "grid/model/GxGrid.h"

namespace grid {

class TgxCombo;
class TgxDropDownForm;

class TgxComboGrid : public TgxCustomGrid {
public:
    // Owner is the drop-down form; its owner is the grid the list serves.
    explicit TgxComboGrid(TComponent* AOwner);
    ~TgxComboGrid() override;
    AnsiString ClassName() const override { return "TgxComboGrid"; }

    TgxComboGrid* GetGrid() { return FGrid; }
    // From another list grid: its grid state with values, then its list
    // settings.
    void Assign(TPersistent* Source) override;
    TgxBaseGrid* GetParentGrid() const override { return FParentGrid; }
    void SetParentGrid(TgxBaseGrid* Value) { FParentGrid = Value; }
    TgxCombo* GetParentGridCombo() const { return FParentGridCombo; }
    void SetParentGridCombo(TgxCombo* Value) { FParentGridCombo = Value; }

    // The list settings back to a new list's.
    void ResetListSettings();
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int Value);
    int DropDownCols() const { return FDropDownCols; }
    void SetDropDownCols(int Value);
    int ValueCol() const { return FValueCol; }
    void SetValueCol(int Value) { FValueCol = Value; }
    int ComboDisplayCol() const { return FComboDisplayCol; }
    void SetComboDisplayCol(int Value) { FComboDisplayCol = Value; }
    bool ValueColSorted() const { return FValueColSorted; }
    void SetValueColSorted(bool Value) { FValueColSorted = Value; }
    TgxComboCompareType CompareType() const { return FCompareType; }
    void SetCompareType(TgxComboCompareType Value) { FCompareType = Value; }
    TgxComboAutoSearchType AutoSearch() const { return FAutoSearch; }
    void SetAutoSearch(TgxComboAutoSearchType Value) { FAutoSearch = Value; }
    bool AutoFill() const { return FAutoFill; }
    // Filling needs a search: switching it on turns a missing search on.
    void SetAutoFill(bool Value);
    TgxConvertCase AutoFillConvertCase() const { return FAutoFillConvertCase; }
    void SetAutoFillConvertCase(TgxConvertCase Value) { FAutoFillConvertCase = Value; }
    TgxDropDownStyle DropDownStyle() const { return FDropDownStyle; }
    void SetDropDownStyle(TgxDropDownStyle Value);
    // Not kept: a list never looks values up.
    bool AutoLookup() const { return false; }
    void SetAutoLookup(bool) {}

    // Whether the list sizes itself to DropDownCols by DropDownRows.
    bool AutoComboExtents() const { return GetSetComboExtents(); }
    // A nesting counter like painting: false adds one, true takes one off.
    void SetAutoComboExtents(bool Enable) { SetSetComboExtents(Enable); }

protected:
    // A click on a row of the open list takes that row into the parent
    // grid's current cell.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TgxComboGrid* FGrid;
    TgxCombo* FParentGridCombo = nullptr;
    TgxBaseGrid* FParentGrid = nullptr;
    int FDropDownRows = 4;
    int FDropDownCols = 1;
    int FValueCol = 1;
    int FComboDisplayCol = 1;
    bool FValueColSorted = false;
    TgxComboCompareType FCompareType = ctCaseInsensitive;
    TgxComboAutoSearchType FAutoSearch = asNone;
    bool FAutoFill = false;
    TgxConvertCase FAutoFillConvertCase = afcOnEdit;
    TgxDropDownStyle FDropDownStyle = ddDropDown;
};

class TgxCombo : public TPersistent {
public:
    // Asks Grid for a list grid on its drop-down form.
    explicit TgxCombo(TgxBaseGrid* Grid);
    ~TgxCombo() override;
    AnsiString ClassName() const override { return "TgxCombo"; }

    TgxComboGrid* GetGrid() const { return FComboGrid; }
    // Another combo's list (its settings, rows and values) copied in.
    void Assign(TPersistent* Source) override;

    int GetDropDownRows() const { return FComboGrid->DropDownRows(); }
    int GetDropDownCols() const { return FComboGrid->DropDownCols(); }
    int GetValueCol() const { return FComboGrid->ValueCol(); }
    int GetComboDisplayCol() const { return FComboGrid->ComboDisplayCol(); }
    bool GetValueColSorted() const { return FComboGrid->ValueColSorted(); }
    TgxComboCompareType GetCompareType() const { return FComboGrid->CompareType(); }
    TgxComboAutoSearchType GetAutoSearch() const { return FComboGrid->AutoSearch(); }
    bool GetAutoFill() const { return FComboGrid->AutoFill(); }
    TgxConvertCase GetAutoFillConvertCase() const { return FComboGrid->AutoFillConvertCase(); }
    bool GetAutoLookup() const { return FComboGrid->AutoLookup(); }
    TgxDropDownStyle GetDropDownStyle() const { return FComboGrid->DropDownStyle(); }
    void SetDropDownRows(int Value);
    void SetDropDownCols(int Value);
    void SetValueCol(int Value);
    void SetComboDisplayCol(int Value);
    void SetValueColSorted(bool Value);
    void SetCompareType(TgxComboCompareType Value);
    void SetAutoSearch(TgxComboAutoSearchType Value);
    void SetAutoFill(bool Value);
    void SetAutoFillConvertCase(TgxConvertCase Value);
    void SetAutoLookup(bool Value);
    void SetDropDownStyle(TgxDropDownStyle Value);
    // The list back to a new list's state.
    void Reset();

private:
    TgxBaseGrid* FOwnerGrid;
    TgxComboGrid* FComboGrid;
};

} // namespace grid
