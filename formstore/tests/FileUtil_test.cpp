#include "formstore/FileUtil.h"

#include "ScratchFiles.h"

#include "formstore/ProgressList.h"
#include "platform/classes/Component.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

TEST_F(FileUtilTest, ForceDirectoriesMakesTheChainAndReportsNothing) {
    ForceDirectories(Path("a/b/c/"));
    EXPECT_TRUE(DirExists(Path("a/b/c")));
    ForceDirectories(Path("a/b/c")); // already there
    ForceDirectories("");

    // A file in the way: nothing is made, and nothing is raised.
    Write("file", "x");
    EXPECT_NO_THROW(ForceDirectories(Path("file/sub")));
    EXPECT_FALSE(DirExists(Path("file/sub")));
    EXPECT_EQ(Read("file"), "x");
}

// Each copy is compared with what Python's shutil.copyfile leaves (run as
// root with umask 022): the destination's mode, owner and link survive. A
// read-only destination replaced on request loses its read-only attribute.
TEST_F(FileUtilTest, CopyOverAnExistingFileKeepsWhatShutilKeeps) {
    const mode_t OldMask = ::umask(022);
    Write("src", "new");
    const struct Case {
        const char* Name;
        std::function<void()> Setup;
        bool OverwriteReadOnly;
        bool IsLink;
        const char* Written; // the file the bytes end in
        unsigned Mode;
        unsigned Uid, Gid;
    } cases[] = {
        {"new", [] {}, false, false, "new", 0644, 0, 0},
        {"mode0600",
         [&] {
             Write("mode0600", "old");
             ::chmod(Path("mode0600").c_str(), 0600);
         },
         false, false, "mode0600", 0600, 0, 0},
        {"owned",
         [&] {
             Write("owned", "old");
             ASSERT_EQ(::chown(Path("owned").c_str(), 1234, 1234), 0);
             ::chmod(Path("owned").c_str(), 0640);
         },
         false, false, "owned", 0640, 1234, 1234},
        {"link",
         [&] {
             Write("link-target", "old");
             fs::create_symlink("link-target", Path("link"));
         },
         false, true, "link-target", 0644, 0, 0},
        {"dangling", [&] { fs::create_symlink("dangling-target", Path("dangling")); }, false, true,
         "dangling-target", 0644, 0, 0},
        {"readonly",
         [&] {
             Write("readonly", "old");
             ::chmod(Path("readonly").c_str(), 0444);
         },
         true, false, "readonly", 0644, 0, 0}, // read-only cleared, as asked
    };
    for (const Case& c : cases) {
        c.Setup();
        if (c.OverwriteReadOnly)
            CopyFileEx(Path("src"), Path(c.Name), true, false, nullptr);
        else
            CopyFile(Path("src"), Path(c.Name), nullptr);
        struct stat Link, File;
        ASSERT_EQ(::lstat(Path(c.Name).c_str(), &Link), 0) << c.Name;
        ASSERT_EQ(::stat(Path(c.Written).c_str(), &File), 0) << c.Name;
        EXPECT_EQ(S_ISLNK(Link.st_mode), c.IsLink) << c.Name;
        EXPECT_EQ(Read(c.Written), "new") << c.Name;
        EXPECT_EQ(File.st_mode & 07777, c.Mode) << c.Name;
        EXPECT_EQ(File.st_uid, c.Uid) << c.Name;
        EXPECT_EQ(File.st_gid, c.Gid) << c.Name;
    }
    // A file with a second name: both names see the copy.
    Write("first", "old");
    fs::create_hard_link(Path("first"), Path("second"));
    CopyFile(Path("src"), Path("first"), nullptr);
    EXPECT_EQ(Read("second"), "new");
    ::umask(OldMask);
}

