#pragma once
// A kernel-object namespace of the test's own, shared with the emulator it
// starts, and removed with everything in it afterwards.
#include "EngineRun.h"

#include "platform/data/testing/ShopDbTest.h"
#include "platform/sys/KernelNames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <unistd.h>

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
