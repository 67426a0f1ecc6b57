// The display: set-up in a window or full screen, the present routines, the
// F5 switch and the release with its leak report.
#include <cstdio>
#include <cstring>

#include "app/shell.h"
#include "display/display.h"

uint8_t displayMode = DisplayWindowed;
bool directDraw = false;
Surface* primarySurface = nullptr;
Surface* backBuffer = nullptr;
bool clipper = false;
void (*present)() = nullptr;

namespace {

// The presenter's own memory (the visible surface, or the back buffer of
// the full-screen flip chain), handed out as a surface that is not freed
// on its own.
Surface* PresenterSurface(uint32_t* pixels, int pitch) {
    return new Surface{320, 240, pitch, pixels, 0, MemoryKind::System, true, 0};
}

void FailSetUp(platform::Window* window, const char* message) {
    platform::MessageBox(window, message, "ERROR");
    ReleaseDisplay(window);
}

void ReleaseImage(Surface*& surface) {
    ReleaseSurface(surface);
    surface = nullptr;
}

}  // namespace

void InitDisplay() {
    if (displayMode == DisplayWindowed) InitWindowed(mainWindow, 320, 240, 32);
    if (displayMode == DisplayFullScreen) InitFullScreen(mainWindow, 320, 240, 32);
    LoadImages();
}

void InitFullScreen(platform::Window* window, int width, int height, int bitsPerPixel) {
    platform::ShowCursor(false);
    if (!platform::CreatePresenter(window))
        return FailSetUp(window, "DirectDrawオブジェクトの生成に失敗しました");
    directDraw = true;
    if (!platform::SetCooperativeLevel(window, true)) return FailSetUp(window, "協調レベルの設定に失敗しました");
    if (!platform::SetDisplayMode(width, height, bitsPerPixel))
        return FailSetUp(window, "ディスプレイモード設定に失敗しました");
    int pitch = 0;
    uint32_t* primary = platform::CreatePrimarySurface(true, pitch);
    if (primary == nullptr) return FailSetUp(window, "プライマリサーフェース作成に失敗しました");
    primarySurface = PresenterSurface(primary, pitch);
    uint32_t* back = platform::GetAttachedBackBuffer(pitch);
    if (back == nullptr) return FailSetUp(window, "バックサーフェースの作成に失敗しました");
    backBuffer = PresenterSurface(back, pitch);
    present = PresentFullScreen;
}

// The size and depth are not used: the window always gets a 320 x 240 back
// buffer in the desktop's format.
void InitWindowed(platform::Window* window, int, int, int) {
    platform::ShowCursor(true);
    if (!platform::CreatePresenter(window))
        return FailSetUp(window, "DirectDrawオブジェクトの生成に失敗しました");
    directDraw = true;
    if (!platform::SetCooperativeLevel(window, false)) return FailSetUp(window, "協調レベルの設定に失敗しました");
    int pitch = 0;
    uint32_t* primary = platform::CreatePrimarySurface(false, pitch);
    if (primary == nullptr) return FailSetUp(window, "プライマリサーフェース作成に失敗しました");
    primarySurface = PresenterSurface(primary, pitch);
    uint32_t* back = platform::CreateSurfaceMemory(320, 240, pitch);
    if (back == nullptr) return FailSetUp(window, "バックバッファの生成に失敗しました");
    backBuffer = new Surface{320, 240, pitch, back, 0, MemoryKind::System, false, 0};
    if (!platform::CreateClipper()) return FailSetUp(window, "クリッパー生成に失敗しました");
    clipper = true;
    if (!platform::SetClipperWindow(window)) return FailSetUp(window, "クリッパーのウィンドウ設定に失敗しました");
    if (!platform::AttachClipper()) return FailSetUp(window, "クリッパーのセットに失敗しました");
    present = PresentWindowed;
}

void PresentWindowed() {
    platform::WaitForVerticalBlank();
    if (primarySurface != nullptr && backBuffer != nullptr) {
        if (primarySurface->pitch == 320 && backBuffer->pitch == 320) {
            // Rows end to end in both: the picture is one run of memory.
            std::memcpy(primarySurface->pixels, backBuffer->pixels, 320 * 240 * 4);
        } else {
            for (int row = 0; row < 240; ++row)
                std::memcpy(primarySurface->pixels + static_cast<size_t>(row) * primarySurface->pitch,
                            backBuffer->pixels + static_cast<size_t>(row) * backBuffer->pitch, 320 * 4);
        }
    }
    platform::ShowPrimarySurface();
}

void PresentFullScreen() {
    BlitClipped(primarySurface, 0, 0, 320, 240, backBuffer, 0, 0, BLTFAST_NOCOLORKEY);
    platform::ShowPrimarySurface();
}

void ToggleDisplayMode(platform::Window* window) {
    if (displayMode == DisplayWindowed) {
        ReleaseDisplay(window);
        platform::SetWindowStyle(window, 0x80000000u);
        InitFullScreen(window, 320, 240, 32);
        LoadImages();
        displayMode = DisplayFullScreen;
    } else if (displayMode == DisplayFullScreen) {
        // Always, even with no presenter left: a full-screen set-up that
        // failed after the mode was set released the presenter but not the
        // full screen.
        platform::RestoreDisplayMode();
        ReleaseDisplay(window);
        platform::SetWindowStyle(window, 0xCA0000u);
        platform::SetWindowPos(window, 100, 100, 320, 240);
        InitWindowed(window, 320, 240, 32);
        LoadImages();
        displayMode = DisplayWindowed;
    }
}

void ReleaseDisplay(platform::Window* window) {
    if (!directDraw) return;
    ReleaseImage(polygonPalSurface);
    ReleaseImage(battleSurface);
    ReleaseImage(stageBackSurface);
    ReleaseImage(statesSurface);
    ReleaseImage(titleSurface);
    ReleaseImage(workSurface);
    ReleaseImage(fontSurface);
    if (clipper) platform::ReleaseClipper();
    clipper = false;
    // A windowed back buffer is freed here; the full-screen one goes with
    // the primary. Either way nothing may point at it afterwards.
    ReleaseImage(backBuffer);
    if (primarySurface != nullptr) platform::ReleasePrimarySurface();
    ReleaseImage(primarySurface);
    const int count = platform::ReleasePresenter();
    if (count > 0) {
        char caption[64];
        std::snprintf(caption, sizeof caption, "「解放忘れ」 参照カウント = %d", count);
        platform::MessageBox(window, "DDrawオブジェクトの解放もれあり", caption);
    }
    directDraw = false;
}
