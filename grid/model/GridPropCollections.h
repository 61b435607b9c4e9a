#pragma once
// The collections a grid streams its non-default columns, rows and cells
// in: each item names one column, row or cell and carries that object's
// published properties as a sub-object, so the framework's collection
// reader and writer stream them. An item applies itself to the grid as its
// properties arrive; every number it is given is checked against the grid.
#include "grid/model/CellFacade.h"
#include "platform/classes/Collection.h"

#include <memory>

namespace grid {

class TgxBaseGrid;
class TgxCol;
class TgxRow;

class TgxPropCollection : public TCollection {
public:
    TgxPropCollection(TgxBaseGrid* Grid, TCollectionItemClass ItemClass)
        : TCollection(std::move(ItemClass)), FGrid(Grid) {}
    AnsiString ClassName() const override { return "TgxPropCollection"; }
    TgxBaseGrid* Grid() const { return FGrid; }

private:
    TgxBaseGrid* FGrid;
};

class TgxColCollection : public TgxPropCollection {
public:
    explicit TgxColCollection(TgxBaseGrid* Grid);
    ~TgxColCollection() override;
    AnsiString ClassName() const override { return "TgxColCollection"; }
    // True: items find their column by data column number; false: by field
    // name.
    bool ReadByNumber() const { return FReadByNumber; }
    void SetReadByNumber(bool Value) { FReadByNumber = Value; }
    // A column that takes the stored properties of a column the grid does
    // not have; made on first use.
    TgxCol* ScratchCol();

private:
    bool FReadByNumber = true;
    std::unique_ptr<TgxBaseGrid> FScratchGrid;
};

class TgxCellCollection : public TgxPropCollection {
public:
    explicit TgxCellCollection(TgxBaseGrid* Grid);
    ~TgxCellCollection() override;
    AnsiString ClassName() const override { return "TgxCellCollection"; }
    virtual std::unique_ptr<TgxCell> CreateCell(TgxBaseGrid* Grid);
    virtual void ApplyProps() {}
    TgxCell* SharedCell() const { return FCell.get(); }
    // A grid that takes the stored properties of cells in columns a load
    // by field name found no match for; made on first use.
    TgxBaseGrid* ScratchGrid();

private:
    std::unique_ptr<TgxCell> FCell;
    std::unique_ptr<TgxBaseGrid> FScratchGrid;
};

class TgxColItem : public TCollectionItem {
public:
    explicit TgxColItem(TCollection* Collection) : TCollectionItem(Collection) {}
    AnsiString ClassName() const override { return "TgxColItem"; }
    int DataCol() const { return FDataCol; }
    void SetDataCol(int Value);
    const AnsiString& FieldName() const { return FFieldName; }
    void SetFieldName(const AnsiString& Value);
    TgxCol* Col();
    void Bind(TgxCol* Col, int DataCol, const AnsiString& FieldName);

private:
    TgxColCollection* Owner() const;
    TgxCol* FCol = nullptr;
    int FDataCol = 0;
    AnsiString FFieldName;
};

class TgxRowItem : public TCollectionItem {
public:
    explicit TgxRowItem(TCollection* Collection) : TCollectionItem(Collection) {}
    AnsiString ClassName() const override { return "TgxRowItem"; }
    int DataRow() const { return FDataRow; }
    void SetDataRow(int Value);
    int DisplayRow() const { return FDisplayRow; }
    void SetDisplayRow(int Value);
    bool Selected() const;
    void SetSelected(bool Value);
    TgxRow* Row() const { return FRow; }
    void Bind(TgxRow* Row, int DataRow, int DisplayRow);

private:
    TgxBaseGrid* Grid() const;
    void NeedRow(const char* What) const;
    TgxRow* FRow = nullptr;
    int FDataRow = 0;
    int FDisplayRow = 0;
};

class TgxCellItem : public TCollectionItem {
public:
    // While the grid reads, each item has a facade of its own; otherwise
    // the items share the collection's.
    explicit TgxCellItem(TCollection* Collection);
    ~TgxCellItem() override;
    AnsiString ClassName() const override { return "TgxCellItem"; }
    int DataCol() const { return FDataCol; }
    void SetDataCol(int Value);
    int DataRow() const { return FDataRow; }
    void SetDataRow(int Value);
    // The facade, pointed at this item's cell.
    TgxCell* Cell();
    bool OwnsCell() const { return FOwnCell != nullptr; }

private:
    TgxCellCollection* Owner() const;
    std::unique_ptr<TgxCell> FOwnCell;
    bool FDropped = false;
    int FDataCol = 0;
    int FDataRow = 0;
};

// Fill collections from a grid for writing: columns in display order with
// properties away from their defaults; rows moved or with properties; every
// cell with properties.
std::unique_ptr<TgxColCollection> CreateColCollection(TgxBaseGrid* Grid, bool Fill);
std::unique_ptr<TgxPropCollection> CreateRowCollection(TgxBaseGrid* Grid, bool Fill);
std::unique_ptr<TgxCellCollection> CreateCellCollection(TgxBaseGrid* Grid, bool Fill);

} // namespace grid
