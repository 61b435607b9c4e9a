// Starting the program: the debug switch, the formats the program writes
// its times in, and a start-up that cannot reach its database.
#include "alert/app/CommandLine.h"
#include "alert/app/tests/ProgramProcess.h"
#include "platform/data/testing/ShopDbTest.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

TEST(StartupReading, DebugSwitch) {
    struct Case {
        const char* Arg;
        bool Debug;
    };
    for (const Case& c : {Case{"/DEBUG", true}, Case{"/debug", true}, Case{"/Debug", true},
                          Case{"/DEBUGGING", true}, Case{"/X/DEBUG", true},
                          Case{"-DEBUG", false}, Case{"DEBUG", false}, Case{"x/DEBUG", false},
                          Case{"/DEBU", false}, Case{"", false}, Case{"/", false}}) {
        SCOPED_TRACE(c.Arg);
        EXPECT_EQ(IsDebugSwitch(c.Arg), c.Debug);
    }
}

class StartupProcessReading : public ShopDbTest {};

// With the database missing the program says so once and ends with a
// failure status, without running.
TEST_F(StartupProcessReading, MissingDatabaseEndsTheProgram) {
    WriteAliases("[Pellworth11]\nDriver=SQLITE\nPath=" + (Folder / "missing.db").string() +
                 "\n");
    ProgramProcess program;
    const int status = program.Finish();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(program.Output.find("missing.db"), std::string::npos) << program.Output;
    EXPECT_EQ(program.Output.find("Beacon mill on"), std::string::npos) << program.Output;
}

// Over a shop database it starts, logs its start line in the program's time
// format ("h:nn AM/PM" and a two-digit day, month and year), keeps a second
// instance out, and a SIGTERM ends it cleanly.
TEST_F(StartupProcessReading, StartsLogsAndStopsOnSigterm) {
    std::ifstream demo(std::string(BEACONMILL_SOURCE_DIR) + "/db/demo.sql");
    std::stringstream text;
    text << demo.rdbuf();
    Exec(text.str());
    ProgramProcess program({"/debug"});
    ASSERT_TRUE(program.WaitForLine("Beacon mill on"));
    const std::string line = program.Output.substr(0, program.Output.find("Beacon mill on"));
    const std::string lastLine = line.substr(line.rfind('\n') == std::string::npos
                                                 ? 0
                                                 : line.rfind('\n') + 1);
    EXPECT_TRUE(std::regex_match(lastLine, std::regex(R"(\d{1,2}:\d\d (AM|PM) \d\d/\d\d/\d\d: )")))
        << lastLine;
    // A second program on the same database does not start.
    ProgramProcess second;
    const int secondStatus = second.Finish();
    ASSERT_TRUE(WIFEXITED(secondStatus));
    EXPECT_EQ(WEXITSTATUS(secondStatus), 1);
    EXPECT_EQ(second.Output.find("Beacon mill on"), std::string::npos) << second.Output;
    program.Signal(SIGTERM);
    const int status = program.Finish();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // It closed as at the end of a session: the placement was kept.
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Pellworth\\Dornwick\\Beacon Mill"));
    TStringList names;
    registry.GetValueNames(&names);
    EXPECT_GT(names.Count(), 0);
}

} // namespace
