#include "support/start_values.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <type_traits>
#include <vector>

#include "app/battle.h"
#include "app/music.h"
#include "app/scenes.h"
#include "app/shell.h"
#include "combat/computer.h"
#include "combat/controls.h"
#include "combat/fighter.h"
#include "combat/hits.h"
#include "combat/movement.h"
#include "devices/input.h"
#include "devices/sound.h"
#include "display/display.h"
#include "display/surface.h"
#include "figure/math.h"
#include "figure/model.h"
#include "figure/motion_file.h"
#include "figure/passes.h"
#include "figure/transform.h"
#include "raster/draw.h"
#include "raster/shade.h"

namespace {

std::vector<std::function<void()>> restorers;
std::filesystem::path startFolder;

// The value's bytes now, put back by its restorer.
template <class T>
void Keep(T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::vector<unsigned char> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    restorers.push_back([&value, bytes] { std::memcpy(&value, bytes.data(), sizeof value); });
}

}  // namespace

void KeepStartValues() {
    startFolder = std::filesystem::current_path();
    // The shell and its scenes.
    Keep(mainWindow), Keep(appActive), Keep(clientRect), Keep(matchStarted), Keep(sceneNumber), Keep(cameraMode);
    Keep(titleFade), Keep(startKeySeen), Keep(koFade), Keep(winFade), Keep(demoMode);
    Keep(introState), Keep(introAlpha), Keep(introScale);
    Keep(MidiMusic), Keep(musicPlayRequested);
    // The fighters.
    Keep(fighters), Keep(comboCount), Keep(player1Latch), Keep(player2Latch), Keep(fighterFacing), Keep(knockBack);
    Keep(computers), Keep(player2Device);
    // The figures, the sine table and the motions.
    Keep(SinTable), Keep(sineTableLoaded), Keep(motionsLoaded);
    Keep(meshes), Keep(joints), Keep(stageMesh), Keep(stageJoint), Keep(randomState), Keep(jointDrawOrder);
    Keep(cameraPosition), Keep(cameraAngles);
    // The display, its surfaces and the frame-rate count.
    Keep(displayMode), Keep(directDraw), Keep(primarySurface), Keep(backBuffer), Keep(clipper), Keep(present);
    Keep(fontSurface), Keep(battleSurface), Keep(statesSurface), Keep(titleSurface), Keep(stageBackSurface);
    Keep(workSurface), Keep(polygonPalSurface);
    Keep(lockDesc), Keep(frameBits), Keep(framePitch);
    Keep(rateText), Keep(lastRateTime), Keep(rateTimeTaken), Keep(framesCounted);
    Keep(DrawMode), Keep(ShadeMode), Keep(LightVector);
    // Sound and input.
    Keep(directSound), Keep(primaryBuffer);
    Keep(hitSound), Keep(attackSound), Keep(sousatuSound), Keep(jumpSound), Keep(koSound);
    Keep(inputState), Keep(pollInput), Keep(keyboardDevice), Keep(joystickDevice), Keep(directInput);
}

void RestoreStartValues() {
    FreeFigures();
    for (const auto& restore : restorers) restore();
    std::filesystem::current_path(startFolder);
}
