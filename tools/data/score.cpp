// Reading the music's score. The form is described at the head of the
// score itself (assets/music/battle.score).
#include "data/score.h"

#include <map>
#include <sstream>

namespace {

struct Section {
    int64_t length = 0;
    std::vector<std::vector<ScoreNote>> notes;  // per part, from the section's start
};

// One timeline being written in a section: a part's notes, or one drum.
struct Line {
    int64_t cursor = 0;
    std::vector<ScoreNote> lastBar;  // from the bar's start, for '%'
};

struct Reader {
    Reader(Score& s, std::string& e) : score(s), error(e) {}
    Score& score;
    std::string& error;
    int lineNumber = 0;
    std::map<std::string, int> partIndex;
    std::map<std::string, int> drumKey;
    std::map<std::string, Section> sections;
    Section* open = nullptr;
    std::map<std::string, Line> lines;

    bool Fail(const std::string& why) {
        error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    }
    int64_t BarTicks() const { return static_cast<int64_t>(score.beatsPerBar) * TicksPerQuarter; }
    int DrumPart() const {
        for (size_t i = 0; i < score.parts.size(); ++i)
            if (score.parts[i].channel == 10) return static_cast<int>(i);
        return -1;
    }
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool Number(const std::string& word, int low, int high, int& out) {
    if (word.empty() || word.size() > 9) return false;
    int value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return false;
    out = value;
    return true;
}

// "e4", "f#3", "bb2": C4 is key 60.
bool Pitch(const std::string& word, int& key) {
    static const int semitones[] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    if (word.size() < 2 || word[0] < 'a' || word[0] > 'g') return false;
    int value = semitones[word[0] - 'a'];
    size_t at = 1;
    if (word[at] == '#' || (word[at] == 'b' && word.size() > 2)) value += word[at++] == '#' ? 1 : -1;
    int octave = 0;
    if (at + 1 != word.size() || !Number(word.substr(at), 0, 9, octave)) return false;
    key = 12 * (octave + 1) + value;
    return key >= 0 && key <= 127;
}

int Clamp(int v) { return v < 1 ? 1 : v > 127 ? 127 : v; }

// One note, chord or rest of a part's bar; `length` carries over from the
// note before.
bool NoteToken(Reader& r, const std::string& token, int baseVelocity, int64_t at, int64_t& length,
               std::vector<ScoreNote>& out, int64_t& advance) {
    std::string body = token;
    int velocity = baseVelocity;
    if (!body.empty() && (body[0] == '!' || body[0] == '?')) {
        velocity = Clamp(baseVelocity + (body[0] == '!' ? 24 : -30));
        body.erase(0, 1);
    }
    int repeat = 1;
    if (const size_t star = body.find('*'); star != std::string::npos) {
        if (!Number(body.substr(star + 1), 1, 64, repeat)) return r.Fail("bad repeat in '" + token + "'");
        body.erase(star);
    }
    if (const size_t slash = body.find('/'); slash != std::string::npos) {
        std::string d = body.substr(slash + 1);
        const bool dotted = !d.empty() && d.back() == '.';
        if (dotted) d.pop_back();
        int divisor = 0;
        if (!Number(d, 1, 64, divisor) || (4 * TicksPerQuarter) % divisor != 0)
            return r.Fail("bad length in '" + token + "'");
        length = 4 * TicksPerQuarter / divisor;
        if (dotted) length += length / 2;
        body.erase(slash);
    }
    std::vector<int> keys;
    if (body != "r") {
        std::string rest = body;
        for (size_t plus; !rest.empty();) {
            plus = rest.find('+');
            int key = 0;
            if (!Pitch(rest.substr(0, plus), key)) return r.Fail("not a note: '" + token + "'");
            keys.push_back(key);
            rest = plus == std::string::npos ? "" : rest.substr(plus + 1);
        }
        if (keys.empty()) return r.Fail("not a note: '" + token + "'");
    }
    advance = 0;
    for (int i = 0; i < repeat; ++i) {
        for (int key : keys) out.push_back(ScoreNote{at + advance, length, key, velocity});
        advance += length;
    }
    return true;
}

// A drum's bar as a grid of steps: x a hit, X an accent, o a soft hit.
bool GridBar(Reader& r, const std::string& bar, int key, int baseVelocity, std::vector<ScoreNote>& out) {
    const int64_t steps = static_cast<int64_t>(bar.size());
    if (steps == 0 || r.BarTicks() % steps != 0) return r.Fail("a grid of " + std::to_string(steps) + " steps");
    const int64_t step = r.BarTicks() / steps;
    for (int64_t i = 0; i < steps; ++i) {
        const char c = bar[static_cast<size_t>(i)];
        if (c == '.' || c == '-') continue;
        if (c != 'x' && c != 'X' && c != 'o') return r.Fail(std::string("grid step '") + c + "'");
        const int velocity = Clamp(baseVelocity + (c == 'X' ? 24 : c == 'o' ? -40 : 0));
        out.push_back(ScoreNote{i * step, step, key, velocity});
    }
    return true;
}

// "NAME | bar | bar |" inside a section.
bool BarsLine(Reader& r, const std::string& text) {
    const size_t first = text.find('|');
    const std::vector<std::string> head = Words(text.substr(0, first));
    if (head.size() != 1) return r.Fail("expected a part or drum name before '|'");
    const std::string& name = head[0];
    int part = -1, drum = -1;
    if (auto p = r.partIndex.find(name); p != r.partIndex.end()) part = p->second;
    if (auto d = r.drumKey.find(name); d != r.drumKey.end()) {
        drum = d->second;
        part = r.DrumPart();
        if (part < 0) return r.Fail("drum '" + name + "' but no part on channel 10");
    }
    if (part < 0) return r.Fail("no part or drum named '" + name + "'");
    Line& line = r.lines[name];
    std::vector<ScoreNote>& target = r.open->notes[static_cast<size_t>(part)];
    const int baseVelocity = r.score.parts[static_cast<size_t>(part)].velocity;
    int64_t length = TicksPerQuarter;
    size_t at = first;
    while (at != std::string::npos && at + 1 < text.size()) {
        const size_t next = text.find('|', at + 1);
        const std::vector<std::string> tokens = Words(text.substr(at + 1, next == std::string::npos ? next : next - at - 1));
        at = next;
        if (tokens.empty()) continue;
        std::vector<ScoreNote> bar;
        int64_t filled = 0;
        if (tokens.size() == 1 && tokens[0] == "%") {
            if (line.lastBar.empty() && line.cursor == 0) return r.Fail("'%' with no bar before it");
            bar = line.lastBar;
            filled = r.BarTicks();
        } else if (drum >= 0) {
            if (tokens.size() != 1) return r.Fail("a drum bar is one grid");
            if (!GridBar(r, tokens[0], drum, baseVelocity, bar)) return false;
            filled = r.BarTicks();
        } else {
            for (const std::string& token : tokens) {
                int64_t advance = 0;
                if (!NoteToken(r, token, baseVelocity, filled, length, bar, advance)) return false;
                filled += advance;
            }
        }
        if (filled != r.BarTicks())
            return r.Fail("a bar of '" + name + "' lasts " + std::to_string(filled) + " ticks, not " +
                          std::to_string(r.BarTicks()));
        for (ScoreNote note : bar) {
            note.start += line.cursor;
            target.push_back(note);
        }
        line.lastBar = bar;
        line.cursor += r.BarTicks();
    }
    return true;
}

bool PartLine(Reader& r, const std::vector<std::string>& w) {
    if (w.size() < 2 || (w.size() % 2) != 0) return r.Fail("part NAME followed by setting value pairs");
    if (r.partIndex.count(w[1]) || r.drumKey.count(w[1])) return r.Fail("'" + w[1] + "' named twice");
    ScorePart part;
    part.name = w[1];
    for (size_t i = 2; i + 1 < w.size(); i += 2) {
        struct Setting {
            const char* name;
            int* field;
            int low, high;
        };
        const Setting settings[] = {{"channel", &part.channel, 1, 16}, {"program", &part.program, 1, 128},
                                    {"volume", &part.volume, 0, 127},  {"pan", &part.pan, 0, 127},
                                    {"reverb", &part.reverb, 0, 127},  {"gate", &part.gate, 1, 100},
                                    {"velocity", &part.velocity, 1, 127}};
        bool known = false;
        for (const Setting& s : settings) {
            if (w[i] != s.name) continue;
            known = true;
            if (!Number(w[i + 1], s.low, s.high, *s.field)) return r.Fail("bad " + w[i] + " '" + w[i + 1] + "'");
        }
        if (!known) return r.Fail("no part setting '" + w[i] + "'");
    }
    r.partIndex[part.name] = static_cast<int>(r.score.parts.size());
    r.score.parts.push_back(part);
    return true;
}

bool EndSection(Reader& r) {
    for (const auto& [name, line] : r.lines) r.open->length = std::max(r.open->length, line.cursor);
    for (const auto& [name, line] : r.lines)
        if (line.cursor != r.open->length)
            return r.Fail("'" + name + "' is " + std::to_string(line.cursor / r.BarTicks()) +
                          " bars long, the section " + std::to_string(r.open->length / r.BarTicks()));
    r.open = nullptr;
    r.lines.clear();
    return true;
}

bool Play(Reader& r, const std::vector<std::string>& w) {
    for (size_t i = 1; i < w.size(); ++i) {
        auto found = r.sections.find(w[i]);
        if (found == r.sections.end()) return r.Fail("no section '" + w[i] + "'");
        const Section& s = found->second;
        for (size_t p = 0; p < s.notes.size(); ++p)
            for (ScoreNote note : s.notes[p]) {
                note.start += r.score.length;
                r.score.parts[p].notes.push_back(note);
            }
        r.score.length += s.length;
    }
    return true;
}

// A comment runs from a '#' that starts a word to the end of the line.
std::string WithoutComment(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
    return line;
}

bool Directive(Reader& r, const std::string& text) {
    const std::vector<std::string> w = Words(text);
    if (w.empty()) return true;
    if (r.open) {
        if (w[0] == "end" && w.size() == 1) return EndSection(r);
        if (text.find('|') == std::string::npos) return r.Fail("inside a section: 'NAME | bars |' or 'end'");
        return BarsLine(r, text);
    }
    if (w[0] == "title") {
        r.score.title = text.substr(text.find("title") + 5);
        const size_t s = r.score.title.find_first_not_of(" \t");
        r.score.title = s == std::string::npos ? "" : r.score.title.substr(s);
        return true;
    }
    if (w[0] == "tempo") return (w.size() == 2 && Number(w[1], 20, 400, r.score.tempo)) || r.Fail("tempo N");
    if (w[0] == "meter") {
        if (!r.sections.empty()) return r.Fail("the meter is set before the first section");
        return (w.size() == 2 && Number(w[1], 1, 16, r.score.beatsPerBar)) || r.Fail("meter N");
    }
    if (w[0] == "part") return PartLine(r, w);
    if (w[0] == "drum") {
        int key = 0;
        if (w.size() != 3 || !Number(w[2], 0, 127, key)) return r.Fail("drum NAME KEY");
        if (r.partIndex.count(w[1]) || r.drumKey.count(w[1])) return r.Fail("'" + w[1] + "' named twice");
        r.drumKey[w[1]] = key;
        return true;
    }
    if (w[0] == "section") {
        if (w.size() != 2 || r.sections.count(w[1])) return r.Fail("section NAME, each name once");
        r.open = &r.sections[w[1]];
        r.open->notes.resize(r.score.parts.size());
        return true;
    }
    if (w[0] == "play") return Play(r, w);
    return r.Fail("unknown word '" + w[0] + "'");
}

}  // namespace

bool ParseScore(const std::string& text, Score& score, std::string& error) {
    score = Score{};
    Reader r(score, error);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        ++r.lineNumber;
        if (!Directive(r, WithoutComment(line))) return false;
    }
    if (r.open) return r.Fail("a section without its 'end'");
    if (score.length == 0) return r.Fail("nothing is played");
    return true;
}