// Another name of the source, however it is reached: the copy is refused
// with an error that names both, and both names keep the source's bytes.
TEST_F(FileUtilTest, ACopyOntoAnotherNameOfItsSourceIsRefusedAndLosesNothing) {
    const struct {
        const char* Name;
        std::function<AnsiString()> Setup; // gives the destination
        const char* Other;                 // the other name, or nullptr
    } cases[] = {
        {"hard link",
         [&] {
             fs::create_hard_link(Path("a"), Path("b"));
             return Path("b");
         },
         "b"},
        {"symbolic link",
         [&] {
             fs::create_symlink("a", Path("b"));
             return Path("b");
         },
         "b"},
        {"the same name spelt another way", [&] { return Root + "/./a"; }, nullptr},
        {"its own folder", [&] { return Root; }, nullptr},
    };
    for (const auto& c : cases) {
        Write("a", "data\n");
        const AnsiString Dest = c.Setup();
        for (bool OverwriteReadOnly : {false, true}) {
            try {
                CopyFileEx(Path("a"), Dest, OverwriteReadOnly, false, nullptr);
                ADD_FAILURE() << c.Name << ": copied a file onto itself";
            } catch (const EFCreateError& e) {
                EXPECT_EQ(e.Message,
                          "Cannot create file " + Dest + ": it is the same file as " + Path("a"))
                    << c.Name;
            }
            EXPECT_EQ(Read("a"), "data\n") << c.Name;
            if (c.Other) EXPECT_EQ(Read(c.Other), "data\n") << c.Name;
        }
        fs::remove(Path("b"));
    }
}

// Runs Body in a child process: its exit status (3 when it raised), or -1
// when it had not ended within DeadlineMs (it is then killed).
int InChildWithin(int DeadlineMs, const std::function<int()>& Body) {
    const pid_t Child = ::fork();
    if (Child == 0) {
        int Status = 3;
        try {
            Status = Body();
        } catch (...) {
        }
        ::_exit(Status);
    }
    const int Handle = static_cast<int>(::syscall(SYS_pidfd_open, Child, 0));
    pollfd Ended{Handle, POLLIN, 0};
    const bool InTime = Handle >= 0 && ::poll(&Ended, 1, DeadlineMs) == 1;
    if (!InTime) ::kill(Child, SIGKILL);
    int Status = 0;
    ::waitpid(Child, &Status, 0);
    if (Handle >= 0) ::close(Handle);
    return InTime && WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

// A pipe or a device has no end: a copy from one would never stop, a copy
// onto a pipe would wait for a reader for ever. Both are refused at once.
TEST_F(FileUtilTest, ACopyFromOrOntoSomethingThatIsNoRegularFileIsRefusedAtOnce) {
    Write("a", "data");
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", Path("zero"));
    fs::create_symlink("/dev/null", Path("null"));
    const struct {
        const char* Source;
        const char* Dest;
        bool SourceRefused; // else the destination is
    } cases[] = {
        {"a", "pipe", false},
        {"a", "null", false},
        {"pipe", "b", true},
        {"zero", "b", true},
    };
    for (const auto& c : cases) {
        const AnsiString Expected =
            c.SourceRefused ? "Cannot open file " + Path(c.Source) + ": it is not a regular file"
                            : "Cannot create file " + Path(c.Dest) + ": it is not a regular file";
        EXPECT_EQ(InChildWithin(2000,
                                [&] {
                                    try {
                                        CopyFile(Path(c.Source), Path(c.Dest), nullptr);
                                    } catch (const EStreamError& e) {
                                        return e.Message == Expected ? 0 : 2;
                                    }
                                    return 1;
                                }),
                  0)
            << c.Source << " -> " << c.Dest;
    }
    EXPECT_FALSE(Exists("b"));
    EXPECT_TRUE(fs::is_fifo(Path("pipe").c_str()));
    EXPECT_EQ(Read("a"), "data");
}

// A folder the user may not write in, holding a file he may: the file is
// replaced in place, and a new file there cannot be made. Played by a
// child that gives up root's rights (root may write anywhere).
TEST_F(FileUtilTest, AWritableFileInAReadOnlyFolderIsCopiedOnto) {
    Write("src", "new");
    Write("ro/dest", "old");
    ::chmod(Path("ro/dest").c_str(), 0666);
    ::chmod(Path("ro").c_str(), 0555);
    const int Result = InChildWithin(5000, [&] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 77;
        CopyFile(Path("src"), Path("ro/dest"), nullptr);
        try {
            CopyFile(Path("src"), Path("ro/new"), nullptr);
            return 1;
        } catch (const EFCreateError& e) {
            if (e.Message != "Cannot create file " + Path("ro/new")) return 2;
        }
        return 0;
    });
    ::chmod(Path("ro").c_str(), 0755);
    if (Result == 77) GTEST_SKIP() << "no user to give root's rights to";
    EXPECT_EQ(Result, 0);
    EXPECT_EQ(Read("ro/dest"), "new");
    EXPECT_EQ(Listing("ro"), (std::vector<std::string>{"dest"}));
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

    // '?' stands for one character, however many bytes it takes.
    Write("u/\xC3\xA9.txt", "1");
    Write("u/ab.txt", "2");
    Write("u/a\xC3\xA9z.txt", "3");
    EXPECT_TRUE(DeleteFiles(Path("u/?.txt")));
    EXPECT_TRUE(DeleteFiles(Path("u/*?z.txt")));
    EXPECT_EQ(Listing("u"), (std::vector<std::string>{"ab.txt"}));
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
    Write("tree/sub/.keep", "4");
    Write("elsewhere/precious", "keep");
    fs::create_directory_symlink(Path("elsewhere"), Path("tree/sub/to-elsewhere"));

    EXPECT_FALSE(ClearDir(Path("tree/sub/to-elsewhere"), true)); // a link is no directory
    // Names starting with '.' stay, so the directory holding one does too.
    EXPECT_FALSE(ClearDir(Path("tree"), false));
    EXPECT_EQ(Listing("tree"), (std::vector<std::string>{".dot", "sub"}));
    EXPECT_EQ(Listing("tree/sub"), (std::vector<std::string>{".keep"}));
    EXPECT_EQ(Read("elsewhere/precious"), "keep");

    fs::remove(Path("tree/sub/.keep"));
    fs::remove(Path("tree/.dot"));
    Write("tree/again", "x");
    EXPECT_TRUE(ClearDir(Path("tree/"), true));
    EXPECT_FALSE(Exists("tree"));
    EXPECT_FALSE(ClearDir(Path("tree"), true));
    EXPECT_EQ(Read("elsewhere/precious"), "keep");
}

