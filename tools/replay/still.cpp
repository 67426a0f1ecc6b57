// The still frames: the figures built and drawn once per setting, each
// into a fresh back buffer.
#include "still.h"

#include <filesystem>
#include <functional>

#include "combat/fighter.h"
#include "combat/movement.h"
#include "figure/model.h"
#include "figure/passes.h"
#include "figure/transform.h"
#include "display/surface.h"
#include "raster/draw.h"
#include "raster/shade.h"

namespace fs = std::filesystem;

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr uint32_t Background = 0x808080;

using StillSink = std::function<bool(const std::string& name, const uint32_t* pixels)>;

// The sine table is read from the data folder as the game reads it, from
// the current directory, which is put back afterwards.
bool LoadTableFrom(const char* dataDir) {
    std::error_code ec;
    const fs::path before = fs::current_path(ec);
    if (ec) return false;
    fs::current_path(dataDir, ec);
    if (ec) return false;
    const bool loaded = LoadSineTable();
    fs::current_path(before, ec);
    return loaded;
}

bool DrawStill(std::vector<uint32_t>& frame, const std::string& name, const StillSink& sink) {
    frame.assign(static_cast<size_t>(Width) * Height, Background);
    frameBits = frame.data();
    framePitch = Width;
    UpdateFigures();
    DrawFigures();
    frameBits = nullptr;
    framePitch = 0;
    return sink(name, frame.data());
}

void SetAllJointFlags(uint32_t bit, bool on) {
    for (Joint& joint : joints) joint.flags = on ? (joint.flags | bit) : (joint.flags & ~bit);
}

// The match set-up's light and the first frame's shadows, the build eye
// and the build pose, both roots held at standing height above the floor
// as the game holds them from the second frame on (as built they stand in
// it, feet below the floor). Then every setting in turn; the selectors are
// put back to the game's start values at the end.
bool RenderEach(const char* dataDir, const StillSink& sink) {
    if (!LoadTableFrom(dataDir)) return false;
    LightVector = {0.0, 3000.0, 0.0};
    BuildFigures();
    for (int base : {Fighter1Base, Fighter2Base}) joints[base].offset.y = stageJoint.offset.y + StandingHeight;
    SetAllJointFlags(ShadowOn, true);
    std::vector<uint32_t> frame;
    bool ok = true;
    for (uint16_t draw = 0; draw < 4; ++draw) {
        for (uint16_t shade = 0; shade < 3; ++shade) {
            DrawMode = draw;
            ShadeMode = shade;
            const std::string name = "still-draw" + std::to_string(draw) + "-shade" + std::to_string(shade);
            ok = DrawStill(frame, name, sink) && ok;
        }
    }
    // The game's start modes for the rest.
    DrawMode = 0;
    ShadeMode = 1;
    SetAllJointFlags(OutlineOn, true);
    ok = DrawStill(frame, "still-outline", sink) && ok;
    SetAllJointFlags(OutlineOn, false);
    SetAllJointFlags(ShadowOn, false);
    ok = DrawStill(frame, "still-no-shadow", sink) && ok;
    SetAllJointFlags(ShadowOn, true);
    // Looking along +x from the left of the stage, fighter 1 nearer: the
    // faces are still ordered along world z.
    cameraAngles[2] = 128;
    cameraPosition = {-2400.0, 400.0, -350.0};
    ok = DrawStill(frame, "still-quarter-turn", sink) && ok;
    cameraAngles[2] = 0;
    FreeFigures();
    return ok;
}

}  // namespace

uint64_t HashPixels(const uint32_t* pixels, int width, int height, int pitch) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<ptrdiff_t>(y) * pitch;
        for (int x = 0; x < width; ++x) {
            for (int b = 0; b < 4; ++b) {
                h ^= (row[x] >> (8 * b)) & 0xFF;
                h *= 0x100000001b3ull;
            }
        }
    }
    return h;
}

int RenderStills(const char* dataDir, const char* outDir) {
    std::error_code ec;
    const fs::path out = fs::absolute(outDir, ec);
    if (ec) return 1;
    fs::create_directories(out, ec);
    if (ec) return 1;
    const bool ok = RenderEach(dataDir, [&](const std::string& name, const uint32_t* pixels) {
        const std::string path = (out / (name + ".png")).string();
        return platform::WritePng(path.c_str(), pixels, Width, Height, Width);
    });
    return ok ? 0 : 1;
}

std::vector<StillHash> HashStills(const char* dataDir) {
    std::vector<StillHash> hashes;
    const bool ok = RenderEach(dataDir, [&](const std::string& name, const uint32_t* pixels) {
        hashes.push_back({name, HashPixels(pixels, Width, Height, Width)});
        return true;
    });
    if (!ok) hashes.clear();
    return hashes;
}
