// The SDL presenter: the window's own surface, which X fills from shared
// memory, with the 320 x 240 picture copied in (scaled up by whole steps,
// nearest pixel, when the window is larger); the surfaces' memory counted;
// and the frame limiter that holds the game at 60 frames a second. No
// renderer: a 3D stack (on a machine without a graphics card, a software
// one) would cost more to start and to run than the picture costs to draw.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/shared/frame_pacer.h"
#include "platform/shared/surface_memory.h"

namespace platform {

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

struct Presenter {
    bool made = false;
    SDL_Surface* picture = nullptr;  // the primary's pixels, as the source of the copy
    std::vector<uint32_t> primary;
    std::vector<uint32_t> attachedBack;
    LiveSurfaces liveSurfaces;
    bool clipper = false;
    FramePacer pacer{1};  // made anew with each presenter, on the clock's rate
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

// The picture at the largest whole scale that fits the window, centred: the
// window itself at 320 x 240, the screen in full screen (black borders
// around), and any larger window alike.
SDL_Rect PictureRect(int w, int h) {
    const int scale = std::max(1, std::min(w / Width, h / Height));
    return SDL_Rect{(w - Width * scale) / 2, (h - Height * scale) / 2, Width * scale, Height * scale};
}

// The four bands around the picture, black; the picture covers the rest.
void FillBorders(SDL_Surface* screen, const SDL_Rect& picture) {
    const int below = picture.y + picture.h, right = picture.x + picture.w;
    const SDL_Rect bands[4] = {{0, 0, screen->w, picture.y},
                               {0, below, screen->w, screen->h - below},
                               {0, picture.y, picture.x, picture.h},
                               {right, picture.y, screen->w - right, picture.h}};
    SDL_FillRects(screen, bands, 4, SDL_MapRGB(screen->format, 0, 0, 0));
}

}  // namespace

bool CreatePresenter(Window*) {
    Presenter& p = P();
    SDL_Window* window = sdl::MainSdlWindow();
    if (!window || p.made) return false;
    // Left to itself, SDL backs a window's surface with an accelerated
    // renderer, and with it the whole 3D stack: X's own shared-memory
    // image is the cheaper way for a picture this size. (SDL_FRAMEBUFFER_ACCELERATION
    // in the environment still decides, for anyone who wants to compare.)
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!SDL_GetWindowSurface(window)) {
        std::fprintf(stderr, "Tessaline: the window has no surface to draw on: %s\n", SDL_GetError());
        return false;
    }
    p.made = true;
    // The window's surface waits for no vertical blank: the limiter paces
    // from the first frame.
    p.pacer = FramePacer(SDL_GetPerformanceFrequency(), false);
    return true;
}

// The cooperative level has no counterpart here: full screen or not, the
// picture goes to the window's surface at the scale that fits it.
bool SetCooperativeLevel(Window*, bool) { return P().made; }

bool SetDisplayMode(int, int, int) {
    SDL_Window* window = sdl::MainSdlWindow();
    if (!window || !P().made) return false;
    // Without a window manager nothing would grow the window to the
    // desktop, and the scaled picture would be cut to the window's corner:
    // the window covers the desktop itself first. The way back to the window
    // sets its place and size again.
    SDL_Rect desktop;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &desktop) == 0) {
        SDL_SetWindowPosition(window, desktop.x, desktop.y);
        SDL_SetWindowSize(window, desktop.w, desktop.h);
    }
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

void RestoreDisplayMode() {
    if (SDL_Window* window = sdl::MainSdlWindow()) SDL_SetWindowFullscreen(window, 0);
}

uint32_t* CreatePrimarySurface(bool fullScreen, int& pitch) {
    Presenter& p = P();
    if (!p.made) return nullptr;
    ReleasePrimarySurface();
    p.primary.assign(Width * Height, 0);
    p.picture = SDL_CreateRGBSurfaceWithFormatFrom(p.primary.data(), Width, Height, 32, Width * 4, SDL_PIXELFORMAT_RGB888);
    if (!p.picture) {
        p.primary.clear();
        return nullptr;
    }
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
    return p.made ? NewSurfaceMemory(p.liveSurfaces, width, height, pitch) : nullptr;
}

void ReleaseSurfaceMemory(uint32_t* pixels) { FreeSurfaceMemory(P().liveSurfaces, pixels); }

bool CreateClipper() {
    if (!P().made) return false;
    P().clipper = true;
    return true;
}

// The copy goes only inside the window, which is what the clipper did.
bool SetClipperWindow(Window* window) { return P().clipper && window != nullptr; }
bool AttachClipper() { return P().clipper && P().picture != nullptr; }
void ReleaseClipper() { P().clipper = false; }

void ReleasePrimarySurface() {
    Presenter& p = P();
    if (p.picture) SDL_FreeSurface(p.picture);
    p.picture = nullptr;
    p.primary.clear();
    p.attachedBack.clear();
}

int ReleasePresenter() {
    Presenter& p = P();
    if (!p.made) return 0;
    ReleasePrimarySurface();
    p.made = false;
    return static_cast<int>(p.liveSurfaces.size());
}

void WaitForVerticalBlank() {}

void ShowPrimarySurface() {
    Presenter& p = P();
    SDL_Window* window = sdl::MainSdlWindow();
    if (!p.made || !p.picture || !window) return;
    // The surface is made anew after the window changes size (F5), so it is
    // asked for at every frame; SDL hands back the same one until then.
    if (SDL_Surface* screen = SDL_GetWindowSurface(window)) {
        SDL_Rect picture = PictureRect(screen->w, screen->h);
        FillBorders(screen, picture);
        SDL_BlitScaled(p.picture, nullptr, screen, &picture);
        SDL_UpdateWindowSurface(window);
    }
    SleepUntil(p.pacer.AfterPresent(SDL_GetPerformanceCounter()));
    sdl::FrameShown();
}

void ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace platform
