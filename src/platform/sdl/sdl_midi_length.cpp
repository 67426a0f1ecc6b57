// How long a Standard MIDI File lasts as written: the latest end of its
// tracks, through its tempo changes. The synthesiser rings on after that;
// the sequencer's end is the written one.
#include <cstdint>
#include <map>

#include "platform/sdl/sdl_audio.h"

namespace platform::sdl {

namespace {

struct Bytes {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool ok = true;

    uint32_t Take(int count) {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i) {
            if (at >= size) {
                ok = false;
                return 0;
            }
            v = v << 8 | data[at++];
        }
        return v;
    }
    uint32_t Variable() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const uint32_t b = Take(1);
            v = v << 7 | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        ok = false;  // longer than four bytes
        return 0;
    }
    void Skip(uint32_t count) {
        if (count > size - at) ok = false;
        at = ok ? at + count : size;
    }
};

// Walks one track: its length in ticks, and its tempo changes by tick.
bool ReadTrack(Bytes track, uint64_t& endTick, std::map<uint64_t, uint32_t>& tempos) {
    uint64_t tick = 0;
    uint8_t status = 0;
    while (track.ok && track.at < track.size) {
        tick += track.Variable();
        uint32_t first = track.Take(1);
        if (first == 0xFF) {
            const uint32_t type = track.Take(1);
            const uint32_t length = track.Variable();
            if (type == 0x51 && length == 3) {
                const uint32_t tempo = track.Take(3);
                if (tempo > 0) tempos[tick] = tempo;
            } else {
                track.Skip(length);
            }
            if (type == 0x2F) break;
            continue;
        }
        if (first == 0xF0 || first == 0xF7) {
            track.Skip(track.Variable());
            continue;
        }
        if (first & 0x80) {
            status = static_cast<uint8_t>(first);
            first = track.Take(1);
        } else if (status == 0) {
            return false;  // running status with nothing to run on
        }
        const uint8_t kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) track.Take(1);
    }
    endTick = tick;
    return track.ok;
}

}  // namespace

uint64_t MidiFileMicroseconds(const uint8_t* data, size_t size) {
    Bytes file{data, size};
    if (file.Take(4) != 0x4D546864u) return 0;  // "MThd"
    const uint32_t headerLength = file.Take(4);
    if (headerLength < 6) return 0;
    file.Take(2);  // format
    const uint32_t tracks = file.Take(2);
    const uint32_t division = file.Take(2);
    file.Skip(headerLength - 6);
    if (!file.ok || division == 0) return 0;

    uint64_t endTick = 0;
    std::map<uint64_t, uint32_t> tempos;
    for (uint32_t t = 0; t < tracks; ++t) {
        const uint32_t id = file.Take(4);
        const uint32_t length = file.Take(4);
        if (!file.ok || length > size - file.at) return 0;
        if (id == 0x4D54726Bu) {  // "MTrk"; other chunks are passed over
            uint64_t trackEnd = 0;
            if (!ReadTrack(Bytes{data + file.at, length}, trackEnd, tempos)) return 0;
            if (trackEnd > endTick) endTick = trackEnd;
        } else {
            --t;
        }
        file.Skip(length);
    }

    if (endTick > (uint64_t{1} << 38)) return 0;  // years long: not a piece to time
    if (division & 0x8000) {
        // Time code: frames a second and ticks a frame.
        const uint64_t framesPerSecond = static_cast<uint64_t>(256 - (division >> 8));
        const uint64_t ticksPerFrame = division & 0xFF;
        if (framesPerSecond == 0 || ticksPerFrame == 0) return 0;
        return endTick * 1000000u / (framesPerSecond * ticksPerFrame);
    }
    // Ticks a quarter note, each stretch at its tempo (120 a minute until
    // the first change).
    uint64_t micros = 0;
    uint64_t tick = 0;
    uint32_t tempo = 500000;
    for (const auto& [at, next] : tempos) {
        if (at >= endTick) break;
        micros += (at - tick) * tempo / division;
        tick = at;
        tempo = next;
    }
    micros += (endTick - tick) * tempo / division;
    return micros;
}

}  // namespace platform::sdl
