#include "formstore/BrowseFolder.h"

#include "platform/gui/FolderDialog.h"
#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace formstore;
namespace fs = std::filesystem;

namespace {

class BrowseFolder : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        char Template[] = "/tmp/formstore-browse-XXXXXX";
        Root = ::mkdtemp(Template);
        fs::create_directory(Root + "/reports");
    }
    void TearDown() override { fs::remove_all(Root); }

    AnsiString Root;
    std::vector<TFolderDialogRequest> Requests;
};

TEST_F(BrowseFolder, AConfirmedFolderIsTakenWithoutItsTrailingSlash) {
    const AnsiString Reports = Root + "/reports";
    TBrowseFolderDlg Dialog(nullptr);
    Dialog.SetFolderName(Root);
    Dialog.SetDialogText("Where do the reports go?");
    std::vector<AnsiString> Log;
    Dialog.OnInitialized = [&](TObject*) { Log.push_back("initialized"); };
    Dialog.OnSelChanged = [&](TObject*) {
        Log.push_back("selected '" + Dialog.SelectedName() + "'");
    };
    ScopedFolderDialogAnswerer Answer([&](TFolderDialogRequest& Request) {
        Requests.push_back(Request);
        Request.OnInitialized();
        Request.OnSelChanged(Root + "/missing");
        Request.OnSelChanged(Reports);
        Request.Folder = Reports + "/";
        return true;
    });
    ASSERT_TRUE(Dialog.Browse());
    EXPECT_EQ(Dialog.FolderName(), Reports);
    EXPECT_EQ(Dialog.SelectedName(), Reports);
    EXPECT_EQ(
        Log, (std::vector<AnsiString>{"initialized", "selected ''", "selected '" + Reports + "'"}));
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0].Title, "Where do the reports go?");
    EXPECT_EQ(Requests[0].Folder, Root);
    EXPECT_TRUE(Requests[0].ScreenCenter);
}

TEST_F(BrowseFolder, BrowsingStartsAtTheFolderOrAtTheRoot) {
    const struct {
        bool DesktopRoot;
        AnsiString Folder;
        AnsiString ExpectedStart;
    } Cases[] = {
        {true, Root + "/reports", Root + "/reports"},
        {false, Root + "/missing", "/"},
        {false, "", "/"},
    };
    ScopedFolderDialogAnswerer Answer([&](TFolderDialogRequest& Request) {
        Requests.push_back(Request);
        return false;
    });
    for (const auto& Case : Cases) {
        TBrowseFolderDlg Dialog(nullptr);
        Dialog.SetDesktopRoot(Case.DesktopRoot);
        Dialog.SetFolderName(Case.Folder);
        Dialog.SetPosition(dpDefault);
        EXPECT_FALSE(Dialog.Browse());
        EXPECT_EQ(Dialog.FolderName(), Case.Folder);
        ASSERT_FALSE(Requests.empty());
        EXPECT_EQ(Requests.back().Folder, Case.ExpectedStart) << Case.Folder;
        EXPECT_FALSE(Requests.back().ScreenCenter);
    }
}

TEST_F(BrowseFolder, BrowseDirectoryUpdatesTheNameOnlyWhenConfirmed) {
    AnsiString Folder = Root;
    bool Confirm = false;
    ScopedFolderDialogAnswerer Answer([&](TFolderDialogRequest& Request) {
        Request.Folder = Root + "/reports";
        return Confirm;
    });
    EXPECT_FALSE(BrowseDirectory(Folder, "Pick one", 0));
    EXPECT_EQ(Folder, Root);
    Confirm = true;
    EXPECT_TRUE(BrowseDirectory(Folder, "Pick one", 0));
    EXPECT_EQ(Folder, Root + "/reports");
}

TEST_F(BrowseFolder, ThereAreNoComputersToBrowse) {
    ScopedFolderDialogAnswerer Answer([&](TFolderDialogRequest& Request) {
        Requests.push_back(Request);
        return true;
    });
    AnsiString Computer = "shop-server";
    EXPECT_FALSE(BrowseComputer(Computer, "Which computer?", 0));
    EXPECT_EQ(Computer, "shop-server");
    EXPECT_TRUE(Requests.empty());
}

} // namespace
