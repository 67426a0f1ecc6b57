// The scene flow around the battle: the one-time match set-up, the title,
// the knock-out and winner scenes, and the reset that starts the next match.
#include "app/scenes.h"

#include "app/battle.h"
#include "app/shell.h"
#include "combat/fighter.h"
#include "combat/hits.h"
#include "combat/movement.h"
#include "combat/playback.h"
#include "display/display.h"
#include "display/surface.h"
#include "figure/model.h"
#include "figure/motion_file.h"
#include "figure/passes.h"
#include "raster/shade.h"

int16_t titleFade = 224;
uint8_t startKeySeen = 0;
int16_t koFade = 0;
int16_t winFade = 0;
uint8_t demoMode = 0;

namespace {

void SetMatchValues() {
    for (Fighter& f : fighters) {
        f.jumpSpeed = TakeOffSpeed;
        f.verticalSpeed = 0.0;
        f.fallSpeed = 0.0;
    }
}

void SetFullHealth() {
    for (Fighter& f : fighters) {
        f.health = 1000;
        f.fullHealth = 1000;
    }
}

// The title's start keys; in the demo the start key counts as pressed, so
// the match cycle runs on unattended.
bool StartKeyHeld() {
    return platform::IsKeyDown(platform::VK_X) || platform::IsKeyDown(platform::VK_RETURN) || demoMode != 0;
}

}  // namespace

void FigureStep() {
    LockFrameTarget();
    UpdateFigures();
    ResolveHits();
    DrawFigures();
    UnlockFrameTarget();
}

void StartNewMatch() {
    LightVector.x = 0.0;
    LoadAllMotions();
    LoadAllMotions();
    SetFullHealth();
    LightVector.y = 3000.0;
    LightVector.z = 0.0;
    SetMatchValues();
    BuildFigures();
}

void TitleScene() {
    FigureStep();
    DrawFrameRate(backBuffer, 288, 64);
    BlendSurface(backBuffer, 0, 0, 320, 240, titleSurface, 0, 0, static_cast<uint8_t>(titleFade & 0xFF));
    if (StartKeyHeld()) startKeySeen = 1;
    if (startKeySeen != 0) titleFade = static_cast<int16_t>(titleFade - 6);
    if (titleFade <= 0) {
        titleFade = 224;
        startKeySeen = 0;
        sceneNumber = BattleSceneNumber;
    }
}

void IdleScene() {}

void KnockOutScene() {
    FigureStep();
    if (fighter1.ringOut == 1 || fighter2.ringOut == 1) {
        DrawBanner(backBuffer, RingOutBanner, 1.0f);
    } else if (fighter1.health <= 0 || fighter2.health <= 0) {
        DrawBanner(backBuffer, KnockOutBanner, 1.0f);
    }
    koFade = static_cast<int16_t>(koFade + 6);
    if (koFade > 255) {
        koFade = 0;
        sceneNumber = WinnerSceneNumber;
    }
    BlendAndCopyBack(workSurface, backBuffer, static_cast<uint8_t>(koFade & 0xFF));
}

void WinnerScene() {
    LockFrameTarget();
    // A double knock-out makes fighter 2 the winner.
    if (fighter1.health > 0) {
        fighter1.motion.nextMotion = TakeUp;
    } else {
        fighter2.motion.nextMotion = TakeUp;
    }
    UpdateFigures();
    ResolveHits();
    DrawFigures();
    UnlockFrameTarget();
    DrawBanner(backBuffer, WinnerBanner, 1.0f);
    winFade = static_cast<int16_t>(winFade + 6);
    BlendAndCopyBack(workSurface, backBuffer, static_cast<uint8_t>(winFade & 0xFF));
    if (winFade > 255) ResetMatch();
}

void ResetMatch() {
    winFade = 0;
    sceneNumber = TitleSceneNumber;
    SetFullHealth();
    LightVector.y = 3000.0;
    LightVector.z = 0.0;
    SetMatchValues();
    SetJointOffset(joints[Fighter2Base], 124.0, 0.0, -100.0);
    SetJointOffset(joints[Fighter1Base], -324.0, 0.0, -100.0);
    for (Fighter& f : fighters) {
        f.actionFlags = 0;
        f.ringOut = 0;
    }
    FillSurface(workSurface, 0);
    for (Fighter& f : fighters) f.motion.nextMotion = Way;
}
