// The scene flow: the one-time match set-up, the title, knock-out and
// winner scenes, and the match reset.
#pragma once

#include <cstdint>

extern int16_t titleFade;
extern uint8_t startKeySeen;
extern int16_t koFade;
extern int16_t winFade;
// The demo: the title starts each fight by itself.
extern uint8_t demoMode;

void StartNewMatch();
void TitleScene();
void IdleScene();
void KnockOutScene();
void WinnerScene();
void ResetMatch();
// Lock, UpdateFigures, ResolveHits, DrawFigures, unlock.
void FigureStep();
