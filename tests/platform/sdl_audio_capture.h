// The SDL backend's sound heard through SDL's disk audio driver: the mixer
// writes what it plays into a file, 22050 Hz, 8-bit unsigned, stereo, at
// the pace of a real device.
#pragma once

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

class AudioCapture {
public:
    AudioCapture() {
        folder_ = std::filesystem::temp_directory_path() / ("tessaline-audio-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        file_ = (folder_ / "out.raw").string();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    }
    ~AudioCapture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    const std::filesystem::path& Folder() const { return folder_; }

    // The game's set-up: the device, the primary buffer, the mixer opened
    // at 22050 Hz, 8 bits, 2 channels.
    bool Open() {
        if (!platform::CreateSoundDevice() || !platform::CreatePrimarySoundBuffer()) return false;
        platform::WaveFormat format{1, 2, 22050, 44100, 2, 8, 0};
        platform::SetPrimarySoundFormat(format);
        return true;
    }

    // Closes the mixer and returns what it played: one byte per channel.
    std::vector<uint8_t> Finish() {
        platform::ReleasePrimarySoundBuffer();
        platform::ReleaseSoundDevice();
        std::ifstream in(file_, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path folder_;
    std::string file_;
};

inline void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// How far each output byte is from silence (128).
inline int Deviation(uint8_t v) { return v > 128 ? v - 128 : 128 - v; }
