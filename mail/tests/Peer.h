#pragma once
// Starts tests/peers/scripted_peer.py on a free loopback port and collects
// what it reports. Every wait is bounded; the destructor ends a peer that is
// still running, so a failing test never leaves one behind.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace mailtest {

// Text as the hex a peer step takes.
inline std::string Hex(const std::string& AText) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : AText) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

inline std::string Send(const std::string& AText) {
    return "send:" + Hex(AText);
}
inline std::string Expect(const std::string& AText) {
    return "expect:" + Hex(AText);
}

class ScriptedPeer {
public:
    explicit ScriptedPeer(const std::vector<std::string>& ASteps) {
        const std::string script =
            (std::filesystem::path(__FILE__).parent_path() / "peers" / "scripted_peer.py").string();
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<std::string> args{"python3", script};
        args.insert(args.end(), ASteps.begin(), ASteps.end());
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int result = posix_spawnp(&FPid, "python3", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        FOutput = fds[0];
        if (result != 0) {
            FPid = -1;
            throw std::runtime_error("cannot start python3");
        }
        const std::string first = ReadLine(std::chrono::seconds(10));
        if (first.rfind("PORT ", 0) != 0) throw std::runtime_error("peer did not start: " + first);
        FPort = std::stoi(first.substr(5));
    }

    ~ScriptedPeer() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FOutput >= 0) close(FOutput);
    }

    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    int Port() const { return FPort; }

    // The lines the peer printed after its port, once it has ended.
    std::vector<std::string> Finish() {
        std::vector<std::string> lines;
        while (true) {
            const std::string line = ReadLine(std::chrono::seconds(10));
            if (line.empty()) break;
            lines.push_back(line);
            if (line == "DONE") break;
        }
        if (FPid > 0) {
            waitpid(FPid, nullptr, 0);
            FPid = -1;
        }
        return lines;
    }

private:
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

    pid_t FPid = -1;
    int FOutput = -1;
    int FPort = 0;
    std::string FPending;
};

} // namespace mailtest
