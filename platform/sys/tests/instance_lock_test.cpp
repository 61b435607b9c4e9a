// The one-instance lock between processes: the second process is told who
// holds it, and the lock goes with its holder.
#include "platform/rtl/testing/ScratchConfig.h"
#include "platform/sys/InstanceLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class InstanceLockTest : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        LockFile = File("shop.db.lock");
    }

    // What a child process finds when it tries the lock: 0 when it took
    // it, 1 when refused with the expected holder and message, 2 otherwise.
    int TryInChild(pid_t ExpectedHolder) const {
        const pid_t Child = fork();
        if (Child == 0) {
            int Result = 2;
            try {
                TInstanceLock Lock(LockFile, "/data/shop.db");
                Result = 0;
            } catch (const EInstanceLocked& E) {
                const std::string Pid = std::to_string(ExpectedHolder);
                if (E.Holder == ExpectedHolder &&
                    E.Message.find("'/data/shop.db' is in use by process " + Pid) !=
                        std::string::npos &&
                    E.Message.find(LockFile) != std::string::npos)
                    Result = 1;
            } catch (...) {
            }
            _exit(Result);
        }
        int Status = 0;
        waitpid(Child, &Status, 0);
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }

    std::string LockFile;
};

TEST_F(InstanceLockTest, AnotherProcessIsRefusedWhileTheLockIsHeldAndTakesItAfterwards) {
    {
        TInstanceLock Lock(LockFile, "/data/shop.db");
        EXPECT_EQ(TryInChild(getpid()), 1);
    }
    EXPECT_EQ(TryInChild(0), 0);
    // A lock file left behind by a holder that ended does not block.
    EXPECT_TRUE(std::filesystem::exists(LockFile));
    EXPECT_NO_THROW(TInstanceLock(LockFile, "/data/shop.db"));
}

TEST_F(InstanceLockTest, ANewLockFileTakesTheModeItIsGivenWhateverTheUmask) {
    const mode_t Previous = umask(077);
    { TInstanceLock Lock(LockFile, "/data/shop.db", 0664); }
    umask(Previous);
    struct stat Info {};
    ASSERT_EQ(stat(LockFile.c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 0777, 0664u);
}

TEST_F(InstanceLockTest, ALockFileThatCannotBeMadeIsAnErrorNamingIt) {
    const std::string Missing = File("gone/shop.db.lock");
    try {
        TInstanceLock Lock(Missing, "/data/shop.db");
        ADD_FAILURE() << "no exception";
    } catch (const EInOutError& E) {
        EXPECT_NE(E.Message.find(Missing), std::string::npos) << E.Message;
    }
}

} // namespace
