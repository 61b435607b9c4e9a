#include "alert/app/CommandLine.h"
#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, TheDebugSwitch) {
    struct Case {
        std::vector<AnsiString> Args;
        bool Debug;
    };
    const Case Cases[] = {
        {{"/usr/bin/beaconmill"}, false},
        {{"/usr/bin/beaconmill", "/DEBUG"}, true},
        {{"/usr/bin/beaconmill", "/debug"}, true},
        {{"/usr/bin/beaconmill", "/Debugging"}, true},
        {{"/usr/bin/beaconmill", "/x/DEBUG"}, true},
        {{"/usr/bin/beaconmill", "-DEBUG"}, false},
        {{"/usr/bin/beaconmill", "DEBUG"}, false},
        {{"/usr/bin/beaconmill", "x/DEBUG"}, false},
        {{"/usr/bin/beaconmill", "", "/DEBUG"}, true},
        // The program's own path is not an argument, whatever folder it is in.
        {{"/opt/DEBUG/beaconmill"}, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Args.back());
        DebugMode = false;
        SetCommandLine(C.Args);
        ScanCommandLine();
        EXPECT_EQ(DebugMode, C.Debug);
    }
    DebugMode = false;
    SetCommandLine({});
}

} // namespace
