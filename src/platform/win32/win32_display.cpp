// The Windows presenter on DirectDraw 7. The game draws into memory of its
// own keeping (the primary's picture, the full-screen back buffer, the
// off-screen surfaces), which stays put for the surface's life; at each
// present the picture is copied into an off-screen surface in system
// memory and blitted from there: onto the primary in the window's client
// area (the clipper keeps it inside the window), or onto the flip chain's
// back buffer and flipped in full screen.
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "platform/shared/frame_pacer.h"
#include "platform/shared/surface_memory.h"
#include "platform/shared/frame_report.h"
#include "platform/win32/win32_internal.h"

#include <ddraw.h>

namespace platform {

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

struct Presenter {
    IDirectDraw7* directDraw = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* flipBack = nullptr;  // the flip chain's back buffer, full screen only
    IDirectDrawSurface7* picture = nullptr;   // the off-screen copy of the game's picture
    IDirectDrawClipper* clipper = nullptr;
    HWND window = nullptr;
    std::vector<uint32_t> primaryPixels;
    std::vector<uint32_t> backPixels;
    LiveSurfaces liveSurfaces;
    FramePacer pacer{1};  // made anew with each presenter, on the clock's rate
};

Presenter& P() {
    static Presenter presenter;
    return presenter;
}

uint64_t Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart);
}

uint64_t TicksPerSecond() {
    LARGE_INTEGER rate;
    QueryPerformanceFrequency(&rate);
    return static_cast<uint64_t>(rate.QuadPart);
}

// Waits until the pacer's tick: a sleep to the last millisecond, then the
// clock is read until the tick (the period is set to 1 ms at start).
void SleepUntil(uint64_t until) {
    const uint64_t rate = TicksPerSecond();
    for (uint64_t now = Now(); now < until; now = Now()) {
        const uint64_t ms = (until - now) * 1000 / rate;
        Sleep(ms > 1 ? static_cast<DWORD>(ms - 1) : 0);
    }
}

// The copy the blit reads: a system-memory surface in the game's own
// layout, 32 bits of 0x00RRGGBB; the blit converts if the screen differs.
IDirectDrawSurface7* CreatePictureSurface(IDirectDraw7* directDraw) {
    DDSURFACEDESC2 sd{};
    sd.dwSize = sizeof sd;
    sd.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    sd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    sd.dwWidth = Width;
    sd.dwHeight = Height;
    sd.ddpfPixelFormat.dwSize = sizeof sd.ddpfPixelFormat;
    sd.ddpfPixelFormat.dwFlags = DDPF_RGB;
    sd.ddpfPixelFormat.dwRGBBitCount = 32;
    sd.ddpfPixelFormat.dwRBitMask = 0x00FF0000;
    sd.ddpfPixelFormat.dwGBitMask = 0x0000FF00;
    sd.ddpfPixelFormat.dwBBitMask = 0x000000FF;
    IDirectDrawSurface7* surface = nullptr;
    if (directDraw->CreateSurface(&sd, &surface, nullptr) != DD_OK) return nullptr;
    return surface;
}

void CopyPicture(Presenter& p) {
    DDSURFACEDESC2 sd{};
    sd.dwSize = sizeof sd;
    if (p.picture->Lock(nullptr, &sd, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) return;
    auto* rows = static_cast<uint8_t*>(sd.lpSurface);
    for (int row = 0; row < Height; ++row)
        std::memcpy(rows + static_cast<size_t>(row) * sd.lPitch, p.primaryPixels.data() + static_cast<size_t>(row) * Width,
                    Width * 4);
    p.picture->Unlock(nullptr);
}

}  // namespace

bool CreatePresenter(Window* window) {
    Presenter& p = P();
    if (p.directDraw) return false;
    if (DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&p.directDraw), IID_IDirectDraw7, nullptr) != DD_OK) {
        p.directDraw = nullptr;
        return false;
    }
    p.window = win32::Handle(window);
    // Presents wait for the vertical blank where the display has one; the
    // pacer watches whether that holds 60 and limits the rate if not.
    p.pacer = FramePacer(TicksPerSecond(), true);
    return true;
}

bool SetCooperativeLevel(Window* window, bool fullScreen) {
    Presenter& p = P();
    if (!p.directDraw) return false;
    const DWORD level = fullScreen ? DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE : DDSCL_NORMAL;
    return p.directDraw->SetCooperativeLevel(win32::Handle(window), level) == DD_OK;
}

bool SetDisplayMode(int width, int height, int bitsPerPixel) {
    Presenter& p = P();
    return p.directDraw && p.directDraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                                        static_cast<DWORD>(bitsPerPixel), 0, 0) == DD_OK;
}

