#pragma once
// Connections that serve a dataset: every field a column, every record a
// row. TDcQueryConnection serves a query of the same owner.
#include "platform/data/DataSet.h"
#include "platform/data/Query.h"
#include "reportconn/DcCustomConnection.h"

namespace reportconn {

// The column type a field of this type is served as.
TRPDataType FieldTypeToRPDataType(TFieldType Type);

class TDcCustomDataSetConnection : public TDcCustomConnection {
public:
    using TDcCustomConnection::TDcCustomConnection;
    AnsiString ClassName() const override { return "TDcCustomDataSetConnection"; }

    virtual TDataSet* DataSet() const = 0;

    bool DisableDataSource() const { return FDisableDataSource; }
    void SetDisableDataSource(bool Value) { FDisableDataSource = Value; }
    bool RestoreDataSet() const { return FRestoreDataSet; }
    void SetRestoreDataSet(bool Value) { FRestoreDataSet = Value; }

protected:
    void DoFirst() override;
    void DoNext() override;
    bool DoEOF() override;
    void DoGetCols() override;
    void DoGetRow() override;
    void DoSetFilter() override;
    void DoOpen() override;
    void DoRestore() override;

private:
    bool FDisableDataSource = true;
    bool FRestoreDataSet = true;
    bool FSavedActive = false;
    AnsiString FSavedFilter;
    bool FSavedFiltered = false;
    TFilterOptions FSavedFilterOptions;
    TBookmark FSavedBookmark;
    bool FOpened = false;
    bool FJustOpened = false;
};

class TDcQueryConnection : public TDcCustomDataSetConnection {
public:
    explicit TDcQueryConnection(TComponent* AOwner);
    ~TDcQueryConnection() override;
    AnsiString ClassName() const override { return "TDcQueryConnection"; }

    TQuery* Query() const { return FQuery; }
    void SetQuery(TQuery* Value);
    TDataSet* DataSet() const override { return FQuery; }
    bool LocalFilterDefault() const override { return false; }

protected:
    void DoGetSorts() override {}
    void DoSetSort() override {}
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TQuery* FQuery = nullptr;
};

} // namespace reportconn
