// The background music: started by the first frame, looped by the
// keep-alive, silent without a file, untouched by F5, stopped before the
// display goes.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/music.h"
#include "app/shell.h"
#include "support/game_harness.h"

using namespace platform;
namespace hl = platform::headless;

TEST(Music, StartsOnTheFirstFrameAndLoopsWhenThePieceEnds) {
    ASSERT_TRUE(EnterDataFolder());
    std::vector<std::string> beforeFirstFrame;
    std::vector<std::string> afterEnd;
    RunGame(
        [&](int turn) {
            if (turn == 1) beforeFirstFrame = EventNames(hl::EventKind::MusicCommand);
            if (turn == 5) {
                hl::ClearEvents();
                hl::FinishMusic();
            }
            if (turn == 6) afterEnd = EventNames(hl::EventKind::MusicCommand);
        },
        8);
    EXPECT_TRUE(beforeFirstFrame.empty());
    EXPECT_EQ(afterEnd, (std::vector<std::string>{"play"}));
}

TEST(Music, AMissingPieceMeansNoMusicAndNoMessage) {
    ASSERT_TRUE(EnterDataFolder());
    hl::FailStep(hl::Step::OpenMusic);
    bool playing = true;
    RunGame([&](int turn) {
        if (turn == 4) playing = hl::MusicPlaying();
    }, 6);
    EXPECT_FALSE(playing);
    EXPECT_TRUE(MessageBoxes().empty());
}

TEST(Music, F5DoesNotInterruptItAndClosingStopsItBeforeTheDisplayGoes) {
    ASSERT_TRUE(EnterDataFolder());
    bool playingAfterSwitches = false;
    RunGame(
        [&](int turn) {
            if (turn == 3 || turn == 5) hl::HoldKey(VK_F5);
            if (turn == 7) playingAfterSwitches = hl::MusicPlaying();
        },
        8);
    EXPECT_TRUE(playingAfterSwitches);
    std::vector<std::string> order;
    for (const hl::Event& e : hl::Events()) {
        if (e.kind == hl::EventKind::MusicCommand && e.name == "stop") order.push_back("stop");
        if (e.kind == hl::EventKind::PresenterReleased) order.push_back("display");
    }
    ASSERT_GE(order.size(), 2u);
    // Two display releases for the two switches, then the stop, then the last release.
    EXPECT_EQ(std::vector<std::string>(order.end() - 2, order.end()), (std::vector<std::string>{"stop", "display"}));
}
