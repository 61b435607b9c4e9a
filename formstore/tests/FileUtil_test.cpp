#include "formstore/FileUtil.h"

#include "ScratchFiles.h"

#include "formstore/ProgressList.h"
#include "platform/classes/Component.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace formstore;
namespace fs = std::filesystem;

namespace {

// A progress control that writes down every value it is given.
class TProgressRecorder : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<AnsiString> Log;
};

TProgressControlClass RecorderClass() {
    return ProgressControlClass<TProgressRecorder>(
        [](TProgressRecorder& Control, const AnsiString& Name, int Value) {
            if (Name != "Maximum" && Name != "Minimum" && Name != "Current") return false;
            Control.Log.push_back(Name + "=" + std::to_string(Value));
            return true;
        });
}

class FileUtilTest : public formstore_test::ScratchFilesTest {
protected:
    FileUtilTest() {
        char Template[] = "/tmp/formstore-fileutil-XXXXXX";
        Root = ::mkdtemp(Template);
        fs::permissions(Root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        RegisterProgressControl(RecorderClass(), "Maximum", "Minimum", "Current");
    }
    ~FileUtilTest() override {
        UnRegisterProgressControl(RecorderClass());
        std::error_code Ignored;
        fs::remove_all(Root, Ignored);
    }
};

TEST_F(FileUtilTest, CopyReportsProgressAndKeepsTheFileDate) {
    const std::string Content(20000, 'x');
    Write("src.bin", Content);
    const timespec Old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, Path("src.bin").c_str(), Old, 0), 0);

    TProgressRecorder Progress(nullptr);
    CopyFile(Path("src.bin"), Path("out/sub/copy.bin"), &Progress);

    EXPECT_EQ(Read("out/sub/copy.bin"), Content);
    EXPECT_EQ(FileDateTime(Path("out/sub/copy.bin")), FileDateTime(Path("src.bin")));
    EXPECT_EQ(Progress.Log,
              (std::vector<AnsiString>{"Maximum=20000", "Minimum=0", "Current=0", "Current=8192",
                                       "Current=16384", "Current=20000", "Current=0"}));
}

TEST_F(FileUtilTest, CopyOfAnEmptyFileIntoADirectory) {
    Write("empty", "");
    fs::create_directory(Path("dir"));
    TProgressRecorder Progress(nullptr);
    CopyFile(Path("empty"), Path("dir"), &Progress);
    EXPECT_TRUE(Exists("dir/empty"));
    EXPECT_EQ(GetFileSize(Path("dir/empty")), 0);
    EXPECT_EQ(Progress.Log.back(), "Current=0");
    EXPECT_EQ(Listing("dir"), (std::vector<std::string>{"empty"}));
}

TEST_F(FileUtilTest, AFailedCopyLeavesNoPartialDestination) {
    Write("dest", "previous");
    TProgressRecorder Progress(nullptr);
    // Reading this file fails at its first byte: nothing is mapped at 0.
    EXPECT_THROW(CopyFile("/proc/self/mem", Path("dest"), &Progress), EReadError);
    EXPECT_EQ(Read("dest"), "previous");
    EXPECT_EQ(Listing(""), (std::vector<std::string>{"dest"}));
    EXPECT_EQ(Progress.Log.back(), "Current=0");

    try {
        CopyFile(Path("missing"), Path("dest"), nullptr);
        FAIL() << "copied a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message, "Cannot open file " + Path("missing"));
    }
    EXPECT_THROW(CopyFile(Path(""), Path("dest"), nullptr), EFOpenError);
}

TEST_F(FileUtilTest, AReadOnlyDestinationIsReplacedOnlyWhenAsked) {
    Write("src", "new");
    Write("dest", "old");
    fs::permissions(Path("dest"), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_TRUE(HasAttr(Path("dest"), faReadOnly | faArchive));
    try {
        CopyFile(Path("src"), Path("dest"), nullptr);
        FAIL() << "replaced a read-only file";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message, "Cannot create file " + Path("dest"));
    }
    EXPECT_EQ(Read("dest"), "old");
    CopyFileEx(Path("src"), Path("dest"), true, false, nullptr);
    EXPECT_EQ(Read("dest"), "new");
}

