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
                  "\"\nIcon=" + Path("bin/My Tool") + "\nX-Beaconmill-Link=true\n");
    ::setenv("XDG_CONFIG_HOME", Path("cfg").c_str(), 1);
    CreateFileLink(Path("report 100%.txt"), "Report", CSIDL_STARTUP);
    EXPECT_EQ(Read("cfg/autostart/Report.desktop"),
              "[Desktop Entry]\nName=Report\nType=Link\nURL=file://" + Path("report%20100%25.txt") +
                  "\nIcon=" + Path("report 100%.txt") + "\nX-Beaconmill-Link=true\n");

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

// Whatever has the link's name and is no link of this program is the
// user's: making or deleting the link there raises and leaves it as it was.
TEST_F(FileLinkTest, ALinkNeverReplacesNorDeletesWhatIsNotALinkOfItsOwn) {
    Write("target.txt", "t");
    const struct {
        int Folder;
        const char* Name;
        const char* Place;
        std::string Content;
    } cases[] = {
        {CSIDL_DESKTOPDIRECTORY, "Report", "Desktop/Report", "the user's report"},
        {CSIDL_PERSONAL, "Notes", "Documents/Notes", "the user's notes"},
        {CSIDL_PROGRAMS, "Editor", ".local/share/applications/Editor.desktop",
         "[Desktop Entry]\nName=Editor\nType=Application\nExec=vim\n"},
        {CSIDL_STARTUP, "Sync", ".config/autostart/Sync.desktop",
         "[Desktop Entry]\nName=Sync\nType=Application\nExec=sync-daemon\n"},
    };
    for (const auto& c : cases) {
        Write(c.Place, c.Content);
        const std::string Expected = "Cannot create link " + Path(c.Place) +
                                     ": a file that is no link of this program is there";
        try {
            CreateFileLink(Path("target.txt"), c.Name, c.Folder);
            ADD_FAILURE() << c.Place << " was replaced";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message, Expected);
        }
        try {
            DeleteFileLink(c.Name, c.Folder);
            ADD_FAILURE() << c.Place << " was deleted";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message, "Cannot delete link " + Path(c.Place) +
                                     ": a file that is no link of this program is there");
        }
        EXPECT_EQ(Read(c.Place), c.Content);
        EXPECT_FALSE(fs::is_symlink(Path(c.Place).c_str())) << c.Place;
        EXPECT_EQ(Listing(fs::path(c.Place).parent_path().string()).size(), 1u) << c.Place;
    }

    // A file named like a temporary one beside the link is not touched, and
    // a link of this program is replaced and deleted.
    Write("Desktop/Other.new", "keep");
    Write(".local/share/applications/Tool.desktop.new", "keep");
    for (int Round = 0; Round < 2; ++Round) {
        CreateFileLink(Path("target.txt"), "Other", CSIDL_DESKTOP);
        CreateFileLink(Path("target.txt"), "Tool", CSIDL_PROGRAMS);
    }
    EXPECT_EQ(Read("Desktop/Other"), "t");
    DeleteFileLink("Other", CSIDL_DESKTOP);
    DeleteFileLink("Tool", CSIDL_PROGRAMS);
    EXPECT_EQ(Listing("Desktop"), (std::vector<std::string>{"Other.new", "Report"}));
    EXPECT_EQ(Listing(".local/share/applications"),
              (std::vector<std::string>{"Editor.desktop", "Tool.desktop.new"}));
    EXPECT_EQ(Read("Desktop/Other.new"), "keep");
}

// A relative target is taken from the current folder: the link leads to
// the file from wherever it lies.
TEST_F(FileLinkTest, ARelativeTargetIsStoredFromTheRoot) {
    Write("docs/report.txt", "r");
    const fs::path Previous = fs::current_path();
    fs::current_path(Root.c_str());
    const std::string Absolute = (fs::current_path() / "docs/report.txt").string();
    CreateFileLink("docs/report.txt", "Report", CSIDL_DESKTOP);
    CreateFileLink("docs/report.txt", "Report", CSIDL_STARTUP);
    fs::current_path(Previous);
    EXPECT_EQ(fs::read_symlink(Path("Desktop/Report").c_str()).string(), Absolute);
    EXPECT_EQ(Read("Desktop/Report"), "r");
    EXPECT_NE(Read(".config/autostart/Report.desktop").find("\nURL=file://" + Absolute + "\n"),
              std::string::npos);
}

TEST_F(FileLinkTest, BadNamesAndFoldersAreRefused) {
    for (const char* Name : {"", "a/b", "..", "line\nbreak"})
        EXPECT_THROW(CreateFileLink(Path("x"), Name, CSIDL_DESKTOP), EInOutError) << Name;
    EXPECT_THROW(CreateFileLink(Path("x"), "X", 0x0026), EInOutError);
    EXPECT_THROW(DeleteFileLink("X", 0x0026), EInOutError);
    EXPECT_FALSE(Exists("Desktop"));
}

} // namespace
