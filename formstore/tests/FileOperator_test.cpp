#include "formstore/FileOperator.h"
#include "formstore/FileUtil.h"

#include "ScratchFiles.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace formstore;
namespace fs = std::filesystem;

namespace {

class FileOperator : public formstore_test::ScratchFilesTest {
protected:
    void SetUp() override {
        Application->Initialize();
        char Template[] = "/tmp/formstore-fileop-XXXXXX";
        Root = ::mkdtemp(Template);
    }
    void TearDown() override {
        std::error_code Ignored;
        fs::remove_all(Root, Ignored);
        Application->ProcessMessages();
    }

    bool Run(TFileOperation Operation, const AnsiString& Source, const AnsiString& Dest,
             TFileOperFlags Options) {
        Operator.SetOperation(Operation);
        Operator.SetSource(Source);
        Operator.SetDestination(Dest);
        Operator.SetOptions(Options);
        return Operator.RunOperation();
    }

    TFsFileOperator Operator{nullptr};
    TMessageBoxRecorder Boxes;
};

TEST_F(FileOperator, CopiesMasksAndFoldersIntoANewFolder) {
    Write("in/a.txt", "A");
    Write("in/b.txt", "B");
    Write("in/c.log", "C");
    Write("in/sub/d.txt", "D");
    Write("outside/keep.txt", "K");
    fs::create_directory_symlink(Path("outside").c_str(), Path("in/sub/link").c_str());

    ASSERT_TRUE(Run(foCopy, Path("in/*.txt") + ";" + Path("in/sub"), Path("out/new"),
                    {flNoConfirmMkDir, flSilent}));
    EXPECT_EQ(Listing("out/new"), (std::vector<std::string>{"a.txt", "b.txt", "sub"}));
    EXPECT_EQ(Read("out/new/sub/d.txt"), "D");
    // The link is copied as a link, not as the folder it points to.
    EXPECT_TRUE(fs::is_symlink(Path("out/new/sub/link").c_str()));
    EXPECT_EQ(Read("in/a.txt"), "A");
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(FileOperator, ANameAlreadyTakenIsReplacedKeptOrRenamedAsAsked) {
    const struct {
        TFileOperFlags Options;
        std::vector<int> Answers;
        bool Result;
        bool Aborted;
        std::string Content; // of the taken name afterwards
        AnsiString CopyName; // where the copy went when not onto the taken name
        std::size_t BoxCount;
    } Cases[] = {
        {{flSilent, flNoConfirmation}, {}, true, false, "new", "", 0},
        {{flSilent}, {IDYES}, true, false, "new", "", 1},
        {{flSilent}, {IDNO}, false, true, "old", "", 1},
        {{flSilent}, {IDCANCEL}, false, true, "old", "", 1},
        {{flSilent, flRenameOnCollision}, {}, true, false, "old", "Copy of x.txt", 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Answers.empty() ? -1 : Case.Answers.front());
        fs::remove_all(Path("dest").c_str());
        Write("x.txt", "new");
        Write("dest/x.txt", "old");
        Boxes.Boxes.clear();
        Boxes.Answers.assign(Case.Answers.begin(), Case.Answers.end());
        EXPECT_EQ(Run(foCopy, Path("x.txt"), Path("dest"), Case.Options), Case.Result);
        EXPECT_EQ(Operator.Aborted(), Case.Aborted);
        EXPECT_EQ(Read("dest/x.txt"), Case.Content);
        if (!Case.CopyName.empty()) {
            EXPECT_EQ(Read("dest/" + Case.CopyName), "new");
        }
        ASSERT_EQ(Boxes.Boxes.size(), Case.BoxCount);
        if (Case.BoxCount) {
            EXPECT_NE(Boxes.Boxes[0].Text.find(Path("dest/x.txt")), AnsiString::npos);
        }
    }
    // A second copy under a taken name gets the next free one.
    ASSERT_TRUE(Run(foCopy, Path("x.txt"), Path("dest"), {flSilent, flRenameOnCollision}));
    EXPECT_EQ(Read("dest/Copy (2) of x.txt"), "new");
}

TEST_F(FileOperator, DeleteAsksFirstAndNeverFollowsALink) {
    Write("gone/a.txt", "A");
    Write("gone/deep/b.txt", "B");
    Write("outside/keep.txt", "K");
    fs::create_directory_symlink(Path("outside").c_str(), Path("gone/link").c_str());
    Write("c.txt", "C");

    Boxes.Answers = {IDNO};
    EXPECT_FALSE(Run(foDelete, Path("gone") + "|" + Path("c.txt"), "", {flSilent}));
    EXPECT_TRUE(Operator.Aborted());
    EXPECT_TRUE(Exists("gone/a.txt"));
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Are you sure you want to delete these 2 items?");

    Boxes.Answers = {IDYES};
    EXPECT_TRUE(Run(foDelete, Path("gone") + "|" + Path("c.txt"), "", {flSilent}));
    EXPECT_FALSE(Operator.Aborted());
    EXPECT_FALSE(Exists("gone"));
    EXPECT_FALSE(Exists("c.txt"));
    EXPECT_EQ(Read("outside/keep.txt"), "K");
}

TEST_F(FileOperator, MovesAndRenamesInPairs) {
    Write("a.txt", "A");
    Write("b.txt", "B");
    Write("folder/f.txt", "F");
    ASSERT_TRUE(Run(foMove, Path("a.txt") + ";" + Path("folder"), Path("moved"), {flSilent}));
    EXPECT_EQ(Listing("moved"), (std::vector<std::string>{"a.txt", "folder"}));
    EXPECT_EQ(Read("moved/folder/f.txt"), "F");
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_FALSE(Exists("folder"));

    ASSERT_TRUE(Run(foRename, Path("b.txt") + "|" + Path("moved/a.txt"),
                    "c.txt|" + Path("moved/d.txt"), {flSilent}));
    EXPECT_EQ(Read("c.txt"), "B");
    EXPECT_EQ(Read("moved/d.txt"), "A");
    EXPECT_FALSE(Exists("b.txt"));
}

TEST_F(FileOperator, FailuresStopTheOperationAndAreReported) {
    Write("a.txt", "A");
    Write("tree/t.txt", "T");
    const struct {
        TFileOperation Operation;
        AnsiString Source, Dest;
        TFileOperFlags Options;
        AnsiString Message; // empty: no box expected
    } Cases[] = {
        {foCopy,
         Path("missing.txt") + ";" + Path("a.txt"),
         Path("out"),
         {flSilent},
         "Cannot find " + Path("missing.txt")},
        {foCopy, Path("missing.txt"), Path("out"), {flSilent, flNoErrorUI}, ""},
        {foCopy,
         Path("tree"),
         Path("tree/inner"),
         {flSilent, flNoConfirmMkDir},
         "Cannot put " + Path("tree") + " into itself"},
        {foCopy,
         Path("a.txt"),
         Path("a.txt"),
         {flSilent, flNoConfirmation},
         "Cannot copy " + Path("a.txt") + " onto itself"},
        {foMove, Path("a.txt"), "", {flSilent}, "No destination for " + Path("a.txt")},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Source + " -> " + Case.Dest);
        Boxes.Boxes.clear();
        EXPECT_FALSE(Run(Case.Operation, Case.Source, Case.Dest, Case.Options));
        EXPECT_FALSE(Operator.Aborted());
        if (Case.Message.empty()) {
            EXPECT_TRUE(Boxes.Boxes.empty());
        } else {
            ASSERT_EQ(Boxes.Boxes.size(), 1u);
            EXPECT_EQ(Boxes.Boxes[0].Text, Case.Message);
            EXPECT_EQ(Boxes.Boxes[0].Flags, MB_OK | MB_ICONERROR);
        }
        EXPECT_FALSE(Exists("out"));
        EXPECT_EQ(Read("a.txt"), "A");
    }
}

TEST_F(FileOperator, AMissingFolderIsMadeOnlyWithConsent) {
    Write("a.txt", "A");
    Boxes.Answers = {IDNO};
    EXPECT_FALSE(Run(foCopy, Path("a.txt"), Path("new/"), {flSilent}));
    EXPECT_TRUE(Operator.Aborted());
    EXPECT_FALSE(Exists("new"));
    Boxes.Answers = {IDYES};
    EXPECT_TRUE(Run(foCopy, Path("a.txt"), Path("new/"), {flSilent}));
    EXPECT_EQ(Read("new/a.txt"), "A");
}

TEST_F(FileOperator, TheProgressWindowCarriesTheTitleUnlessSilent) {
    Write("a.txt", "A");
    Write("dest/a.txt", "old");
    std::vector<AnsiString> Captions;
    Boxes.WhileOpen = [&](const TMessageBoxRequest&) {
        for (int I = 0; I < Screen->FormCount(); ++I)
            Captions.push_back(Screen->Forms(I)->Caption());
    };
    Operator.SetProgressTitle("Copying the shop files");
    Boxes.Answers = {IDYES, IDYES};
    ASSERT_TRUE(Run(foCopy, Path("a.txt"), Path("dest"), {}));
    EXPECT_NE(std::find(Captions.begin(), Captions.end(), "Copying the shop files"),
              Captions.end());
    Captions.clear();
    ASSERT_TRUE(Run(foCopy, Path("a.txt"), Path("dest"), {flSilent}));
    EXPECT_EQ(std::find(Captions.begin(), Captions.end(), "Copying the shop files"),
              Captions.end());
    EXPECT_EQ(Boxes.Boxes.size(), 2u);
}

// Asked for the shell's dialog, copying and moving go through the file
// operator: it asks before replacing, shows its failures, and the call
// ends in a silent abort when the operation did not finish.
TEST_F(FileOperator, ShellCopiesAndMovesGoThroughTheOperator) {
    Write("a.txt", "new");
    Write("dest/a.txt", "old");

    try {
        CopyFileEx(Path("missing.txt"), Path("out.txt"), false, true, nullptr);
        ADD_FAILURE() << "a missing source was copied";
    } catch (const EAbort&) {
    }
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Cannot find " + Path("missing.txt"));
    EXPECT_FALSE(Exists("out.txt"));
    EXPECT_THROW(MoveFileEx(Path("missing.txt"), Path("out.txt"), true), EAbort);
    EXPECT_EQ(Boxes.Boxes.size(), 2u);

    // Replacing asks first, unless read-only files may be overwritten.
    const struct {
        bool OverwriteReadOnly;
        std::vector<int> Answers;
        bool Aborts;
        const char* Content;
        std::size_t Boxes;
    } cases[] = {
        {false, {IDNO}, true, "old", 1},
        {false, {IDCANCEL}, true, "old", 1},
        {false, {IDYES}, false, "new", 1},
        {true, {}, false, "new", 0},
    };
    for (const auto& c : cases) {
        Write("dest/a.txt", "old");
        Boxes.Boxes.clear();
        Boxes.Answers.assign(c.Answers.begin(), c.Answers.end());
        bool Aborted = false;
        try {
            CopyFileEx(Path("a.txt"), Path("dest"), c.OverwriteReadOnly, true, nullptr);
        } catch (const EAbort&) {
            Aborted = true;
        }
        EXPECT_EQ(Aborted, c.Aborts) << c.Answers.size();
        EXPECT_EQ(Read("dest/a.txt"), c.Content);
        EXPECT_EQ(Boxes.Boxes.size(), c.Boxes);
    }

    // A move within the folder renames, into another folder moves; neither
    // asks before replacing.
    Boxes.Boxes.clear();
    MoveFileEx(Path("a.txt"), Path("b.txt"), true);
    EXPECT_EQ(Read("b.txt"), "new");
    MoveFileEx(Path("b.txt"), Path("dest/a.txt"), true);
    EXPECT_EQ(Read("dest/a.txt"), "new");
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_FALSE(Exists("b.txt"));
    EXPECT_TRUE(Boxes.Boxes.empty());
}

} // namespace
