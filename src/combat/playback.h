// Motion playback: one frame of a fighter's pose toward its next key, or a
// blend into the first key of the requested motion.
#pragma once

#include <cstdint>

#include "combat/fighter.h"
#include "figure/model.h"

enum MotionNumber : uint16_t {
    Way = 0,
    Slay = 1,
    Walk = 2,
    Dance = 3,
    YokoGiri = 4,
    TakeUp = 5,
    DownSlay = 6,
    Jump = 7,
    UpGrad = 8,
    DownGrad = 9,
    UpEasyDamage = 10,
    LeftEasyDamage = 11,
    RightEasyDamage = 12,
    DownEasyDamage = 13,
    UpDamage = 14,
    LeftDamage = 15,
    RightDamage = 16,
    DownDamage = 17,
    UpBigDamage = 18,
    LeftBigDamage = 19,
    RightBigDamage = 20,
    DownBigDamage = 21,
};

constexpr int BlendFrames = 5;

void AdvanceMotion(Joint* jointTable, Fighter& fighter, int firstJoint, int lastJoint);
