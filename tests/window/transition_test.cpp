// The sample messages move where the stepper says, and nowhere else.
#include "logicfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(LogicTest, LabelsStandWhereTheStepperSaysAfterEachTick)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    EXPECT_EQ(view.timerMs, 25);
    const int msg[2] = {row("lblMsg(0)"), row("lblMsg(1)")};
    MessageTransition expected;
    const int speeds[] = {1, 7, 40, 224, 320};
    for (int tick = 0; tick < 2000; ++tick) {
        const int speed = speeds[(tick / 300) % 5];
        change("sldMsgTrans", speed);
        logic->tick();
        expected.tick(speed);
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(view.lefts[msg[i]], expected.left(i)) << "tick " << tick << " label " << i;
    }
}

}  // namespace
}  // namespace trelvane::testing
