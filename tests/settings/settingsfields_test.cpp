#include <gtest/gtest.h>

#include "printsettings.h"
#include "settings/settingsfields.h"

using namespace trelvane;

namespace {

TEST(SettingsFields, EachFieldReachesItsOwnMember)
{
    // Distinct values everywhere: a swapped case in the accessors shows up here.
    GameSettings s;
    for (int i = 0; i < FieldCount; ++i)
        setFieldValue(s, SettingsFields[static_cast<std::size_t>(i)].field, 100 + i);
    const GameSettings expected{100, 101, 102, 103, 104,
                                105, 106, 107, 108, 109,
                                110, 111, 112, 113, {114, 115, 116, 117, 118}};
    EXPECT_EQ(s, expected);
    for (int i = 0; i < FieldCount; ++i)
        EXPECT_EQ(fieldValue(s, SettingsFields[static_cast<std::size_t>(i)].field), 100 + i);
}

}  // namespace
