#pragma once
// TDcTableConnection: serves a table of the same owner. Besides what every
// dataset connection does, it lets the engine choose the table's order, and
// (with UseSetRange) narrows the table by a range on its index instead of a
// filter. While the engine reads, a detail table is detached from its master
// so that every row is served; restoring puts the master back.
#include "platform/data/Table.h"
#include "reportconn/DcDataSetConnection.h"

namespace reportconn {

class TDcTableConnection : public TDcCustomDataSetConnection {
public:
    explicit TDcTableConnection(TComponent* AOwner);
    ~TDcTableConnection() override;
    AnsiString ClassName() const override { return "TDcTableConnection"; }

    TTable* Table() const { return FTable; }
    void SetTable(TTable* Value);
    TDataSet* DataSet() const override { return FTable; }
    bool LocalFilterDefault() const override { return false; }

    bool UseSetRange() const { return FUseSetRange; }
    void SetUseSetRange(bool Value) { FUseSetRange = Value; }

protected:
    // With UseSetRange each filter item's value, as text, is both ends of
    // the range on the item's field: the rows equal to it. The fields must
    // lead the table's index.
    void DoSetFilter() override;
    void DoGetSorts() override {}
    // The names up to the empty one become the table's index fields.
    void DoSetSort() override;
    void DoOpen() override;
    void DoRestore() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Watch(TComponent* Old, TComponent* New);

    TTable* FTable = nullptr;
    bool FUseSetRange = false;
    bool FOpened = false;
    TDataSource* FSavedMasterSource = nullptr;
    AnsiString FSavedMasterFields;
    bool FMasterDetached = false;
    AnsiString FSavedIndexFieldNames;
    bool FRangeSet = false;
};

} // namespace reportconn
