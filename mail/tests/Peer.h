#pragma once
// Starts tests/peers/scripted_peer.py on a free loopback port and collects
// what it reports. Every wait is bounded; the destructor ends a peer that is
// still running, so a failing test never leaves one behind.
#include "ChildProcess.h"

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

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
    explicit ScriptedPeer(const std::vector<std::string>& ASteps)
        : FProcess(Arguments(ASteps), "python3") {
        const std::string first = FProcess.ReadLine(std::chrono::seconds(10));
        if (first.rfind("PORT ", 0) != 0) throw std::runtime_error("peer did not start: " + first);
        FPort = std::stoi(first.substr(5));
    }

    int Port() const { return FPort; }

    // The lines the peer printed after its port, once it has ended.
    std::vector<std::string> Finish() {
        std::vector<std::string> lines;
        while (true) {
            const std::string line = FProcess.ReadLine(std::chrono::seconds(10));
            if (line.empty()) break;
            lines.push_back(line);
            if (line == "DONE") break;
        }
        FProcess.Wait();
        return lines;
    }

private:
    static std::vector<std::string> Arguments(const std::vector<std::string>& ASteps) {
        const std::string script =
            (std::filesystem::path(__FILE__).parent_path() / "peers" / "scripted_peer.py").string();
        std::vector<std::string> args{"python3", script};
        args.insert(args.end(), ASteps.begin(), ASteps.end());
        return args;
    }

    ChildProcess FProcess;
    int FPort = 0;
};

} // namespace mailtest
