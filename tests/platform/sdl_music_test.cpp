// The SDL backend's MIDI music through the disk audio driver: the piece
// plays, and only its natural end posts the completion notice.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "platform/sdl/sdl_internal.h"
#include "sdl_audio_capture.h"

using namespace platform;

namespace {

intptr_t Proc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return message == WM_CLOSE ? DefWindowProc(window, message, wParam, lParam) : 0;
}

// A piece of one note, a quarter at 120 a minute, ending after half a
// second. Mislabelled, its track claims to end inside the end mark: its
// written length cannot be read, though the player reads on and plays it.
std::vector<uint8_t> ShortPiece(bool mislabelled = false) {
    std::vector<uint8_t> bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,  //
                                  'M', 'T', 'r', 'k', 0, 0, 0, 22,                     //
                                  0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20,                  // 500000 us a quarter
                                  0, 0xC0, 80,                                         // a square lead
                                  0, 0x90, 69, 110,                                    //
                                  48, 0x80, 69, 64,                                    //
                                  48, 0xFF, 0x2F, 0};
    if (mislabelled) bytes[21] = 19;
    return bytes;
}

class SdlMusic : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(RegisterWindowClass(Proc));
        window_ = CreateMainWindow();
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(capture_.Open());
        piece_ = Write("short.mid", ShortPiece());
    }

    std::string Write(const char* name, const std::vector<uint8_t>& bytes) {
        const std::string path = (capture_.Folder() / name).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    // Seconds from now to the first completion notice (which goes into
    // `notice`), or a negative number if none came within the time.
    double SecondsToNotice(double within, Message& notice) {
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            const double now = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (now > within) return -1.0;
            while (PeekMessage(notice))
                if (notice.message == MM_MCINOTIFY) return now;
            Sleep(5);
        }
    }

    // Takes messages for this long; the completion notices among them.
    std::vector<Message> Notices(int milliseconds) {
        std::vector<Message> notices;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < until) {
            Message m{};
            while (PeekMessage(m))
                if (m.message == MM_MCINOTIFY) notices.push_back(m);
            Sleep(10);
        }
        return notices;
    }

    AudioCapture capture_;
    Window* window_ = nullptr;
    std::string piece_;
};

}  // namespace

TEST_F(SdlMusic, ANaturalEndPostsTheNoticeEachTimeThePieceIsPlayed) {
    const uint32_t id = OpenMusic(piece_.c_str());
    ASSERT_NE(id, 0u);
    for (int play = 0; play < 2; ++play) {
        ASSERT_TRUE(PlayMusic(id, window_));
        // Told at the written end, not once the synthesiser has fallen
        // silent seconds later, so that the next play follows at once.
        Message notice{};
        const double took = SecondsToNotice(3.0, notice);
        EXPECT_GT(took, 0.45);
        EXPECT_LT(took, 1.2);
        EXPECT_EQ(notice.wParam, MCI_NOTIFY_SUCCESSFUL);
        EXPECT_EQ(notice.lParam, static_cast<intptr_t>(id));
        EXPECT_TRUE(Notices(2500).empty()) << "one notice for one play";
    }
    EXPECT_TRUE(CloseMusic(id));
    const std::vector<uint8_t> out = capture_.Finish();
    int loudest = 0;
    for (uint8_t v : out) loudest = std::max(loudest, Deviation(v));
    EXPECT_GT(loudest, 10) << "the note is heard";
}

TEST_F(SdlMusic, APieceOfUnreadableLengthIsToldAtThePlayersEnd) {
    const uint32_t id = OpenMusic(Write("mislabelled.mid", ShortPiece(true)).c_str());
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(PlayMusic(id, window_));
    Message notice{};
    EXPECT_GT(SecondsToNotice(8.0, notice), 0.45);
    EXPECT_EQ(notice.lParam, static_cast<intptr_t>(id));
    CloseMusic(id);
    capture_.Finish();
}

TEST_F(SdlMusic, AStoppedOrClosedPieceTellsNothing) {
    const uint32_t id = OpenMusic(piece_.c_str());
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(PlayMusic(id, window_));
    Sleep(100);
    EXPECT_TRUE(StopMusic(id));
    EXPECT_TRUE(Notices(1000).empty());

    // Played again after the stop, it starts over and is closed midway.
    ASSERT_TRUE(PlayMusic(id, window_));
    Sleep(100);
    EXPECT_TRUE(CloseMusic(id));
    EXPECT_TRUE(Notices(1000).empty());
    // The closed device takes no more commands.
    EXPECT_FALSE(PlayMusic(id, window_));
    EXPECT_FALSE(StopMusic(id));
    EXPECT_FALSE(CloseMusic(id));
    capture_.Finish();
}

TEST_F(SdlMusic, AMissingOrUnplayableFileGivesNoDevice) {
    EXPECT_EQ(OpenMusic((capture_.Folder() / "none.mid").c_str()), 0u);
    const std::string words = (capture_.Folder() / "words.mid").string();
    std::ofstream(words) << "no music here\n";
    EXPECT_EQ(OpenMusic(words.c_str()), 0u);
    EXPECT_FALSE(PlayMusic(0, window_));
    EXPECT_FALSE(StopMusic(0));
    EXPECT_FALSE(CloseMusic(0));
    capture_.Finish();
}

TEST_F(SdlMusic, TheGamesThemeIsHeard) {
    const std::string theme = std::string(TESSALINE_DATA_DIR) + "/sound.mid";
    const uint32_t id = OpenMusic(theme.c_str());
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(PlayMusic(id, window_));
    Sleep(2500);
    CloseMusic(id);
    const std::vector<uint8_t> out = capture_.Finish();
    // Two seconds of the intro: the band is playing all the time.
    ASSERT_GT(out.size(), 2u * 22050 * 2);
    size_t loudFrames = 0;
    double sumSquares = 0;
    for (size_t i = 0; i + 1 < out.size(); i += 2) {
        const int d = std::max(Deviation(out[i]), Deviation(out[i + 1]));
        sumSquares += static_cast<double>(d) * d;
        if (d > 3) ++loudFrames;
    }
    EXPECT_GT(loudFrames, out.size() / 2 / 4);
    EXPECT_GT(sumSquares / static_cast<double>(out.size() / 2), 16.0) << "an RMS of more than 4 steps";
}
