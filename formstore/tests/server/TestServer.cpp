// A library with a registration entry, for the library-loading tests: each
// call leaves its count in the environment, where the test reads it.
#include <cstdio>
#include <cstdlib>

extern "C" long DllRegisterServer() {
    static int Calls = 0;
    char Text[16];
    std::snprintf(Text, sizeof Text, "%d", ++Calls);
    ::setenv("BEACONMILL_TEST_SERVER_CALLS", Text, 1);
    return 0;
}
