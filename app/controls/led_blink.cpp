#include "led_blink.h"

namespace qav::controls {

bool LedBlink::SetState(int state) {
    if (state == state_) {
        return false;
    }
    state_ = state;
    return true;
}

bool LedBlink::SetBlink(bool on) {
    // Both phases start lit: a rhythm stopped in its dark phase would otherwise leave the lamp dark for good.
    const bool before = ShowsOn();
    blinking_ = on;
    phaseA_ = false;
    phaseB_ = false;
    countA_ = 0;
    countB_ = 0;
    return ShowsOn() != before;
}

bool LedBlink::Tick() {
    if (!blinking_ || state_ == 0) {
        return false;
    }
    const bool before = ShowsOn();
    if (++countA_ == kSlowTicks) {
        countA_ = 0;
        phaseA_ = !phaseA_;
    }
    if (++countB_ == kFlashTicks) {
        countB_ = 0;
        phaseB_ = false;
    } else {
        phaseB_ = true;
    }
    return ShowsOn() != before;
}

bool LedBlink::ShowsOn() const {
    switch (state_) {
        case 1:
            return !phaseA_;
        case 2:
            return !phaseB_;
        default:
            return false;
    }
}

}  // namespace qav::controls
