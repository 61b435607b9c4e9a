#include "datamodules/DmodWoType.h"

#include "datamodules/DmodCommon.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"

TWoTypeDmod::TWoTypeDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::WoType);
    CreateComponents();
}

void TWoTypeDmod::CreateComponents() {
    SelectAllQuery =
        NewQuery(this, "SelectAllQuery",
                 {"select WorkOrdTypeNbr, WorkOrdType ", "from WO_TYPE", "order by WorkOrdType"});
    AddDataFields(this, SelectAllQuery,
                  {{"WorkOrdTypeNbr", ftInteger}, {"WorkOrdType", ftString, 25}});
    DsWoType = NewDataSource(this, "DsWoType", SelectAllQuery, false);

    UpdateWoTypeSql =
        NewQuery(this, "UpdateWoTypeSql",
                 {"update WO_TYPE", "set WorkOrdType = :typex", "where WorkOrdTypeNbr = :id"});
    InsertWoTypeSql = NewQuery(this, "InsertWoTypeSql",
                               {"insert ", "into WO_TYPE (WorkOrdType) values (:typex)"});
    DeleteWoTypeSql =
        NewQuery(this, "DeleteWoTypeSql", {"delete from  WO_TYPE", "where WorkOrdTypeNbr = :id"});
}
