// The sliding sample messages: arrival ticks, swap ticks and whole trajectories,
// checked against two models that compute the same motion another way.

#include "preview/messagetransition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

namespace trelvane {
namespace {

constexpr std::int32_t Exit = 1320;
constexpr std::int32_t Display = 4680;
constexpr std::int32_t Entry = 7800;

struct Snapshot {
    std::array<std::int32_t, 2> left{};
    int out = 0;
    bool holding = false;
    int holdTicks = 0;
    bool operator==(const Snapshot &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Snapshot &s)
{
    return os << "{left " << s.left[0] << ", " << s.left[1] << "; out " << s.out
              << (s.holding ? "; holding " : "; moving ") << s.holdTicks << "}";
}

Snapshot snapshot(const MessageTransition &t)
{
    return {{t.left(0), t.left(1)}, t.msgOut(), t.msgHolding(), t.msgHoldTicks()};
}

std::int32_t stepOf(std::int32_t speed) { return 15 * speed; }
std::int32_t ticksToExit(std::int32_t speed) { return (3360 + stepOf(speed) - 1) / stepOf(speed); }
std::int32_t ticksToDisplay(std::int32_t speed) { return (3120 + stepOf(speed) - 1) / stepOf(speed); }

// Positions while a transition is under way, from the distance covered since it began.
Snapshot moving(int out, std::int64_t travelled)
{
    Snapshot s;
    s.out = out;
    s.left[out] = static_cast<std::int32_t>(std::max<std::int64_t>(Exit, Display - travelled));
    s.left[1 - out] = static_cast<std::int32_t>(std::max<std::int64_t>(Display, Entry - travelled));
    return s;
}

Snapshot held(int out, int ticks)
{
    Snapshot s;
    s.out = out;
    s.left[out] = Exit;
    s.left[1 - out] = Display;
    s.holding = true;
    s.holdTicks = ticks;
    return s;
}

// Closed form for a constant speed: where the cycle stands after n ticks.
// The first transition ends on tick T; from then on every T + 59 ticks hold a
// 60-tick hold (its arrival tick included) followed by T - 1 moving ticks.
Snapshot closedFormAt(std::int64_t n, std::int32_t speed)
{
    const std::int64_t d = stepOf(speed);
    const std::int64_t T = ticksToExit(speed);
    const std::int64_t period = T + 59;
    if (n < T)
        return moving(0, n * d);
    const std::int64_t sinceFirstArrival = n - T;
    const std::int64_t cycle = sinceFirstArrival / period;
    const std::int64_t r = sinceFirstArrival % period;
    if (r < 60)
        return held(static_cast<int>(cycle % 2), static_cast<int>(r));
    return moving(static_cast<int>((cycle + 1) % 2), (r - 59) * d);
}

// For speeds that change from tick to tick: counts the distance covered in the
// current transition and the ticks spent in the current hold.
class PhaseModel {
public:
    void tick(std::int32_t speed)
    {
        if (holding_ && ++heldFor_ == 60) {
            holding_ = false;
            heldFor_ = 0;
            out_ = 1 - out_;
            travelled_ = 0;
        }
        if (!holding_) {
            travelled_ += stepOf(speed);
            if (travelled_ >= 3360) {
                holding_ = true;
                heldFor_ = 0;
            }
        }
    }
    Snapshot state() const { return holding_ ? held(out_, heldFor_) : moving(out_, travelled_); }

private:
    int out_ = 0;
    bool holding_ = false;
    int heldFor_ = 0;
    std::int64_t travelled_ = 0;
};

TEST(MessageTransition, StartsWithMessageOneShownAndMessageTwoWaiting)
{
    const MessageTransition t;
    EXPECT_EQ(snapshot(t), (Snapshot{{Display, Entry}, 0, false, 0}));
}

TEST(MessageTransition, ArrivalAndFirstSwapTicks)
{
    struct Case {
        std::int32_t speed;
        int outArrives;  // first tick with the outgoing label at the exit
        int inArrives;  // first tick with the incoming label at the display station
        int firstSwap;  // first tick on which msgOut changes
    };
    const Case cases[] = {
        {1, 224, 208, 284}, {7, 32, 30, 92}, {10, 23, 21, 83}, {50, 5, 5, 65},  {207, 2, 2, 62},
        {208, 2, 1, 62},    {223, 2, 1, 62}, {224, 1, 1, 61},  {320, 1, 1, 61},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed);
        MessageTransition t;
        int outArrived = 0, inArrived = 0, swapped = 0;
        for (int tick = 1; tick <= 1000 && swapped == 0; ++tick) {
            t.tick(c.speed);
            if (outArrived == 0 && t.left(0) == Exit) {
                outArrived = tick;
                EXPECT_TRUE(t.msgHolding()) << "the hold starts on the arrival tick";
                EXPECT_EQ(t.msgHoldTicks(), 0);
            }
            EXPECT_TRUE(outArrived != 0 || !t.msgHolding()) << "holding before arrival, tick " << tick;
            if (inArrived == 0 && t.left(1) == Display)
                inArrived = tick;
            if (swapped == 0 && t.msgOut() != 0)
                swapped = tick;
        }
        EXPECT_EQ(outArrived, c.outArrives);
        EXPECT_EQ(inArrived, c.inArrives);
        EXPECT_EQ(swapped, c.firstSwap);
        EXPECT_EQ(c.outArrives, ticksToExit(c.speed));
        EXPECT_EQ(c.inArrives, ticksToDisplay(c.speed));
    }
}

TEST(MessageTransition, StepLandingExactlyOnTheExitStartsTheHold)
{
    MessageTransition t;
    for (int tick = 1; tick <= 31; ++tick)
        t.tick(7);
    EXPECT_EQ(snapshot(t), (Snapshot{{Display - 31 * 105, Display}, 0, false, 0}));
    EXPECT_EQ(t.left(0), Exit + 105);

    t.tick(7);
    EXPECT_EQ(snapshot(t), (Snapshot{{Exit, Display}, 0, true, 0}));
}

TEST(MessageTransition, FastSpeedsCrossInOneTick)
{
    for (std::int32_t speed : {224, 250, 300, 320}) {
        SCOPED_TRACE(testing::Message() << "speed " << speed);
        MessageTransition t;
        t.tick(speed);
        EXPECT_EQ(snapshot(t), (Snapshot{{Exit, Display}, 0, true, 0}));
    }
    // One unit slower, the outgoing label still needs a second tick.
    MessageTransition t;
    t.tick(223);
    EXPECT_EQ(snapshot(t), (Snapshot{{Display - 3345, Display}, 0, false, 0}));
}

TEST(MessageTransition, SwapTickMovesBothLabelsAtOnce)
{
    for (std::int32_t speed : {1, 7, 10, 100, 207, 208, 209, 223, 224, 320}) {
        SCOPED_TRACE(testing::Message() << "speed " << speed);
        const std::int32_t d = stepOf(speed);
        MessageTransition t;
        int ticks = 0;
        while (t.msgOut() == 0 && ticks < 1000) {
            t.tick(speed);
            ++ticks;
        }
        ASSERT_EQ(t.msgOut(), 1);
        EXPECT_EQ(ticks, ticksToExit(speed) + 60);
        EXPECT_EQ(t.left(0), std::max(Display, Entry - d)) << "label just put at the entry";
        EXPECT_EQ(t.left(1), std::max(Exit, Display - d)) << "label that was displayed";
        EXPECT_EQ(t.msgHolding(), d >= 3360);
        EXPECT_EQ(t.msgHoldTicks(), 0);
    }
}

TEST(MessageTransition, SwapsRecurEveryTPlus59Ticks)
{
    for (std::int32_t speed : {1, 2, 7, 10, 33, 50, 112, 223, 224, 320}) {
        SCOPED_TRACE(testing::Message() << "speed " << speed);
        const int T = ticksToExit(speed);
        MessageTransition t;
        std::vector<int> swaps;
        int out = t.msgOut();
        for (int tick = 1; tick <= 6000; ++tick) {
            t.tick(speed);
            if (t.msgOut() != out) {
                swaps.push_back(tick);
                out = t.msgOut();
            }
        }
        ASSERT_GE(swaps.size(), 2u);
        EXPECT_EQ(swaps.front(), T + 60);
        for (std::size_t i = 1; i < swaps.size(); ++i)
            EXPECT_EQ(swaps[i] - swaps[i - 1], T + 59) << "swap " << i;
    }
}

TEST(MessageTransition, SpeedChangeDuringHoldWaitsForTheNextTransition)
{
    struct Case {
        std::int32_t before, duringHold, after;
    };
    const Case cases[] = {{10, 320, 10}, {10, 1, 10}, {1, 224, 3}, {320, 1, 320}, {7, 100, 50}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "speeds " << c.before << " / " << c.duringHold << " / " << c.after);
        MessageTransition steady, changed;
        while (!steady.msgHolding()) {
            steady.tick(c.before);
            changed.tick(c.before);
        }
        // Hold ticks 1..59: whatever the speed, nothing moves.
        for (int i = 1; i < 60; ++i) {
            steady.tick(c.before);
            changed.tick(c.duringHold + (i % 3));
            ASSERT_EQ(snapshot(changed), snapshot(steady)) << "hold tick " << i;
            EXPECT_EQ(changed.msgHoldTicks(), i);
        }
        // The swap tick already moves at the speed read on it.
        steady.tick(c.after);
        changed.tick(c.after);
        EXPECT_EQ(snapshot(changed), snapshot(steady));
        EXPECT_EQ(changed.left(1 - changed.msgOut()), std::max(Display, Entry - stepOf(c.after)));
    }
}

TEST(MessageTransition, SpeedChangeDuringTransitionTakesEffectOnTheNextTick)
{
    struct Case {
        std::int32_t first;
        int ticks;
        std::int32_t second;
    };
    const Case cases[] = {{1, 100, 10}, {10, 5, 1}, {2, 30, 200}, {1, 1, 320}, {5, 40, 6}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.ticks << " ticks at " << c.first << ", then " << c.second);
        MessageTransition t;
        for (int i = 0; i < c.ticks; ++i)
            t.tick(c.first);
        const std::int64_t before = static_cast<std::int64_t>(c.ticks) * stepOf(c.first);
        ASSERT_EQ(snapshot(t), moving(0, before));
        t.tick(c.second);
        const std::int64_t after = before + stepOf(c.second);
        EXPECT_EQ(snapshot(t), after >= 3360 ? held(0, 0) : moving(0, after));
    }
}

