#pragma once
// A scratch configuration folder for one test: BEACONMILL_CONFIG points at
// it while the test runs, and it is removed afterwards. Shared by the tests
// of every library that keeps settings there.
#include "platform/rtl/AnsiString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

class ScratchConfig : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/beaconmill-config-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Folder = pattern;
        setenv("BEACONMILL_CONFIG", Folder.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("BEACONMILL_CONFIG");
        std::error_code ignored;
        std::filesystem::permissions(Folder, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(Folder, ignored);
    }

    AnsiString File(const AnsiString& name) const { return Folder + "/" + name; }

    static AnsiString ReadFile(const AnsiString& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void WriteFile(const AnsiString& path, const AnsiString& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    // Runs Body in Count child processes at once and expects each to exit 0.
    template <typename Body> static void InChildren(int Count, Body body) {
        std::vector<pid_t> children;
        for (int child = 0; child < Count; ++child) {
            const pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                int status = 0;
                try {
                    body(child);
                } catch (...) {
                    status = 1;
                }
                _exit(status);
            }
            children.push_back(pid);
        }
        for (const pid_t pid : children) {
            int status = 0;
            ASSERT_EQ(waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }

    AnsiString Folder;
};
