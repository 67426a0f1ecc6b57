// Shared set-up of the fighter tests: a sine table, parts reduced to
// spheres for the hit tests, motions built in memory, recorded effects.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "combat/fighter.h"
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

// Sphere parts: each joint a mesh of two vertices around a centre, so its
// contact sphere is exactly there.
class SphereParts {
public:
    SphereParts() : storage_(JointCount) {
        for (int k = 0; k < JointCount; ++k) {
            Part& p = storage_[k];
            p.verts.assign(2, Vec3{});
            p.faces.assign(2, Face{0, 1, 0, 0});
            meshes[k] = {p.verts.data(), p.faces.data(), 2, 2};
            joints[k].mesh = &meshes[k];
            joints[k].worldVerts = p.verts.data();
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
    void Place(int joint, Vec3 centre, double radius) {
        Vec3* v = storage_[joint].verts.data();
        v[0] = {centre.x - 1.0, centre.y, centre.z};
        v[1] = {centre.x + 1.0, centre.y, centre.z};
        joints[joint].radius = radius;
    }
    Vec3 Centre(int joint) const {
        const Vec3& v = storage_[joint].verts[0];
        return {v.x + 1.0, v.y, v.z};
    }
    uint32_t Colour(int joint) const { return storage_[joint].faces[1].colour; }

private:
    struct Part {
        std::vector<Vec3> verts;
        std::vector<Face> faces;
    };
    std::vector<Part> storage_;
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
