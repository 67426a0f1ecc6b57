// Frame pacing for the presenters of the real game (SDL, Windows). Where presents wait for the vertical
// blank and that holds the game at 60 frames a second, nothing more is
// done. Anywhere else (another refresh rate, no vsync, a virtual display,
// a presenter that waits for no blank at all) a frame limiter holds 60. The rate of the presents is watched over the last
// second all the time, not only at the start: a start slowed down by a busy
// machine can look like 60 for a while on a display that runs faster.
// Plain arithmetic on clock ticks: the presenter reads the clock and sleeps.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

class FramePacer {
public:
    // `blankPaced`: the presents may wait for a vertical blank, so their rate
    // is watched first; without, the limiter paces from the first present.
    explicit FramePacer(uint64_t ticksPerSecond, bool blankPaced = true);

    // Called after each present with the clock; returns the tick until
    // which the game waits before it goes on (`now` or earlier: no wait).
    uint64_t AfterPresent(uint64_t now);
    // True once the limiter paces the game; it does so until the pacer is
    // made again.
    bool Limiting() const { return limiting_; }

private:
    static constexpr int Watched = 60;        // presents whose rate must stay within 59 to 61 a second
    static constexpr int Glance = 4;          // presents that come back this fast have waited for nothing
    static constexpr int StallFrames = 4;     // a longer gap tells nothing of the display
    static constexpr int CatchUpFrames = 15;  // frames later than this are not made up

    void Watch(uint64_t now);
    uint64_t Ago(int presents) const;  // when the present this many before the last came back
    uint64_t Due(uint64_t frame) const { return start_ + frame * ticksPerSecond_ / 60; }

    uint64_t ticksPerSecond_;
    uint64_t period_;
    bool limiting_ = false;
    std::array<uint64_t, Watched + 1> shown_ = {};  // times of the last presents, a ring
    int count_ = 0;                                  // how many of them are kept
    int last_ = 0;                                   // index of the latest
    bool started_ = false;                           // the limiter's running deadline
    uint64_t start_ = 0;
    uint64_t frames_ = 0;
};

}  // namespace platform
