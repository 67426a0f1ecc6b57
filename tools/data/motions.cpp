// The game's 22 motions, compiled from their readable key poses in
// assets/motions/<Name>.txt into "Motion/<Name>/Motion<k>.deg".
//
// The text form, one file per motion:
//
//   # a comment runs from '#' to the end of the line
//   key 0 duration 10 End       # a key: its number, its duration, its flags
//       upperArm1   96 40 0     # a joint and its three angles
//       weapon       0 64 0
//   key 1 duration 6
//       ...
//
// - `key K duration D [Loop | End]` starts key K. Keys come in order from 0
//   and a motion has exactly the keys the game loads for it. The key is
//   played for D + 1 frames; D is at least the motion's key count (the
//   playback divides it by that count). `Loop` goes back to key 0 and hands
//   the fighter back to the controls; `End` does the same but blends, over
//   five frames played out of the next key, into the first key of the
//   motion requested last. A key carries at most one of the two.
// - A joint line gives a joint by name or number (0 to 14, names below)
//   and its three angles in the game's units, 512 to a turn, -511 to 511:
//   about Z, then about X, then about Y of the joint's own frame. A joint
//   that a key does not list has the angles 0 0 0.
// - Positions are not written: every entry gets 0.0. The playback moves a
//   joint by a quarter of its key's position change every frame and never
//   puts it back, so positions that differ between keys make joints drift.
//
// Besides the syntax the compiler refuses what the playback cannot follow:
// a key sequence that would run past the last key, an `End` whose next key
// is too short for the five-frame blend, and keys that are never used.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/writers.h"

namespace {

constexpr int Parts = 15;
constexpr uint32_t LoopFlag = 0x1;
constexpr uint32_t EndFlag = 0x2;
constexpr int BlendFrames = 5;

struct MotionName {
    const char* name;
    int keys;
};
// In motion-number order, with the key counts the game loads.
constexpr MotionName motionNames[] = {
    {"Way", 2},          {"Slay", 3},          {"Walk", 2},           {"Dance", 4},
    {"YokoGiri", 3},     {"TakeUp", 3},        {"DownSlay", 3},       {"Jump", 2},
    {"UpGrad", 2},       {"DownGrad", 2},      {"UpEasyDamage", 2},   {"LeftEasyDamage", 2},
    {"RightEasyDamage", 2}, {"DownEasyDamage", 2}, {"UpDamage", 2},   {"LeftDamage", 2},
    {"RightDamage", 2},  {"DownDamage", 2},    {"UpBigDamage", 2},    {"LeftBigDamage", 2},
    {"RightBigDamage", 2}, {"DownBigDamage", 2},
};

// The fighter's joints in entry order.
constexpr const char* jointNames[Parts] = {
    "torso",     "head",      "upperArm1", "lowerArm1", "hand1",     "upperArm2", "lowerArm2", "hand2",
    "upperLeg1", "lowerLeg1", "foot1",     "upperLeg2", "lowerLeg2", "foot2",     "weapon",
};

struct SourceKey {
    uint32_t flags = 0;
    uint16_t duration = 0;
    uint16_t angles[Parts][3] = {};
    int line = 0;
};

struct SourceError {
    int line = 0;
    std::string reason;
};

bool ParseInt(const std::string& word, long lo, long hi, long& out) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

int JointOfWord(const std::string& word) {
    for (int j = 0; j < Parts; ++j) {
        if (word == jointNames[j]) return j;
    }
    long number = 0;
    return ParseInt(word, 0, Parts - 1, number) ? static_cast<int>(number) : -1;
}

// "key K duration D [Loop | End]".
bool ParseKeyLine(const std::vector<std::string>& words, int expected, int keyCount, SourceKey& key,
                  SourceError& error) {
    long number = 0, duration = 0;
    if (words.size() < 4 || words[2] != "duration") {
        error.reason = "a key line reads: key K duration D [Loop | End]";
        return false;
    }
    if (!ParseInt(words[1], 0, 65535, number) || number != expected) {
        error.reason = "expected key " + std::to_string(expected) + ", found '" + words[1] + "'";
        return false;
    }
    if (!ParseInt(words[3], keyCount, 65535, duration)) {
        error.reason = "the duration must be a whole number from " + std::to_string(keyCount) +
                       " (the key count) to 65535, found '" + words[3] + "'";
        return false;
    }
    key.duration = static_cast<uint16_t>(duration);
    for (size_t i = 4; i < words.size(); ++i) {
        const uint32_t flag = words[i] == "Loop" ? LoopFlag : words[i] == "End" ? EndFlag : 0;
        if (flag == 0) {
            error.reason = "unknown key flag '" + words[i] + "' (Loop or End)";
            return false;
        }
        if (key.flags != 0) {
            error.reason = "a key is either Loop or End, once";
            return false;
        }
        key.flags = flag;
    }
    return true;
}

// "joint a0 a1 a2".
bool ParseJointLine(const std::vector<std::string>& words, SourceKey& key, uint16_t& listed, SourceError& error) {
    const int joint = JointOfWord(words[0]);
    if (joint < 0) {
        error.reason = "unknown joint '" + words[0] + "'";
        return false;
    }
    if (words.size() != 4) {
        error.reason = "a joint line reads: joint angleZ angleX angleY";
        return false;
    }
    if (listed & (1u << joint)) {
        error.reason = "joint " + std::string(jointNames[joint]) + " is listed twice in this key";
        return false;
    }
    listed = static_cast<uint16_t>(listed | (1u << joint));
    for (int a = 0; a < 3; ++a) {
        long angle = 0;
        if (!ParseInt(words[1 + a], -511, 511, angle)) {
            error.reason = "an angle must be a whole number from -511 to 511, found '" + words[1 + a] + "'";
            return false;
        }
        // Kept within one turn: the playback's shorter-way rule only works
        // on angles of 0 to 511.
        key.angles[joint][a] = static_cast<uint16_t>((angle + 512) % 512);
    }
    return true;
}

// The keys in the order the playback visits them, each checked on the way:
// from key 0, a key without flags leads to the next, `End` to the next
// (which is played out during the blend and must outlast it), `Loop` to 0.
bool CheckKeyFlow(const std::vector<SourceKey>& keys, SourceError& error) {
    const int count = static_cast<int>(keys.size());
    std::vector<bool> played(keys.size(), false), used(keys.size(), false);
    int k = 0;
    while (!played[k]) {
        played[k] = true;
        used[k] = true;
        used[(k + 1) % count] = true;  // the key a key aims at
        const SourceKey& key = keys[k];
        if (key.flags == LoopFlag) {
            k = 0;
            continue;
        }
        if (k + 1 >= count) {
            error.line = key.line;
            error.reason = key.flags == EndFlag ? "End on the last key leads past it (End needs a key after it)"
                                                : "the last key needs Loop, or an End on a key before it";
            return false;
        }
        if (key.flags == EndFlag) {
            if (keys[k + 1].duration < BlendFrames - 1) {
                error.line = keys[k + 1].line;
                error.reason = "the key after an End lasts at least 4 frames, or the blend runs past it";
                return false;
            }
            break;  // the blend leaves the motion
        }
        k = k + 1;
    }
    for (int i = 0; i < count; ++i) {
        if (!used[i]) {
            error.line = keys[i].line;
            error.reason = "key " + std::to_string(i) + " is never played nor aimed at";
            return false;
        }
    }
    return true;
}

bool ParseMotionSource(const std::string& text, int keyCount, std::vector<SourceKey>& keys, SourceError& error) {
    std::istringstream lines(text);
    std::string line;
    uint16_t listed = 0;
    error.line = 0;
    while (std::getline(lines, line)) {
        ++error.line;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream wordStream(line);
        std::vector<std::string> words;
        for (std::string w; wordStream >> w;) words.push_back(w);
        if (words.empty()) continue;
        if (words[0] == "key") {
            if (static_cast<int>(keys.size()) == keyCount) {
                error.reason = "this motion has " + std::to_string(keyCount) + " keys";
                return false;
            }
            SourceKey key;
            key.line = error.line;
            if (!ParseKeyLine(words, static_cast<int>(keys.size()), keyCount, key, error)) return false;
            keys.push_back(key);
            listed = 0;
        } else if (keys.empty()) {
            error.reason = "a joint line before the first key";
            return false;
        } else if (!ParseJointLine(words, keys.back(), listed, error)) {
            return false;
        }
    }
    if (static_cast<int>(keys.size()) != keyCount) {
        error.line = std::max(error.line, 1);
        error.reason = "this motion has " + std::to_string(keyCount) + " keys, the file gives " +
                       std::to_string(keys.size());
        return false;
    }
    return CheckKeyFlow(keys, error);
}

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, static_cast<uint16_t>(v));
    PutU16(out, static_cast<uint16_t>(v >> 16));
}

