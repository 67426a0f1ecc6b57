// The pose viewer. It builds the figures as a new match does, puts
// fighter 1's joints into the asked-for pose (its build offsets, its root
// standing on the floor) and draws the frame with the game's transform,
// sort and draw routines into a buffer of its own.
#include "replay/pose.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "combat/fighter.h"
#include "combat/playback.h"
#include "display/surface.h"
#include "figure/math.h"
#include "figure/model.h"
#include "figure/motion_file.h"
#include "figure/passes.h"
#include "figure/transform.h"
#include "platform/platform.h"
#include "raster/shade.h"

namespace fs = std::filesystem;

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr double StandingHeight = 256.0;
constexpr uint16_t FacingEye = 0;      // local -z toward the eye
constexpr uint16_t FacingRight = 384;  // toward +x, as fighter 1 faces fighter 2
constexpr uint16_t FacingLeft = 128;   // toward -x, as fighter 2 faces fighter 1
constexpr int PlayFrames = 64;
constexpr int SheetColumns = 4;
constexpr double BladeRange = 400.0;  // fighter 2's distance in a played motion
constexpr double DuelRange = 340.0;   // the roots' distance in the icon's scene
constexpr double DuelEyeHeight = 400.0;
constexpr double DuelEyeShift = -30.0;
constexpr uint16_t DuelEyeTilt = 5;
constexpr double DuelEyeDistance = 1750.0;

// The motion's name is the folder of its file pattern ("Motion\Slay\...").
std::string MotionName(int motion) {
    const std::string pattern = motionFiles[motion].pattern;
    const size_t first = pattern.find('\\');
    const size_t second = pattern.find('\\', first + 1);
    return pattern.substr(first + 1, second - first - 1);
}

int FindMotion(const std::string& name) {
    for (int m = 0; m < MotionCount; ++m) {
        if (MotionName(m) == name) return m;
    }
    return -1;
}

std::string KeyPath(int motion, int key) {
    char path[96];
    std::snprintf(path, sizeof path, motionFiles[motion].pattern, key);
    return path;
}

void SetPose(int firstJoint, const MotionKey& key) {
    for (int j = 0; j < PartsPerFigure; ++j) {
        for (int a = 0; a < 3; ++a) joints[firstJoint + j].angles[a] = key.rawEntries[j].angles[a];
    }
}

// The eye in front of fighter 1's root, level with its chest, far enough
// back for a raised blade to stay in the picture.
void PlaceCamera() {
    const Vec3& root = joints[0].offset;
    cameraPosition = {root.x, 350.0, root.z - 1600.0};
    cameraAngles[0] = cameraAngles[1] = cameraAngles[2] = 0;
}

// Transforms and draws the scene into pixels; with showSecond false
// fighter 2 is left out (its joints and shadows count as not in front).
void DrawScene(std::vector<uint32_t>& pixels, bool showSecond) {
    TransformJoint(stageMesh, stageJoint, 0.0);
    for (int k = 0; k < JointCount; ++k) TransformJoint(meshes[k], joints[k], stageJoint.offset.y);
    if (!showSecond) {
        for (int k = Fighter2Base; k < JointCount; ++k) {
            joints[k].flags &= ~InFront;
            joints[k].shadowFlags &= ~InFront;
        }
    }
    pixels.assign(Width * Height, 0x808080);
    frameBits = pixels.data();
    framePitch = Width;
    DrawFigures();
    frameBits = nullptr;
}

bool WriteFrame(const std::vector<uint32_t>& pixels, const fs::path& path) {
    if (platform::WritePng(path.string().c_str(), pixels.data(), Width, Height, Width)) return true;
    std::fprintf(stderr, "tessaline-replay: cannot write %s\n", path.string().c_str());
    return false;
}

int RenderKey(int motion, int key, const fs::path& outDir) {
    static MotionKey loaded;
    if (!LoadMotionKey(KeyPath(motion, key).c_str(), loaded, static_cast<uint16_t>(motionFiles[motion].keys))) {
        return 2;
    }
    SetPose(Fighter1Base, loaded);
    std::vector<uint32_t> pixels;
    const std::string stem = MotionName(motion) + "-" + std::to_string(key);
    bool ok = true;
    for (const auto& [facing, view] : {std::pair{FacingEye, "front"}, std::pair{FacingRight, "side"}}) {
        joints[0].angles[2] = facing;
        DrawScene(pixels, false);
        ok = WriteFrame(pixels, outDir / (stem + "-" + view + ".png")) && ok;
    }
    return ok ? 0 : 2;
}

