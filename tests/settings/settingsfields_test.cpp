#include <gtest/gtest.h>

#include <set>

#include "printsettings.h"
#include "settings/settingsfields.h"

using namespace trelvane;

namespace {

TEST(SettingsFields, FileOrderCaptionsAndRanges)
{
    const struct {
        std::string_view caption;
        FieldKind kind;
        std::int32_t min, max;
    } expected[FieldCount] = {
        {"Sphere Detail:", FieldKind::Slider, 0, 8},
        {"Score Odometer Detail:", FieldKind::Slider, 6, 12},
        {"Display FPS:", FieldKind::Toggle, 0, 1},
        {"Complex Score:", FieldKind::Toggle, 0, 1},
        {"Complex Level:", FieldKind::Toggle, 0, 1},
        {"Masking:", FieldKind::Toggle, 0, 1},
        {"Mirror:", FieldKind::Toggle, 0, 1},
        {"Transparency:", FieldKind::Toggle, 0, 1},
        {"Message Transition Speed:", FieldKind::Slider, 1, 320},
        {"Sound Effects:", FieldKind::Toggle, 0, 2},
        {"Sound Effects: volume", FieldKind::Volume, 0, 100},
        {"Background Music:", FieldKind::Toggle, 0, 2},
        {"Background Music: volume", FieldKind::Volume, 0, 100},
        {"Particles:", FieldKind::Toggle, 0, 2},
        {"Turn Left:", FieldKind::KeyCode, -32768, 32767},
        {"Turn Right:", FieldKind::KeyCode, -32768, 32767},
        {"Jump:", FieldKind::KeyCode, -32768, 32767},
        {"Sharp Left:", FieldKind::KeyCode, -32768, 32767},
        {"Sharp Right:", FieldKind::KeyCode, -32768, 32767},
    };
    for (int i = 0; i < FieldCount; ++i) {
        const FieldInfo &row = SettingsFields[static_cast<std::size_t>(i)];
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(row.caption, expected[i].caption);
        EXPECT_EQ(row.kind, expected[i].kind);
        EXPECT_EQ(row.min, expected[i].min);
        EXPECT_EQ(row.max, expected[i].max);
        EXPECT_EQ(&fieldInfo(row.field), &row);
    }
}

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
