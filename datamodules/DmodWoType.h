#pragma once
// The work-order type data module: the shop's user-kept list of work-order
// types. The job-form module finds a type's name by searching SelectAllQuery
// for the type number (FindRowIndexByValue opens it on first use and leaves
// the cursor on the match).
#include "platform/classes/Component.h"

class TDataSource;
class TQuery;

class TWoTypeDmod : public TComponent {
public:
    explicit TWoTypeDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TWoTypeDmod"; }

    // Components, owned by the module. The three editing statements take the
    // type name as "typex" and the type number as "id".
    TDataSource* DsWoType = nullptr;
    TQuery* SelectAllQuery = nullptr;
    TQuery* UpdateWoTypeSql = nullptr;
    TQuery* InsertWoTypeSql = nullptr;
    TQuery* DeleteWoTypeSql = nullptr;

private:
    void CreateComponents();
};
