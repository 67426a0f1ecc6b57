// A bitmap file through the display's loader, then used as each of the
// game's pictures is: as the font, copied keyed and unkeyed, scaled as
// the battle's banners are and blended as the title is.
#include <cstddef>
#include <cstdint>

#include "display/display.h"
#include "platform/headless.h"
#include "scratch.h"

namespace {

constexpr const char* Name = "Image\\Title.bmp";
Surface* screen = nullptr;  // the back buffer the pictures land on

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    EnterScratchFolder(argc, argv, {"Image"});
    directDraw = platform::CreatePresenter(nullptr);
    screen = CreateWorkSurface(nullptr, 320, 240, MemoryKind::System);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput("Image/Title.bmp", data, size);
    Surface* picture = LoadBitmapSurface(nullptr, Name, MemoryKind::System);
    if (picture != nullptr) {
        FillSurface(screen, 0x808080);
        const int w = picture->width, h = picture->height;
        BlitClipped(screen, 0, 0, w, h, picture, 0, 0, BLTFAST_NOCOLORKEY);
        BlitClipped(screen, -w / 2, 300 - h, w, h, picture, 0, 0, BLTFAST_SRCCOLORKEY);
        fontSurface = picture;
        DrawString(screen, -4, 230, "Round 1 FIGHT!");
        fontSurface = nullptr;
        DrawScaledCentred(screen, 160, 120, picture, 2.5f, 0.75f, 0, 0, w, h);
        DrawScaledCentred(screen, 160, 120, picture, 0.01f, 40.0f, w / 3, h / 3, w, h);
        BlendSurface(screen, 0, 0, 320, 240, picture, 0, 0, 160);
        BlendSurface(picture, -1, 3, w, h, screen, 0, 0, 7);
    }
    ReleaseSurface(picture);
    platform::headless::ClearEvents();
    return 0;
}