TEST_F(FileUtilTest, ProgressRegistryPrefersLaterClassesAndForgetsDerivedOnes) {
    class TFancyRecorder : public TProgressRecorder {
    public:
        using TProgressRecorder::TProgressRecorder;
    };
    const auto FancyClass = ProgressControlClass<TFancyRecorder>(
        [](TFancyRecorder& Control, const AnsiString& Name, int Value) {
            Control.Log.push_back("fancy " + Name + "=" + std::to_string(Value));
            return Name == "Pos";
        });
    TFancyRecorder Fancy(nullptr);
    TProgressRecorder Plain(nullptr);
    TComponent Other(nullptr);

    EXPECT_TRUE(SupportsProgressControl(&Fancy)); // through its base class
    RegisterProgressControl(FancyClass, "Top", "Bottom", "Pos");
    EXPECT_TRUE(SetProgressValue(&Fancy, 5));
    EXPECT_FALSE(SetProgressMax(&Fancy, 9)); // "Top" is no numeric property
    EXPECT_EQ(Fancy.Log, (std::vector<AnsiString>{"fancy Pos=5", "fancy Top=9"}));
    EXPECT_TRUE(SetProgressValue(&Plain, 3));
    EXPECT_EQ(Plain.Log, (std::vector<AnsiString>{"Current=3"}));
    EXPECT_FALSE(SupportsProgressControl(&Other));
    EXPECT_FALSE(SetProgressValue(&Other, 1));
    EXPECT_FALSE(SetProgressValue(nullptr, 1));

    // Unregistering the base class removes the derived class's entry too.
    UnRegisterProgressControl(RecorderClass());
    EXPECT_FALSE(SupportsProgressControl(&Fancy));
    EXPECT_THROW(RegisterProgressControl(RecorderClass(), AnsiString(64, 'x'), "a", "b"),
                 EConvertError);
}

TEST_F(FileUtilTest, ForceDirectoriesMakesTheChainOrSaysWhyNot) {
    ForceDirectories(Path("a/b/c/"));
    EXPECT_TRUE(DirExists(Path("a/b/c")));
    ForceDirectories(Path("a/b/c")); // already there
    ForceDirectories("");

    Write("file", "x");
    try {
        ForceDirectories(Path("file/sub"));
        FAIL() << "made a directory under a file";
    } catch (const EInOutError& e) {
        // The file in the way is the directory that cannot be made.
        EXPECT_EQ(e.Message.rfind("Cannot create directory " + Path("file") + ": ", 0), 0u)
            << e.Message;
    }
}

TEST_F(FileUtilTest, DeleteFilesByMask) {
    Write("d/a.txt", "1");
    Write("d/b.txt", "2");
    Write("d/c.log", "3");
    Write("d/.hidden.txt", "4");
    fs::create_directory(Path("d/sub.txt"));
    Write("outside.txt", "keep");
    fs::create_symlink(Path("outside.txt"), Path("d/link.txt"));

    EXPECT_TRUE(DeleteFiles(Path("d/*.txt")));
    EXPECT_EQ(Listing("d"), (std::vector<std::string>{".hidden.txt", "c.log", "sub.txt"}));
    EXPECT_EQ(Read("outside.txt"), "keep");

    EXPECT_FALSE(DeleteFiles(Path("d/*.doc")));    // nothing matched
    EXPECT_FALSE(DeleteFiles(Path("none/*.txt"))); // no such folder
    EXPECT_TRUE(DeleteFiles(Path("d/?.log")));
    EXPECT_TRUE(DeleteFiles(Path("d/*.*")));
    EXPECT_EQ(Listing("d"), (std::vector<std::string>{".hidden.txt", "sub.txt"}));
    EXPECT_TRUE(DeleteFilesEx({}));
}

