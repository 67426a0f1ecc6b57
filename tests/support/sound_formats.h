// Effect formats either backend must take or refuse alike: the tests'
// backend may not play what the game refuses.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

struct FormatCase {
    platform::WaveFormat format;
    bool playable;
};

inline platform::WaveFormat PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t align = static_cast<uint16_t>(bits / 8 * channels);
    return platform::WaveFormat{1, channels, rate, rate * align, align, bits, 0};
}

inline std::vector<FormatCase> FormatCases() {
    platform::WaveFormat floatFormat = PcmFormat(1, 22050, 32);
    floatFormat.formatTag = 3;
    return {
        {PcmFormat(1, 22050, 8), true},      {PcmFormat(2, 44100, 16), true},
        {PcmFormat(1, 100, 8), true},        {PcmFormat(2, 200000, 16), true},
        {floatFormat, false},                {PcmFormat(1, 22050, 24), false},
        {PcmFormat(1, 22050, 0), false},     {PcmFormat(0, 22050, 8), false},
        {PcmFormat(3, 22050, 16), false},    {PcmFormat(65535, 22050, 8), false},
        {PcmFormat(1, 0, 8), false},         {PcmFormat(1, 1, 8), false},
        {PcmFormat(1, 99, 8), false},        {PcmFormat(1, 200001, 16), false},
        {PcmFormat(1, 0xFFFFFFFF, 8), false},
    };
}