// Header: N, 0, key flags, 0, duration; then per joint its three angles,
// 0, and the position 0.0, 0.0, 0.0.
std::vector<uint8_t> EncodeKey(const SourceKey& key) {
    std::vector<uint8_t> out;
    PutU16(out, Parts);
    PutU16(out, 0);
    PutU32(out, key.flags);
    PutU16(out, 0);
    PutU16(out, key.duration);
    for (int j = 0; j < Parts; ++j) {
        for (int a = 0; a < 3; ++a) PutU16(out, key.angles[j][a]);
        PutU16(out, 0);
        out.insert(out.end(), 3 * sizeof(double), 0);  // +0.0 is all zero bytes
    }
    return out;
}

bool CompileMotion(const DataPaths& paths, const MotionName& motion) {
    const std::filesystem::path source =
        std::filesystem::path(paths.assets) / "motions" / (std::string(motion.name) + ".txt");
    std::ifstream file(source, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "tessaline-data: cannot read %s\n", source.c_str());
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::vector<SourceKey> keys;
    SourceError error;
    if (!ParseMotionSource(text.str(), motion.keys, keys, error)) {
        std::fprintf(stderr, "tessaline-data: %s:%d: %s\n", source.c_str(), error.line, error.reason.c_str());
        return false;
    }
    bool ok = true;
    for (int k = 0; k < motion.keys; ++k) {
        const std::vector<uint8_t> bytes = EncodeKey(keys[k]);
        const std::string name = "Motion/" + std::string(motion.name) + "/Motion" + std::to_string(k) + ".deg";
        ok = WriteDataFile(paths, name, bytes.data(), bytes.size()) && ok;
    }
    return ok;
}

}  // namespace

bool WriteMotions(const DataPaths& paths) {
    bool ok = true;
    for (const MotionName& motion : motionNames) ok = CompileMotion(paths, motion) && ok;
    return ok;
}
