#include "figure_scene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "combat/camera.h"
#include "combat/fighter.h"
#include "combat/hits.h"
#include "combat/movement.h"
#include "display/surface.h"
#include "figure/model.h"
#include "figure/motion_file.h"
#include "figure/passes.h"
#include "figure/transform.h"
#include "raster/draw.h"
#include "raster/fill.h"
#include "raster/shade.h"

namespace {

constexpr int GuardRows = 4, GuardColumns = 8;
constexpr int Pitch = ScreenWidth + 2 * GuardColumns;
constexpr uint32_t Sentinel = 0xDEADBEEF;

// The picture inside its guard: the guard stays the sentinel for as long
// as the harness runs, since a draw that touches it ends the run.
std::vector<uint32_t> store(static_cast<size_t>(ScreenHeight + 2 * GuardRows) * Pitch, Sentinel);

bool GuardIntact() {
    const auto intact = [](size_t from, size_t count) {
        for (size_t i = from; i < from + count; ++i)
            if (store[i] != Sentinel) return false;
        return true;
    };
    const size_t bottom = static_cast<size_t>(GuardRows + ScreenHeight) * Pitch;
    if (!intact(0, GuardRows * Pitch) || !intact(bottom, GuardRows * Pitch)) return false;
    // The right guard of one row and the left guard of the next lie side by side.
    for (int y = 0; y <= ScreenHeight; ++y) {
        if (!intact(static_cast<size_t>(GuardRows + y) * Pitch - GuardColumns, 2 * GuardColumns)) return false;
    }
    return true;
}

}  // namespace

void RebuildFigures() {
    // Every array a joint holds is written afresh each frame from its
    // angles, offset and parent, and of the meshes only the face colours
    // change (the hit test paints them): building once and putting the
    // joints' records and the colours back is a new build.
    static bool built = false;
    static Joint builtJoints[JointCount];
    static std::vector<Face> builtFaces[JointCount];
    static Joint builtStage;
    static Vec3 builtEye;
    if (!built) {
        BuildFigures();
        std::copy(std::begin(joints), std::end(joints), builtJoints);
        for (int k = 0; k < JointCount; ++k) builtFaces[k].assign(meshes[k].faces, meshes[k].faces + meshes[k].faceCount);
        builtStage = stageJoint;
        builtEye = cameraPosition;
        built = true;
    }
    for (int k = 0; k < JointCount; ++k) std::copy(builtFaces[k].begin(), builtFaces[k].end(), meshes[k].faces);
    for (Fighter& fighter : fighters) {
        FreeMotionTable(fighter);
        fighter = Fighter{0, TakeOffSpeed, 0.0, 0.0, 1000, 1000, {}, {}, 0};
    }
    knockBack[0] = knockBack[1] = 0.0;
    fighterFacing[0] = fighterFacing[1] = 0;
    std::copy(std::begin(builtJoints), std::end(builtJoints), joints);
    stageJoint = builtStage;
    cameraPosition = builtEye;
    cameraAngles[0] = cameraAngles[1] = cameraAngles[2] = 0;
    LightVector = {0.0, 1000.0, 0.0};
    ShadeMode = 1;
    DrawMode = 0;
}

void PlayFrames(int frames) {
    for (int f = 0; f < frames; ++f) {
        DrawMode = static_cast<uint16_t>(f % 4);
        ShadeMode = static_cast<uint16_t>(f % 3);
        for (Joint& joint : joints) joint.flags = f % 2 == 0 ? joint.flags | ShadowOn | OutlineOn
                                                             : joint.flags & ~(ShadowOn | OutlineOn);
        frameBits = store.data() + GuardRows * Pitch + GuardColumns;
        framePitch = Pitch;
        UpdateCamera(static_cast<uint8_t>(f % 5));
        UpdateFigures();
        ResolveHits();
        DrawFigures();
        frameBits = nullptr;
        if (!GuardIntact()) {
            std::fprintf(stderr, "frame %d: a draw wrote outside the picture\n", f);
            std::abort();
        }
    }
}