TEST(MessageTransition, ConstantSpeedTrajectoriesMatchTheClosedForm)
{
    for (std::int32_t speed : {1, 7, 10, 50, 207, 208, 223, 224, 320}) {
        SCOPED_TRACE(testing::Message() << "speed " << speed);
        MessageTransition t;
        for (std::int64_t n = 1; n <= 8000; ++n) {
            t.tick(speed);
            ASSERT_EQ(snapshot(t), closedFormAt(n, speed)) << "tick " << n;
        }
    }
}

TEST(MessageTransition, VaryingSpeedTrajectoriesMatchThePhaseModel)
{
    // Speeds that hold for a while and then jump, covering the slow, the
    // one-tick and the boundary cases; a small generator keeps the run repeatable.
    struct Schedule {
        const char *name;
        std::vector<std::int32_t> speeds;
    };
    std::vector<Schedule> schedules;
    {
        Schedule s{"pseudo-random runs", {}};
        std::uint32_t seed = 12345;
        while (s.speeds.size() < 20000) {
            seed = seed * 1664525u + 1013904223u;
            const auto speed = static_cast<std::int32_t>(1 + (seed >> 8) % 320);
            const auto length = 1 + (seed >> 20) % 90;
            s.speeds.insert(s.speeds.end(), length, speed);
        }
        schedules.push_back(std::move(s));
    }
    {
        Schedule s{"every tick different", {}};
        for (int i = 0; i < 12000; ++i)
            s.speeds.push_back(1 + (i * 37 + i / 7) % 320);
        schedules.push_back(std::move(s));
    }
    {
        Schedule s{"around the one-tick bound", {}};
        for (int i = 0; i < 6000; ++i)
            s.speeds.push_back(i % 5 == 0 ? 1 : 221 + i % 5);
        schedules.push_back(std::move(s));
    }

    for (const Schedule &s : schedules) {
        SCOPED_TRACE(s.name);
        MessageTransition t;
        PhaseModel model;
        for (std::size_t n = 0; n < s.speeds.size(); ++n) {
            t.tick(s.speeds[n]);
            model.tick(s.speeds[n]);
            ASSERT_EQ(snapshot(t), model.state()) << "tick " << n + 1 << " at speed " << s.speeds[n];
        }
    }
}

TEST(MessageTransition, ThePhaseModelAgreesWithTheClosedForm)
{
    // The two models are written independently; at constant speed they must agree.
    for (std::int32_t speed : {1, 7, 224}) {
        SCOPED_TRACE(testing::Message() << "speed " << speed);
        PhaseModel model;
        for (std::int64_t n = 1; n <= 3000; ++n) {
            model.tick(speed);
            ASSERT_EQ(model.state(), closedFormAt(n, speed)) << "tick " << n;
        }
    }
}

}  // namespace
}  // namespace trelvane
