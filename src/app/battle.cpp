// The battle scene: camera, controls and the figure passes, then the
// status strip, the two-banner intro, the end-of-fight check and the
// health bars.
#include "app/battle.h"

#include "app/shell.h"
#include "combat/camera.h"
#include "combat/controls.h"
#include "combat/fighter.h"
#include "combat/hits.h"
#include "devices/sound.h"
#include "display/display.h"
#include "figure/passes.h"

int32_t introState = 0;
uint8_t introAlpha = 255;
float introScale = 0.3f;

namespace {

// One piece of the status strip: destination, size, source.
struct StripPiece {
    int x, y, width, height, sourceX, sourceY;
};
constexpr StripPiece StatusStrip[] = {
    {0, 0, 320, 32, 0, 32},     // strip background
    {8, 12, 96, 16, 0, 0},      // fighter 1 bar frame
    {114, 0, 32, 32, 128, 0},   // fighter 1 emblem
    {168, 12, 96, 16, 0, 0},    // fighter 2 bar frame
    {274, 0, 32, 32, 128, 0},   // fighter 2 emblem
};

constexpr uint32_t HealthBarColour = 0x0000D8;

// The banner over the previous picture, cross-faded with the live one at
// weight w of the live picture.
void ComposeIntro(uint8_t w) {
    BlendAndCopyBack(workSurface, backBuffer, w);
}

void FadeOut(int32_t nextState) {
    if (introAlpha > 10) {
        introAlpha = static_cast<uint8_t>(introAlpha - 10);
    } else {
        introState = nextState;
    }
}

void FadeIn(int32_t nextState) {
    if (introAlpha < 255) {
        introAlpha = static_cast<uint8_t>(introAlpha + 10);
    } else {
        introState = nextState;
    }
}

void RunIntro() {
    switch (introState) {
    case 0:
        DrawBanner(workSurface, ReadyBanner, introScale);
        if (introScale < 1.5f) introScale = static_cast<float>(static_cast<double>(introScale) + 0.1);
        FadeOut(1);
        ComposeIntro(introAlpha);
        break;
    case 1:
        DrawBanner(workSurface, ReadyBanner, introScale);
        FadeIn(2);
        ComposeIntro(introAlpha);
        break;
    case 2:
        FadeOut(3);
        DrawBanner(workSurface, FightBanner, introScale);
        ComposeIntro(introAlpha);
        break;
    case 3:
        FadeIn(4);
        DrawBanner(workSurface, FightBanner, introScale);
        ComposeIntro(introAlpha);
        break;
    default:
        break;
    }
}

void ResetIntro() {
    introAlpha = 255;
    introScale = 0.3f;
    introState = 0;
}

void CheckEndOfFight() {
    if (fighter1.ringOut == 1 || fighter2.ringOut == 1) {
        ResetIntro();
        sceneNumber = KnockOutSceneNumber;
        DrawBanner(backBuffer, RingOutBanner, 0.3f);
    } else if (fighter1.health <= 0 || fighter2.health <= 0) {
        ResetIntro();
        sceneNumber = KnockOutSceneNumber;
        PlayEffect(koSound);
        DrawBanner(backBuffer, KnockOutBanner, introScale);
    }
}

}  // namespace

void DrawBanner(Surface* dest, const BannerRegion& r, float scale) {
    DrawScaledCentred(dest, 160, 120, battleSurface, scale, scale, r.left, r.top, r.right, r.bottom);
}

void BattleScene() {
    LockFrameTarget();
    UpdateCamera(cameraMode);
    RunControls();
    UpdateFigures();
    ResolveHits();
    DrawFigures();
    UnlockFrameTarget();
    DrawFrameRate(backBuffer, 288, 64);
    for (const StripPiece& p : StatusStrip) {
        BlitClipped(workSurface, p.x, p.y, p.width, p.height, statesSurface, p.sourceX, p.sourceY,
                    BLTFAST_SRCCOLORKEY);
    }
    BlendSurface(backBuffer, 0, 0, 320, 32, workSurface, 0, 0, 160);
    RunIntro();
    CheckEndOfFight();
    DrawHealthBar(backBuffer, 10, 14, 90, 8, fighter1.health, fighter1.fullHealth);
    DrawHealthBar(backBuffer, 170, 14, 90, 8, fighter2.health, fighter2.fullHealth);
}

void DrawHealthBar(Surface* surface, int32_t x, int32_t y, int32_t width, int32_t height, int32_t value,
                   int32_t maximum) {
    int32_t v = value;
    if (v > maximum) v = maximum;
    if (v < 0) v = 0;
    // A maximum below the bar's width would make each pixel worth nothing.
    if (width <= 0 || maximum < width) return;
    const int32_t unit = maximum / width;
    const int32_t right = static_cast<int32_t>(static_cast<int64_t>(x) + v / unit);
    if (v / unit == 0) return;
    FillRectangle(surface, x, y, right, y + height, HealthBarColour);
}
