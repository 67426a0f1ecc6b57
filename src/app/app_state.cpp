// The shell's globals, apart from the routines so that every subsystem can
// name the main window without pulling in the whole shell.
#include "app/shell.h"

platform::Window* mainWindow = nullptr;
int32_t appActive = 0;
platform::Rect clientRect = {0, 0, 320, 240};
uint8_t matchStarted = 0;
uint8_t sceneNumber = 0;
uint8_t cameraMode = 0;
