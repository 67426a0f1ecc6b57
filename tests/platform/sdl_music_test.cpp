// The SDL backend's MIDI music through the disk audio driver: the piece
// plays, and only its natural end posts the completion notice.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_internal.h"
#include "sdl_audio_capture.h"

using namespace platform;

namespace {

// A piece of one note, a quarter at 120 a minute, ending after half a
// second. Mislabelled, its track claims to end inside the end mark: its
// written length cannot be read, though the player reads on and plays it.
std::vector<uint8_t> ShortPiece(bool mislabelled = false) {
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,                  //
            'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(mislabelled ? 19 : 22),  //
            0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20,                                 // 500000 us a quarter
            0, 0xC0, 80, 0, 0x90, 69, 110, 48, 0x80, 69, 64,                    // a square lead's note
            48, 0xFF, 0x2F, 0};
}

struct Notice {
    double seconds;  // after the call began
    Message message;
};

class SdlMusic : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(RegisterWindowClass([](Window* w, uint32_t message, uintptr_t wParam, intptr_t lParam) -> intptr_t {
            return message == WM_CLOSE ? DefWindowProc(w, message, wParam, lParam) : 0;
        }));
        window_ = CreateMainWindow();
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(capture_.Open());
    }
    void TearDown() override { unsetenv("TESSALINE_MUSIC_LOAD_AFTER_FRAMES"); }

    // The next pieces opened wait to load until a frame has been shown.
    static void HoldLoads() { setenv("TESSALINE_MUSIC_LOAD_AFTER_FRAMES", "1", 1); }

    // Plays the piece and waits until it sounds: it loads beside the
    // caller, so a play asked for early starts once the piece is loaded.
    static bool Play(uint32_t id, Window* notify) {
        if (!PlayMusic(id, notify)) return false;
        while (!Mix_PlayingMusic()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    }

    uint32_t Open(const std::vector<uint8_t>& bytes) {
        const std::string path = (capture_.Folder() / "piece.mid").string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return OpenMusic(path.c_str());
    }

    // The completion notices that come within this many seconds of the
    // mixer's output (its own clock, whatever the load on the machine);
    // with `first`, only until the first one.
    std::vector<Notice> Notices(double within, bool first = false) {
        std::vector<Notice> notices;
        const size_t start = capture_.Written();
        for (double now = 0; now < within && !(first && !notices.empty());
             std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
            now = static_cast<double>(capture_.Written() - start) / 44100.0;
            Message m{};
            while (PeekMessage(m))
                if (m.message == MM_MCINOTIFY) notices.push_back({now, m});
        }
        return notices;
    }

    AudioCapture capture_;
    Window* window_ = nullptr;
};

}  // namespace

TEST_F(SdlMusic, ANaturalEndPostsTheNoticeEachTimeThePieceIsPlayed) {
    const uint32_t id = Open(ShortPiece());
    ASSERT_NE(id, 0u);
    for (int play = 0; play < 2; ++play) {
        ASSERT_TRUE(Play(id, window_));
        // Told at the written end, not once the synthesiser has fallen
        // silent seconds later, so that the next play follows at once.
        const std::vector<Notice> notice = Notices(3.0, true);
        ASSERT_EQ(notice.size(), 1u);
        EXPECT_GT(notice[0].seconds, 0.45);
        EXPECT_LT(notice[0].seconds, 1.2);
        EXPECT_EQ(notice[0].message.wParam, MCI_NOTIFY_SUCCESSFUL);
        EXPECT_EQ(notice[0].message.lParam, static_cast<intptr_t>(id));
        EXPECT_TRUE(Notices(2.5).empty()) << "one notice for one play";
    }
    EXPECT_TRUE(CloseMusic(id));
    const std::vector<int> out = capture_.Finish();
    EXPECT_GT(*std::max_element(out.begin(), out.end()), 2) << "the note is heard";
}

TEST_F(SdlMusic, APieceOfUnreadableLengthIsToldAtThePlayersEndAndAMissingOneGivesNoDevice) {
    const uint32_t id = Open(ShortPiece(true));
    ASSERT_TRUE(id && Play(id, window_));
    const std::vector<Notice> notice = Notices(8.0, true);
    ASSERT_EQ(notice.size(), 1u);
    EXPECT_GT(notice[0].seconds, 0.45);
    EXPECT_EQ(notice[0].message.lParam, static_cast<intptr_t>(id));
    CloseMusic(id);
    EXPECT_EQ(OpenMusic((capture_.Folder() / "none.mid").c_str()), 0u);
    EXPECT_EQ(Open({'n', 'o', ' ', 'm', 'u', 's', 'i', 'c', '\n'}), 0u);
    EXPECT_FALSE(PlayMusic(0, window_) || StopMusic(0) || CloseMusic(0));
}

