// The key lists as the window fills them.
#include "keys/keycatalogue.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(WindowTest, KeyListsHoldTheCatalogueInOrder)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    for (int slot = 0; slot < 5; ++slot) {
        QComboBox *list = keys(slot);
        ASSERT_EQ(list->count(), KeyCount);
        EXPECT_EQ(list->itemText(0), "ESCAPE");
        EXPECT_EQ(list->itemText(8), "8");
        EXPECT_EQ(list->itemText(10), "0");
        EXPECT_EQ(list->itemText(50), "Comma (,)");
        EXPECT_EQ(list->itemText(114), "Comma (,)");
        EXPECT_EQ(list->itemText(143), "Media Select");
    }
}

}  // namespace
}  // namespace trelvane::testing
