#pragma once
// The beaconmill program run as a child process, the way a service manager
// runs it: standard output and error are read together.
#include "platform/rtl/testing/ChildProcess.h"

class ProgramProcess : public testing_support::ChildProcess {
public:
    explicit ProgramProcess(std::vector<std::string> Args = {})
        : ChildProcess(WithProgram(std::move(Args)), BEACONMILL_PROGRAM, Streams::OutputAndErrors) {}

private:
    static std::vector<std::string> WithProgram(std::vector<std::string> Args) {
        Args.insert(Args.begin(), BEACONMILL_PROGRAM);
        return Args;
    }
};
