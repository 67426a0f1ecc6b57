#include "replay/random_input.h"

#include <random>
#include <vector>

namespace {

// One player's choices: what to hold, how often, and for how long.
struct Action {
    const char* key;  // nullptr: hold nothing
    int weight;
    int shortest, longest;  // frames held
    int rest = 1;           // frames let go after it, at least
};

// Player 1's keys and player 2's gamepad names for the same actions;
// `toward` is where the other fighter starts.
struct Player {
    const char *toward, *away, *up, *down, *attack, *jump;
};

constexpr Player Keys{"RIGHT", "LEFT", "UP", "DOWN", "X", "Z"};
constexpr Player Pad{"JLEFT", "JRIGHT", "JUP", "JDOWN", "J0", "J1"};

// The fight goes through spells of roaming, where walks are long and a
// fighter who keeps going leaves the stage, and spells where one fighter
// presses, closing in and swinging, while the other mostly stands, so blows
// land (rather than meet blade on blade) until one is knocked out. Blows
// are taps; roaming, a second may come inside the first for the combo and
// its great knock-back, while the presser lets each blow end, so its
// victim stays in reach.
struct Spell {
    int last;  // frame
    int presser;  // 0 or 1, -1 while both roam
};

// The generator's raw numbers, not a library distribution: those may
// differ between standard libraries, and a seed must mean one fight.
int Below(std::mt19937& random, int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); }

void AddPlayer(InputScript& script, std::mt19937& random, const std::vector<Spell>& spells, int player,
               const Player& p, int frames) {
    const std::vector<Action> roam = {
        {p.toward, 5, 20, 120}, {p.away, 4, 20, 120}, {p.up, 2, 10, 60}, {p.down, 2, 10, 60},
        {p.attack, 6, 1, 4},    {p.jump, 2, 1, 6},    {nullptr, 3, 5, 40},
    };
    const std::vector<Action> press = {
        {p.toward, 2, 5, 15}, {p.up, 1, 3, 8}, {p.down, 1, 3, 8}, {p.attack, 10, 1, 2, 24}, {nullptr, 1, 5, 20},
    };
    const std::vector<Action> wait = {
        {p.toward, 1, 5, 15}, {p.attack, 1, 1, 4}, {nullptr, 8, 10, 60},
    };
    auto spell = spells.begin();
    for (int frame = 1; frame <= frames;) {
        while (spell->last < frame) ++spell;
        const std::vector<Action>& actions = spell->presser < 0 ? roam : spell->presser == player ? press : wait;
        int total = 0;
        for (const Action& a : actions) total += a.weight;
        int pick = Below(random, total);
        auto a = actions.begin();
        while (pick >= a->weight) pick -= (a++)->weight;
        const int held = a->shortest + Below(random, a->longest - a->shortest + 1);
        if (a->key) script.spans.push_back({frame, frame + held - 1, {a->key}});
        frame += held + a->rest + Below(random, 8);  // let go, so the next press is a new one
    }
}

}  // namespace

InputScript RandomInputScript(uint32_t seed, int frames) {
    std::mt19937 random(seed);
    std::vector<Spell> spells;
    for (int frame = 0; frame < frames + 1000;) {
        frame += 400 + Below(random, 1200);
        spells.push_back({frame, spells.size() % 2 == 0 ? -1 : Below(random, 2)});
    }
    InputScript script;
    AddPlayer(script, random, spells, 0, Keys, frames);
    AddPlayer(script, random, spells, 1, Pad, frames);
    // Enter now and then: the title waits for it (or player 1's blow).
    for (int frame = 1; frame <= frames; frame += 200) script.spans.push_back({frame, frame + 2, {"ENTER"}});
    script.usesGamepad = true;
    return script;
}
