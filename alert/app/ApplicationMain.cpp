#include "alert/app/ApplicationMain.h"

#include "alert/app/CommandLine.h"
#include "alert/app/MainFormMailer.h"
#include "alert/app/MainFormWindow.h"
#include "alert/app/ShopDatabaseClaim.h"
#include "alert/store/MainDmod.h"
#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodJobForm.h"
#include "datamodules/DmodJobStatus.h"
#include "datamodules/DmodJobType.h"
#include "datamodules/DmodPo.h"
#include "datamodules/DmodShip.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/DmodWoType.h"
#include "platform/data/Database.h"
#include "platform/gui/Forms.h"
#include "platform/gui/SessionEnd.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/sys/InstanceLock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

bool EnvironmentHas(const char* Name) {
    const char* Value = std::getenv(Name);
    return Value && *Value;
}

// Without a display the program still does its work, unattended: it runs on
// Qt's offscreen platform and its results log goes to standard error.
void ChoosePlatform() {
    if (!EnvironmentHas("QT_QPA_PLATFORM") && !EnvironmentHas("DISPLAY") &&
        !EnvironmentHas("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        std::fprintf(stderr, "Beacon Mill: no display found; running on the offscreen platform "
                             "with the results log on standard error.\n");
    }
    const char* Platform = std::getenv("QT_QPA_PLATFORM");
    EchoResultsToStderr = Platform && std::strcmp(Platform, "offscreen") == 0;
}

// The alias the main data module connects through.
const char* const ShopAlias = "Pellworth11";

// Stopped by a signal: the results log says why the program closed.
void LogSessionEnd(const AnsiString& SignalName) {
    if (auto* Window = dynamic_cast<TMainFormWindow*>(Application->MainForm()))
        Window->LogLine("Beacon mill closing: " + SignalName + " received");
}

} // namespace

int ApplicationMain(int Argc, char** Argv) {
    SetCommandLine(std::vector<AnsiString>(Argv, Argv + Argc));
    ChoosePlatform();
    // A service manager restarts a program that ends with an error, and
    // takes a clean stop for a wanted one.
    int ExitCode = 0;
    // Held until the program ends: a second instance on the same database
    // would process the same pending alerts.
    std::unique_ptr<TInstanceLock> InstanceLock;
    try {
        Application->Initialize();
        HandleSessionEndSignals(LogSessionEnd);
        ScanCommandLine();
        // Every date and time the program writes into a statement follows
        // these, whatever the machine's regional settings are.
        FormatSettings().TimeSeparator = ':';
        FormatSettings().LongTimeFormat = "hh:mm:ss";
        FormatSettings().ShortDateFormat = "yyyy/mm/dd";
        Application->SetTitle("Beacon Mill");
        InstanceLock = ClaimShopDatabase(ShopAlias);

        TMainDmod* MainDmod = nullptr;
        TEmpDmod* EmpDmod = nullptr;
        TInventoryDmod* InventoryDmod = nullptr;
        TJobStatusDmod* JobStatusDmod = nullptr;
        TPoDmod* PoDmod = nullptr;
        TShipDmod* ShipDmod = nullptr;
        TJobFormDmod* JobFormDmod = nullptr;
        TVelmDmod* VelmDmod = nullptr;
        TWoTypeDmod* WoTypeDmod = nullptr;
        TJobTypeDmod* JobTypeDmod = nullptr;
        TMainFormWindow* MainFormWindow = nullptr;
        Application->CreateForm(MainDmod);
        Application->CreateForm(EmpDmod);
        Application->CreateForm(InventoryDmod);
        Application->CreateForm(JobStatusDmod);
        Application->CreateForm(PoDmod);
        Application->CreateForm(ShipDmod);
        Application->CreateForm(JobFormDmod);
        Application->CreateForm(VelmDmod);
        Application->CreateForm(WoTypeDmod);
        Application->CreateForm(JobTypeDmod);
        Application->CreateForm(MainFormWindow);
        MainFormWindow->SetMailer(CreateMainFormMailer(*MainFormWindow));
        // Which file the alias led to, below the window's own first lines.
        if (Application->ShowMainForm()) MainFormWindow->Show();
        MainFormWindow->LogLine("Database " + MainDmod->MyDatabase->FileName());
        Application->Run();
    } catch (const Exception& E) {
        Application->ShowException(E);
        ExitCode = 1;
    }
    // The application object outlives main(); what it owns goes now, while
    // the libraries the modules and the window stand on still exist.
    Application->DestroyComponents();
    return ExitCode;
}
