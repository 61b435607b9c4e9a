#include "datamodules/DmodJobType.h"

#include "datamodules/DmodCommon.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"

TJobTypeDmod::TJobTypeDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::JobType);
    CreateComponents();
}

void TJobTypeDmod::CreateComponents() {
    SelectAllQuery =
        NewQuery(this, "SelectAllQuery",
                 {"select JobTypeNbr, JobType ", "from JOB_TYPE", "order by JobType", ""});
    AddDataFields(this, SelectAllQuery, {{"JobTypeNbr", ftInteger}, {"JobType", ftString, 25}});
    DsJobType = NewDataSource(this, "DsJobType", SelectAllQuery);

    InsertJobTypeSql =
        NewQuery(this, "InsertJobTypeSql", {"insert ", "into JOB_TYPE (JobType) values (:typex)"});
    UpdateJobTypeSql =
        NewQuery(this, "UpdateJobTypeSql",
                 {"update JOB_TYPE", "set JobType = :typex", "where JobTypeNbr = :id"});
    DeleteJobTypeSql =
        NewQuery(this, "DeleteJobTypeSql", {"delete from  JOB_TYPE", "where JobTypeNbr = :id"});
    CommonSql = NewQuery(this, "CommonSql", {});
}

void TJobTypeDmod::GetJobTypeName(int JobTypeNbr, AnsiString& Name) {
    OpenLookup(*CommonSql, {"Select JobType from JOB_TYPE where JobTypeNbr = :a"}, {JobTypeNbr});
    if (CommonSql->RecordCount() == 0)
        Name = "";
    else
        Name = CommonSql->FieldByName("JobType")->Value().AsString();
}
