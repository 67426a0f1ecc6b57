// The SDL backend's sound heard through SDL's disk audio driver: the mixer
// writes what it plays into a file (22050 Hz, 8-bit unsigned, stereo) at
// the pace of a real device, or faster when asked.
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
        unsetenv("SDL_DISKAUDIODELAY");  // the next capture keeps a real device's pace unless it asks
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::filesystem::path& Folder() const { return folder_; }

    // Before Open: the driver sleeps this long between blocks of 512
    // frames (a real device takes 23 ms, the pace without it); 0 mixes as
    // fast as it can.
    static void Pace(int millisecondsPerBlock) {
        setenv("SDL_DISKAUDIODELAY", std::to_string(millisecondsPerBlock).c_str(), 1);
    }
    // Bytes of output in the file so far (two a frame). The file is
    // buffered, so the mixer may be up to a few blocks further.
    size_t Written() const {
        std::error_code ignored;
        const auto size = std::filesystem::file_size(folder_ / "out.raw", ignored);
        return ignored ? 0 : static_cast<size_t>(size);
    }
    // Waits until the mixer has written this many bytes.
    void WaitForBytes(size_t bytes) const {
        while (Written() < bytes) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // The game's set-up: the device and the mixer at 22050 Hz, 8 bits, stereo.
    bool Open() {
        if (!platform::CreateSoundDevice() || !platform::CreatePrimarySoundBuffer()) return false;
        platform::SetPrimarySoundFormat(platform::WaveFormat{1, 2, 22050, 44100, 2, 8, 0});
        return true;
    }

    // Closes the mixer; the output as written, left and right interleaved.
    std::vector<uint8_t> FinishRaw() {
        Close();
        std::ifstream in(folder_ / "out.raw", std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
    }
    // Closes the mixer; each output frame's larger distance from silence.
    std::vector<int> Finish() {
        const std::vector<uint8_t> bytes = FinishRaw();
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