// Plays the motion the way a fight does: fighter 1 in its guard is asked
// for the motion, each frame transformed and drawn before the playback
// moves on. When a blow or a reaction hands the fighter back, it is asked
// for the guard, as the controls do with no key held; the other motions
// go on through their own End or Loop.
int RenderPlay(int motion, const fs::path& outDir) {
    LoadAllMotions();
    SetPose(Fighter1Base, fighter1.motions[Way][0]);
    SetPose(Fighter2Base, fighter2.motions[Way][0]);
    SetJointOffset(joints[Fighter2Base], joints[0].offset.x + BladeRange, StandingHeight, joints[0].offset.z);
    fighter1.motion = {};
    const bool chosen = motion == Way || motion == Walk || motion == Jump || motion == TakeUp || motion == Dance;
    RequestMotion(fighter1, static_cast<uint16_t>(motion), chosen ? Requested : Locked);
    const int rows = (PlayFrames / 2 + SheetColumns - 1) / SheetColumns;
    std::vector<uint32_t> sheet(static_cast<size_t>(Width * SheetColumns) * Height * rows, 0);
    std::vector<uint32_t> pixels;
    for (int frame = 1; frame <= PlayFrames; ++frame) {
        joints[0].angles[2] = TruncToAngle(AngleFromDelta(joints[0].offset, joints[Fighter2Base].offset));
        joints[Fighter2Base].angles[2] = TruncToAngle(AngleFromDelta(joints[Fighter2Base].offset, joints[0].offset));
        DrawScene(pixels, true);
        const MotionState& s = fighter1.motion;
        std::printf("frame %2d: motion %2u key %u counter %2u flags %u\n", frame, s.currentMotion, s.currentKey,
                    s.frameCounter, s.motionFlags);
        if (frame % 2 == 0) {
            const int tile = frame / 2 - 1;
            const int x0 = (tile % SheetColumns) * Width, y0 = (tile / SheetColumns) * Height;
            for (int y = 0; y < Height; ++y) {
                std::copy_n(&pixels[y * Width], Width, &sheet[(static_cast<size_t>(y0 + y) * SheetColumns * Width) + x0]);
            }
        }
        const uint16_t heldBefore = s.motionFlags & (Locked | Requested);
        AdvanceMotion(joints, fighter1, Fighter1Base, Fighter2Base);
        if (heldBefore == Locked && (s.motionFlags & Locked) == 0) RequestMotion(fighter1, Way, Requested);
    }
    const fs::path path = outDir / (MotionName(motion) + "-play.png");
    if (platform::WritePng(path.string().c_str(), sheet.data(), Width * SheetColumns, Height * rows, Width * SheetColumns)) {
        return 0;
    }
    std::fprintf(stderr, "tessaline-replay: cannot write %s\n", path.string().c_str());
    return 2;
}

// The game reads its files from the current directory: the data folder
// while a scene is made, then the caller's again (`before`). Then what the
// first frame and a new match set up, fighter 1 standing on the floor and
// the eye in front of it.
bool EnterScene(const char* dataDir, fs::path& before) {
    std::error_code ec;
    before = fs::current_path(ec);
    fs::current_path(dataDir, ec);
    if (ec) {
        std::fprintf(stderr, "tessaline-replay: no data folder %s\n", dataDir);
        return false;
    }
    EnsureSineTable();
    LightVector = {0.0, 3000.0, 0.0};
    BuildFigures();
    for (int k = 0; k < JointCount; ++k) joints[k].flags |= ShadowOn;
    SetJointOffset(joints[0], joints[0].offset.x, StandingHeight, joints[0].offset.z);
    PlaceCamera();
    return true;
}

}  // namespace

int RenderPose(const char* dataDir, const char* motionAndKey, const char* outDir) {
    const std::string request = motionAndKey;
    const size_t colon = request.find(':');
    const int motion = FindMotion(request.substr(0, colon));
    if (motion < 0) {
        std::fprintf(stderr, "tessaline-replay: --pose: no motion '%s'\n", request.substr(0, colon).c_str());
        return 2;
    }
    int key = -1;
    if (colon != std::string::npos) {
        const std::string keyText = request.substr(colon + 1);
        char* end = nullptr;
        const long k = std::strtol(keyText.c_str(), &end, 10);
        if (keyText.empty() || *end != '\0' || k < 0 || k >= motionFiles[motion].keys) {
            std::fprintf(stderr, "tessaline-replay: --pose: %s has keys 0 to %d\n", MotionName(motion).c_str(),
                         motionFiles[motion].keys - 1);
            return 2;
        }
        key = static_cast<int>(k);
    }
    std::error_code ec;
    const fs::path out = fs::absolute(outDir);
    fs::create_directories(out, ec);
    fs::path before;
    if (!EnterScene(dataDir, before)) return 2;
    const int status = key >= 0 ? RenderKey(motion, key, out) : RenderPlay(motion, out);
    fs::current_path(before, ec);
    return status;
}

bool DrawDuel(const char* dataDir, std::vector<uint32_t>& pixels) {
    fs::path before;
    if (!EnterScene(dataDir, before)) return false;
    const bool loaded = LoadAllMotions();
    if (loaded) {
        SetPose(Fighter1Base, fighter1.motions[Slay][0]);
        SetPose(Fighter2Base, fighter2.motions[Way][0]);
        SetJointOffset(joints[Fighter1Base], -DuelRange / 2, StandingHeight, 0.0);
        SetJointOffset(joints[Fighter2Base], DuelRange / 2, StandingHeight, 0.0);
        joints[Fighter1Base].angles[2] = FacingRight;
        joints[Fighter2Base].angles[2] = FacingLeft;
        // The eye a little above the chests and close: the pair fills the
        // middle square of the picture, raised blade and feet included.
        cameraPosition = {DuelEyeShift, DuelEyeHeight, -DuelEyeDistance};
        cameraAngles[0] = cameraAngles[2] = 0;
        cameraAngles[1] = DuelEyeTilt;
        DrawScene(pixels, true);
    }
    std::error_code ec;
    fs::current_path(before, ec);
    return loaded;
}
