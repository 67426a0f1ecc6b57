// The headless backend's state, failing steps and records.
#include "platform/headless/headless_state.h"

#include <cstdio>

namespace platform::headless {

namespace detail {

State& S() {
    static State state;
    return state;
}

bool Fails(Step step) {
    return S().failAlways[static_cast<size_t>(step)];
}

void Record(Event event) { S().events.push_back(std::move(event)); }

}  // namespace detail

using detail::S;

void Reset() {
    for (uint32_t* pixels : S().liveSurfaces) delete[] pixels;
    S() = detail::State{};
}

void FailStep(Step step, bool fail) { S().failAlways[static_cast<size_t>(step)] = fail; }

const std::vector<Event>& Events() { return S().events; }
void ClearEvents() { S().events.clear(); }

const std::vector<uint32_t>& LastFrame() { return S().lastFrame; }
int PresentedFrames() { return S().presented; }
bool IsFullScreen() { return S().fullScreen; }
bool MusicPlaying() { return S().playingMusicId != 0; }
bool WindowExists() { return S().windowExists; }

void SetIdleHook(std::function<void(int)> hook) { S().idleHook = std::move(hook); }
void SetPresentHook(std::function<void(const uint32_t*, int)> hook) { S().presentHook = std::move(hook); }

}  // namespace platform::headless

namespace platform {

void MessageBox(Window* owner, const char* text, const char* caption) {
    headless::Event e{headless::EventKind::MessageBox, "", text ? text : "", caption ? caption : "", owner != nullptr};
    std::fprintf(stderr, "[%s] %s\n", e.caption.c_str(), e.text.c_str());
    headless::detail::Record(std::move(e));
}

uint32_t TimeGetTime() {
    // Exactly 1000/60 ms per presented frame.
    return static_cast<uint32_t>(static_cast<uint64_t>(headless::detail::S().presented) * 1000u / 60u);
}

}  // namespace platform