TEST_F(SdlMusic, AStoppedOrClosedPieceTellsNothing) {
    const uint32_t id = Open(ShortPiece());
    ASSERT_TRUE(id && Play(id, window_));
    capture_.WaitForBytes(capture_.Written() + 4410);  // a tenth of a second played
    EXPECT_TRUE(StopMusic(id));
    EXPECT_TRUE(Notices(1.0).empty());
    // Played again after the stop, it starts over and is closed midway.
    ASSERT_TRUE(Play(id, window_));
    capture_.WaitForBytes(capture_.Written() + 4410);
    EXPECT_TRUE(CloseMusic(id));
    EXPECT_TRUE(Notices(1.0).empty());
    EXPECT_FALSE(PlayMusic(id, window_) || StopMusic(id) || CloseMusic(id)) << "the closed device takes no commands";
}

// The piece's load held until a frame is shown: the device is there at
// once, a play asked for meanwhile waits silently, and the piece starts
// once loaded, told once at its written end.
TEST_F(SdlMusic, APlayAskedForWhileThePieceLoadsStartsOnceItIsLoaded) {
    HoldLoads();
    const uint32_t id = Open(ShortPiece());
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(PlayMusic(id, window_));
    EXPECT_TRUE(Notices(1.0).empty());
    EXPECT_FALSE(Mix_PlayingMusic()) << "nothing plays before the piece is loaded";
    sdl::FrameShown();
    while (!Mix_PlayingMusic()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const std::vector<Notice> notice = Notices(3.0, true);
    ASSERT_EQ(notice.size(), 1u);
    EXPECT_GT(notice[0].seconds, 0.45);
    EXPECT_EQ(notice[0].message.lParam, static_cast<intptr_t>(id));
    EXPECT_TRUE(Notices(2.5).empty()) << "one notice for one play";
    EXPECT_TRUE(CloseMusic(id));
    const std::vector<int> out = capture_.Finish();
    EXPECT_GT(*std::max_element(out.begin(), out.end()), 2) << "the note is heard";
}

// A stop, a close, another piece or the mixer's closing while a piece
// loads: its play never starts and nothing is told.
TEST_F(SdlMusic, AStopCloseOrNewPieceWhileLoadingCancelsThePlay) {
    HoldLoads();
    // Stopped, then let load: it stays silent (two seconds of output,
    // longer than a load takes).
    uint32_t id = Open(ShortPiece());
    ASSERT_TRUE(id && PlayMusic(id, window_));
    EXPECT_TRUE(StopMusic(id));
    sdl::FrameShown();
    EXPECT_TRUE(Notices(2.0).empty());
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_TRUE(CloseMusic(id));

    // Closed before its load could begin, and closed during a load.
    for (bool held : {true, false}) {
        if (!held) unsetenv("TESSALINE_MUSIC_LOAD_AFTER_FRAMES");
        id = Open(ShortPiece());
        ASSERT_TRUE(id && PlayMusic(id, window_));
        EXPECT_TRUE(CloseMusic(id));
        EXPECT_FALSE(PlayMusic(id, window_) || StopMusic(id) || CloseMusic(id)) << "the closed device takes no commands";
        EXPECT_TRUE(Notices(1.0).empty());
        EXPECT_FALSE(Mix_PlayingMusic());
    }

    // Another piece opened while the first loads: only the second plays.
    HoldLoads();
    const uint32_t first = Open(ShortPiece());
    ASSERT_TRUE(first && PlayMusic(first, window_));
    const uint32_t second = Open(ShortPiece());
    ASSERT_TRUE(second && second != first);
    EXPECT_FALSE(PlayMusic(first, window_));
    ASSERT_TRUE(PlayMusic(second, window_));
    sdl::FrameShown();
    const std::vector<Notice> notices = Notices(3.0);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].message.lParam, static_cast<intptr_t>(second));

    // The mixer closed while a piece waits to load and to play.
    id = Open(ShortPiece());
    ASSERT_TRUE(id && PlayMusic(id, window_));
    const std::vector<int> out = capture_.Finish();
    EXPECT_FALSE(PlayMusic(id, window_));
    Message m{};
    while (PeekMessage(m)) EXPECT_NE(m.message, MM_MCINOTIFY);
}
