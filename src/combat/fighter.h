// The two fighters' records and the motion request form.
#pragma once

#include <cstdint>

#include "figure/motion_file.h"

// actionFlags bits.
constexpr uint32_t Moving = 0x4;
constexpr uint32_t Airborne = 0x10;
constexpr uint32_t AttackActive = 0x20;
constexpr uint32_t Finisher = 0x800;

// motionFlags bits.
constexpr uint16_t Locked = 0x1;
constexpr uint16_t Requested = 0x2;
constexpr uint16_t Blending = 0x4;

struct MotionState {
    uint16_t currentMotion;
    uint16_t currentKey;
    uint16_t nextMotion;
    uint16_t frameCounter;
    uint16_t motionFlags;
};

struct Fighter {
    uint32_t actionFlags;
    double jumpSpeed;
    double verticalSpeed;
    double fallSpeed;
    int32_t health;
    int32_t fullHealth;
    MotionState motion;
    MotionKey* motions[MotionCount];
    uint8_t ringOut;
};

extern Fighter fighters[2];
inline Fighter& fighter1 = fighters[0];
inline Fighter& fighter2 = fighters[1];

constexpr int Fighter1Base = 0;
constexpr int Fighter2Base = 15;

// The request form used everywhere: counter restarted, the motion as the
// blend target, Blending set with the extra bits (Requested or Locked).
void RequestMotion(Fighter& fighter, uint16_t motion, uint16_t extraBits);
