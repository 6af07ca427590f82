// The indicator's state and blink rhythm, advanced by a 100 ms tick: state 1 blinks 500 ms on / 500 ms off,
// state 2 flashes on for one tick a second; without blinking both show the lit image steadily.
#pragma once

namespace qav::controls {

class LedBlink {
public:
    // State 0 off, 1 on (slow blink), 2 on with short flashes. False when the state was already `state`.
    bool SetState(int state);
    int State() const { return state_; }

    // Starts or stops the rhythm from its beginning (lit). True when the image shown changed.
    bool SetBlink(bool on);
    bool IsBlinking() const { return blinking_; }

    // One 100 ms tick; does nothing in state 0 or when not blinking. True when the image shown changed.
    bool Tick();

    // Whether the lit image is shown (otherwise the dark one).
    bool ShowsOn() const;

private:
    static constexpr int kSlowTicks = 5;
    static constexpr int kFlashTicks = 10;

    int state_ = 0;
    bool blinking_ = false;
    bool phaseA_ = false;  // inverted every kSlowTicks ticks; dark while set
    bool phaseB_ = false;  // clear on every kFlashTicks-th tick only; dark while set
    int countA_ = 0;
    int countB_ = 0;
};

}  // namespace qav::controls
