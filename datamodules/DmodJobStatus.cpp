#include "datamodules/DmodJobStatus.h"

#include "datamodules/DmodCommon.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"

TJobStatusDmod::TJobStatusDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::JobStatus);
    CreateComponents();
}

void TJobStatusDmod::CreateComponents() {
    SelectAllQuery = NewQuery(this, "SelectAllQuery",
                              {"select JobStatusNbr, JobStatus ", "from JOB_STATUS",
                               "where JobStatusNbr > 0", "order by JobStatus"});
    AddDataFields(this, SelectAllQuery,
                  {{"JobStatusNbr", ftInteger}, {"JobStatus", ftString, 25, "Job Status"}});
    TField* number = SelectAllQuery->FieldByName("JobStatusNbr");
    number->SetReadOnly(true);
    number->SetRequired(true);
    number->SetVisible(false);
    TField* status = SelectAllQuery->FieldByName("JobStatus");
    status->SetDisplayWidth(40);
    status->SetRequired(true);
    DsJobStatus = NewDataSource(this, "DsJobStatus", SelectAllQuery, false);

    UpdateJobStatusSql =
        NewQuery(this, "UpdateJobStatusSql",
                 {"update JOB_STATUS", "set JobStatus = :status", "where JobStatusNbr = :id"});
    InsertJobStatusSql = NewQuery(this, "InsertJobStatusSql",
                                  {"insert ", "into JOB_STATUS (JobStatus) values (:status)"});
    DeleteJobStatusSql = NewQuery(this, "DeleteJobStatusSql",
                                  {"delete from  JOB_STATUS", "where JobStatusNbr = :id"});
    SelectAllQ2 = NewQuery(this, "SelectAllQ2", {});
    CommonSql = NewQuery(this, "CommonSql", {});
}

void TJobStatusDmod::OpenJobStatusList() {
    SetStatement(*SelectAllQ2, {"select JobStatusNbr, JobStatus from JOB_STATUS where "
                                "JobStatusNbr >= 0 order by JobStatus"});
    SelectAllQ2->Open();
}

void TJobStatusDmod::GetJobStatusName(int JobStatusNbr, AnsiString& Name) {
    OpenLookup(*CommonSql, {"Select JobStatus from JOB_STATUS where JobStatusNbr = :a"},
               {JobStatusNbr});
    if (CommonSql->RecordCount() == 0)
        Name = "";
    else
        Name = CommonSql->FieldByName("JobStatus")->Value().AsString();
}
