// The SDL backend's sound heard through SDL's disk audio driver: the mixer
// writes what it plays into a file (22050 Hz, 8-bit unsigned, stereo) at
// the pace of a real device.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <chrono>
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
        std::filesystem::create_directories(folder_);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (folder_ / "out.raw").c_str(), 1);
    }
    ~AudioCapture() {
        Close();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::filesystem::path& Folder() const { return folder_; }

    // The game's set-up: the device and the mixer at 22050 Hz, 8 bits, stereo.
    bool Open() {
        if (!platform::CreateSoundDevice() || !platform::CreatePrimarySoundBuffer()) return false;
        platform::SetPrimarySoundFormat(platform::WaveFormat{1, 2, 22050, 44100, 2, 8, 0});
        return true;
    }

    // Closes the mixer; each output frame's larger distance from silence.
    std::vector<int> Finish() {
        Close();
        std::ifstream in(folder_ / "out.raw", std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        std::vector<int> frames;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            frames.push_back(std::max(std::abs(bytes[i] - 128), std::abs(bytes[i + 1] - 128)));
        return frames;
    }

private:
    static void Close() {
        platform::ReleasePrimarySoundBuffer();
        platform::ReleaseSoundDevice();
    }
    std::filesystem::path folder_ = std::filesystem::temp_directory_path() / ("tessaline-audio-" + std::to_string(getpid()));
};

inline void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
