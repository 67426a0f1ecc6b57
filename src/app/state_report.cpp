#include "app/state_report.h"

#include <cmath>
#include <cstdio>

#include "app/battle.h"
#include "app/scenes.h"
#include "app/shell.h"
#include "combat/fighter.h"
#include "combat/movement.h"
#include "devices/input.h"
#include "display/display.h"
#include "display/surface.h"
#include "figure/model.h"
#include "figure/transform.h"
#include "raster/draw.h"
#include "raster/shade.h"

namespace {

// Doubles are written with 17 significant digits, so they read back
// exactly; what JSON cannot hold (NaN, infinities) is null.
std::string Number(double v) {
    if (!std::isfinite(v)) return "null";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

std::string Number(long long v) { return std::to_string(v); }

std::string Text(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Triple(const Vec3& v) { return "[" + Number(v.x) + "," + Number(v.y) + "," + Number(v.z) + "]"; }

std::string FighterJson(const Fighter& f, int index) {
    const Joint& root = joints[index == 0 ? Fighter1Base : Fighter2Base];
    return "{\"health\":" + Number(static_cast<long long>(f.health)) +
           ",\"fullHealth\":" + Number(static_cast<long long>(f.fullHealth)) + ",\"root\":" + Triple(root.offset) +
           ",\"facing\":" + Number(static_cast<long long>(fighterFacing[index])) +
           ",\"actionFlags\":" + Number(static_cast<long long>(f.actionFlags)) +
           ",\"currentMotion\":" + Number(static_cast<long long>(f.motion.currentMotion)) +
           ",\"currentKey\":" + Number(static_cast<long long>(f.motion.currentKey)) +
           ",\"nextMotion\":" + Number(static_cast<long long>(f.motion.nextMotion)) +
           ",\"frameCounter\":" + Number(static_cast<long long>(f.motion.frameCounter)) +
           ",\"motionFlags\":" + Number(static_cast<long long>(f.motion.motionFlags)) +
           ",\"ringOut\":" + Number(static_cast<long long>(f.ringOut)) + ",\"verticalSpeed\":" +
           Number(f.verticalSpeed) + ",\"fallSpeed\":" + Number(f.fallSpeed) + "}";
}

std::string List(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
    return out + "]";
}

}  // namespace

std::string FrameStateJson(int frame, const platform::FrameNotes& notes) {
    std::vector<std::string> sounds, music, messages;
    for (const std::string& s : notes.sounds) sounds.push_back(Text(s));
    for (const std::string& m : notes.music) music.push_back(Text(m));
    for (const auto& [caption, text] : notes.messages)
        messages.push_back("{\"caption\":" + Text(caption) + ",\"text\":" + Text(text) + "}");
    const std::string camera = "{\"cameraMode\":" + Number(static_cast<long long>(cameraMode)) +
                               ",\"position\":" + Triple(cameraPosition) + ",\"angles\":[" +
                               Number(static_cast<long long>(cameraAngles[0])) + "," +
                               Number(static_cast<long long>(cameraAngles[1])) + "," +
                               Number(static_cast<long long>(cameraAngles[2])) + "]}";
    return "{\"frame\":" + Number(static_cast<long long>(frame)) +
           ",\"scene\":" + Number(static_cast<long long>(sceneNumber)) + ",\"fighters\":[" +
           FighterJson(fighter1, 0) + "," + FighterJson(fighter2, 1) + "],\"sounds\":" + List(sounds) +
           ",\"camera\":" + camera + ",\"selectors\":{\"DrawMode\":" + Number(static_cast<long long>(DrawMode)) +
           ",\"ShadeMode\":" + Number(static_cast<long long>(ShadeMode)) +
           "},\"title\":{\"titleFade\":" + Number(static_cast<long long>(titleFade)) +
           ",\"startKeySeen\":" + Number(static_cast<long long>(startKeySeen)) +
           "},\"koFade\":" + Number(static_cast<long long>(koFade)) +
           ",\"winFade\":" + Number(static_cast<long long>(winFade)) +
           ",\"intro\":{\"introState\":" + Number(static_cast<long long>(introState)) +
           ",\"introAlpha\":" + Number(static_cast<long long>(introAlpha)) +
           ",\"introScale\":" + Number(static_cast<double>(introScale)) +
           "},\"inputState\":{\"directions\":" + Number(static_cast<long long>(inputState.directions)) +
           ",\"buttons\":" + Number(static_cast<long long>(inputState.buttons)) + "},\"music\":" + List(music) +
           ",\"messages\":" + List(messages) + ",\"appActive\":" + Number(static_cast<long long>(appActive)) +
           ",\"displayMode\":" + Number(static_cast<long long>(displayMode)) + ",\"frameRate\":" + Text(rateText) +
           "}";
}
