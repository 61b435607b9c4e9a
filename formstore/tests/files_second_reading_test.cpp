// File helpers and the progress-control registry, worked in a scratch
// folder of the test's own.
#include "ScratchFiles.h"
#include "formstore/FileLink.h"
#include "formstore/FileOperator.h"
#include "formstore/FileUtil.h"
#include "formstore/ProgressList.h"
#include "platform/classes/Component.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace formstore;

namespace {

class FileHelpers : public formstore_test::ScratchFilesTest {
protected:
    void SetUp() override {
        char Tmpl[] = "/tmp/filehelpersXXXXXX";
        Root = mkdtemp(Tmpl);
    }
    void TearDown() override { std::filesystem::remove_all(Root.c_str()); }
};

// A control that records every progress property written to it.
class TRecordingGauge : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<std::pair<std::string, int>> Writes;
};
class TDerivedGauge : public TRecordingGauge {
public:
    using TRecordingGauge::TRecordingGauge;
};

TProgressControlClass GaugeClass(const char* Tag) {
    return ProgressControlClass<TRecordingGauge>(
        [Tag](TRecordingGauge& G, const AnsiString& Name, int Value) {
            G.Writes.emplace_back(std::string(Tag) + Name.c_str(), Value);
            return true;
        });
}
TProgressControlClass DerivedClass() {
    return ProgressControlClass<TDerivedGauge>(
        [](TDerivedGauge& G, const AnsiString& Name, int Value) {
            G.Writes.emplace_back("derived:" + std::string(Name.c_str()), Value);
            return true;
        });
}

TEST(FilePathTexts, RemoveBackSlashAndValidFileName) {
    const std::pair<const char*, const char*> Slashes[] = {
        {"C:\\", "C:\\"}, {"C:\\Temp\\", "C:\\Temp"}, {"\\", "\\"}, {"a\\b", "a\\b"}, {"", ""}};
    for (const auto& [In, Out] : Slashes)
        EXPECT_EQ(RemoveBackSlash(In), Out) << In;
    const std::pair<const char*, bool> Names[] = {
        {"a|b.txt", false},  {"", false},         {"C:\\dir\\file.txt", true}, {"a<b", false},
        {"x[1].txt", false}, {"plain.txt", true}, {"say\"hi\"", false}};
    for (const auto& [Name, Valid] : Names)
        EXPECT_EQ(ValidFileName(Name), Valid) << Name;
}

TEST_F(FileHelpers, ForceDirectoriesMakesTheWholeChain) {
    ForceDirectories(Path("a/b/c/"));
    EXPECT_TRUE(DirExists(Path("a/b/c")));
    ForceDirectories(Path("a/b/c")); // already there: nothing happens
    ForceDirectories("");
    EXPECT_TRUE(HasAttr(Path("a/b"), faDirectory));
}

TEST_F(FileHelpers, CopyIntoAFolderKeepsTheNameBytesAndTime) {
    Write("src/data.bin", std::string(20000, 'x') + "end");
    std::filesystem::last_write_time(Path("src/data.bin").c_str(),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(48));
    ForceDirectories(Path("dst"));
    CopyFile(Path("src/data.bin"), Path("dst"), nullptr);
    EXPECT_EQ(Read("dst/data.bin"), Read("src/data.bin"));
    EXPECT_EQ(GetFileSize(Path("dst/data.bin")), 20003);
    EXPECT_DOUBLE_EQ(double(FileDateTime(Path("dst/data.bin"))),
                     double(FileDateTime(Path("src/data.bin"))));
    EXPECT_EQ(GetFileSize(Path("dst")), -1);
    EXPECT_EQ(GetFileSize(Path("none")), -1);
}

