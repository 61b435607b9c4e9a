#pragma once
// The job-status data module: the shop's list of job statuses (a number and
// a name each, kept by the shop's users). The alert checks turn a status
// name into its number by walking the list of OpenJobStatusList; the
// job-form module asks GetJobStatusName for the name of a job's status.
#include "platform/classes/Component.h"

class TDataSource;
class TQuery;

class TJobStatusDmod : public TComponent {
public:
    explicit TJobStatusDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TJobStatusDmod"; }

    // Leaves SelectAllQ2 open on every status, status 0 included, by name.
    void OpenJobStatusList();
    // The status's name; the empty text when the number has no row.
    void GetJobStatusName(int JobStatusNbr, AnsiString& Name);

    // Components, owned by the module. SelectAllQuery and the three editing
    // statements serve an application that edits the list.
    TDataSource* DsJobStatus = nullptr;
    TQuery* SelectAllQuery = nullptr;
    TQuery* UpdateJobStatusSql = nullptr;
    TQuery* InsertJobStatusSql = nullptr;
    TQuery* DeleteJobStatusSql = nullptr;
    TQuery* SelectAllQ2 = nullptr;
    TQuery* CommonSql = nullptr;

private:
    void CreateComponents();
};
