#include "alert/AlertContext.h"

#include "alert/LogText.h"
#include "alert/store/MainDmod.h"
#include "platform/data/Database.h"
#include "platform/rtl/Exceptions.h"

#include <exception>

AlertUnitOfWork::AlertUnitOfWork(AlertContext& Context) : FContext(Context) {
    FContext.Uncommitted.clear();
    FContext.Main.MyDatabase->StartTransaction();
    // Inside the transaction nothing else writes the shop's rows: a record
    // read once serves every later lookup of the same work.
    FContext.Shop.KeepRows(true);
}

AlertUnitOfWork::~AlertUnitOfWork() {
    if (FDone) return;
    FContext.Uncommitted.clear();
    FContext.Shop.KeepRows(false);
    try {
        FContext.Main.MyDatabase->Rollback();
    } catch (...) {
        // Already unwinding from the failure that matters; a rollback that
        // fails leaves nothing committed either.
    }
}

void AlertUnitOfWork::Commit() {
    FContext.Shop.KeepRows(false);
    FContext.Main.MyDatabase->Commit();
    FDone = true;
    std::vector<AlertTransaction> committed;
    committed.swap(FContext.Uncommitted);
    // Every alert here is stored: each is counted even when showing one
    // fails, and that failure is no failure of the work just committed.
    for (const AlertTransaction& alert : committed) {
        try {
            FContext.Host.AlertGenerated(alert);
        } catch (const Exception& error) {
            FContext.Host.LogLine(EscapedLogText(error.Message));
        } catch (const std::exception& error) {
            FContext.Host.LogLine(EscapedLogText(error.what()));
        }
    }
}
