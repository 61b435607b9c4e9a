// Pixel tests compare two pictures of a shown grid taken moments apart. An
// in-place edit's caret blinks on the toolkit's own timer, so on a busy
// machine the two pictures could differ by the caret alone: it stays lit.
#include "platform/gui/QtApp.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class SteadyCaret : public ::testing::Environment {
public:
    void SetUp() override {
        EnsureQtApplication();
        QApplication::setCursorFlashTime(0);
    }
};

[[maybe_unused]] ::testing::Environment* const Registered =
    ::testing::AddGlobalTestEnvironment(new SteadyCaret);

} // namespace