// Without a presenter the mode went back with the DirectDraw object that
// set it.
void RestoreDisplayMode() {
    if (P().directDraw) P().directDraw->RestoreDisplayMode();
}

uint32_t* CreatePrimarySurface(bool fullScreen, int& pitch) {
    Presenter& p = P();
    if (!p.directDraw) return nullptr;
    ReleasePrimarySurface();
    DDSURFACEDESC2 sd{};
    sd.dwSize = sizeof sd;
    sd.dwFlags = DDSD_CAPS;
    sd.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (fullScreen) {
        sd.dwFlags |= DDSD_BACKBUFFERCOUNT;
        sd.dwBackBufferCount = 1;
        sd.ddsCaps.dwCaps |= DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_SYSTEMMEMORY;
    }
    if (p.directDraw->CreateSurface(&sd, &p.primary, nullptr) != DD_OK) {
        p.primary = nullptr;
        return nullptr;
    }
    if (fullScreen) {
        DDSCAPS2 caps{};
        caps.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_SYSTEMMEMORY;
        if (p.primary->GetAttachedSurface(&caps, &p.flipBack) != DD_OK) p.flipBack = nullptr;
    }
    p.picture = CreatePictureSurface(p.directDraw);
    if (!p.picture) {
        ReleasePrimarySurface();
        return nullptr;
    }
    p.primaryPixels.assign(Width * Height, 0);
    if (fullScreen && p.flipBack) p.backPixels.assign(Width * Height, 0);
    pitch = Width;
    return p.primaryPixels.data();
}

uint32_t* GetAttachedBackBuffer(int& pitch) {
    Presenter& p = P();
    if (p.backPixels.empty()) return nullptr;
    pitch = Width;
    return p.backPixels.data();
}

uint32_t* CreateSurfaceMemory(int width, int height, int& pitch) {
    Presenter& p = P();
    return p.directDraw ? NewSurfaceMemory(p.liveSurfaces, width, height, pitch) : nullptr;
}

void ReleaseSurfaceMemory(uint32_t* pixels) { FreeSurfaceMemory(P().liveSurfaces, pixels); }

bool CreateClipper() {
    Presenter& p = P();
    if (!p.directDraw || p.clipper) return false;
    if (p.directDraw->CreateClipper(0, &p.clipper, nullptr) == DD_OK) return true;
    p.clipper = nullptr;
    return false;
}

bool SetClipperWindow(Window* window) {
    return P().clipper && P().clipper->SetHWnd(0, win32::Handle(window)) == DD_OK;
}

bool AttachClipper() { return P().primary && P().clipper && P().primary->SetClipper(P().clipper) == DD_OK; }

void ReleaseClipper() { win32::Release(P().clipper); }

// Child before parent: the copies, the flip chain's back buffer, then the
// primary.
void ReleasePrimarySurface() {
    Presenter& p = P();
    win32::Release(p.picture);
    win32::Release(p.flipBack);
    win32::Release(p.primary);
    p.primaryPixels.clear();
    p.backPixels.clear();
}

int ReleasePresenter() {
    Presenter& p = P();
    if (!p.directDraw) return 0;
    ReleasePrimarySurface();
    win32::Release(p.clipper);
    win32::Release(p.directDraw);
    p.window = nullptr;
    return static_cast<int>(p.liveSurfaces.size());
}

void WaitForVerticalBlank() {
    if (P().directDraw) P().directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
}

void ShowPrimarySurface() {
    Presenter& p = P();
    if (!p.directDraw || !p.primary || !p.picture) return;
    CopyPicture(p);
    if (p.flipBack) {
        p.flipBack->Blt(nullptr, p.picture, nullptr, DDBLT_WAIT, nullptr);
        p.primary->Flip(nullptr, DDFLIP_WAIT);
    } else if (p.window) {
        // The client area on the screen, stretched to it when the window
        // is scaled.
        RECT client;
        ::GetClientRect(p.window, &client);
        POINT corner{0, 0};
        ::ClientToScreen(p.window, &corner);
        OffsetRect(&client, corner.x, corner.y);
        p.primary->Blt(&client, p.picture, nullptr, DDBLT_WAIT, nullptr);
    }
    SleepUntil(p.pacer.AfterPresent(Now()));
    RunFrameHook();
}

void ShowCursor(bool show) {
    // The system keeps a count: shown while it is 0 or more.
    if (show) {
        while (::ShowCursor(TRUE) < 0) {
        }
    } else {
        while (::ShowCursor(FALSE) >= 0) {
        }
    }
}

}  // namespace platform
