#include "formstore/FileLink.h"

#include "ScratchFiles.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace formstore;
namespace fs = std::filesystem;

namespace {

// The user's folders all in a scratch home.
class FileLinkTest : public formstore_test::ScratchFilesTest {
protected:
    void SetUp() override {
        char Template[] = "/tmp/beaconmill-links-XXXXXX";
        Root = ::mkdtemp(Template);
        for (const char* Name :
             {"HOME", "XDG_DESKTOP_DIR", "XDG_DOCUMENTS_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
            const char* Old = std::getenv(Name);
            Saved.push_back({Name, Old ? std::optional<std::string>(Old) : std::nullopt});
            ::unsetenv(Name);
        }
        ::setenv("HOME", Root.c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [Name, Value] : Saved)
            if (Value)
                ::setenv(Name, Value->c_str(), 1);
            else
                ::unsetenv(Name);
        fs::remove_all(Root.c_str());
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> Saved;
};

TEST_F(FileLinkTest, LinksGoWhereEachFolderReadsThem) {
    Write("bin/My Tool", "#!/bin/sh\n");
    ::chmod(Path("bin/My Tool").c_str(), 0755);
    Write("report 100%.txt", "x");
    ::setenv("XDG_DESKTOP_DIR", Path("Schreibtisch").c_str(), 1);

    CreateFileLink(Path("report 100%.txt"), "Report", CSIDL_DESKTOP);
    EXPECT_EQ(fs::read_symlink(Path("Schreibtisch/Report").c_str()).string(),
              Path("report 100%.txt"));
    CreateFileLink(Path("bin/My Tool"), "Report", CSIDL_DESKTOPDIRECTORY); // replaces it
    EXPECT_EQ(fs::read_symlink(Path("Schreibtisch/Report").c_str()).string(), Path("bin/My Tool"));
    CreateFileLink(Path("report 100%.txt"), "Report", CSIDL_PERSONAL);
    EXPECT_TRUE(fs::is_symlink(Path("Documents/Report").c_str()));

    CreateFileLink(Path("bin/My Tool"), "My Tool", CSIDL_PROGRAMS);
    EXPECT_EQ(Read(".local/share/applications/My Tool.desktop"),
              "[Desktop Entry]\nName=My Tool\nType=Application\nExec=\"" + Path("bin/My Tool") +
                  "\"\nIcon=" + Path("bin/My Tool") + "\n");
    ::setenv("XDG_CONFIG_HOME", Path("cfg").c_str(), 1);
    CreateFileLink(Path("report 100%.txt"), "Report", CSIDL_STARTUP);
    EXPECT_EQ(Read("cfg/autostart/Report.desktop"),
              "[Desktop Entry]\nName=Report\nType=Link\nURL=file://" + Path("report%20100%25.txt") +
                  "\nIcon=" + Path("report 100%.txt") + "\n");

    DeleteFileLink("Report", CSIDL_DESKTOP);
    DeleteFileLink("My Tool", CSIDL_STARTMENU);
    DeleteFileLink("Report", CSIDL_STARTUP);
    DeleteFileLink("Absent", CSIDL_STARTUP);
    EXPECT_FALSE(Exists("Schreibtisch/Report"));
    EXPECT_FALSE(Exists(".local/share/applications/My Tool.desktop"));
    EXPECT_FALSE(Exists("cfg/autostart/Report.desktop"));
    EXPECT_TRUE(Exists("Documents/Report"));
    EXPECT_EQ(Read("report 100%.txt"), "x");
}

TEST_F(FileLinkTest, ExecQuotesTheTargetAsOneArgument) {
    Write("odd/a\"b$c%d", "#!/bin/sh\n");
    ::chmod(Path("odd/a\"b$c%d").c_str(), 0755);
    CreateFileLink(Path("odd/a\"b$c%d"), "Odd", CSIDL_PROGRAMS);
    const std::string Entry = Read(".local/share/applications/Odd.desktop");
    EXPECT_NE(Entry.find("Exec=\"" + Path("odd/a\\\\\"b\\\\$c%%d") + "\"\n"), std::string::npos)
        << Entry;
}

TEST_F(FileLinkTest, BadNamesAndFoldersAreRefused) {
    for (const char* Name : {"", "a/b", "..", "line\nbreak"})
        EXPECT_THROW(CreateFileLink(Path("x"), Name, CSIDL_DESKTOP), EInOutError) << Name;
    EXPECT_THROW(CreateFileLink(Path("x"), "X", 0x0026), EInOutError);
    EXPECT_THROW(DeleteFileLink("X", 0x0026), EInOutError);
    EXPECT_FALSE(Exists("Desktop"));
}

} // namespace
