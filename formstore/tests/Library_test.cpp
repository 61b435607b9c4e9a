#include "formstore/Library.h"

#include "formstore/MiscUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>

using namespace formstore;

namespace {

TEST(Library, LoadsLibrariesAndCallsTheirRegistrationEntry) {
    void* Handle = LoadDLL(FORMSTORE_TEST_SERVER);
    ASSERT_NE(Handle, nullptr);
    EXPECT_NE(::dlsym(Handle, "DllRegisterServer"), nullptr);
    ::dlclose(Handle);

    ::unsetenv("BEACONMILL_TEST_SERVER_CALLS");
    EXPECT_TRUE(RegisterServer(FORMSTORE_TEST_SERVER));
    const char* Calls = std::getenv("BEACONMILL_TEST_SERVER_CALLS");
    ASSERT_NE(Calls, nullptr);
    EXPECT_STREQ(Calls, "1");

    // A library without the entry is loaded and freed, and says so.
    EXPECT_FALSE(RegisterServer("libm.so.6"));
}

TEST(Library, ALibraryThatCannotBeLoadedIsNamedInTheError) {
    for (const char* Name : {"/nonexistent/libnothing.so", "libnothing-at-all.so"}) {
        try {
            LoadDLL(Name);
            ADD_FAILURE() << Name << " loaded";
        } catch (const EWin32Error& E) {
            EXPECT_NE(E.Message.find(Name), AnsiString::npos) << E.Message;
            EXPECT_EQ(E.Message.rfind("Win32 Error.  Code: ", 0), 0u) << E.Message;
            EXPECT_NE(E.ErrorCode, 0);
        }
        EXPECT_THROW(RegisterServer(Name), EWin32Error);
    }
}

} // namespace
