// The headless presenter: surfaces in plain memory, counted; the shown
// picture kept as the last presented frame.
#include <algorithm>

#include "platform/headless/headless_state.h"
#include "platform/shared/surface_memory.h"

namespace platform {

using headless::Step;
using headless::detail::Fails;
using headless::detail::S;
using headless::detail::State;

bool CreatePresenter(Window*) {
    if (Fails(Step::CreatePresenter)) return false;
    S().presenter = true;
    return true;
}

bool SetCooperativeLevel(Window*, bool) { return !Fails(Step::SetCooperativeLevel) && S().presenter; }

bool SetDisplayMode(int, int, int) {
    if (Fails(Step::SetDisplayMode) || !S().presenter) return false;
    S().fullScreen = true;
    return true;
}

void RestoreDisplayMode() { S().fullScreen = false; }

uint32_t* CreatePrimarySurface(bool fullScreen, int& pitch) {
    State& s = S();
    if (Fails(Step::CreatePrimarySurface) || !s.presenter) return nullptr;
    s.primary.assign(320 * 240, 0);
    s.attachedBack.clear();
    if (fullScreen) s.attachedBack.assign(320 * 240, 0);
    pitch = 320;
    return s.primary.data();
}

uint32_t* GetAttachedBackBuffer(int& pitch) {
    State& s = S();
    if (Fails(Step::GetAttachedBackBuffer) || s.attachedBack.empty()) return nullptr;
    pitch = 320;
    return s.attachedBack.data();
}

uint32_t* CreateSurfaceMemory(int width, int height, int& pitch) {
    State& s = S();
    if (Fails(Step::CreateSurfaceMemory) || !s.presenter) return nullptr;
    return NewSurfaceMemory(s.liveSurfaces, width, height, pitch);
}

void ReleaseSurfaceMemory(uint32_t* pixels) { FreeSurfaceMemory(S().liveSurfaces, pixels); }

bool CreateClipper() {
    if (Fails(Step::CreateClipper) || !S().presenter) return false;
    S().clipper = true;
    return true;
}

bool SetClipperWindow(Window*) { return !Fails(Step::SetClipperWindow) && S().clipper; }

bool AttachClipper() { return !Fails(Step::AttachClipper) && S().clipper && !S().primary.empty(); }

void ReleaseClipper() { S().clipper = false; }

void ReleasePrimarySurface() {
    S().primary.clear();
    S().attachedBack.clear();
}

int ReleasePresenter() {
    State& s = S();
    if (!s.presenter) return 0;
    s.presenter = false;
    const int alive = static_cast<int>(s.liveSurfaces.size());
    headless::detail::Record({headless::EventKind::PresenterReleased, "", "", "", false, alive});
    // What was never released goes with the presenter, once counted.
    for (uint32_t* pixels : s.liveSurfaces) delete[] pixels;
    s.liveSurfaces.clear();
    return alive;
}

void WaitForVerticalBlank() {}

void ShowPrimarySurface() {
    State& s = S();
    if (s.primary.size() != 320 * 240) return;
    ++s.presented;
    // A replay that hashes or writes every frame reads it where it is; the
    // copy is for callers that look afterwards.
    if (s.presentHook) {
        s.presentHook(s.primary.data(), s.presented);
    } else {
        s.lastFrame = s.primary;
    }
}

void ShowCursor(bool) {}

}  // namespace platform
