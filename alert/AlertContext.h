#pragma once
// Everything one run of the alert engine works with: the program that hosts
// it, the main data module (alert tables, shared queries, connection) and the
// lookups of the shop data modules. The engine's routines take it in place of
// the main window.
#include "alert/AlertHost.h"
#include "alert/ShopLookups.h"
#include "alert/store/AlertTransaction.h"

#include <vector>

class TMainDmod;

struct AlertContext {
    AlertContext(IAlertHost& host, TMainDmod& main, IShopLookups& shop)
        : Host(host), Main(main), Shop(shop) {}

    IAlertHost& Host;
    TMainDmod& Main;
    IShopLookups& Shop;

    // Alerts written inside the open unit of work; the host hears of them
    // only once they are committed.
    std::vector<AlertTransaction> Uncommitted;
};

// One database transaction around a piece of alert work: the alert history
// rows it writes (and, for a transaction, the row's deletion) are kept
// together or not at all. Destroyed without Commit, it rolls back and forgets
// the alerts written under it.
class AlertUnitOfWork {
public:
    explicit AlertUnitOfWork(AlertContext& Context);
    ~AlertUnitOfWork();
    AlertUnitOfWork(const AlertUnitOfWork&) = delete;
    AlertUnitOfWork& operator=(const AlertUnitOfWork&) = delete;

    // Commits, then tells the host of every alert written under it; a host
    // that fails to take one has the failure in its log, and still hears of
    // the others.
    void Commit();

private:
    AlertContext& FContext;
    bool FDone = false;
};
