#include "preview/messagetransition.h"

namespace trelvane {

void MessageTransition::tick(std::int32_t speed)
{
    const std::int32_t step = TwipsPerSpeedUnit * speed;

    if (msgHolding_)
        ++msgHoldTicks_;

    if (msgHoldTicks_ == HoldTicks) {
        msgHoldTicks_ = 0;
        msgHolding_ = false;
        // The label that went out waits behind the box at the right for its next turn.
        left_[msgOut_] = EntryLeft;
        msgOut_ = msgOut_ == 0 ? 1 : 0;
    }

    const int in = msgOut_ == 0 ? 1 : 0;

    // Both moves run on every tick; during a hold they find the labels at their
    // stations and keep them there.
    std::int32_t &out = left_[msgOut_];
    if (out - step > ExitLeft) {
        out -= step;
    } else {
        out = ExitLeft;
        msgHolding_ = true;
    }

    std::int32_t &incoming = left_[in];
    if (incoming - step > DisplayLeft)
        incoming -= step;
    else
        incoming = DisplayLeft;
}

}  // namespace trelvane
