#include "replay/scripted_player.h"

#include <cmath>

#include "app/shell.h"
#include "combat/fighter.h"
#include "figure/model.h"

namespace {

// Near enough that there is no more walking in to do.
constexpr double Close = 200.0;
// The long blades reach about this far.
constexpr double Reach = 380.0;
constexpr int SwingEvery = 12;

struct Heading {
    double distance;
    std::vector<std::string> keys;  // toward player 2
};

Heading In() {
    const Vec3& me = joints[Fighter1Base].offset;
    const Vec3& them = joints[Fighter2Base].offset;
    const double dx = them.x - me.x, dz = them.z - me.z;
    Heading h{std::sqrt(dx * dx + dz * dz), {}};
    if (std::fabs(dx) > 24.0) h.keys.push_back(dx > 0 ? "RIGHT" : "LEFT");
    if (std::fabs(dz) > 24.0) h.keys.push_back(dz > 0 ? "UP" : "DOWN");
    return h;
}

}  // namespace

bool ParseScriptedPlayer(const std::string& text, ScriptedPlayer& out) {
    const struct {
        const char* name;
        ScriptedPlayer player;
    } names[] = {{"script:idle", ScriptedPlayer::Idle},
                 {"script:walk-swing", ScriptedPlayer::WalkSwing},
                 {"script:jump-swing", ScriptedPlayer::JumpSwing}};
    for (const auto& n : names) {
        if (text == n.name) {
            out = n.player;
            return true;
        }
    }
    return false;
}

std::vector<std::string> ScriptedKeys(ScriptedPlayer player, int frame) {
    if (player == ScriptedPlayer::None) return {};
    if (sceneNumber == TitleSceneNumber) return {"ENTER"};
    if (sceneNumber != BattleSceneNumber || player == ScriptedPlayer::Idle) return {};
    Heading in = In();
    std::vector<std::string> keys = in.distance > Close ? in.keys : std::vector<std::string>{};
    if (player == ScriptedPlayer::WalkSwing) {
        if (frame % SwingEvery == 0) keys.push_back("X");
        return keys;
    }
    // Jump in and swing: take off while out of reach, swing once in it.
    const bool airborne = (fighter1.actionFlags & Airborne) != 0;
    if (!airborne && in.distance > Reach) keys.push_back("Z");
    if (in.distance <= Reach && frame % SwingEvery == 0) keys.push_back("X");
    if (in.distance <= Reach && !airborne && frame % (4 * SwingEvery) == 0) keys.push_back("Z");
    return keys;
}
