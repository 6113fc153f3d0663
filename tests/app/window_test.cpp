// The window's frame and the stacking that the previews rely on.
#include <QPushButton>

#include "layouttable.h"
#include "twips.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(WindowTest, FixedSizeWindowWithACloseBoxOnly)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    EXPECT_EQ(window->windowTitle(), "Trelvane Configuration Utility");
    EXPECT_EQ(window->size(), QSize(668, 530));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window->windowIcon().isNull());
    for (QPushButton *b : window->findChildren<QPushButton *>())
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();  // Enter presses no button by itself
}

TEST_F(WindowTest, EveryControlLiesInsideTheWindow)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    const QRect client = window->rect();
    for (const ControlDef &def : WindowLayout) {
        if (def.kind == ControlKind::Timer)
            continue;
        EXPECT_TRUE(client.contains(toPixels(def.left, def.top, def.width, def.height)))
            << def.name << " " << def.index;
    }
}

TEST_F(WindowTest, ControlWindowsLieAboveEveryPictureAndLabel)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    // A sibling later in the child list is drawn above the earlier ones.
    const QObjectList children = window->children();
    int lowestControl = children.size();
    int highestDrawing = -1;
    for (int i = 0; i < children.size(); ++i) {
        auto *w = qobject_cast<QWidget *>(children[i]);
        if (!w)
            continue;
        const bool control = w->inherits("QAbstractSlider") || w->inherits("QComboBox") ||
                             w->inherits("QAbstractButton");
        if (control)
            lowestControl = std::min(lowestControl, i);
        else
            highestDrawing = std::max(highestDrawing, i);
    }
    EXPECT_LT(highestDrawing, lowestControl);
}

}  // namespace
}  // namespace trelvane::testing
