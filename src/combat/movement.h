// Vertical motion, facing, the stage bounds and two small geometric steps.
#pragma once

#include <cstdint>

#include "combat/fighter.h"
#include "figure/model.h"

constexpr double TakeOffSpeed = 7.8;
constexpr double StandingHeight = 256.0;

// The heading the facing step gave each fighter's root this frame; the hit
// pass moves the roots along it (playback rewrites the root's angle later
// in the frame).
extern uint16_t fighterFacing[2];

void JumpStep(Fighter& fighter, int partBase);
void GravityStep(int partBase, Fighter& fighter);
void StageCheck(int partBase, Fighter& fighter);
// How far a root stands inside the stage's nearest edge, on the floor;
// below zero once outside (a ring-out).
double EdgeDistance(const Vec3& root);
// The middle of the stage's floor.
Vec3 StageCentre();
// Turns both roots toward each other and records the headings.
void FaceFighters();
void MoveAlong(Joint& joint, uint16_t angle, double distance);
double PartDistance(const Joint& a, const Joint& b);
