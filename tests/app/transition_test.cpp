// The sample messages move where the stepper says, and nowhere else.
#include <QTimer>

#include "app/twips.h"
#include "windowfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(WindowTest, LabelsStandWhereTheStepperSaysAfterEachTick)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    QLabel *msg[2] = {get<QLabel>("lblMsg(0)"), get<QLabel>("lblMsg(1)")};
    const QPoint strip = window->messageStrip()->pos();
    const int top = msg[0]->y();
    MessageTransition expected;
    const int speeds[] = {1, 7, 40, 224, 320};
    for (int tick = 0; tick < 2000; ++tick) {
        const int speed = speeds[(tick / 300) % 5];
        slider("sldMsgTrans")->setValue(speed);
        window->tmrTransition_Timer();
        expected.tick(speed);
        for (int i = 0; i < 2; ++i) {
            ASSERT_EQ(msg[i]->x() + strip.x(), toPixels(expected.left(i))) << "tick " << tick << " label " << i;
            ASSERT_EQ(msg[i]->y(), top);
        }
    }
    EXPECT_EQ(msg[0]->text(), "Message 1");
    EXPECT_EQ(msg[1]->text(), "Message 2");
}

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

TEST_F(WindowTest, TimerRunsOnlyAfterASuccessfulLoad)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    auto *timer = window->findChild<QTimer *>("tmrTransition");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 25);
}

}  // namespace
}  // namespace trelvane::testing
