#pragma once
// Runs tests/reference.py (Python's standard library as the independent
// reference) and hands its output back as rows of TAB-separated fields.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace mailtest {

using Row = std::vector<std::string>;

inline std::string ScriptPath() {
    return (std::filesystem::path(__FILE__).parent_path() / "reference.py").string();
}

// The rows printed by `reference.py AMode`, fed AInput on stdin.
inline std::vector<Row> Reference(const std::string& AMode, const std::string& AInput = "") {
    char inputName[] = "/tmp/mailtest-inputXXXXXX";
    const int fd = mkstemp(inputName);
    if (fd < 0) throw std::runtime_error("cannot create the reference input file");
    close(fd);
    std::ofstream(inputName, std::ios::binary) << AInput;
    const std::string command = "python3 '" + ScriptPath() + "' " + AMode + " < " + inputName;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) throw std::runtime_error("cannot run " + command);
    std::string output;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        output.append(buffer, got);
    const int status = pclose(pipe.release());
    std::filesystem::remove(inputName);
    if (status != 0) throw std::runtime_error(command + " failed");

    std::vector<Row> rows;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        Row row;
        std::size_t start = 0;
        while (true) {
            const std::size_t tab = line.find('\t', start);
            row.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

inline std::string FromHex(const std::string& AHex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < AHex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(AHex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

inline std::string ToHex(const std::string& ABytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : ABytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

} // namespace mailtest
