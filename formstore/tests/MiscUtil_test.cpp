#include "formstore/MiscUtil.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

using namespace formstore;

namespace {

TEST(MiscUtil, SplitCommandLine) {
    const struct {
        const char* Line;
        const char* Exe;
        const char* Params;
    } cases[] = {
        {"prog.exe \"a b\" c", "prog.exe", "\"a b\" c"}, {"  prog   x\ty  ", "prog", "x y"},
        {"\"/opt/my prog\" -v", "/opt/my prog", "-v"},   {"prog \"\" x", "prog", "x"},
        {"prog a\"b c\"d", "prog", "\"ab cd\""},         {"", "", ""},
    };
    for (const auto& c : cases) {
        AnsiString Exe = "old", Params = "old";
        SplitCommandLine(c.Line, Exe, Params);
        EXPECT_EQ(Exe, c.Exe) << c.Line;
        EXPECT_EQ(Params, c.Params) << c.Line;
    }
}

TEST(MiscUtil, TextHelpers) {
    EXPECT_EQ(DropT("TForm1"), "Form1");
    EXPECT_EQ(DropT("tx"), "x");
    EXPECT_EQ(DropT("T"), "T");
    EXPECT_EQ(DropT("Form"), "Form");
    EXPECT_EQ(AnsiUpperFirstChar("hELLO world"), "Hello world");
    EXPECT_EQ(AnsiUpperFirstChar("\xC3\xA9"
                                 "COLE"),
              "\xC3\x89"
              "cole");
    EXPECT_EQ(AnsiUpperFirstChar(""), "");

    ::setenv("FORMSTORE_TEST_VAR", "value", 1);
    EXPECT_EQ(GetEnvVar("FORMSTORE_TEST_VAR"), "value");
    ::unsetenv("FORMSTORE_TEST_VAR");
    EXPECT_EQ(GetEnvVar("FORMSTORE_TEST_VAR"), "");
}

TEST(MiscUtil, MakeVariantByCount) {
    EXPECT_TRUE(MakeVariant({}).IsNull());
    const std::vector<Variant> One{Variant(7)};
    EXPECT_EQ(MakeVariant(One).AsInteger(), 7);
    const std::vector<Variant> Two{Variant(1), Variant("x")};
    const Variant Array = MakeVariant(Two);
    ASSERT_TRUE(Array.IsArray());
    EXPECT_EQ(VarArrayHighBound(Array, 1) - VarArrayLowBound(Array, 1), 1);
    EXPECT_EQ(VarArrayGet(Array, {VarArrayLowBound(Array, 1) + 1}).AsString(), "x");
}

TEST(MiscUtil, SystemErrorsBecomeExceptions) {
    EXPECT_NO_THROW(RaiseWin32Error(0));
    try {
        RaiseWin32Error(ENOENT);
        FAIL() << "no exception";
    } catch (const EWin32Error& e) {
        EXPECT_EQ(e.ErrorCode, ENOENT);
        EXPECT_EQ(e.Message.rfind("Win32 Error.  Code: 2.\n", 0), 0u) << e.Message;
        EXPECT_GT(e.Message.size(), 23u);
    }
    EXPECT_NO_THROW(CheckWin32(true));
    errno = EACCES;
    EXPECT_THROW(CheckWin32(false), EWin32Error);
    errno = 0; // a failure without an error number is still reported
    EXPECT_THROW(CheckWin32(false), EWin32Error);
}

} // namespace
