#pragma once
// A child process for tests: its output is read line by line (every read
// bounded), it can be sent signals, and its exit status is looked at. The
// destructor kills a child that is still running, so a failing test never
// leaves one behind.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testing_support {

class ChildProcess {
public:
    using Limit = std::chrono::milliseconds;

    enum class Streams { OutputOnly, OutputAndErrors };

    // Starts Args[0] (looked up on PATH unless it holds a slash) with the rest
    // of Args, inheriting the environment but for the test shard; Name says
    // in the error what could not be started.
    ChildProcess(std::vector<std::string> Args, const std::string& Name,
                 Streams Read = Streams::OutputOnly) {
        int Fds[2];
        if (pipe2(Fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t Actions;
        posix_spawn_file_actions_init(&Actions);
        posix_spawn_file_actions_adddup2(&Actions, Fds[1], STDOUT_FILENO);
        if (Read == Streams::OutputAndErrors)
            posix_spawn_file_actions_adddup2(&Actions, Fds[1], STDERR_FILENO);
        std::vector<char*> Argv;
        for (std::string& Arg : Args)
            Argv.push_back(Arg.data());
        Argv.push_back(nullptr);
        // A test program started again to run one named test must run it
        // whatever shard of the tests its parent was given.
        std::vector<char*> Env;
        for (char** Var = environ; *Var; ++Var)
            if (std::string_view(*Var).rfind("GTEST_TOTAL_SHARDS=", 0) != 0 &&
                std::string_view(*Var).rfind("GTEST_SHARD_INDEX=", 0) != 0)
                Env.push_back(*Var);
        Env.push_back(nullptr);
        const int Result = posix_spawnp(&FPid, Argv[0], &Actions, nullptr, Argv.data(), Env.data());
        posix_spawn_file_actions_destroy(&Actions);
        close(Fds[1]);
        FOutput = Fds[0];
        if (Result != 0) {
            FPid = -1;
            throw std::runtime_error("cannot start " + Name);
        }
    }

    ~ChildProcess() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FOutput >= 0) close(FOutput);
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return FPid; }

    void Signal(int Number) const { kill(FPid, Number); }

    // The next line the child printed, without its line feed; empty when
    // none came within Wait or the child closed its output.
    std::string ReadLine(Limit Wait) {
        const auto Deadline = std::chrono::steady_clock::now() + Wait;
        for (;;) {
            const std::size_t End = Output.find('\n', FScanned);
            if (End != std::string::npos) {
                std::string Line = Output.substr(FScanned, End - FScanned);
                FScanned = End + 1;
                return Line;
            }
            if (!ReadSome(Deadline)) return std::string();
        }
    }

    // Reads the output until a line holding Text has come; false when the
    // child closed its output or Wait passed first.
    bool WaitForLine(const std::string& Text, Limit Wait = Limit(60000)) {
        const auto Deadline = std::chrono::steady_clock::now() + Wait;
        for (;;) {
            for (std::size_t End; (End = Output.find('\n', FScanned)) != std::string::npos;) {
                const std::size_t Start = FScanned;
                FScanned = End + 1;
                if (Output.substr(Start, End - Start).find(Text) != std::string::npos) return true;
            }
            if (!ReadSome(Deadline)) return false;
        }
    }

    // Reads the output to its end and gives the wait status; -1 (the
    // destructor then kills the child) when it has not ended within Wait.
    int Finish(Limit Wait = Limit(60000)) {
        const auto Deadline = std::chrono::steady_clock::now() + Wait;
        while (ReadSome(Deadline)) {
        }
        if (FOpen) return -1;
        int Status = 0;
        waitpid(FPid, &Status, 0);
        FPid = -1;
        return Status;
    }

    // Waits for the child to end by itself.
    void Wait() {
        if (FPid > 0) {
            waitpid(FPid, nullptr, 0);
            FPid = -1;
        }
    }

    // Everything the child wrote so far.
    std::string Output;

private:
    // Appends what comes before Deadline; false at the end of the output or
    // at the deadline.
    bool ReadSome(std::chrono::steady_clock::time_point Deadline) {
        if (!FOpen) return false;
        const auto Left =
            std::chrono::duration_cast<Limit>(Deadline - std::chrono::steady_clock::now());
        if (Left.count() <= 0) return false;
        pollfd Fd{FOutput, POLLIN, 0};
        if (poll(&Fd, 1, static_cast<int>(Left.count())) <= 0) return true;
        char Buffer[4096];
        const ssize_t Got = read(FOutput, Buffer, sizeof Buffer);
        if (Got <= 0) {
            FOpen = false;
            return false;
        }
        Output.append(Buffer, static_cast<std::size_t>(Got));
        return true;
    }

    pid_t FPid = -1;
    int FOutput = -1;
    bool FOpen = true;
    std::size_t FScanned = 0;
};

} // namespace testing_support