TEST_F(FileHelpers, CopyReportsProgressAndEndsAtZero) {
    RegisterProgressControl(GaugeClass(""), "Max", "Min", "Position");
    TRecordingGauge Gauge(nullptr);
    Write("big", std::string(10000, 'y'));
    CopyFile(Path("big"), Path("out/big"), &Gauge);
    ASSERT_GE(Gauge.Writes.size(), 5u);
    EXPECT_EQ(Gauge.Writes[0], std::make_pair(std::string("Max"), 10000));
    EXPECT_EQ(Gauge.Writes[1], std::make_pair(std::string("Min"), 0));
    EXPECT_EQ(Gauge.Writes[2], std::make_pair(std::string("Position"), 0));
    EXPECT_EQ(Gauge.Writes[Gauge.Writes.size() - 2],
              std::make_pair(std::string("Position"), 10000));
    EXPECT_EQ(Gauge.Writes.back(), std::make_pair(std::string("Position"), 0));

    Gauge.Writes.clear();
    Write("empty", "");
    CopyFile(Path("empty"), Path("out/empty"), &Gauge);
    EXPECT_TRUE(Exists("out/empty"));
    EXPECT_EQ(Read("out/empty"), "");
    EXPECT_EQ(Gauge.Writes.back(), std::make_pair(std::string("Position"), 0));

    // A missing source names itself and still resets the position.
    Gauge.Writes.clear();
    try {
        CopyFile(Path("missing"), Path("out/x"), &Gauge);
        ADD_FAILURE() << "no error";
    } catch (const EFOpenError& E) {
        EXPECT_NE(std::string(E.Message.c_str())
                      .find("Cannot open file " + std::string(Path("missing").c_str())),
                  std::string::npos)
            << E.Message.c_str();
    }
    EXPECT_FALSE(Exists("out/x"));
    UnRegisterProgressControl(GaugeClass(""));
    EXPECT_FALSE(SupportsProgressControl(&Gauge));
}

TEST_F(FileHelpers, LaterRegistrationOfADerivedClassWins) {
    RegisterProgressControl(GaugeClass(""), "Max", "Min", "Position");
    RegisterProgressControl(DerivedClass(), "Top", "Bottom", "Pos");
    TDerivedGauge Derived(nullptr);
    TRecordingGauge Plain(nullptr);
    EXPECT_TRUE(SetProgressMax(&Derived, 5));
    EXPECT_TRUE(SetProgressMax(&Plain, 6));
    EXPECT_FALSE(SetProgressMax(nullptr, 6));
    ASSERT_EQ(Derived.Writes.size(), 1u);
    EXPECT_EQ(Derived.Writes[0].first, "derived:Top");
    EXPECT_EQ(Plain.Writes[0].first, "Max");
    // Removing the base class removes the derived one's entry too.
    UnRegisterProgressControl(GaugeClass(""));
    EXPECT_FALSE(SupportsProgressControl(&Derived));
    EXPECT_FALSE(SetProgressValue(&Derived, 1));
    TComponent Other(nullptr);
    EXPECT_FALSE(SupportsProgressControl(&Other));
}

TEST_F(FileHelpers, DeleteFilesSkipsFoldersAndDotNamesAndStopsAtTheFirstFailingMask) {
    Write("d/a.txt", "1");
    Write("d/b.txt", "2");
    Write("d/.hidden.txt", "3");
    Write("d/keep.log", "4");
    ForceDirectories(Path("d/sub.txt"));
    EXPECT_TRUE(DeleteFiles(Path("d/*.txt")));
    EXPECT_EQ(Listing("d"), (std::vector<std::string>{".hidden.txt", "keep.log", "sub.txt"}));

    Write("e/z.log", "5");
    const AnsiString Masks[] = {Path("e/*.none"), Path("e/*.log")};
    EXPECT_FALSE(DeleteFilesEx(Masks));
    EXPECT_TRUE(Exists("e/z.log"));
    EXPECT_TRUE(DeleteFilesEx(std::span<const AnsiString>()));
}

TEST_F(FileHelpers, ClearDirEmptiesTheTreeAndRemovesTheFolderOnRequest) {
    Write("t/x", "1");
    Write("t/s/y", "2");
    std::filesystem::permissions(Path("t/s/y").c_str(), std::filesystem::perms::owner_read);
    EXPECT_TRUE(ClearDir(Path("t"), false));
    EXPECT_TRUE(DirExists(Path("t")));
    EXPECT_TRUE(Listing("t").empty());
    Write("t/z", "3");
    EXPECT_TRUE(ClearDir(Path("t"), true));
    EXPECT_FALSE(Exists("t"));
    EXPECT_FALSE(ClearDir(Path("t"), true));
}

TEST_F(FileHelpers, MoveRenamesAndLeavesAMissingSourceAlone) {
    Write("m/one", "abc");
    MoveFile(Path("m/one"), Path("m/two"));
    EXPECT_FALSE(Exists("m/one"));
    EXPECT_EQ(Read("m/two"), "abc");
    MoveFile(Path("m/none"), Path("m/three"));
    EXPECT_FALSE(Exists("m/three"));
}

