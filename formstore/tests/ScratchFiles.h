#pragma once
// File helpers for fixtures that work in a scratch folder of their own:
// names are relative to Root, which the fixture makes and removes.
#include "platform/rtl/AnsiString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace formstore_test {

class ScratchFilesTest : public ::testing::Test {
protected:
    AnsiString Path(const AnsiString& Name) const { return Root + "/" + Name; }

    void Write(const AnsiString& Name, const std::string& Content) const {
        std::filesystem::create_directories(std::filesystem::path(Path(Name)).parent_path());
        std::ofstream(Path(Name), std::ios::binary) << Content;
    }
    std::string Read(const AnsiString& Name) const {
        std::ifstream In(Path(Name), std::ios::binary);
        return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    }
    bool Exists(const AnsiString& Name) const {
        return std::filesystem::exists(std::filesystem::symlink_status(Path(Name)));
    }
    // The names in the folder Dir, sorted.
    std::vector<std::string> Listing(const AnsiString& Dir) const {
        std::vector<std::string> Names;
        for (const auto& Entry : std::filesystem::directory_iterator(Path(Dir)))
            Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }

    AnsiString Root;
};

} // namespace formstore_test
