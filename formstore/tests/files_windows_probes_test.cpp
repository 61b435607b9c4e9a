// The file, folder, progress, window, memory and min/max helpers reached
// through their public calls only.
#include "formstore/BrowseFolder.h"
#include "formstore/FileLink.h"
#include "formstore/FileOperator.h"
#include "formstore/FileUtil.h"
#include "formstore/Geometry.h"
#include "formstore/MemUtil.h"
#include "formstore/MinMax.h"
#include "formstore/MiscUtil.h"
#include "formstore/ProgressList.h"
#include "formstore/WindowUtil.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/FolderDialog.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <vector>
#include <iostream>
#include <csignal>
#include <functional>

namespace fstore = formstore;

namespace {

std::string ReadAll(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

void WriteAll(const std::string& Path, const std::string& Bytes) {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out << Bytes;
}

bool Exists(const std::string& Path) {
    struct stat St;
    return lstat(Path.c_str(), &St) == 0;
}

std::string Pattern(std::size_t Size) {
    std::string S(Size, '\0');
    for (std::size_t I = 0; I < Size; ++I) S[I] = static_cast<char>((I * 7 + 3) & 0xFF);
    return S;
}

// A progress control of our own that records every value written to it.
class TRecordingProgress : public TComponent {
public:
    explicit TRecordingProgress(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString ClassName() const override { return "TRecordingProgress"; }
    int Max = -1;
    int Min = -1;
    std::vector<int> Positions;
};

class TDerivedProgressBar : public TProgressBar {
public:
    using TProgressBar::TProgressBar;
    AnsiString ClassName() const override { return "TDerivedProgressBar"; }
    int Written = -1;
};

void RegisterRecorderOnce() {
    static bool Done = false;
    if (Done) return;
    Done = true;
    fstore::RegisterProgressControl(
        fstore::ProgressControlClass<TRecordingProgress>(
            [](TRecordingProgress& C, const AnsiString& Name, int Value) {
                if (Name == "Max") C.Max = Value;
                else if (Name == "Min") C.Min = Value;
                else if (Name == "Position") C.Positions.push_back(Value);
                else return false;
                return true;
            }),
        "Max", "Min", "Position");
}

class FilesAndWindows : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* Name : kEnvNames) {
            const char* Value = getenv(Name);
            Saved.emplace_back(Value != nullptr, Value ? Value : "");
        }
        char Tmpl[] = "/tmp/fileutil-XXXXXX";
        ASSERT_NE(mkdtemp(Tmpl), nullptr);
        Root = Tmpl;
        for (const char* Sub : {"/home", "/config", "/data", "/work"})
            mkdir((Root + Sub).c_str(), 0700);
        setenv("HOME", (Root + "/home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (Root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (Root + "/data").c_str(), 1);
        unsetenv("XDG_DESKTOP_DIR");
        unsetenv("XDG_DOCUMENTS_DIR");
        W = Root + "/work/";
        Application->Initialize();
    }
    void TearDown() override {
        for (std::size_t I = 0; I < Saved.size(); ++I) {
            if (Saved[I].first) setenv(kEnvNames[I], Saved[I].second.c_str(), 1);
            else unsetenv(kEnvNames[I]);
        }
        std::string Cmd = "chattr -R -i '" + Root + "' 2>/dev/null; rm -rf '" + Root + "'";
        (void)std::system(Cmd.c_str());
    }
    static constexpr const char* kEnvNames[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                                "XDG_DESKTOP_DIR", "XDG_DOCUMENTS_DIR"};
    std::vector<std::pair<bool, std::string>> Saved;
    std::string Root;
    std::string W;
};

} // namespace

// ---------------------------------------------------------------- paths

TEST_F(FilesAndWindows, RemoveBackSlashKeepsRootsAndOneCharacterNames) {
    EXPECT_EQ(fstore::RemoveBackSlash("C:\\"), "C:\\");
    EXPECT_EQ(fstore::RemoveBackSlash("C:\\Temp\\"), "C:\\Temp");
    EXPECT_EQ(fstore::RemoveBackSlash("\\"), "\\");
    EXPECT_EQ(fstore::RemoveBackSlash("C:\\Temp"), "C:\\Temp");
}

TEST_F(FilesAndWindows, ForceDirectoriesMakesTheWholeChain) {
    fstore::ForceDirectories((W + "a/b/c/").c_str());
    EXPECT_TRUE(fstore::DirExists((W + "a/b/c").c_str()));
    fstore::ForceDirectories("");
    // A file in the way is not reported.
    WriteAll(W + "file", "x");
    EXPECT_NO_THROW(fstore::ForceDirectories((W + "file/sub").c_str()));
    EXPECT_EQ(ReadAll(W + "file"), "x");
}

TEST_F(FilesAndWindows, CopyReportsSizeAndProgressAndResetsIt) {
    RegisterRecorderOnce();
    TRecordingProgress P(nullptr);
    const std::string Data = Pattern(20000);
    WriteAll(W + "src", Data);
    fstore::CopyFile((W + "src").c_str(), (W + "dst").c_str(), &P);
    EXPECT_EQ(ReadAll(W + "dst"), Data);
    EXPECT_EQ(P.Max, 20000);
    EXPECT_EQ(P.Min, 0);
    ASSERT_FALSE(P.Positions.empty());
    EXPECT_EQ(P.Positions.back(), 0);
    EXPECT_NE(std::find(P.Positions.begin(), P.Positions.end(), 20000), P.Positions.end());
}

TEST_F(FilesAndWindows, CopyIntoADirectoryKeepsTheSourceName) {
    WriteAll(W + "src.txt", "abc");
    mkdir((W + "d").c_str(), 0755);
    fstore::CopyFileEx((W + "src.txt").c_str(), (W + "d").c_str(), false, false, nullptr);
    EXPECT_EQ(ReadAll(W + "d/src.txt"), "abc");
}

TEST_F(FilesAndWindows, CopyOntoItselfKeepsTheFile) {
    WriteAll(W + "f", "precious");
    EXPECT_THROW(fstore::CopyFile((W + "f").c_str(), (W + "f").c_str(), nullptr), EFCreateError);
    EXPECT_EQ(ReadAll(W + "f"), "precious");
    EXPECT_THROW(fstore::CopyFile((W + "f").c_str(), (W + "./f").c_str(), nullptr), EFCreateError);
    EXPECT_EQ(ReadAll(W + "f"), "precious");
}

TEST_F(FilesAndWindows, CopyOntoAHardLinkOfTheSourceKeepsIt) {
    WriteAll(W + "f", "precious");
    ASSERT_EQ(link((W + "f").c_str(), (W + "g").c_str()), 0);
    EXPECT_THROW(fstore::CopyFile((W + "f").c_str(), (W + "g").c_str(), nullptr), EFCreateError);
    EXPECT_EQ(ReadAll(W + "f"), "precious");
    EXPECT_EQ(ReadAll(W + "g"), "precious");
}

TEST_F(FilesAndWindows, CopyWritesThroughASymbolicLinkDestination) {
    WriteAll(W + "src", "new");
    WriteAll(W + "target", "old");
    ASSERT_EQ(symlink((W + "target").c_str(), (W + "link").c_str()), 0);
    fstore::CopyFile((W + "src").c_str(), (W + "link").c_str(), nullptr);
    struct stat St;
    ASSERT_EQ(lstat((W + "link").c_str(), &St), 0);
    EXPECT_TRUE(S_ISLNK(St.st_mode));
    EXPECT_EQ(ReadAll(W + "target"), "new");
}

TEST_F(FilesAndWindows, CopyLeavesAReadOnlyDestinationUnlessAsked) {
    WriteAll(W + "src", "new");
    WriteAll(W + "dst", "old");
    chmod((W + "dst").c_str(), 0444);
    EXPECT_THROW(fstore::CopyFile((W + "src").c_str(), (W + "dst").c_str(), nullptr), EFCreateError);
    EXPECT_EQ(ReadAll(W + "dst"), "old");
    fstore::CopyFileEx((W + "src").c_str(), (W + "dst").c_str(), true, false, nullptr);
    EXPECT_EQ(ReadAll(W + "dst"), "new");
    EXPECT_FALSE(fstore::HasAttr((W + "dst").c_str(), fstore::faReadOnly));
}

TEST_F(FilesAndWindows, CopyFromAPipeRaisesWithoutHanging) {
    ASSERT_EQ(mkfifo((W + "pipe").c_str(), 0600), 0);
    // Hold both ends so that an implementation that opens it does not block
    // on the open; closing ours ends any read it started.
    int Fd = open((W + "pipe").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(Fd, 0);
    auto Run = std::async(std::launch::async, [&] {
        try {
            fstore::CopyFile((W + "pipe").c_str(), (W + "dst").c_str(), nullptr);
            return std::string("no error");
        } catch (const EFOpenError&) {
            return std::string("EFOpenError");
        } catch (const Exception& E) {
            return std::string(E.ClassName());
        }
    });
    const bool Done = Run.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    close(Fd);
    EXPECT_TRUE(Done) << "hangs on a pipe";
    EXPECT_EQ(Run.get(), "EFOpenError");
}

TEST_F(FilesAndWindows, ShellCopyDeclinedAtTheOnlyReplaceQuestionAbortsSilently) {
    TMessageBoxRecorder Boxes;
    Boxes.Answers = {mrNo};
    WriteAll(W + "a", "new");
    WriteAll(W + "b", "old");
    EXPECT_THROW(fstore::CopyFileEx((W + "a").c_str(), (W + "b").c_str(), false, true, nullptr), EAbort);
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(ReadAll(W + "b"), "old");
}

TEST_F(FilesAndWindows, DeleteFilesExStopsAtTheFirstMaskThatFails) {
    WriteAll(W + "b.txt", "2");
    const AnsiString Masks[] = {(W + "*.none").c_str(), (W + "*.txt").c_str()};
    EXPECT_FALSE(fstore::DeleteFilesEx(Masks));
    EXPECT_TRUE(Exists(W + "b.txt"));
    EXPECT_TRUE(fstore::DeleteFilesEx({}));
}

TEST_F(FilesAndWindows, ClearDirNeverFollowsLinksOutOfTheTree) {
    mkdir((W + "outside").c_str(), 0755);
    WriteAll(W + "outside/keep", "keep");
    mkdir((W + "t").c_str(), 0755);
    ASSERT_EQ(symlink((W + "outside").c_str(), (W + "t/dirlink").c_str()), 0);
    ASSERT_EQ(symlink((W + "outside/keep").c_str(), (W + "t/filelink").c_str()), 0);
    EXPECT_TRUE(fstore::ClearDir((W + "t").c_str(), true));
    EXPECT_EQ(ReadAll(W + "outside/keep"), "keep");
    EXPECT_FALSE(Exists(W + "t"));
}

TEST_F(FilesAndWindows, LaterRegistrationOfADerivedBarIsFoundFirst) {
    auto Derived = fstore::ProgressControlClass<TDerivedProgressBar>(
        [](TDerivedProgressBar& C, const AnsiString& Name, int Value) {
            if (Name != "Pos") return false;
            C.Written = Value;
            return true;
        });
    fstore::RegisterProgressControl(Derived, "Mx", "Mn", "Pos");
    TDerivedProgressBar Bar(nullptr);
    EXPECT_TRUE(fstore::SetProgressValue(&Bar, 7));
    EXPECT_EQ(Bar.Written, 7);
    EXPECT_EQ(Bar.Position(), 0);
    fstore::UnRegisterProgressControl(Derived);
    EXPECT_TRUE(fstore::SetProgressValue(&Bar, 8));
    EXPECT_EQ(Bar.Position(), 8);
    EXPECT_THROW(fstore::RegisterProgressControl(Derived, std::string(64, 'x').c_str(), "a", "b"),
                 EConvertError);
}

TEST_F(FilesAndWindows, BrowseDirectoryReturnsTheChosenFolderWithoutSlash) {
    mkdir((W + "start").c_str(), 0755);
    mkdir((W + "chosen").c_str(), 0755);
    AnsiString Seen;
    ScopedFolderDialogAnswerer Answer([&](TFolderDialogRequest& R) {
        Seen = R.Folder;
        R.Folder = (W + "chosen/").c_str();
        return true;
    });
    AnsiString Folder = (W + "start").c_str();
    EXPECT_TRUE(fstore::BrowseDirectory(Folder, "Pick", 0));
    EXPECT_EQ(Seen, (W + "start").c_str());
    EXPECT_EQ(Folder, (W + "chosen").c_str());
}

namespace {
class WindowUtilities : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
};
} // namespace

TEST_F(WindowUtilities, CenterWindowOfAWindowLargerThanTheScreenIsAtTheOrigin) {
    Screen->OverrideSize(800, 600);
    TForm Form(nullptr);
    Form.SetBounds(50, 50, 1200, 900);
    Form.Show();
    fstore::CenterWindow(&Form);
    EXPECT_EQ(Form.Left(), 0);
    EXPECT_EQ(Form.Top(), 0);
    EXPECT_EQ(Form.Width(), 1200);
    Form.SetBounds(0, 0, 200, 100);
    fstore::CenterWindow(&Form);
    EXPECT_EQ(Form.Left(), 300);
    EXPECT_EQ(Form.Top(), 250);
    Screen->OverrideSize(0, 0);
}

TEST_F(WindowUtilities, MemoryBlocks) {
    EXPECT_EQ(fstore::AllocMemo(0), nullptr);
    EXPECT_EQ(fstore::AllocMemo(-5), nullptr);
    EXPECT_EQ(fstore::GetMemoSize(nullptr), 0);
    void* P = fstore::AllocMemo(16);
    ASSERT_NE(P, nullptr);
    EXPECT_EQ(fstore::GetMemoSize(P), 16);
    std::memset(P, 0xAB, 16);
    P = fstore::ReallocMemo(P, 64);
    EXPECT_EQ(fstore::GetMemoSize(P), 64);
    const unsigned char* B = static_cast<unsigned char*>(P);
    EXPECT_EQ(B[15], 0xAB);
    for (int I = 16; I < 64; ++I) ASSERT_EQ(B[I], 0) << I;
    fstore::FreeMemo(P);
    EXPECT_EQ(P, nullptr);
    fstore::FreeMemo(P);
    int A[] = {1, 2, 3, 4, 5, 6};
    fstore::HugeMove(A, 1, 0, 4);
    EXPECT_EQ(std::vector<int>(A, A + 6), (std::vector<int>{1, 1, 2, 3, 4, 6}));
    char S[] = "abcdef";
    fstore::HMemCpy(S + 2, S, 3);
    EXPECT_STREQ(S, "ababcf");
    EXPECT_TRUE(fstore::CompareMem("abc", "abd", 2));
    EXPECT_FALSE(fstore::CompareMem("abc", "abd", 3));
}

TEST_F(WindowUtilities, TextHelpers) {
    EXPECT_EQ(fstore::DropT("TForm1"), "Form1");
    EXPECT_EQ(fstore::DropT("T"), "T");
    EXPECT_EQ(fstore::DropT("tx"), "x");
    AnsiString Exe, Params;
    fstore::SplitCommandLine("prog.exe \"a b\" c", Exe, Params);
    EXPECT_EQ(Exe, "prog.exe");
    EXPECT_EQ(Params, "\"a b\" c");
    EXPECT_EQ(fstore::AnsiUpperFirstChar("hELLO"), "Hello");
    auto P = fstore::StrPAlloc("xyz");
    EXPECT_STREQ(P.get(), "xyz");
    setenv("READER3_VAR", "value", 1);
    EXPECT_EQ(fstore::GetEnvVar("READER3_VAR"), "value");
    EXPECT_EQ(fstore::GetEnvVar("READER3_NONE"), "");
}

TEST_F(WindowUtilities, MinMaxLists) {
    const TDateTime Days[] = {EncodeDate(2000, 1, 1), EncodeDate(2001, 1, 1)};
    EXPECT_EQ(static_cast<double>(fstore::MaxDateTime(Days)), static_cast<double>(EncodeDate(2001, 1, 1)));
    EXPECT_EQ(static_cast<double>(fstore::MinDateTime(Days)), static_cast<double>(EncodeDate(2000, 1, 1)));
    const int One[] = {42};
    EXPECT_EQ(fstore::MaxInteger(One), 42);
    EXPECT_THROW(fstore::MaxInteger({}), ERangeError);
    const std::int64_t Big[] = {-5, INT64_MIN, 7};
    EXPECT_EQ(fstore::MinInt64(Big), INT64_MIN);
    const Variant Equal[] = {Variant(1), Variant(1.0)};
    EXPECT_EQ(VarType(fstore::MaxOf(Equal)), VarType(Variant(1)));
    int A = 1, B = 2;
    fstore::SwapInt(A, B);
    EXPECT_EQ(A, 2);
    EXPECT_EQ(fstore::Max(3, -3), 3);
}

TEST_F(FilesAndWindows, FailedMoveAcrossFileSystemsKeepsTheSource) {
    char Tmpl[] = "/dev/shm/fileutil-XXXXXX";
    if (mkdtemp(Tmpl) == nullptr) GTEST_SKIP() << "no /dev/shm";
    const std::string Other = Tmpl;
    WriteAll(Other + "/a", "precious");
    WriteAll(W + "b", "old");
    chmod((W + "b").c_str(), 0444);
    try {
        fstore::MoveFile((Other + "/a").c_str(), (W + "b").c_str());
    } catch (const Exception&) {
    }
    const std::string Src = ReadAll(Other + "/a");
    const std::string Dst = ReadAll(W + "b");
    (void)std::system(("rm -rf '" + Other + "'").c_str());
    EXPECT_TRUE(Src == "precious" || Dst == "precious") << "lost: src '" << Src << "' dst '" << Dst << "'";
}

TEST_F(FilesAndWindows, OperatorDeclinedAtTheOnlyReplaceQuestionIsAborted) {
    TMessageBoxRecorder Boxes;
    Boxes.Answers = {mrNo};
    WriteAll(W + "a", "new");
    WriteAll(W + "b", "old");
    fstore::TFsFileOperator Op(nullptr);
    Op.SetOperation(fstore::foCopy);
    Op.SetSource((W + "a").c_str());
    Op.SetDestination((W + "b").c_str());
    Op.SetOptions({fstore::flSilent});
    const bool Result = Op.RunOperation();
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(ReadAll(W + "b"), "old");
    EXPECT_FALSE(Result);
    EXPECT_TRUE(Op.Aborted());
}

