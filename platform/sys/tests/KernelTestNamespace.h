#pragma once
// Gives each test its own kernel-object namespace (so test programs running
// side by side never share an object) and removes the test's objects after it.
#include "platform/sys/KernelNames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <unistd.h>

class KernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> serial{0};
        Namespace = "t" + std::to_string(getpid()) + "_" + std::to_string(++serial);
        SetKernelNamespace(Namespace);
    }
    void TearDown() override { RemoveKernelNamespace(Namespace); }

    std::string Namespace;
};
