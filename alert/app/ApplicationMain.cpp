#include "alert/app/ApplicationMain.h"

#include "alert/app/CommandLine.h"
#include "alert/app/MainFormMailer.h"
#include "alert/app/MainFormWindow.h"
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
#include "platform/gui/Forms.h"
#include "platform/rtl/FormatSettings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

} // namespace

int ApplicationMain(int Argc, char** Argv) {
    SetCommandLine(std::vector<AnsiString>(Argv, Argv + Argc));
    ChoosePlatform();
    try {
        Application->Initialize();
        ScanCommandLine();
        // Every date and time the program writes into a statement follows
        // these, whatever the machine's regional settings are.
        FormatSettings().TimeSeparator = ':';
        FormatSettings().LongTimeFormat = "hh:mm:ss";
        FormatSettings().ShortDateFormat = "yyyy/mm/dd";
        Application->SetTitle("Beacon Mill");

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
        Application->Run();
    } catch (const Exception& E) {
        Application->ShowException(E);
    }
    // The application object outlives main(); what it owns goes now, while
    // the libraries the modules and the window stand on still exist.
    Application->DestroyComponents();
    return 0;
}
