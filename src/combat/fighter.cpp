// The two fighters' records.
#include "combat/fighter.h"

Fighter fighters[2] = {};

void RequestMotion(Fighter& fighter, uint16_t motion, uint16_t extraBits) {
    fighter.motion.frameCounter = 0;
    fighter.motion.nextMotion = motion;
    fighter.motion.motionFlags = static_cast<uint16_t>(fighter.motion.motionFlags | Blending | extraBits);
}
