// Tests of module string tables and the application identity.
#include "platform/resource/AppIdentity.h"
#include "platform/resource/Module.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(Module, StringTableFindsLoadsAndReplacesEntries)
{
    Module module("coordinates");
    module.AddStrings({{100, "点名\n点名"}, {101, "X座標\nX"}});
    module.AddString(102, "");

    EXPECT_EQ(module.FindString(101), std::optional<std::string_view>("X座標\nX"));
    EXPECT_EQ(module.LoadString(100), "点名\n点名");
    EXPECT_EQ(module.FindString(102), std::optional<std::string_view>("")) << "an empty entry is still an entry";
    EXPECT_FALSE(module.FindString(103).has_value());
    EXPECT_EQ(module.LoadString(103), "") << "a missing entry loads as an empty text";

    module.AddStrings({{101, "Y座標\nY"}});
    module.AddString(100, "番号");
    EXPECT_EQ(module.LoadString(101), "Y座標\nY");
    EXPECT_EQ(module.LoadString(100), "番号");
}

TEST(AppIdentity, DefaultsUntilAProgramSetsItsOwn)
{
    EXPECT_EQ(GetAppIdentity().softwareName, "tavcell");
    EXPECT_EQ(GetAppIdentity().category, "Application") << "the category a record manager names by default";
}
