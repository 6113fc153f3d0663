// The strip where the sample messages are seen, and their moves once the window is loaded.
#include <QTest>

#include "app/twips.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(WindowTest, MessagesAreSeenOnlyBetweenTheSliderAndTheBox)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    // The visible part of the strip: from the speed slider's right edge to the box at the right.
    const QRect strip = window->messageStrip()->geometry();
    EXPECT_EQ(strip.left(), toPixels(2415));
    EXPECT_EQ(strip.right() + 1, toPixels(7800));
    QLabel *msg = get<QLabel>("lblMsg(0)");
    struct Station {
        int left;
        bool fullyHidden;
        bool fullyVisible;
    };
    for (Station s : {Station{1320, true, false}, Station{4680, false, true}, Station{7800, true, false}}) {
        msg->move(toPixels(s.left) - strip.x(), msg->y());
        const QRect seen = msg->geometry().translated(strip.topLeft()).intersected(strip);
        EXPECT_EQ(seen.isEmpty(), s.fullyHidden) << s.left;
        EXPECT_EQ(seen.width() == msg->width(), s.fullyVisible) << s.left;
    }
}

TEST_F(WindowTest, MessagesSlideOutAndInOnceLoaded)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    QLabel *out = get<QLabel>("lblMsg(0)"), *in = get<QLabel>("lblMsg(1)");
    const int outAt = out->x(), inAt = in->x();
    EXPECT_TRUE(QTest::qWaitFor([&] { return out->x() < outAt && in->x() < inAt; }, 5000));
}

}  // namespace
}  // namespace trelvane::testing
