// The battle camera's five placements.
#pragma once

#include <cstdint>

#include "combat/fighter.h"

void UpdateCamera(uint8_t mode);
void CameraOverview();
void CameraCircle(uint8_t mode);
void CameraFromFighter(int viewerBase, int otherBase);