TEST_F(FileUtilTest, ClearDirRemovesATreeWhosePathsPassPathMax) {
    // 30 levels of 200-character names: the deepest path is about 6000
    // characters, so it is made through directory handles too.
    fs::create_directory(Path("deep"));
    int Dir = ::open(Path("deep").c_str(), O_RDONLY | O_DIRECTORY);
    const std::string Name(200, 'n');
    for (int Level = 0; Level < 30; ++Level) {
        ASSERT_EQ(::mkdirat(Dir, Name.c_str(), 0755), 0);
        const int Sub = ::openat(Dir, Name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(Dir);
        Dir = Sub;
    }
    const int File = ::openat(Dir, "leaf", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(File, 0);
    ::close(File);
    ::close(Dir);

    EXPECT_TRUE(ClearDir(Path("deep"), true));
    EXPECT_FALSE(Exists("deep"));
}

// Local modification times against Python's datetime.fromtimestamp in four
// zones, on both sides of 30 Dec 1899.
TEST_F(FileUtilTest, FileDateTimeAgreesWithPythonInSeveralZones) {
    const struct {
        const char* Zone;
        long long Seconds;
        const char* Local;
    } cases[] = {
        {"UTC", -5362545600LL, "1800-01-25 12:00:00"},
        {"UTC", -2209204800LL, "1899-12-29 12:00:00"},
        {"UTC", -2209159800LL, "1899-12-30 00:30:00"},
        {"UTC", -2208991500LL, "1899-12-31 23:15:00"},
        {"UTC", 0LL, "1970-01-01 00:00:00"},
        {"UTC", 1782931530LL, "2026-07-01 18:45:30"},
        {"America/New_York", -5362545600LL, "1800-01-25 07:03:58"},
        {"America/New_York", -2209204800LL, "1899-12-29 07:00:00"},
        {"America/New_York", -2209159800LL, "1899-12-29 19:30:00"},
        {"America/New_York", -2208991500LL, "1899-12-31 18:15:00"},
        {"America/New_York", 0LL, "1969-12-31 19:00:00"},
        {"America/New_York", 1782931530LL, "2026-07-01 14:45:30"},
        {"Asia/Kolkata", -5362545600LL, "1800-01-25 17:53:28"},
        {"Asia/Kolkata", -2209204800LL, "1899-12-29 17:21:10"},
        {"Asia/Kolkata", -2209159800LL, "1899-12-30 05:51:10"},
        {"Asia/Kolkata", -2208991500LL, "1900-01-01 04:36:10"},
        {"Asia/Kolkata", 1798761599LL, "2027-01-01 05:29:59"},
        {"Australia/Lord_Howe", -5362545600LL, "1800-01-25 22:36:20"},
        {"Australia/Lord_Howe", -2209204800LL, "1899-12-29 22:00:00"},
        {"Australia/Lord_Howe", -2209159800LL, "1899-12-30 10:30:00"},
        {"Australia/Lord_Howe", -2208991500LL, "1900-01-01 09:15:00"},
        {"Australia/Lord_Howe", 1782931530LL, "2026-07-02 05:15:30"},
    };
    const char* OldZone = std::getenv("TZ");
    const std::string Saved = OldZone ? OldZone : "";
    // ext4 with small inodes keeps 32-bit times only; tmpfs keeps them all.
    char Template[] = "/dev/shm/beaconmill-stamp-XXXXXX";
    const int Fd = ::mkstemp(Template);
    const AnsiString Stamped = Fd >= 0 ? AnsiString(Template) : Path("stamped");
    if (Fd >= 0)
        ::close(Fd);
    else
        Write("stamped", "");
    int Checked = 0;
    for (const auto& c : cases) {
        ::setenv("TZ", c.Zone, 1);
        ::tzset();
        const timespec Times[2] = {{c.Seconds, 0}, {c.Seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, Stamped.c_str(), Times, 0), 0);
        struct stat Info;
        if (::stat(Stamped.c_str(), &Info) != 0 || Info.st_mtim.tv_sec != c.Seconds) continue;
        ++Checked;
        Word Y, M, D, H, Min, Sec, MSec;
        DecodeDateTime(FileDateTime(Stamped), Y, M, D, H, Min, Sec, MSec);
        char Text[32];
        std::snprintf(Text, sizeof Text, "%04u-%02u-%02u %02u:%02u:%02u", Y, M, D, H, Min, Sec);
        EXPECT_STREQ(Text, c.Local) << c.Zone << " " << c.Seconds;
    }
    if (OldZone)
        ::setenv("TZ", Saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    if (Fd >= 0) ::unlink(Template);
    if (Checked < static_cast<int>(std::size(cases)))
        GTEST_SKIP() << "the file system kept only " << Checked << " of the times";
}

TEST_F(FileUtilTest, ANameIsItsOwnShortAndLongName) {
    Write("dir/Long File Name.text", "x");
    fs::create_symlink(Path("nowhere"), Path("dir/dangling"));
    for (const char* Name : {"dir/Long File Name.text", "dir/dangling", "dir"}) {
        EXPECT_EQ(LongToShortFileName(Path(Name)), Path(Name));
        EXPECT_EQ(ShortToLongFileName(Path(Name)), Path(Name));
        EXPECT_EQ(LongToShortPath(Path(Name)), Path(Name));
        EXPECT_EQ(ShortToLongPath(Path(Name)), Path(Name));
    }
    EXPECT_EQ(LongToShortFileName(Path("dir/absent")), "");
    EXPECT_EQ(ShortToLongFileName(Path("absent/x")), "");
    EXPECT_EQ(LongToShortPath(Path("absent/x")), "");
    EXPECT_EQ(ShortToLongPath(""), "");
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
    EXPECT_NO_THROW(MoveFile(Path("f"), Path("h"))); // a missing source does nothing
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
