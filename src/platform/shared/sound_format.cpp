// The one test of an effect's format, so that the tests' backend refuses
// exactly what the game's does.
#include "platform/platform.h"

namespace platform {

// The formats a sound buffer of the design's kind takes: plain PCM in one
// or two channels, at a rate a buffer can play (100 to 200,000 Hz).
bool SoundFormatPlayable(const WaveFormat& format) {
    return format.formatTag == 1 && (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
           (format.channels == 1 || format.channels == 2) && format.samplesPerSec >= 100 &&
           format.samplesPerSec <= 200000;
}

}  // namespace platform
