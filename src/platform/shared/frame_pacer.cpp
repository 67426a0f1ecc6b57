#include "platform/shared/frame_pacer.h"

#include <cstddef>

namespace platform {

FramePacer::FramePacer(uint64_t ticksPerSecond, bool blankPaced)
    : ticksPerSecond_(ticksPerSecond), period_(ticksPerSecond / 60), limiting_(!blankPaced) {}

uint64_t FramePacer::Ago(int presents) const {
    const int size = static_cast<int>(shown_.size());
    return shown_[static_cast<std::size_t>((last_ - presents + size) % size)];
}

void FramePacer::Watch(uint64_t now) {
    // A long gap (a stall, or no frames while the window was inactive) tells
    // nothing about the display: the watch starts again after it.
    if (count_ > 0 && now - Ago(0) > period_ * StallFrames) count_ = 0;
    last_ = (last_ + 1) % static_cast<int>(shown_.size());
    shown_[static_cast<std::size_t>(last_)] = now;
    if (count_ < static_cast<int>(shown_.size())) ++count_;
    const int intervals = count_ - 1;
    // Presents that come back in less than half a frame each wait for no
    // vertical blank at all: no need to watch a whole second for that.
    if (intervals >= Glance && now - Ago(Glance) < period_ * Glance / 2) limiting_ = true;
    if (intervals >= Watched) {
        const uint64_t span = now - Ago(Watched);
        const uint64_t shortest = Watched * ticksPerSecond_ / 61, longest = Watched * ticksPerSecond_ / 59;
        if (span < shortest || span > longest) limiting_ = true;
    }
}

uint64_t FramePacer::AfterPresent(uint64_t now) {
    if (!limiting_) {
        Watch(now);
        if (!limiting_) return now;
    }
    // The limiter: frame n goes on at start + n / 60 s. Frames that a busy
    // machine made late are made up at once, so the rate holds 60 on
    // average; after a longer stall (the window inactive, say) it starts
    // afresh instead of rushing through a burst of frames.
    if (!started_ || now > Due(frames_) + period_ * CatchUpFrames) {
        started_ = true;
        start_ = now;
        frames_ = 0;
    }
    return Due(frames_++);
}

}  // namespace platform