// Runs Body in a child process that has no root privileges (file
// permissions bind it), and gives its exit code.
int RunUnprivileged(const std::function<int()>& Body) {
    const pid_t Child = ::fork();
    if (Child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
        ::_exit(Body());
    }
    int Status = 0;
    ::waitpid(Child, &Status, 0);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

TEST_F(FileUtilTest, DeleteFilesExStopsAtTheFirstMaskThatFails) {
    Write("locked/a.txt", "1");
    Write("open/b.txt", "2");
    fs::permissions(Path("locked"), fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(Path("open"), fs::perms::all);

    const std::vector<AnsiString> Masks{Path("locked/*.txt"), Path("open/*.txt")};
    EXPECT_EQ(RunUnprivileged([&] { return DeleteFilesEx(Masks) ? 1 : 0; }), 0);
    EXPECT_TRUE(Exists("locked/a.txt"));
    EXPECT_TRUE(Exists("open/b.txt"));

    fs::permissions(Path("locked"), fs::perms::all);
    EXPECT_EQ(RunUnprivileged([&] { return DeleteFilesEx(Masks) ? 0 : 1; }), 0);
    EXPECT_FALSE(Exists("open/b.txt"));
}

TEST_F(FileUtilTest, ClearDirNeverFollowsALinkOutOfTheTree) {
    Write("tree/a", "1");
    Write("tree/.dot", "2");
    Write("tree/sub/deep/b", "3");
    Write("elsewhere/precious", "keep");
    fs::create_directory_symlink(Path("elsewhere"), Path("tree/sub/to-elsewhere"));

    EXPECT_FALSE(ClearDir(Path("tree/sub/to-elsewhere"), true)); // a link is no directory
    EXPECT_TRUE(ClearDir(Path("tree"), false));
    EXPECT_TRUE(Listing("tree").empty());
    EXPECT_EQ(Read("elsewhere/precious"), "keep");

    Write("tree/again", "x");
    EXPECT_TRUE(ClearDir(Path("tree/"), true));
    EXPECT_FALSE(Exists("tree"));
    EXPECT_FALSE(ClearDir(Path("tree"), true));
    EXPECT_EQ(Read("elsewhere/precious"), "keep");
}

TEST_F(FileUtilTest, SizesDatesAttributesAndMoves) {
    Write("f", "12345");
    EXPECT_EQ(GetFileSize(Path("f")), 5);
    EXPECT_EQ(GetFileSize(Path("missing")), -1);
    EXPECT_EQ(GetFileSize(Root), -1);
    EXPECT_EQ(FileDateTime(Path("missing")), 0.0);
    EXPECT_NEAR(FileDateTime(Path("f")), Now(), 1.0 / 24); // clock seam is the real clock here

    EXPECT_TRUE(HasAttr(Root, faDirectory));
    EXPECT_FALSE(HasAttr(Path("f"), faDirectory));
    EXPECT_FALSE(HasAttr(Path("f"), faReadOnly));
    Write(".h", "");
    EXPECT_TRUE(HasAttr(Path(".h"), faHidden | faArchive));
    EXPECT_FALSE(HasAttr(Path("missing"), 0));

    MoveFile(Path("f"), Path("g"));
    EXPECT_FALSE(Exists("f"));
    EXPECT_EQ(Read("g"), "12345");
    EXPECT_THROW(MoveFile(Path("f"), Path("h")), EFOpenError);
    EXPECT_FALSE(Exists("h"));
}

TEST_F(FileUtilTest, LockedRangesExcludeOtherHandles) {
    Write("lock", "0123456789");
    const int First = ::open(Path("lock").c_str(), O_RDWR);
    const int Second = ::open(Path("lock").c_str(), O_RDWR);
    ASSERT_GE(First, 0);
    ASSERT_GE(Second, 0);
    EXPECT_EQ(FileLock(First, 0, 5), 0);
    EXPECT_NE(FileLock(Second, 2, 2), 0);
    EXPECT_EQ(FileLock(Second, 5, 5), 0);
    EXPECT_EQ(FileUnlock(First, 0, 5), 0);
    EXPECT_EQ(FileLock(Second, 2, 2), 0);
    EXPECT_NE(FileLock(-1, 0, 1), 0);
    ::close(First);
    ::close(Second);
}

TEST(FileUtilText, PathTextRules) {
    const struct {
        const char* In;
        const char* Out;
    } backslash[] = {{"C:\\", "C:\\"},         {"C:\\Temp\\", "C:\\Temp"}, {"\\", "\\"},
                     {"C:\\Temp", "C:\\Temp"}, {"a\\\\", "a\\"},           {"", ""}};
    for (const auto& c : backslash)
        EXPECT_EQ(RemoveBackSlash(c.In), c.Out) << c.In;

    const struct {
        const char* Name;
        bool Valid;
    } names[] = {{"a|b.txt", false},      {"", false},    {"C:\\dir\\file.txt", true},
                 {"a<b", false},          {"[x]", false}, {"say \"hi\"", false},
                 {"plain name.txt", true}};
    for (const auto& c : names)
        EXPECT_EQ(ValidFileName(c.Name), c.Valid) << c.Name;

    EXPECT_EQ(GetTempDir().back(), '/');
}

} // namespace
