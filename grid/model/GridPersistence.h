#pragma once
// The saved state of a grid: a component of its own, written to and read
// from the framework's component stream, that carries the grid's published
// properties, its counts, the non-default columns, rows and cells, the
// current cell and selection, and optionally the cell values.
#include "grid/model/PropDefaults.h"
#include "grid/model/PropKinds.h"
#include "platform/classes/Component.h"

#include <memory>
#include <vector>

namespace grid {

class TgxBaseGrid;
class TgxPropCollection;

class TgxGridStreamComponent : public TComponent {
public:
    explicit TgxGridStreamComponent(TComponent* AOwner) : TComponent(AOwner) {}
    ~TgxGridStreamComponent() override;
    AnsiString ClassName() const override { return "TgxGridStreamComponent"; }

    // The grid saved or loaded.
    TgxBaseGrid* Grid() const { return FGrid; }
    void SetGrid(TgxBaseGrid* Value) { FGrid = Value; }
    TgxPropKinds SavePropKinds() const { return FKinds; }
    void SetSavePropKinds(TgxPropKinds Value) { FKinds = Value; }
    bool SaveData() const { return FSaveData; }
    void SetSaveData(bool Value) { FSaveData = Value; }
    TgxProperties Properties() const { return FProperties; }
    void SetProperties(TgxProperties Value) { FProperties = Value; }
    bool CompleteSet() const { return FAllProperties; }
    void SetAllProperties(bool Value) { FAllProperties = Value; }

    void DefineProperties(TFiler* Filer) override;

private:
    // The grid the groups are written from: a copy with the properties
    // outside the chosen set reset, when the set is not complete.
    TgxBaseGrid* SourceGrid();
    void ResetForLoad();
    // Each defined property is read once, in the order it is written: a
    // count read after the columns would free columns the reader still
    // has to give their links to.
    void ReadStep(int Step, const char* Name);

    TgxBaseGrid* FGrid = nullptr;
    TgxPropKinds FKinds = AllPropKinds;
    bool FSaveData = false;
    TgxProperties FProperties = AllProperties();
    bool FAllProperties = true;
    std::unique_ptr<TgxBaseGrid> FCopy;
    int FReadStep = 0;
    // The column and cell collections read, kept until the reader has
    // resolved the links their columns and cells refer to.
    std::vector<std::unique_ptr<TgxPropCollection>> FReadItems;
};

} // namespace grid
