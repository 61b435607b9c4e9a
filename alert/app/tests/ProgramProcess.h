#pragma once
// The beaconmill program run as a child process, the way a service manager
// runs it: its standard output and error are read line by line (every read
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
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

class ProgramProcess {
public:
    using Limit = std::chrono::milliseconds;

    // Starts the program with Args, inheriting the environment.
    explicit ProgramProcess(std::vector<std::string> Args = {}) {
        int Fds[2];
        if (pipe2(Fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t Actions;
        posix_spawn_file_actions_init(&Actions);
        posix_spawn_file_actions_adddup2(&Actions, Fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&Actions, Fds[1], STDERR_FILENO);
        Args.insert(Args.begin(), BEACONMILL_PROGRAM);
        std::vector<char*> Argv;
        for (std::string& Arg : Args)
            Argv.push_back(Arg.data());
        Argv.push_back(nullptr);
        const int Result = posix_spawn(&FPid, Argv[0], &Actions, nullptr, Argv.data(), environ);
        posix_spawn_file_actions_destroy(&Actions);
        close(Fds[1]);
        FOutput = Fds[0];
        if (Result != 0) {
            FPid = -1;
            throw std::runtime_error("cannot start " BEACONMILL_PROGRAM);
        }
    }

    ~ProgramProcess() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FOutput >= 0) close(FOutput);
    }

    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    pid_t Pid() const { return FPid; }

    // Reads the output until a line holding Text has come; false when the
    // program closed its output or Wait passed first.
    bool WaitForLine(const std::string& Text, Limit Wait = Limit(60000)) {
        const auto Deadline = std::chrono::steady_clock::now() + Wait;
        for (;;) {
            for (std::size_t Start = FScanned, End;
                 (End = Output.find('\n', Start)) != std::string::npos; Start = End + 1) {
                FScanned = End + 1;
                if (Output.substr(Start, End - Start).find(Text) != std::string::npos) return true;
            }
            if (!ReadSome(Deadline)) return false;
        }
    }

    void Signal(int Number) const { kill(FPid, Number); }

    // Reads the output to its end and gives the wait status; -1 (after
    // killing the program) when it has not ended within Wait.
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

    // Everything the program wrote so far.
    std::string Output;

private:
    // Appends what comes before Deadline; false at the end of the output
    // or at the deadline.
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
