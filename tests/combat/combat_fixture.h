// Shared set-up of the fighter tests: a sine table, motions built in
// memory, parts reduced to spheres, recorded effects.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "combat/fighter.h"
#include "combat/playback.h"
#include "devices/sound.h"
#include "figure/math.h"
#include "figure/model.h"
#include "figure/motion_file.h"
#include "platform/headless.h"

inline void FillSineTable() {
    for (int i = 0; i < 512; ++i) SinTable[i] = std::sin(2.0 * 3.14159265358979323846 * i / 512.0);
}

// One joint pose of a key: three angles and a position.
struct PartPose {
    uint16_t a0 = 0, a1 = 0, a2 = 0;
    double x = 0.0, y = 0.0, z = 0.0;
};

// One key: flags, duration, and the pose given to every part (or to the
// listed parts, the rest staying zero).
struct KeySpec {
    uint32_t flags = 0;
    uint16_t duration = 0;
    PartPose pose;
};

// Builds a motion of the given keys straight into a fighter's table, as the
// loader would leave it.
inline void SetMotion(Fighter& fighter, uint16_t motion, const std::vector<KeySpec>& keys) {
    delete[] fighter.motions[motion];
    MotionKey* table = new MotionKey[keys.size()]();
    for (size_t k = 0; k < keys.size(); ++k) {
        MotionKey& key = table[k];
        key.keyFlags = keys[k].flags;
        key.duration = keys[k].duration;
        key.keyCount = static_cast<uint16_t>(keys.size());
        const PartPose& p = keys[k].pose;
        for (RawEntry& e : key.rawEntries) e = {{p.a0, p.a1, p.a2}, 0, p.x, p.y, p.z};
        for (int j = 0; j < PartsPerFigure; ++j) key.storedPositions[j] = {p.x, p.y, p.z};
        RestoreKey(key);
    }
    fighter.motions[motion] = table;
}

// Every motion with its real key count and the given duration a key; the
// moves (Way, Walk, Jump, Dance) go round at their last key, the others
// end at the key endFromLast before the end.
inline void SetKeyCountMotions(Fighter& f, uint16_t duration, size_t endFromLast) {
    for (uint16_t m = 0; m < MotionCount; ++m) {
        const bool loops = m == Way || m == Walk || m == Jump || m == Dance;
        std::vector<KeySpec> keys(motionFiles[m].keys, KeySpec{0, duration, {}});
        keys[keys.size() - (loops ? 1 : endFromLast)].flags = loops ? Loop : End;
        SetMotion(f, m, keys);
    }
}

// Sphere parts: each joint a mesh of two vertices 1 either side of its
// centre along x, so its contact sphere is exactly there.
class SphereParts {
public:
    SphereParts() {
        for (int k = 0; k < JointCount; ++k) {
            meshes[k] = {verts_[k], faces_[k], 2, 2};
            joints[k].mesh = &meshes[k];
            joints[k].worldVerts = verts_[k];
            Place(k, {10000.0 * (k + 1), 0.0, 0.0}, 1.0);  // far apart from each other
        }
    }
    ~SphereParts() {
        for (int k = 0; k < JointCount; ++k) {
            meshes[k] = {};
            joints[k].mesh = nullptr;
            joints[k].worldVerts = nullptr;
        }
    }
    void Place(int joint, Vec3 c, double radius) {
        verts_[joint][0] = {c.x - 1.0, c.y, c.z};
        verts_[joint][1] = {c.x + 1.0, c.y, c.z};
        joints[joint].radius = radius;
    }
    Vec3 Centre(int joint) const { return {verts_[joint][0].x + 1.0, verts_[joint][0].y, verts_[joint][0].z}; }
    uint32_t Colour(int joint) const { return faces_[joint][1].colour; }

private:
    Vec3 verts_[JointCount][2] = {};
    Face faces_[JointCount][2] = {};
};

// The five effects as buffers the headless backend records by name, for
// as long as the test holds this.
class Effects {
public:
    Effects() {
        platform::CreateSoundDevice();
        const platform::WaveFormat format = {1, 2, 22050, 44100, 2, 8, 0};
        for (int i = 0; i < 5; ++i) *buffers_[i] = platform::CreateSoundBuffer(names_[i], format, nullptr, 0);
    }
    ~Effects() {
        for (platform::SoundBuffer** b : buffers_) {
            platform::ReleaseSoundBuffer(*b);
            *b = nullptr;
        }
        platform::ReleaseSoundDevice();
    }

private:
    platform::SoundBuffer** buffers_[5] = {&hitSound, &attackSound, &sousatuSound, &jumpSound, &koSound};
    const char* names_[5] = {"Hit.wav", "Attack.wav", "Sousatu.wav", "Jump.wav", "KO.wav"};
};

inline std::vector<std::string> EffectsPlayed() {
    std::vector<std::string> out;
    for (const auto& e : platform::headless::Events()) {
        if (e.kind == platform::headless::EventKind::EffectPlayed) out.push_back(e.name);
    }
    return out;
}

inline int TimesPlayed(const std::string& name) {
    int n = 0;
    for (const std::string& e : EffectsPlayed()) n += e == name;
    return n;
}
