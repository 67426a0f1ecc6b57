// The computer at the controls: its delay counted in frames though player
// 2's device is polled twice a frame, its way to the opponent and away from
// the edge, and player 1 played by it through player 1's own rules.
#include "combat/computer.h"

#include "combat/combat_fixture.h"
#include "combat/controls.h"
#include "devices/input.h"

namespace hl = platform::headless;

// Every poll's answer, two a frame.
static std::vector<InputState> polls;
static void RecordComputer() { PollComputer(), polls.push_back(inputState); }

class Computers : public ControlFrames {
protected:
    void SetUp() override { polls.clear(), pollInput = RecordComputer, ControlFrames::SetUp(); }
    // The first frame (1-based) whose polls held anything.
    int FirstActingFrame() const {
        for (size_t i = 0; i < polls.size(); ++i) {
            if (polls[i].directions || polls[i].buttons) return static_cast<int>(i / 2 + 1);
        }
        return 0;
    }
};

TEST_F(Computers, EachLevelActsItsReactionLateInFramesAndHoldsOneAnswerAFrame) {
    const int reactions[ComputerLevels] = {14, 7, 2};
    for (int level = 1; level <= ComputerLevels; ++level) {
        TearDown(), SetUp();
        joints[Fighter1Base].offset.x = -1200.0;  // out of every level's reach: it walks in
        SetComputer(1, level, 7);
        Frame(20);
        ASSERT_EQ(polls.size(), 40u);
        EXPECT_EQ(FirstActingFrame(), reactions[level - 1] + 1) << "level " << level;
        for (size_t i = 0; i < polls.size(); i += 2) {
            EXPECT_EQ(polls[i].directions, polls[i + 1].directions) << "frame " << i / 2 + 1;
            EXPECT_EQ(polls[i].buttons, polls[i + 1].buttons) << "frame " << i / 2 + 1;
        }
        EXPECT_EQ(polls.back().directions, 2) << "toward player 1, on its left";
        EXPECT_LT(joints[Fighter2Base].offset.x, 124.0);
    }
}

TEST_F(Computers, InReachItStrikesButShovesAFoeAtTheEdgeAndStepsInFromItsOwn) {
    const auto firstAct = [&](double x1, double x2) {
        TearDown(), SetUp();
        joints[Fighter1Base].offset.x = x1, joints[Fighter2Base].offset.x = x2;
        SetComputer(1, 3, 7);
        Frame(3);
        return polls.back();
    };
    const InputState middle = firstAct(-500.0, -200.0);
    EXPECT_EQ(middle.buttons, 1);
    const InputState shove = firstAct(-2060.0, -1740.0);  // player 1 a step from the left edge
    EXPECT_EQ(shove.buttons, 0);
    EXPECT_EQ(shove.directions, 2);
    const InputState edge = firstAct(1000.0, 1420.0);  // its own back to the right edge
    EXPECT_EQ(edge.buttons, 0);
    EXPECT_TRUE(edge.directions & 2) << "back toward the middle";
}

TEST_F(Computers, PlayingPlayer1ItWalksInAndTheKeyboardIsNotHeard) {
    SetComputer(0, 3, 7);
    joints[Fighter2Base].offset.x = 900.0;
    hl::HoldKey(platform::VK_LEFT);
    const double start = joints[Fighter1Base].offset.x;
    Frame(10);
    hl::ReleaseKey(platform::VK_LEFT);
    EXPECT_GT(joints[Fighter1Base].offset.x, start + 8.0 * 5);
}
