#pragma once
// The two sample messages of the speed preview: the displayed one slides out
// to the left while the other slides in from the right, then it is held still
// for 60 ticks. Positions are label Left coordinates in twips.

#include <array>
#include <cstdint>

namespace trelvane {

class MessageTransition {
public:
    static constexpr std::int32_t TwipsPerSpeedUnit = 15;
    static constexpr std::int32_t ExitLeft = 1320;  // hidden under the speed slider
    static constexpr std::int32_t DisplayLeft = 4680;  // fully visible on the strip
    static constexpr std::int32_t EntryLeft = 7800;  // hidden under the box at the right
    static constexpr std::int16_t HoldTicks = 60;

    // One timer tick at the given slider value (1..320).
    void tick(std::int32_t speed);

    std::int32_t left(int label) const { return left_[label]; }  // label 0 or 1
    std::int16_t msgOut() const { return msgOut_; }
    bool msgHolding() const { return msgHolding_; }
    std::int16_t msgHoldTicks() const { return msgHoldTicks_; }

private:
    std::int16_t msgOut_ = 0;
    bool msgHolding_ = false;
    std::int16_t msgHoldTicks_ = 0;
    std::array<std::int32_t, 2> left_{DisplayLeft, EntryLeft};
};

}  // namespace trelvane
