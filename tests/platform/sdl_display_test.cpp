// The SDL presenter: the frame limiter on the real clock with the window's
// surface; the picture at the scale that fits the window; and the way back to the window after a full-screen set-up
// that failed once the mode was set.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <utility>
#include <unistd.h>
#include <vector>

#include "display/display.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_internal.h"

using namespace platform;

namespace {

Window* Open() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!RegisterWindowClass([](Window* w, uint32_t m, uintptr_t wp, intptr_t lp) { return DefWindowProc(w, m, wp, lp); }))
        return nullptr;
    return CreateMainWindow();
}

}  // namespace

// What the window shows: the picture pixel for pixel in the 320 x 240
// window; in a larger one (the full screen, a scaled window) at the largest
// whole scale that fits, each pixel a square block with no blending,
// centred, with black around it even where something else was drawn before.
TEST(SdlPresenter, ThePictureFillsTheWindowAtTheLargestWholeScale) {
    Window* w = Open();
    ASSERT_NE(w, nullptr);
    SDL_Window* window = sdl::MainSdlWindow();
    int pitch = 0;
    ASSERT_TRUE(CreatePresenter(w) && SetCooperativeLevel(w, false));
    uint32_t* primary = CreatePrimarySurface(false, pitch);
    ASSERT_NE(primary, nullptr);
    // Every pixel its own colour from its place.
    const auto colour = [](int x, int y) { return static_cast<uint32_t>((x * 7 + y * 1031) & 0xFFFFFF); };
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) primary[y * pitch + x] = colour(x, y);
    const auto at = [&](int x, int y) {
        SDL_Surface* s = SDL_GetWindowSurface(window);
        Uint32 pixel = 0;
        SDL_memcpy(&pixel, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(pixel, s->format, &r, &g, &b);
        return static_cast<uint32_t>(r << 16 | g << 8 | b);
    };
    ShowPrimarySurface();
    for (const auto& [x, y] : {std::pair{0, 0}, {319, 0}, {0, 239}, {319, 239}, {123, 45}})
        EXPECT_EQ(at(x, y), colour(x, y)) << x << ", " << y;

    // 700 x 500: twice the size, 30 and 10 pixels of border.
    SDL_SetWindowSize(window, 700, 500);
    SDL_Surface* screen = SDL_GetWindowSurface(window);
    ASSERT_EQ(screen->w, 700);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 255, 255));
    ShowPrimarySurface();
    for (const auto& [x, y] : {std::pair{0, 0}, {319, 239}, {160, 7}})
        for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
            EXPECT_EQ(at(30 + 2 * x + dx, 10 + 2 * y + dy), colour(x, y)) << x << ", " << y;
    for (const auto& [x, y] : {std::pair{29, 250}, {670, 250}, {350, 9}, {350, 490}, {0, 0}, {699, 499}})
        EXPECT_EQ(at(x, y), 0u) << "border at " << x << ", " << y;
    ReleasePresenter();
}

// F5 to full screen, then a set-up step past the mode failing (its failure
// path releases the whole display), then F5 again: SDL's full screen is
// left and the window is back at 100, 100 with its 320 x 240 client area.
TEST(SdlDisplaySwitch, F5BackAfterAFailedFullScreenRestoresTheWindow) {
    ASSERT_EQ(chdir(TESSALINE_DATA_DIR), 0);
    Window* w = Open();
    ASSERT_NE(w, nullptr);
    SDL_Window* window = sdl::MainSdlWindow();
    InitWindowed(w, 320, 240, 32);
    ToggleDisplayMode(w);
    ASSERT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    ReleaseDisplay(w);

    ToggleDisplayMode(w);
    EXPECT_EQ(SDL_GetWindowFlags(window) & (SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS), 0u);
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{100, 100, 320, 240}));
    EXPECT_EQ(present, PresentWindowed);
    ReleaseDisplay(w);
}
