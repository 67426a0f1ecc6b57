// The SDL presenter: a renderer and a 320 x 240 streaming texture behind
// the primary surface, the surfaces' memory counted, and the frame pacing
// that holds the game at 60 frames a second.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_pacing.h"

namespace platform {

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

struct Presenter {
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    std::vector<uint32_t> primary;
    std::vector<uint32_t> attachedBack;
    std::set<uint32_t*> liveSurfaces;
    bool fullScreen = false;
    bool clipper = false;
    sdl::FramePacer pacer{1};  // made anew with each renderer, on the clock's rate
};

Presenter& P() {
    static Presenter presenter;
    return presenter;
}

// Waits until the pacer's tick: a sleep, not a spin. The clock's own
// ticks carry the deadline, so a sleep that ends a little late only makes
// the next wait shorter.
void SleepUntil(Uint64 until) {
    const Uint64 now = SDL_GetPerformanceCounter();
    if (until <= now) return;
    const double seconds = static_cast<double>(until - now) / static_cast<double>(SDL_GetPerformanceFrequency());
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

SDL_Rect PictureRect() {
    Presenter& p = P();
    int w = Width, h = Height;
    SDL_GetRendererOutputSize(p.renderer, &w, &h);
    if (!p.fullScreen) return SDL_Rect{0, 0, w, h};
    // Full screen: the largest whole scale that fits, centred, black borders.
    const int scale = std::max(1, std::min(w / Width, h / Height));
    return SDL_Rect{(w - Width * scale) / 2, (h - Height * scale) / 2, Width * scale, Height * scale};
}

}  // namespace

bool CreatePresenter(Window*) {
    Presenter& p = P();
    SDL_Window* window = sdl::MainSdlWindow();
    if (!window || p.renderer) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    p.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!p.renderer) p.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!p.renderer) {
        std::fprintf(stderr, "Tessaline: no renderer: %s\n", SDL_GetError());
        return false;
    }
    p.pacer = sdl::FramePacer(SDL_GetPerformanceFrequency());
    return true;
}

bool SetCooperativeLevel(Window*, bool fullScreen) {
    if (!P().renderer) return false;
    P().fullScreen = fullScreen;
    return true;
}

bool SetDisplayMode(int, int, int) {
    SDL_Window* window = sdl::MainSdlWindow();
    if (!window || !P().renderer) return false;
    // Without a window manager nothing would grow the window to the
    // desktop, and the scaled picture would be cut to the window's corner:
    // the window covers the desktop itself first. The way back to the window
    // sets its place and size again.
    SDL_Rect desktop;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &desktop) == 0) {
        SDL_SetWindowPosition(window, desktop.x, desktop.y);
        SDL_SetWindowSize(window, desktop.w, desktop.h);
    }
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    P().fullScreen = true;
    return true;
}

void RestoreDisplayMode() {
    if (SDL_Window* window = sdl::MainSdlWindow()) SDL_SetWindowFullscreen(window, 0);
    P().fullScreen = false;
}

uint32_t* CreatePrimarySurface(bool fullScreen, int& pitch) {
    Presenter& p = P();
    if (!p.renderer) return nullptr;
    p.texture = SDL_CreateTexture(p.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, Width, Height);
    if (!p.texture) return nullptr;
    p.primary.assign(Width * Height, 0);
    p.attachedBack.clear();
    if (fullScreen) p.attachedBack.assign(Width * Height, 0);
    pitch = Width;
    return p.primary.data();
}

uint32_t* GetAttachedBackBuffer(int& pitch) {
    Presenter& p = P();
    if (p.attachedBack.empty()) return nullptr;
    pitch = Width;
    return p.attachedBack.data();
}

uint32_t* CreateSurfaceMemory(int width, int height, int& pitch) {
    Presenter& p = P();
    if (!p.renderer || width <= 0 || height <= 0 || width > MaxSurfaceSide || height > MaxSurfaceSide) return nullptr;
    auto* pixels = new (std::nothrow) uint32_t[static_cast<size_t>(width) * static_cast<size_t>(height)]();
    if (!pixels) return nullptr;
    p.liveSurfaces.insert(pixels);
    pitch = width;
    return pixels;
}

void ReleaseSurfaceMemory(uint32_t* pixels) {
    if (P().liveSurfaces.erase(pixels) != 0) delete[] pixels;
}

bool CreateClipper() {
    if (!P().renderer) return false;
    P().clipper = true;
    return true;
}

// The renderer draws only inside the window, which is what the clipper did.
bool SetClipperWindow(Window* window) { return P().clipper && window != nullptr; }
bool AttachClipper() { return P().clipper && P().texture != nullptr; }
void ReleaseClipper() { P().clipper = false; }

void ReleasePrimarySurface() {
    Presenter& p = P();
    if (p.texture) SDL_DestroyTexture(p.texture);
    p.texture = nullptr;
    p.primary.clear();
    p.attachedBack.clear();
}

int ReleasePresenter() {
    Presenter& p = P();
    if (!p.renderer) return 0;
    ReleasePrimarySurface();
    SDL_DestroyRenderer(p.renderer);
    p.renderer = nullptr;
    return static_cast<int>(p.liveSurfaces.size());
}

void WaitForVerticalBlank() {}

void ShowPrimarySurface() {
    Presenter& p = P();
    if (!p.renderer || !p.texture || p.primary.empty()) return;
    SDL_UpdateTexture(p.texture, nullptr, p.primary.data(), Width * 4);
    SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
    SDL_RenderClear(p.renderer);
    const SDL_Rect dest = PictureRect();
    SDL_RenderCopy(p.renderer, p.texture, nullptr, &dest);
    SDL_RenderPresent(p.renderer);
    const bool limiting = p.pacer.Limiting();
    const Uint64 until = p.pacer.AfterPresent(SDL_GetPerformanceCounter());
    // Once the limiter paces, presents stop waiting for a blank at another
    // rate: each frame would wait twice, and frames that a busy machine
    // made late could be made up only as fast as that blank comes.
    if (!limiting && p.pacer.Limiting()) SDL_RenderSetVSync(p.renderer, 0);
    SleepUntil(until);
    sdl::FrameShown();
}

void ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace platform
