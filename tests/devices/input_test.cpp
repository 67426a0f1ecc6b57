// Player 2's input: the readers' priorities and threshold, the joystick
// taking over from the keyboard, a lost device, the set-up messages.
#include <gtest/gtest.h>

#include "app/shell.h"
#include "devices/input.h"
#include "platform/headless.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

intptr_t QuietProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_ACTIVATE) appActive = wParam != 0;
    return message == WM_CLOSE ? DefWindowProc(window, message, wParam, lParam) : 0;
}

void OpenWindow() {
    ASSERT_TRUE(RegisterWindowClass(QuietProc));
    mainWindow = CreateMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ShowMainWindow(mainWindow);
    appActive = 1;
}

void Deliver() {
    Message m;
    while (PeekMessage(m)) DispatchMessage(m);
}

std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const hl::Event& e : hl::Events()) {
        if (e.kind == hl::EventKind::MessageBox) out.push_back(e.caption + "|" + e.text);
    }
    return out;
}

void Hold(std::initializer_list<int> keys) {
    hl::ReleaseAllKeys();
    for (int k : keys) hl::HoldKey(k);
    Deliver();
}

}  // namespace

TEST(Input, TheKeyboardGivesLeftOverRightAndUpOverDown) {
    OpenWindow();
    InitInput();
    EXPECT_EQ(pollInput, PollKeyboard);
    Hold({VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN});
    pollInput();
    EXPECT_EQ(inputState.directions, 2 | 8);
    Hold({VK_RIGHT, VK_DOWN, VK_Z, VK_X});
    pollInput();
    EXPECT_EQ(inputState.directions, 1 | 4);
    EXPECT_EQ(inputState.buttons, 3);
    Hold({VK_Z});
    pollInput();
    EXPECT_EQ(inputState.directions, 0);
    EXPECT_EQ(inputState.buttons, 2);
}

TEST(Input, TheJoystickCountsBeyond800AndTheKeyboardIsThenIgnored) {
    hl::AttachJoystick();
    OpenWindow();
    InitInput();
    ASSERT_EQ(pollInput, PollJoystick);
    Hold({VK_LEFT, VK_X});
    const struct {
        int x, y;
        uint8_t directions;
    } cases[] = {{-800, 800, 0}, {800, -800, 0}, {-801, 0, 2}, {801, 0, 1}, {0, -801, 8}, {0, 801, 4}, {-1000, 1000, 6}};
    for (const auto& c : cases) {
        hl::SetJoystick(c.x, c.y, false, false);
        pollInput();
        EXPECT_EQ(inputState.directions, c.directions) << c.x << "," << c.y;
        EXPECT_EQ(inputState.buttons, 0);
    }
    hl::SetJoystick(0, 0, true, true);
    pollInput();
    EXPECT_EQ(inputState.buttons, 3);
}

TEST(Input, ALostDeviceReportsNothingOnceThenReadsAgain) {
    OpenWindow();
    InitInput();
    Hold({VK_X});
    pollInput();
    EXPECT_EQ(inputState.buttons, 1);
    hl::SetActive(false);
    Deliver();
    hl::SetActive(true);
    Deliver();
    Hold({VK_X});
    pollInput();  // meets the loss, acquires again, reports nothing
    EXPECT_EQ(inputState.buttons, 0);
    pollInput();
    EXPECT_EQ(inputState.buttons, 1);
}

TEST(Input, WithoutAnInputObjectThereIsOneMessageAndNothingIsRead) {
    hl::FailStep(hl::Step::CreateInputObject);
    OpenWindow();
    InitInput();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"DInput!|DirectInputオブジェクトの生成にが失敗しました"}));
    EXPECT_EQ(pollInput, PollKeyboard);
    Hold({VK_LEFT, VK_X});
    pollInput();
    EXPECT_EQ(inputState.directions, 0);
    EXPECT_EQ(inputState.buttons, 0);
}

TEST(Input, EachSetUpStepHasItsOwnMessageAndCaption) {
    const struct {
        hl::Step step;
        bool joystick;
        const char* box;
    } cases[] = {
        {hl::Step::CreateKeyboardDevice, false, "DInput!|キーボードデバイスの作成に失敗しました"},
        {hl::Step::SetKeyboardDataFormat, false, "DInput!|データフォーマットの作成に失敗しました"},
        {hl::Step::SetKeyboardCooperativeLevel, false, "DInput!|モードの設定に失敗しました"},
        {hl::Step::SetJoystickDataFormat, true, "DInput|データフォーマットの設定に失敗しました"},
        {hl::Step::SetJoystickCooperativeLevel, true, "DInput|協調モードの設定に失敗しました"},
    };
    OpenWindow();
    for (const auto& c : cases) {
        hl::ClearEvents();
        hl::FailStep(c.step);
        hl::AttachJoystick(c.joystick);
        InitInput();
        EXPECT_EQ(Boxes(), (std::vector<std::string>{c.box}));
        // The joystick is used even when its set-up failed; it reads nothing.
        EXPECT_EQ(pollInput, c.joystick ? PollJoystick : PollKeyboard);
        pollInput();
        EXPECT_EQ(inputState.buttons | inputState.directions, 0);
        ReleaseInput();
        hl::FailStep(c.step, false);
    }
}
