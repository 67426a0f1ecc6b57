// Weapon hits, cancels, body contact and knock-back.
#pragma once

#include "combat/fighter.h"
#include "figure/model.h"

// Each fighter's own knock-back distance; a finisher's clean hit sets it.
extern double knockBack[2];
constexpr double FinisherKnockBack = 26.0;

void ResolveHits();
void ResolveHit(Fighter& defender, Fighter& attacker, int defenderBase);
bool PartsTouch(Joint& a, Joint& b);
