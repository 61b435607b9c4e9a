#pragma once
// A scratch configuration folder for one test: BEACONMILL_CONFIG points at
// it while the test runs, and it is removed afterwards.
#include "platform/rtl/AnsiString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace formstore_test {

class ScratchConfig : public ::testing::Test {
protected:
    void SetUp() override {
        char Pattern[] = "/tmp/beaconmill-formstore-XXXXXX";
        ASSERT_NE(mkdtemp(Pattern), nullptr);
        Folder = Pattern;
        setenv("BEACONMILL_CONFIG", Folder.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("BEACONMILL_CONFIG");
        std::error_code Ignored;
        std::filesystem::remove_all(Folder, Ignored);
    }

    AnsiString File(const AnsiString& Name) const { return Folder + "/" + Name; }

    static AnsiString ReadFile(const AnsiString& Path) {
        std::ifstream In(Path, std::ios::binary);
        std::ostringstream Text;
        Text << In.rdbuf();
        return Text.str();
    }
    static void WriteFile(const AnsiString& Path, const AnsiString& Text) {
        std::ofstream(Path, std::ios::binary) << Text;
    }

    AnsiString Folder;
};

} // namespace formstore_test
