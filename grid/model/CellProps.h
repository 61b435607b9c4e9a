#pragma once
// Sparse cell properties: one element per cell that has at least one
// property away from its default, in an ordered set keyed by (data row,
// data column). An element comes with the first property set away from
// its default and goes as soon as every property is back at its default.
#include "grid/foundation/IntLists.h"
#include "grid/foundation/OrderedSets.h"
#include "grid/model/ComboTypes.h"
#include "grid/model/GridTypes.h"
#include "platform/gui/Graphics.h"

#include <memory>

namespace grid {

class TgxBaseGrid;
class TgxDateTimeDefComponent;

class TgxCustomElement : public TgxSetElement {
public:
    explicit TgxCustomElement(TgxBaseGrid* Grid) : FGrid(Grid) {}
    TgxBaseGrid* Grid() const { return FGrid; }

    virtual Variant GetPropValue(TgxProperty Prop, int SubIndex) const = 0;
    virtual void SetPropValue(const Variant& Value, TgxProperty Prop, int SubIndex) = 0;
    virtual void AssignProperties(const TgxCustomElement&) {}
    virtual void Assign(const TgxCustomElement&) {}
    virtual bool Empty() const = 0;

protected:
    TgxBaseGrid* FGrid;
};

// One value per property a cell can hold.
class TgxCustomPropElement : public TgxCustomElement {
public:
    explicit TgxCustomPropElement(TgxBaseGrid* Grid) : TgxCustomElement(Grid) {}
    ~TgxCustomPropElement() override;

    Variant GetPropValue(TgxProperty Prop, int SubIndex) const override;
    void SetPropValue(const Variant& Value, TgxProperty Prop, int SubIndex) override;
    void AssignProperties(const TgxCustomElement& Source) override;
    void Assign(const TgxCustomElement& Source) override;
    // Every value at its default, no AutoCreateFont, font, combo or
    // date-time definition.
    bool Empty() const override;

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value);
    virtual void SetParentFont(bool Value);
    bool ParentFont() const { return FParentFont; }
    bool AutoCreateFont() const { return FAutoCreateFont; }
    void SetAutoCreateFontValue(bool Value) { FAutoCreateFont = Value; }
    void SetAlignment(TAlignment Value);
    void SetAlign(bool Value);
    void SetHorzAlignment(TgxHorzAlignment Value);
    void SetButtonType(TgxButtonType Value);
    void SetDropDownStyle(TgxDropDownStyle Value);
    // False gives the cell a list of its own, true drops it.
    void SetParentCombo(bool Value);
    TgxCombo* GetCombo() const { return FCombo.get(); }
    // A copy of Value becomes the cell's own; nullptr drops it.
    void SetCombo(TgxCombo* Value);
    virtual void AssignCombo();
    void SetDateTimeDef(TgxDateTimeDefComponent* Value);
    void RemoveFonts();
    // A following element's own font takes the font the grid shows.
    void CheckFont(TFont* Resolved);

protected:
    void CopyFont(TFont* Source);
    // The own font changed: unless the element copied it itself, the cell
    // no longer follows the grid font.
    virtual void FontChange();
    int FFontLock = 0;
    TColor FColor = clNone;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    TgxAlignmentState FAlignState;
    TgxVertAlignment FVertAlignment = vtaDefault;
    bool FIs3D = false;
    bool FReadOnlyFlag = false;
    TgxWordWrap FWordWrap = uiDefault;
    TgxButtonType FButtonType = btDefault;
    TgxDropDownStyle FDropDownStyle = ddDropDown;
    TgxReadOnly FReadOnly = roDefault;
    AnsiString FMaskName;
    bool FAutoCreateFont = false;
    bool FParentCombo = true;
    TgxOwnedCombo FCombo;
    TgxDrawOption FPicture[4] = {dopDefault, dopDefault, dopDefault, dopDefault};
    TgxControlType FControlType = ctDefault;
    TgxSpinOptions FSpinOptions{spoAutoRepeat, spoAutoIncrement, spoKeyEdit};
    double FSpinIncrement = 1.0;
    TgxDateTimeDefComponent* FDateTimeDef = nullptr;
    std::int32_t FTag = 0;
    TObject* FData = nullptr;
};

