// Player 2's input: the readers' priorities and threshold, a lost device,
// the set-up messages.
#include <gtest/gtest.h>

#include "app/shell.h"
#include "devices/input.h"
#include "platform/headless.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

void Deliver() {
    Message m;
    while (PeekMessage(m)) DispatchMessage(m);
}

void OpenWindow(bool joystick = false) {
    hl::AttachJoystick(joystick);
    ASSERT_TRUE(RegisterWindowClass([](Window* w, uint32_t message, uintptr_t wParam, intptr_t lParam) -> intptr_t {
        if (message == WM_ACTIVATE) appActive = wParam != 0;
        return message == WM_CLOSE ? DefWindowProc(w, message, wParam, lParam) : 0;
    }));
    mainWindow = CreateMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ShowMainWindow(mainWindow);
    appActive = 1;
}

void Hold(const std::vector<int>& keys) {
    hl::ReleaseAllKeys();
    for (int k : keys) hl::HoldKey(k);
    Deliver();
}

}  // namespace

TEST(Input, TheKeyboardGivesLeftOverRightAndUpOverDown) {
    OpenWindow();
    InitInput();
    ASSERT_EQ(pollInput, PollKeyboard);
    const std::pair<std::vector<int>, int> cases[] = {
        {{VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}, 2 | 8}, {{VK_RIGHT, VK_DOWN, VK_Z, VK_X}, 1 | 4 | 3 << 4}, {{VK_Z}, 2 << 4}};
    for (const auto& [keys, directionsAndButtons] : cases) {
        Hold(keys);
        pollInput();
        EXPECT_EQ(inputState.directions | inputState.buttons << 4, directionsAndButtons);
    }
}

TEST(Input, TheJoystickCountsBeyond800AndTheKeyboardIsThenIgnored) {
    OpenWindow(true);
    InitInput();
    ASSERT_EQ(pollInput, PollJoystick);
    Hold({VK_LEFT, VK_X});
    const int cases[][3] = {{-800, 800, 0}, {800, -800, 0}, {-801, 0, 2}, {801, 0, 1}, {0, -801, 8}, {0, 801, 4}, {-1000, 1000, 6}};
    for (const auto& [x, y, directions] : cases) {
        hl::SetJoystick(x, y, false, false);
        pollInput();
        EXPECT_EQ(inputState.directions | inputState.buttons << 4, directions) << x << "," << y;
    }
    hl::SetJoystick(0, 0, true, true);
    pollInput();
    EXPECT_EQ(inputState.buttons, 3);
}

TEST(Input, ALostDeviceReportsNothingOnceThenReadsAgain) {
    OpenWindow();
    InitInput();
    hl::SetActive(false);
    Deliver();
    hl::SetActive(true);
    Hold({VK_X});
    pollInput();  // meets the loss, acquires again, reports nothing
    EXPECT_EQ(inputState.buttons, 0);
    pollInput();
    EXPECT_EQ(inputState.buttons, 1);
}

TEST(Input, EachFailedSetUpStepShowsItsMessageAndReadsNothing) {
    const struct {
        hl::Step step;
        bool joystick;
        const char *caption, *text;
    } cases[] = {
        {hl::Step::CreateInputObject, true, "DInput!", "DirectInputオブジェクトの生成にが失敗しました"},
        {hl::Step::CreateKeyboardDevice, false, "DInput!", "キーボードデバイスの作成に失敗しました"},
        {hl::Step::SetKeyboardDataFormat, false, "DInput!", "データフォーマットの作成に失敗しました"},
        {hl::Step::SetKeyboardCooperativeLevel, false, "DInput!", "モードの設定に失敗しました"},
        {hl::Step::SetJoystickDataFormat, true, "DInput", "データフォーマットの設定に失敗しました"},
        {hl::Step::SetJoystickCooperativeLevel, true, "DInput", "協調モードの設定に失敗しました"},
    };
    OpenWindow();
    for (const auto& c : cases) {
        hl::ClearEvents();
        hl::FailStep(c.step);
        hl::AttachJoystick(c.joystick);
        InitInput();
        std::vector<std::string> boxes;
        for (const hl::Event& e : hl::Events())
            if (e.kind == hl::EventKind::MessageBox) boxes.push_back(e.caption + "|" + e.text);
        EXPECT_EQ(boxes, (std::vector<std::string>{std::string(c.caption) + "|" + c.text}));
        // Without an input object no joystick is looked for; a joystick
        // whose own set-up failed is still the one read.
        const bool usesJoystick = c.joystick && c.step != hl::Step::CreateInputObject;
        EXPECT_EQ(pollInput, usesJoystick ? PollJoystick : PollKeyboard) << c.text;
        Hold({VK_LEFT, VK_X});
        hl::SetJoystick(-1000, 0, true, true);
        pollInput();
        EXPECT_EQ(inputState.buttons | inputState.directions, 0) << c.text;
        ReleaseInput();
        hl::FailStep(c.step, false);
    }
}

// The keypad set shares no key with player 1: the arrows, X and Z move
// nothing, even with a gamepad attached, which it is chosen over.
TEST(Input, TheKeypadIsPlayer2sOwnKeysWithTheKeyboardsPriorities) {
    player2Device = Player2Device::Keys;
    OpenWindow(true);
    InitInput();
    ASSERT_EQ(pollInput, PollSecondKeys);
    const std::pair<std::vector<int>, int> cases[] = {
        {{VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_X, VK_Z, VK_C, VK_RETURN}, 0},
        {{VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD8, VK_NUMPAD5}, 2 | 8},
        {{VK_NUMPAD6, VK_NUMPAD5, VK_NUMPAD0, VK_ADD}, 1 | 4 | 3 << 4},
        {{VK_ADD}, 2 << 4},
    };
    hl::SetJoystick(-1000, 0, true, true);
    for (const auto& [keys, directionsAndButtons] : cases) {
        Hold(keys);
        pollInput();
        EXPECT_EQ(inputState.directions | inputState.buttons << 4, directionsAndButtons);
    }
}
