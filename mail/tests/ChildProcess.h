#pragma once
// A child process whose standard output the test reads line by line. Every
// read is bounded; the destructor ends a child that is still running, so a
// failing test never leaves one behind.
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

namespace mailtest {

class ChildProcess {
public:
    // Starts AArgs[0] (looked up on PATH unless it holds a slash) with the
    // rest of AArgs; AName says in the error what could not be started.
    ChildProcess(std::vector<std::string> AArgs, const std::string& AName) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<char*> argv;
        for (auto& arg : AArgs)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int result = posix_spawnp(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        FOutput = fds[0];
        if (result != 0) {
            FPid = -1;
            close(FOutput);
            throw std::runtime_error("cannot start " + AName);
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

    // The next line the child printed, without its line feed; empty when
    // none came within ALimit or the child closed its output.
    std::string ReadLine(std::chrono::milliseconds ALimit) {
        const auto deadline = std::chrono::steady_clock::now() + ALimit;
        while (true) {
            const std::size_t end = FPending.find('\n');
            if (end != std::string::npos) {
                std::string line = FPending.substr(0, end);
                FPending.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return std::string();
            pollfd fd{FOutput, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[4096];
            const ssize_t got = read(FOutput, buffer, sizeof buffer);
            if (got <= 0) return std::string();
            FPending.append(buffer, static_cast<std::size_t>(got));
        }
    }

    // Waits for the child to end by itself.
    void Wait() {
        if (FPid > 0) {
            waitpid(FPid, nullptr, 0);
            FPid = -1;
        }
    }

private:
    pid_t FPid = -1;
    int FOutput = -1;
    std::string FPending;
};

} // namespace mailtest
