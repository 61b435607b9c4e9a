#pragma once
// Runs a Python script of this folder as an independent reader, feeding it
// an input on stdin, and hands its output back as rows of TAB-separated
// fields, one row a line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace mailtest {

using Row = std::vector<std::string>;

// The rows printed by `python3 AScript AArguments` (AScript named relative
// to this folder), fed AInput on stdin.
inline std::vector<Row> PythonRows(const std::string& AScript, const std::string& AArguments,
                                   const std::string& AInput) {
    char inputName[] = "/tmp/mailtest-inputXXXXXX";
    const int fd = mkstemp(inputName);
    if (fd < 0) throw std::runtime_error("cannot create the input file for " + AScript);
    close(fd);
    std::ofstream(inputName, std::ios::binary) << AInput;
    const std::string script = (std::filesystem::path(__FILE__).parent_path() / AScript).string();
    const std::string command = "python3 '" + script + "' " + AArguments + " < " + inputName;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        std::filesystem::remove(inputName);
        throw std::runtime_error("cannot run " + command);
    }
    std::string output;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        output.append(buffer, got);
    const int status = pclose(pipe.release());
    std::filesystem::remove(inputName);
    if (status != 0) throw std::runtime_error(command + " failed");

    std::vector<Row> rows;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        const std::string line = output.substr(start, end - start);
        Row row;
        std::size_t from = 0;
        while (true) {
            const std::size_t tab = line.find('\t', from);
            row.push_back(line.substr(from, tab - from));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        rows.push_back(std::move(row));
        start = end + 1;
    }
    return rows;
}

} // namespace mailtest
