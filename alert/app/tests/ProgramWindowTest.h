#pragma once
// The program's main window over the demo shop database: the demo rows
// loaded, the application started, the program's date and time formats set,
// and the job-form module's report listeners kept in a kernel namespace of
// the test's own. The test makes the window (Open) its own way.
#include "alert/app/MainFormWindow.h"
#include "datamodules/ShopDataModules.h"
#include "platform/data/testing/ShopDbTest.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/sys/KernelNames.h"

#include <fstream>
#include <sstream>
#include <string>

class ProgramWindowTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        std::ifstream Demo(std::string(BEACONMILL_SOURCE_DIR) + "/db/demo.sql");
        std::stringstream Text;
        Text << Demo.rdbuf();
        Exec(Text.str());
        Application->Initialize();
        FormatSettings().TimeSeparator = ':';
        FormatSettings().LongTimeFormat = "hh:mm:ss";
        FormatSettings().ShortDateFormat = "yyyy/mm/dd";
        KernelSpace = UniqueKernelNamespace("win");
        SetKernelNamespace(KernelSpace);
    }
    void TearDown() override {
        delete Window;
        ShopDbTest::TearDown();
        RemoveKernelNamespace(KernelSpace);
        ResetFormatSettings();
    }

    TMainFormWindow* Window = nullptr;
    std::string KernelSpace;
};
