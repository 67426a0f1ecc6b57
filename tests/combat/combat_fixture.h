// Shared set-up of the fighter tests: start places, motions built in
// memory, recorded effects.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "combat/controls.h"
#include "combat/movement.h"
#include "combat/playback.h"
#include "devices/sound.h"
#include "figure/motion_file.h"
#include "support/game_harness.h"
#include "support/sine_table.h"

// A fighter at full health ready to jump, and both roots at their start
// places, 448 apart on one x line.
inline Fighter FreshFighter() { return Fighter{0, TakeOffSpeed, 0.0, 0.0, 1000, 1000, {}, {}, 0}; }
inline void PlaceRoots() { joints[0].offset = {-324.0, 256.0, -100.0}, joints[15].offset = {124.0, 256.0, -100.0}; }

// One key: flags, duration, and the first angle and x position of every part.
struct KeySpec { uint32_t flags = 0; uint16_t duration = 0; uint16_t angle = 0; double x = 0.0; };

// A motion built straight into a fighter's table, as the loader leaves it.
inline void SetMotion(Fighter& fighter, uint16_t motion, const std::vector<KeySpec>& keys) {
    delete[] fighter.motions[motion];
    MotionKey* table = new MotionKey[keys.size()]();
    for (size_t k = 0; k < keys.size(); ++k) {
        MotionKey& key = table[k];
        key.keyFlags = keys[k].flags, key.duration = keys[k].duration, key.keyCount = uint16_t(keys.size());
        for (RawEntry& e : key.rawEntries) e = {{keys[k].angle, 0, 0}, 0, keys[k].x, 0.0, 0.0};
        for (Vec3& p : key.storedPositions) p = {keys[k].x, 0.0, 0.0};
        RestoreKey(key);
    }
    fighter.motions[motion] = table;
}

// Every motion with its real key count; the moves go round at their last
// key, the others end endFromLast keys before the end.
inline void SetKeyCountMotions(Fighter& f, uint16_t duration, size_t endFromLast) {
    for (uint16_t m = 0; m < MotionCount; ++m) {
        const bool loops = m == Way || m == Walk || m == Jump || m == Dance;
        std::vector<KeySpec> keys(motionFiles[m].keys, KeySpec{0, duration});
        keys[keys.size() - (loops ? 1 : endFromLast)].flags = loops ? Loop : End;
        SetMotion(f, m, keys);
    }
}

// No keys held, nothing recorded yet, and the five effects as buffers the
// headless backend records by name.
struct Effects {
    Effects() {
        platform::headless::ReleaseAllKeys(), platform::headless::ClearEvents();
        directSound = platform::CreateSoundDevice();
        platform::SoundBuffer** buffers[5] = {&hitSound, &attackSound, &sousatuSound, &jumpSound, &koSound};
        const char* names[5] = {"Hit.wav", "Attack.wav", "Sousatu.wav", "Jump.wav", "KO.wav"};
        const platform::WaveFormat format = {1, 2, 22050, 44100, 2, 8, 0};
        for (int i = 0; i < 5; ++i) *buffers[i] = platform::CreateSoundBuffer(names[i], format, nullptr, 0);
    }
    ~Effects() { ReleaseSound(); }
};

inline std::vector<std::string> EffectsPlayed() { return EventNames(platform::headless::EventKind::EffectPlayed); }
inline int TimesPlayed(const std::string& name) { return static_cast<int>(std::ranges::count(EffectsPlayed(), name)); }

// Both fighters fresh at their start places on motions of six-frame keys,
// the controls and the playback run a frame at a time (no jump physics: an
// airborne fighter stays up).
struct ControlFrames : ::testing::Test {
    void SetUp() override {
        comboCount[0] = comboCount[1] = player1Latch = player2Latch = 0;
        for (Fighter& f : fighters) f = FreshFighter(), SetKeyCountMotions(f, 6, 1);
        PlaceRoots();
    }
    void TearDown() override { std::ranges::for_each(fighters, FreeMotionTable); }
    void Frame(int count = 1) {
        while (count--) RunControls(), AdvanceMotion(joints, fighter1, 0, 15), AdvanceMotion(joints, fighter2, 15, 30);
    }
    Effects effects;
};
