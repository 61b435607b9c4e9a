#include "platform/rtl/UserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// Sets or clears an environment variable for one scope and puts it back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : Name(name) {
        if (const char* old = std::getenv(name)) Old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { Old ? setenv(Name, Old->c_str(), 1) : unsetenv(Name); }

private:
    const char* Name;
    std::optional<AnsiString> Old;
};

TEST(ConfigFolder, FollowsTheOverrideThenTheBaseDirectoryRules) {
    const struct {
        const char *Override, *XdgConfig, *Expected;
    } cases[] = {
        {"/srv/cfg", "/xdg", "/srv/cfg"},
        {nullptr, "/xdg", "/xdg/beaconmill"},
        {"", "/xdg", "/xdg/beaconmill"},
        {nullptr, "relative/xdg", "/home/user/.config/beaconmill"},
        {nullptr, nullptr, "/home/user/.config/beaconmill"},
    };
    const ScopedEnv home("HOME", "/home/user");
    for (const auto& c : cases) {
        const ScopedEnv override("BEACONMILL_CONFIG", c.Override);
        const ScopedEnv xdg("XDG_CONFIG_HOME", c.XdgConfig);
        EXPECT_EQ(ConfigFolder(), c.Expected);
    }
}

TEST(DataFolder, FollowsTheBaseDirectoryRules) {
    const ScopedEnv home("HOME", "/home/user");
    const ScopedEnv override("BEACONMILL_CONFIG", "/srv/cfg");
    {
        const ScopedEnv xdg("XDG_DATA_HOME", "/xdg-data");
        EXPECT_EQ(DataFolder(), "/xdg-data/beaconmill");
    }
    const ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(DataFolder(), "/home/user/.local/share/beaconmill");
}

} // namespace
