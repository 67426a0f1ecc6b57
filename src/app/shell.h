// The program's shell: start-up, the message loop, the window procedure,
// the frame driver and the scene table.
#pragma once

#include <cstdint>

#include "platform/platform.h"

extern platform::Window* mainWindow;
extern int32_t appActive;
extern platform::Rect clientRect;
extern uint8_t matchStarted;
extern uint8_t sceneNumber;
extern uint8_t cameraMode;

using Scene = void (*)();
extern const Scene SceneTable[5];

constexpr uint8_t TitleSceneNumber = 0;
constexpr uint8_t IdleSceneNumber = 1;
constexpr uint8_t BattleSceneNumber = 2;
constexpr uint8_t KnockOutSceneNumber = 3;
constexpr uint8_t WinnerSceneNumber = 4;

int WinMain();
intptr_t WndProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void OnKeyDown(platform::Window* window, uintptr_t virtualKey);
void RunFrame();