class TgxCellElement : public TgxCustomPropElement {
public:
    TgxCellElement(TgxBaseGrid* Grid, int DataCol, int DataRow);
    ~TgxCellElement() override;

    std::uint8_t Compare(const TgxCustomSet* Set, const TgxSetElement* Element) const override;
    std::uint8_t CompareKey(const TgxCustomSet* Set, std::span<const TVarRec> Key) const override;
    void Assign(const TgxCustomElement& Source) override;

    int DataCol() const { return FDataCol; }
    int DataRow() const { return FDataRow; }
    void FontChange() override;
    // The list's columns start as wide as the cell's column.
    void AssignCombo() override;
    void SetKey(int DataCol, int DataRow) {
        FDataCol = DataCol;
        FDataRow = DataRow;
    }

private:
    int FDataCol;
    int FDataRow;
};

class TgxCustomPropSet : public TgxObjectSet {
public:
    explicit TgxCustomPropSet(TgxBaseGrid* Grid) : FGrid(Grid) {}
    AnsiString ClassName() const override { return "TgxCustomPropSet"; }
    TgxBaseGrid* Grid() const { return FGrid; }

    virtual TgxCustomElement* CreateElement(int DataCol, int DataRow) = 0;
    virtual void AddElement(TgxCustomElement* Element) { Add(Element); }
    virtual void DeleteElement(TgxCustomElement* Element) = 0;
    virtual bool CheckDelete(TgxCustomElement* Element) = 0;
    // Sets one property of the cell; true when the value changed. Element
    // is the cell's element or none, and none after the element went.
    virtual bool SetProperty(int DataCol, int DataRow, bool Redraw, int SubIndex, TgxProperty Prop,
                             const Variant& Value, TgxCustomElement*& Element);

protected:
    TgxBaseGrid* FGrid;
};

class TgxCellPropSet : public TgxCustomPropSet {
public:
    using TgxCustomPropSet::TgxCustomPropSet;
    AnsiString ClassName() const override { return "TgxCellPropSet"; }

    TgxCustomElement* CreateElement(int DataCol, int DataRow) override;
    void AddElement(TgxCustomElement* Element) override;
    void DeleteElement(TgxCustomElement* Element) override;
    bool CheckDelete(TgxCustomElement* Element) override;
    bool SetProperty(int DataCol, int DataRow, bool Redraw, int SubIndex, TgxProperty Prop,
                     const Variant& Value, TgxCustomElement*& Element) override;
    // AutoCreateFont of the cell, keeping the grid's coordinate list.
    void SetAutoCreateFont(int DataCol, int DataRow, bool Redraw, bool Value,
                           TgxCustomElement*& Element);
    TgxCellElement* Find(int DataCol, int DataRow) const;
    // Resets the properties of every element (each repainted at most once).
    void ResetProperties(TgxProperties Properties, bool Redraw);
    void ResetElement(TgxCellElement* Element, TgxProperties Properties, bool Redraw);
    void CheckRedraw(int DataCol, int DataRow, bool SkipWhilePainting);
    // The elements in key order (row, then column).
    std::vector<TgxCellElement*> Elements() const;
    // Moves an element to another key (its entry is re-inserted).
    void Rekey(TgxCellElement* Element, int DataCol, int DataRow);

protected:
    TgxSetNode* NewNode(const void* KeyPointer) override;
};

// (column, row) pairs of the cells that create their font automatically.
class TgxCoordList : public TgxIntegerList {
public:
    AnsiString ClassName() const override { return "TgxCoordList"; }
    void AddCoord(int Col, int Row);
    void RemoveCoord(int Col, int Row);
    // Overwrites the pair starting at an even item index; ignored past the end.
    void UpdateCoord(int Index, int Col, int Row);
    // The pair at Index (advanced by 2), or false with both 0 at the end.
    bool NextCoord(int& Index, int& Col, int& Row) const;
};

} // namespace grid
