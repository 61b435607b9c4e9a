#pragma once
// A kernel-object namespace of the test's own, shared with the emulator it
// starts, and removed with everything in it afterwards.
#include "EngineRun.h"

#include "platform/classes/Component.h"
#include "platform/data/testing/ShopDbTest.h"
#include "platform/sys/KernelNames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

// Request items as hex text for the emulator's raw step.
inline std::string Int(std::int32_t Value) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", static_cast<std::uint32_t>(__builtin_bswap32(Value)));
    return buf;
}

inline std::string Str(const std::string& Text) {
    std::string hex = Int(1) + Int(static_cast<std::int32_t>(Text.size()));
    char buf[3];
    for (unsigned char c : Text) {
        std::snprintf(buf, sizeof buf, "%02x", c);
        hex += buf;
    }
    return hex + Int(0);
}

// An owner in design state: the components it owns are being designed.
class DesignedOwner : public TComponent {
public:
    explicit DesignedOwner(TComponent* AOwner) : TComponent(AOwner) { SetDesigning(true); }
};

class ConnectionTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        static std::atomic<int> serial{0};
        Namespace = "rc" + std::to_string(getpid()) + "_" + std::to_string(++serial);
        SetKernelNamespace(Namespace);
    }
    void TearDown() override {
        // The components go first: their threads use the namespace's objects.
        ShopDbTest::TearDown();
        RemoveKernelNamespace(Namespace);
    }

    std::vector<std::string> Engine(const std::string& Connection,
                                    const std::vector<std::string>& Steps) {
        std::vector<std::string> argv{ENGINE_EMULATOR, Namespace, Connection};
        argv.insert(argv.end(), Steps.begin(), Steps.end());
        return RunAndPump(argv);
    }

    std::string Namespace;
};
