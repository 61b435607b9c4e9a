#pragma once
// Starts tests/peers/smtp_server.py (aiosmtpd) on a free loopback port in
// one of its modes and reads back the messages it accepted. Every wait is
// bounded; the destructor ends the server.
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

// One message as the server saw it.
struct ReceivedMessage {
    bool Tls = false;
    std::string Login; // "-" when nobody had authenticated
    std::string MailFrom;
    std::vector<std::string> Recipients;
    std::vector<std::string> Headers; // "Name: value"
    std::vector<std::string> Lines;   // body lines
    bool BareLineFeed = false;

    std::string Header(const std::string& AName) const {
        for (const std::string& header : Headers)
            if (header.compare(0, AName.size() + 2, AName + ": ") == 0)
                return header.substr(AName.size() + 2);
        return std::string();
    }
};

class SmtpPeer {
public:
    SmtpPeer(const std::string& AMode, const std::string& ACert, const std::string& AKey) {
        const std::string script =
            (std::filesystem::path(__FILE__).parent_path() / "peers" / "smtp_server.py").string();
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        // The system's interpreter is the one the aiosmtpd package is for.
        std::vector<std::string> args{"/usr/bin/python3", script, AMode, ACert, AKey};
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int result = posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        FOutput = fds[0];
        if (result != 0) {
            FPid = -1;
            throw std::runtime_error("cannot start the SMTP server");
        }
        const std::string first = ReadLine(std::chrono::seconds(20));
        if (first.rfind("PORT ", 0) != 0) throw std::runtime_error("server did not start");
        FPort = std::stoi(first.substr(5));
    }

    ~SmtpPeer() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FOutput >= 0) close(FOutput);
    }

    SmtpPeer(const SmtpPeer&) = delete;
    SmtpPeer& operator=(const SmtpPeer&) = delete;

    int Port() const { return FPort; }

    // The next ACount messages, or as many as came within a few seconds.
    std::vector<ReceivedMessage> Messages(std::size_t ACount) {
        std::vector<ReceivedMessage> messages;
        std::size_t ended = 0;
        while (ended < ACount) {
            const std::string line = ReadLine(std::chrono::seconds(5));
            if (line.empty()) break;
            if (line == "MESSAGE") {
                messages.emplace_back();
                continue;
            }
            if (messages.empty()) continue;
            ReceivedMessage& m = messages.back();
            const std::size_t space = line.find(' ');
            const std::string key = line.substr(0, space);
            const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
            if (key == "TLS") m.Tls = value == "yes";
            if (key == "AUTH") m.Login = value;
            if (key == "MAILFROM") m.MailFrom = value;
            if (key == "RCPT") m.Recipients.push_back(value);
            if (key == "HEADER") m.Headers.push_back(value);
            if (key == "LINE") m.Lines.push_back(FromHex(value));
            if (key == "BARELF") m.BareLineFeed = true;
            if (key == "END") ++ended;
        }
        return messages;
    }

private:
    static std::string FromHex(const std::string& AHex) {
        std::string text;
        for (std::size_t i = 0; i + 1 < AHex.size(); i += 2)
            text += static_cast<char>(std::stoi(AHex.substr(i, 2), nullptr, 16));
        return text;
    }

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
