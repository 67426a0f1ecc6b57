// Start-up, the message loop, the window procedure and the frame driver.
// One thread: frames run only between messages, so nothing is locked.
#include "app/shell.h"

#include "app/battle.h"
#include "app/music.h"
#include "app/scenes.h"
#include "devices/input.h"
#include "devices/sound.h"
#include "display/display.h"
#include "figure/math.h"
#include "figure/model.h"
#include "raster/draw.h"
#include "raster/shade.h"

using namespace platform;

const Scene SceneTable[5] = {TitleScene, IdleScene, BattleScene, KnockOutScene, WinnerScene};

int WinMain() {
    if (!RegisterWindowClass(WndProc)) return 0;
    mainWindow = CreateMainWindow();
    if (!mainWindow) return 0;
    ShowMainWindow(mainWindow);

    InitInput();
    InitDisplay();
    InitSound(22050, 8, 2);
    hitSound = LoadSound("Hit.wav", 0, 0, 0);
    attackSound = LoadSound("Attack.wav", 0, 0, 0);
    sousatuSound = LoadSound("Sousatu.wav", 0, 0, 0);
    jumpSound = LoadSound("Jump.wav", 0, 0, 0);
    koSound = LoadSound("KO.wav", 0, 0, 0);

    Message message{};
    for (;;) {
        if (PeekMessage(message)) {
            if (message.message == WM_QUIT) break;
            DispatchMessage(message);
        } else if (appActive == 1) {
            RunFrame();
        } else {
            WaitMessage();
        }
    }

    ReleaseSound();
    return static_cast<int>(message.wParam);
}

void RunFrame() {
    EnsureSineTable();
    FillSurface(backBuffer, 0x808080);
    if (matchStarted == 0) {
        MidiMusicOpen("sound.mid");
        StartNewMatch();
        matchStarted = 1;
        for (Joint& joint : joints) joint.flags |= ShadowOn;
        sceneNumber = TitleSceneNumber;
    }
    MidiMusicUpdate(1);
    if (sceneNumber < 5) SceneTable[sceneNumber]();
    if (present) present();
}

intptr_t WndProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        MidiMusicClose();
        ReleaseDisplay(window);
        ReleaseInput();
        FreeFigures();
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
    case WM_SIZE:
        clientRect = GetClientRect(window);
        ClientToScreen(window, clientRect.left, clientRect.top);
        ClientToScreen(window, clientRect.right, clientRect.bottom);
        return 0;
    case WM_ACTIVATE:
        appActive = wParam != 0 ? 1 : 0;
        return 0;
    case WM_ACTIVATEAPP:
        appActive = static_cast<int32_t>(wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
        return 0;
    case MM_MCINOTIFY:
        MidiMusicNotify(wParam, static_cast<uint32_t>(lParam));
        return 0;
    default:
        return DefWindowProc(window, message, wParam, lParam);
    }
}

void OnKeyDown(Window* window, uintptr_t virtualKey) {
    switch (virtualKey) {
    case VK_ESCAPE:
        PostMessage(window, WM_CLOSE, 0, 0);
        break;
    case VK_F1:
        DrawMode = static_cast<uint16_t>((DrawMode + 1) % 4);
        break;
    case VK_F2:
        ShadeMode = static_cast<uint16_t>((ShadeMode + 1) % 3);
        break;
    case VK_F3:
        for (Joint& joint : joints) joint.flags ^= OutlineOn;
        break;
    case VK_F4:
        for (Joint& joint : joints) joint.flags ^= ShadowOn;
        break;
    case VK_F5:
        ToggleDisplayMode(window);
        break;
    case VK_F6:
        cameraMode = static_cast<uint8_t>((cameraMode + 1) % 5);
        break;
    default:
        break;
    }
}
