#pragma once
// The job type data module: the shop's user-kept list of job types, with the
// name lookup the job-form module uses.
#include "platform/classes/Component.h"

class TDataSource;
class TQuery;

class TJobTypeDmod : public TComponent {
public:
    explicit TJobTypeDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TJobTypeDmod"; }

    // The type's name; the empty text when the number has no row.
    void GetJobTypeName(int JobTypeNbr, AnsiString& Name);

    // Components, owned by the module. The three editing statements take the
    // type name as "typex" and the type number as "id".
    TDataSource* DsJobType = nullptr;
    TQuery* SelectAllQuery = nullptr;
    TQuery* InsertJobTypeSql = nullptr;
    TQuery* UpdateJobTypeSql = nullptr;
    TQuery* DeleteJobTypeSql = nullptr;
    TQuery* CommonSql = nullptr;

private:
    void CreateComponents();
};
