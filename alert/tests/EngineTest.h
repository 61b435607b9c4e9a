#pragma once
// A shop database with the program's data modules on it, the engine's
// lookups through them, and a host that records what the engine tells it.
#include "alert/AlertContext.h"
#include "alert/DataModuleLookups.h"
#include "alert/store/AlertSetting.h"
#include "alert/store/MainDmod.h"
#include "platform/data/Query.h"
#include "platform/data/testing/ShopDbTest.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class RecordingHost : public IAlertHost {
public:
    AlertSettingsCache& SettingsCache() override { return Cache; }
    TDateTime BatchStartTime() const override { return BatchStart; }
    void AlertGenerated(const AlertTransaction& Alert) override { Generated.push_back(Alert); }
    void LogLine(const AnsiString& Text) override { Log.push_back(Text); }

    AlertSettingsCache Cache;
    TDateTime BatchStart = 0.0;
    std::vector<AlertTransaction> Generated;
    std::vector<AnsiString> Log;
};

// The program's lookups through the shop data modules, counting the calls
// by name.
class CountingLookups : public IShopLookups {
public:
    explicit CountingLookups(IShopLookups& Inner) : FInner(Inner) {}

    void KeepRows(bool Keep) override { FInner.KeepRows(Keep); }

    TDataSet& SelectJob(int JobNbr) override { return Count("SelectJob").SelectJob(JobNbr); }
    TDataSet& SelectJobItem(int JobItemNbr) override {
        return Count("SelectJobItem").SelectJobItem(JobItemNbr);
    }
    TDataSet& SelectWorkOrder(int WoNbr) override {
        return Count("SelectWorkOrder").SelectWorkOrder(WoNbr);
    }
    TDataSet& SelectWoProduct(int WoProductNbr) override {
        return Count("SelectWoProduct").SelectWoProduct(WoProductNbr);
    }
    TDataSet* SelectDeptEstimate(int WoNbr, int DeptRef) override {
        return Count("SelectDeptEstimate").SelectDeptEstimate(WoNbr, DeptRef);
    }
    int GetLastProgressBillingNbr(int JobNbr) override {
        return Count("GetLastProgressBillingNbr").GetLastProgressBillingNbr(JobNbr);
    }
    double GetProgressBillingStoredTotal(int ProgressBillingNbr, int JobNbr) override {
        return Count("GetProgressBillingStoredTotal")
            .GetProgressBillingStoredTotal(ProgressBillingNbr, JobNbr);
    }
    double GetJobInvoicedTotal(int JobNbr) override {
        return Count("GetJobInvoicedTotal").GetJobInvoicedTotal(JobNbr);
    }
    TDataSet& OpenJobStatusList() override {
        return Count("OpenJobStatusList").OpenJobStatusList();
    }
    TDataSet& SelectPurchaseOrder(int PoNbr) override {
        return Count("SelectPurchaseOrder").SelectPurchaseOrder(PoNbr);
    }
    TDataSet& SelectPoItem(int PoItemNbr) override {
        return Count("SelectPoItem").SelectPoItem(PoItemNbr);
    }
    TDataSet& OpenPoJobs(int PoNbr) override { return Count("OpenPoJobs").OpenPoJobs(PoNbr); }
    TDataSet& OpenPoItemJobs(int PoItemNbr) override {
        return Count("OpenPoItemJobs").OpenPoItemJobs(PoItemNbr);
    }
    TDataSet& OpenPoWorkOrders(int PoNbr) override {
        return Count("OpenPoWorkOrders").OpenPoWorkOrders(PoNbr);
    }
    TDataSet& OpenPoItemWorkOrders(int PoItemNbr) override {
        return Count("OpenPoItemWorkOrders").OpenPoItemWorkOrders(PoItemNbr);
    }
    TDataSet& SelectEmployee(int EmpNbr) override {
        return Count("SelectEmployee").SelectEmployee(EmpNbr);
    }
    TDataSet& SelectEmployeeName(int EmpNbr) override {
        return Count("SelectEmployeeName").SelectEmployeeName(EmpNbr);
    }
    TDataSet& SelectInventoryItem(int InvNbr) override {
        return Count("SelectInventoryItem").SelectInventoryItem(InvNbr);
    }

    std::map<std::string, int> Calls;

private:
    IShopLookups& Count(const char* Name) {
        ++Calls[Name];
        return FInner;
    }
    IShopLookups& FInner;
};

// One value group of a setting: its values in Sequence order, each stored in
// the value column that suits it (whole numbers in IntValue, others in
// RealValue).
using Values = std::vector<double>;

// The value groups of an in-memory setting: each group's values in Sequence
// order.
inline std::vector<AlertValueGroup> ValueGroups(const std::vector<Values>& Groups) {
    std::vector<AlertValueGroup> result;
    for (const Values& values : Groups) {
        AlertValueGroup group;
        for (std::size_t i = 0; i < values.size(); ++i) {
            AlertSettingValue value;
            value.Value = values[i];
            value.Sequence = static_cast<int>(i);
            group.push_back(value);
        }
        result.push_back(group);
    }
    return result;
}

struct SettingRow {
    int AlertId = 0;
    int EmpNbr = 0;
    int Source = 10;
    std::vector<int> SourceIds = {};
    std::vector<Values> Groups = {};
    int EmailFrequency = 1;
    int Priority = 2;
};

class EngineTest : public ShopDbTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a setting (and the recipient's defaults and logon, so that the
    // settings read finds it); returns its number.
    int AddSetting(const SettingRow& Row);
    // The alert history rows as "recipient|alert id|text", in insert order.
    std::vector<std::string> History();
    long long Count(const std::string& Table);
    std::string Text(const std::string& Sql);

    TMainDmod* Main = nullptr;
    std::unique_ptr<DataModuleLookups> Modules;
    std::unique_ptr<CountingLookups> Shop;
    RecordingHost Host;
    std::unique_ptr<AlertContext> Context;
    // The test's own kernel-object namespace, for the job-form module's
    // report-connection listeners.
    std::string KernelSpace;
};
