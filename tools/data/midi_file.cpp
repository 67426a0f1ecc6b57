// The score as a Standard MIDI File, format 1.
#include <algorithm>

#include "data/score.h"

namespace {

struct TimedEvent {
    int64_t tick;
    int order;  // at one tick: set-up, then note-offs, then note-ons
    std::vector<uint8_t> bytes;
};

void PutBig(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutVariable(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1) out.push_back(static_cast<uint8_t>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

std::vector<uint8_t> Meta(uint8_t type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> e = {0xFF, type};
    PutVariable(e, static_cast<uint32_t>(data.size()));
    e.insert(e.end(), data.begin(), data.end());
    return e;
}

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// The track chunk: events in time order, then the end of the track at
// the piece's length.
std::vector<uint8_t> Track(std::vector<TimedEvent> events, int64_t length) {
    std::stable_sort(events.begin(), events.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    events.push_back(TimedEvent{length, 9, Meta(0x2F, {})});
    std::vector<uint8_t> body;
    int64_t now = 0;
    for (const TimedEvent& e : events) {
        PutVariable(body, static_cast<uint32_t>(e.tick - now));
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
    PutBig(chunk, static_cast<uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<uint8_t> ConductorTrack(const Score& score) {
    const uint32_t microsPerQuarter = static_cast<uint32_t>(60000000 / score.tempo);
    std::vector<uint8_t> tempo;
    PutBig(tempo, microsPerQuarter, 3);
    const uint8_t beats = static_cast<uint8_t>(score.beatsPerBar);
    return Track({{0, 0, Meta(0x03, Text(score.title))},
                  {0, 0, Meta(0x58, {beats, 2, 24, 8})},  // n/4, a click every quarter
                  {0, 0, Meta(0x51, tempo)}},
                 score.length);
}

std::vector<uint8_t> PartTrack(const ScorePart& part, int64_t length) {
    const uint8_t ch = static_cast<uint8_t>(part.channel - 1);
    std::vector<TimedEvent> events = {{0, 0, Meta(0x03, Text(part.name))}};
    auto control = [&](uint8_t number, int value) {
        events.push_back({0, 0, {static_cast<uint8_t>(0xB0 | ch), number, static_cast<uint8_t>(value)}});
    };
    if (part.program > 0) events.push_back({0, 0, {static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(part.program - 1)}});
    control(7, part.volume);
    control(10, part.pan);
    control(91, part.reverb);
    control(93, 0);  // no chorus
    for (const ScoreNote& n : part.notes) {
        const int64_t sounding = std::max<int64_t>(1, n.length * part.gate / 100);
        const int64_t off = std::min(n.start + sounding, length);
        const uint8_t key = static_cast<uint8_t>(n.key);
        events.push_back({n.start, 2, {static_cast<uint8_t>(0x90 | ch), key, static_cast<uint8_t>(n.velocity)}});
        events.push_back({off, 1, {static_cast<uint8_t>(0x80 | ch), key, 64}});
    }
    return Track(std::move(events), length);
}

}  // namespace

std::vector<uint8_t> MidiFile(const Score& score) {
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
    PutBig(out, 6, 4);
    PutBig(out, 1, 2);  // format 1: tracks played together
    PutBig(out, static_cast<uint32_t>(score.parts.size() + 1), 2);
    PutBig(out, TicksPerQuarter, 2);
    const std::vector<uint8_t> conductor = ConductorTrack(score);
    out.insert(out.end(), conductor.begin(), conductor.end());
    for (const ScorePart& part : score.parts) {
        const std::vector<uint8_t> track = PartTrack(part, score.length);
        out.insert(out.end(), track.begin(), track.end());
    }
    return out;
}
