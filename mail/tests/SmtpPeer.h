#pragma once
// Starts tests/peers/smtp_server.py (aiosmtpd) on a free loopback port in
// one of its modes and reads back the messages it accepted. Every wait is
// bounded; the destructor ends the server.
#include "ChildProcess.h"

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace mailtest {

// One message as the server saw it.
struct ReceivedMessage {
    bool Tls = false;
    std::string Login; // "-" when nobody had authenticated
    std::string MailFrom;
    std::string MailOptions; // the MAIL FROM parameters
    std::vector<std::string> Recipients;
    std::vector<std::string> Headers; // "Name: value"
    std::vector<std::string> Lines;   // body lines
    std::string Payload;              // the body with its transfer encoding undone
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
    SmtpPeer(const std::string& AMode, const std::string& ACert, const std::string& AKey)
        // The system's interpreter is the one the aiosmtpd package is for.
        : FProcess({"/usr/bin/python3", ServerScript(), AMode, ACert, AKey}, "the SMTP server") {
        const std::string first = FProcess.ReadLine(std::chrono::seconds(20));
        if (first.rfind("PORT ", 0) != 0) throw std::runtime_error("server did not start");
        FPort = std::stoi(first.substr(5));
    }

    int Port() const { return FPort; }
    // Whether a "HOLD" was seen.
    bool Held() const { return FHeld; }

    // The next ACount messages, or as many as came within a few seconds;
    // with AUntilHold, also the ones before a "HOLD" (mode ":hold=<k>").
    std::vector<ReceivedMessage> Messages(std::size_t ACount, bool AUntilHold = false) {
        std::vector<ReceivedMessage> messages;
        std::size_t ended = 0;
        while (ended < ACount) {
            const std::string line = FProcess.ReadLine(std::chrono::seconds(5));
            if (line.empty()) break;
            if (line == "HOLD") {
                FHeld = true;
                if (AUntilHold) break;
                continue;
            }
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
            if (key == "MAILOPTIONS") m.MailOptions = value;
            if (key == "RCPT") m.Recipients.push_back(value);
            if (key == "HEADER") m.Headers.push_back(value);
            if (key == "LINE") m.Lines.push_back(FromHex(value));
            if (key == "PAYLOAD") m.Payload = FromHex(value);
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

    static std::string ServerScript() {
        return (std::filesystem::path(__FILE__).parent_path() / "peers" / "smtp_server.py")
            .string();
    }

    ChildProcess FProcess;
    int FPort = 0;
    bool FHeld = false;
};

} // namespace mailtest