// The file operator works on lists separated by ';' or '|'.
TEST_F(FileHelpers, FileOperatorCopiesMovesRenamesAndDeletesLists) {
    Write("o/a.txt", "A");
    Write("o/b.txt", "B");
    Write("o/c.txt", "C");
    ForceDirectories(Path("to"));
    TFsFileOperator Op(nullptr);
    Op.SetOptions({flSilent, flNoConfirmation, flNoConfirmMkDir, flNoErrorUI});
    Op.SetOperation(foCopy);
    Op.SetSource(Path("o/a.txt") + ";" + Path("o/b.txt") + "|" + Path("o/c.txt"));
    Op.SetDestination(Path("to"));
    EXPECT_TRUE(Op.RunOperation());
    EXPECT_EQ(Listing("to"), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_FALSE(Op.Aborted());

    Op.SetOperation(foRename);
    Op.SetSource(Path("to/a.txt"));
    Op.SetDestination(Path("to/renamed.txt"));
    EXPECT_TRUE(Op.RunOperation());
    EXPECT_EQ(Read("to/renamed.txt"), "A");

    Op.SetOperation(foMove);
    Op.SetSource(Path("o/*.txt"));
    Op.SetDestination(Path("moved"));
    EXPECT_TRUE(Op.RunOperation());
    EXPECT_EQ(Listing("moved"), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_TRUE(Listing("o").empty());

    Op.SetOperation(foDelete);
    Op.SetSource(Path("moved/a.txt") + ";" + Path("moved/b.txt"));
    Op.SetDestination("");
    EXPECT_TRUE(Op.RunOperation());
    EXPECT_EQ(Listing("moved"), std::vector<std::string>{"c.txt"});

    // A missing source fails without asking anybody.
    Op.SetOperation(foCopy);
    Op.SetSource(Path("nothing-here"));
    Op.SetDestination(Path("to"));
    EXPECT_FALSE(Op.RunOperation());
}

// With the shell dialog the operator does the work: a copy over an
// existing file with OverwriteReadOnly, a move within one folder.
TEST_F(FileHelpers, ShellDialogCopyAndMoveGoThroughTheOperator) {
    Write("s/new", "fresh");
    Write("s/old", "stale");
    CopyFileEx(Path("s/new"), Path("s/old"), true, true, nullptr);
    EXPECT_EQ(Read("s/old"), "fresh");
    MoveFileEx(Path("s/new"), Path("s/moved"), true);
    EXPECT_FALSE(Exists("s/new"));
    EXPECT_EQ(Read("s/moved"), "fresh");
    EXPECT_THROW(MoveFileEx(Path("s/absent"), Path("s/elsewhere"), true), EAbort);
}

// A read-only destination is replaced only when asked, and is then
// writable; refused, it keeps its bytes.
TEST_F(FileHelpers, ReadOnlyDestinationIsReplacedOnlyOnRequest) {
    Write("r/src", "new");
    Write("r/dst", "old");
    std::filesystem::permissions(Path("r/dst").c_str(), std::filesystem::perms::owner_read);
    EXPECT_TRUE(HasAttr(Path("r/dst"), faReadOnly));
    EXPECT_THROW(CopyFile(Path("r/src"), Path("r/dst"), nullptr), EFCreateError);
    EXPECT_EQ(Read("r/dst"), "old");
    CopyFileEx(Path("r/src"), Path("r/dst"), true, false, nullptr);
    EXPECT_EQ(Read("r/dst"), "new");
    EXPECT_FALSE(HasAttr(Path("r/dst"), faReadOnly));
}

TEST_F(FileHelpers, FileLinksAreMadeAndRemovedInTheSpecialFolder) {
    setenv("XDG_DOCUMENTS_DIR", Path("docs").c_str(), 1);
    Write("target.txt", "t");
    CreateFileLink(Path("target.txt"), "My target", CSIDL_PERSONAL);
    EXPECT_EQ(Read("docs/My target"), "t");
    EXPECT_THROW(CreateFileLink(Path("target.txt"), "a/b", CSIDL_PERSONAL), EInOutError);
    DeleteFileLink("My target", CSIDL_PERSONAL);
    EXPECT_FALSE(Exists("docs/My target"));
    EXPECT_TRUE(Exists("target.txt"));
    DeleteFileLink("My target", CSIDL_PERSONAL); // none: nothing happens
    unsetenv("XDG_DOCUMENTS_DIR");
}

} // namespace
