// The text clipboard, offscreen included.
#include "platform/gui/Clipboard.h"

#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

namespace {

TEST(Clipboard, TextGoesInAndComesBackAsUtf8) {
    Application->Initialize();
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "");
    Clipboard()->SetAsText("naïve €\r\nline");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(2)); // not a text format
    EXPECT_EQ(Clipboard()->AsText(), "naïve €\r\nline");
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

} // namespace
