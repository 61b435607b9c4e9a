#include "reportconn/DcTableConnection.h"

#include "platform/classes/Publish.h"
#include "platform/data/DataSource.h"

#include <utility>
#include <vector>

namespace reportconn {

TDcTableConnection::TDcTableConnection(TComponent* AOwner) : TDcCustomDataSetConnection(AOwner) {
    SetLocalFilter(false);
}

TDcTableConnection::~TDcTableConnection() {
    StopListener();
    SetTable(nullptr);
    Watch(FSavedMasterSource, nullptr);
}

void TDcTableConnection::Watch(TComponent* Old, TComponent* New) {
    if (Old == New) return;
    if (Old) Old->RemoveFreeNotification(this);
    if (New) New->FreeNotification(this);
}

void TDcTableConnection::SetTable(TTable* Value) {
    Watch(FTable, Value);
    FTable = Value;
}

void TDcTableConnection::Notification(TComponent* AComponent, TOperation Operation) {
    TDcCustomDataSetConnection::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FTable) FTable = nullptr;
    if (AComponent == FSavedMasterSource) FSavedMasterSource = nullptr;
}

void TDcTableConnection::DoSetFilter() {
    if (!FUseSetRange) {
        TDcCustomDataSetConnection::DoSetFilter();
        return;
    }
    // The whole request is read before the table changes, so that a
    // malformed one leaves it as it was.
    std::vector<std::pair<AnsiString, AnsiString>> items;
    while (ReadFilterItem())
        items.emplace_back(FilterFieldName(), FilterValueText());
    if (!FTable) return;
    if (items.empty()) {
        FTable->CancelRange();
        return;
    }
    try {
        FTable->SetRangeStart();
        for (const auto& [name, text] : items)
            FTable->FieldByName(name)->SetAsString(text);
        FTable->SetRangeEnd();
        for (const auto& [name, text] : items)
            FTable->FieldByName(name)->SetAsString(text);
        FTable->ApplyRange();
    } catch (...) {
        FTable->CancelRange();
        throw;
    }
    FRangeSet = true;
}

void TDcTableConnection::DoSetSort() {
    AnsiString names;
    for (AnsiString name = ReadString(); !name.empty(); name = ReadString())
        names += (names.empty() ? "" : ";") + name;
    if (FTable) FTable->SetIndexFieldNames(names);
}

void TDcTableConnection::DoOpen() {
    // Opened again before the restore: the master is already detached, and
    // what was saved the first time is what the restore puts back.
    if (FOpened) {
        TDcCustomDataSetConnection::DoOpen();
        return;
    }
    FOpened = true;
    FMasterDetached = false;
    FRangeSet = false;
    if (FTable && RestoreDataSet()) FSavedIndexFieldNames = FTable->IndexFieldNames();
    if (FTable && DisableDataSource()) {
        Watch(FSavedMasterSource, FTable->MasterSource());
        FSavedMasterSource = FTable->MasterSource();
        FSavedMasterFields = FTable->MasterFields();
        if (FSavedMasterSource && !FSavedMasterFields.empty()) {
            FTable->SetMasterSource(nullptr);
            FTable->SetMasterFields("");
            FMasterDetached = true;
        }
    }
    TDcCustomDataSetConnection::DoOpen();
}

void TDcTableConnection::DoRestore() {
    if (!FOpened) return;
    FOpened = false;
    if (FTable) {
        // The user's table shows again what it showed before the report.
        if (FRangeSet) FTable->CancelRange();
        if (RestoreDataSet()) FTable->SetIndexFieldNames(FSavedIndexFieldNames);
        if (FMasterDetached) {
            FTable->SetMasterFields(FSavedMasterFields);
            FTable->SetMasterSource(FSavedMasterSource);
        }
    }
    FRangeSet = false;
    FMasterDetached = false;
    Watch(FSavedMasterSource, nullptr);
    FSavedMasterSource = nullptr;
    TDcCustomDataSetConnection::DoRestore();
}

namespace {

const TPublished<TDcTableConnection, TDcCustomDataSetConnection> TableConnectionClass(
    "TDcTableConnection",
    [](auto& C) {
        C.Property("Table", &TDcTableConnection::Table, &TDcTableConnection::SetTable);
        C.Property("UseSetRange", &TDcTableConnection::UseSetRange,
                   &TDcTableConnection::SetUseSetRange)
            .Default(false);
    },
    true);

} // namespace

} // namespace reportconn
