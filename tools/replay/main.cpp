// tessaline-replay: runs the game's real frame loop on the headless
// backend, the window always active, driven by an input file, and writes
// what is asked: frame hashes, PNG frames, the state after each frame.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "app/players.h"
#include "app/scenes.h"
#include "app/shell.h"
#include "app/state_report.h"
#include "combat/fighter.h"
#include "platform/headless.h"
#include "replay/animation.h"
#include "replay/icon.h"
#include "replay/input_script.h"
#include "replay/pose.h"
#include "replay/random_input.h"
#include "replay/scripted_player.h"
#include "replay/still.h"

namespace hl = platform::headless;
namespace fs = std::filesystem;

namespace {

struct Options {
    std::string data = "build/data";
    int frames = 600;
    std::string input;
    long long random = -1;  // a seed: random input for both players instead of a file
    std::string state;
    std::string png;
    int every = 0;
    std::set<int> at;
    int scale = 1;  // each pixel of a PNG as a scale x scale block
    int apngFirst = 0, apngLast = 0;  // the frames of the animation, every second one
    std::string apng;
    bool hash = false;
    std::string still;  // the build-pose stills instead of a run
    std::string pose;   // MOTION[:KEY], written into poseDir instead of a run
    std::string poseDir;
    int iconSize = 0;   // with iconFile: the icon instead of a run
    std::string iconFile;
    Players players;
    ScriptedPlayer script = ScriptedPlayer::None;  // a scripted player 1
    bool untilEnd = false;  // stop once the first fight is decided, and say how
};

int Usage(const char* why) {
    if (why) std::fprintf(stderr, "tessaline-replay: %s\n", why);
    std::fprintf(stderr,
                 "usage: tessaline-replay [--data DIR] [--frames N] [--input FILE | --random SEED] [--state FILE]\n"
                 "                        [--png DIR (--every K | --at 1,38,200)] [--apng FIRST-LAST FILE]\n"
                 "                        [--scale N] [--hash]\n"
                 "                        [--p1 keys|cpu[:LEVEL]|script:idle|walk-swing|jump-swing]\n"
                 "                        [--p2 auto|pad|keys|cpu[:LEVEL]] [--seed N] [--demo] [--until-end]\n"
                 "       tessaline-replay [--data DIR] --still DIR\n"
                 "       tessaline-replay [--data DIR] --pose MOTION[:KEY] DIR\n"
                 "       tessaline-replay [--data DIR] --icon SIZE FILE\n");
    return 2;
}

bool ParseCount(const char* s, int& out) {
    char* end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (!end || *end != '\0' || v < 1 || v > 100000000) return false;
    out = static_cast<int>(v);
    return true;
}

bool ParseList(const char* s, std::set<int>& out) {
    std::stringstream list(s);
    std::string item;
    while (std::getline(list, item, ',')) {
        int v = 0;
        if (!ParseCount(item.c_str(), v)) return false;
        out.insert(v);
    }
    return !out.empty();
}

bool ParseSpan(const std::string& s, int& first, int& last) {
    const size_t dash = s.find('-');
    return dash != std::string::npos && ParseCount(s.substr(0, dash).c_str(), first) &&
           ParseCount(s.substr(dash + 1).c_str(), last) && first < last;
}

std::optional<Options> ParseOptions(int argc, char** argv, int& status) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        std::string error;
        if (a == "--hash") {
            o.hash = true;
        } else if (a == "--demo") {
            o.players.demo = true;
        } else if (a == "--until-end") {
            o.untilEnd = true;
        } else if (!hasValue) {
            status = Usage(("missing value or unknown option: " + a).c_str());
            return std::nullopt;
        } else if (a == "--data") {
            o.data = argv[++i];
        } else if (a == "--frames") {
            if (!ParseCount(argv[++i], o.frames)) return status = Usage("bad --frames"), std::nullopt;
        } else if (a == "--still") {
            o.still = argv[++i];
        } else if (a == "--pose") {
            if (i + 2 >= argc) return status = Usage("--pose takes MOTION[:KEY] and DIR"), std::nullopt;
            o.pose = argv[++i];
            o.poseDir = argv[++i];
        } else if (a == "--scale") {
            if (!ParseCount(argv[++i], o.scale) || o.scale > 8) return status = Usage("bad --scale (1 to 8)"), std::nullopt;
        } else if (a == "--apng") {
            if (i + 2 >= argc || !ParseSpan(argv[i + 1], o.apngFirst, o.apngLast))
                return status = Usage("--apng takes FIRST-LAST and FILE"), std::nullopt;
            ++i;
            o.apng = argv[++i];
        } else if (a == "--icon") {
            if (i + 2 >= argc || !ParseCount(argv[i + 1], o.iconSize))
                return status = Usage("--icon takes SIZE and FILE"), std::nullopt;
            o.iconFile = argv[i + 2];
            i += 2;
        } else if (a == "--input") {
            o.input = argv[++i];
        } else if (a == "--random") {
            const char* seed = argv[++i];
            char* end = nullptr;
            o.random = std::strtoll(seed, &end, 10);
            if (end == seed || *end != '\0' || o.random < 0 || o.random > 0xFFFFFFFFLL)
                return status = Usage("bad --random"), std::nullopt;
        } else if (a == "--p1") {
            const std::string v = argv[++i];
            if (!ParseScriptedPlayer(v, o.script) && !ParsePlayer1(v, o.players, error))
                return status = Usage(error.c_str()), std::nullopt;
        } else if (a == "--p2") {
            if (!ParsePlayer2(argv[++i], o.players, error)) return status = Usage(error.c_str()), std::nullopt;
        } else if (a == "--seed") {
            if (!ParseSeed(argv[++i], o.players, error)) return status = Usage(error.c_str()), std::nullopt;
        } else if (a == "--state") {
            o.state = argv[++i];
        } else if (a == "--png") {
            o.png = argv[++i];
        } else if (a == "--every") {
            if (!ParseCount(argv[++i], o.every)) return status = Usage("bad --every"), std::nullopt;
        } else if (a == "--at") {
            if (!ParseList(argv[++i], o.at)) return status = Usage("bad --at"), std::nullopt;
        } else {
            status = Usage(("unknown option: " + a).c_str());
            return std::nullopt;
        }
    }
    if (!o.input.empty() && o.random >= 0)
        return status = Usage("--input and --random both name the input"), std::nullopt;
    if (!o.png.empty() && o.every == 0 && o.at.empty()) o.every = 1;
    if (!o.apng.empty() && o.apngLast > o.frames)
        return status = Usage("--apng ends after the last frame run"), std::nullopt;
    return o;
}

struct Run {
    Options options;
    InputScript script;
    std::ofstream state;
    std::set<std::string> held;
    int frame = 0;  // the frame being run or last run
    int written = 0;  // the last frame whose state was written
    int pngFailures = 0;
    std::vector<uint32_t> scaled;
    Animation animation;
    int battleStart = 0;  // the first frame of the first fight
};

void ApplyInput(Run& run, int frame) {
    std::vector<std::string> now = KeysHeldAt(run.script, frame);
    for (const std::string& k : ScriptedKeys(run.options.script, frame)) now.push_back(k);
    const std::set<std::string> next(now.begin(), now.end());
    for (const std::string& k : run.held) {
        if (!next.count(k) && VirtualKeyOfName(k)) hl::ReleaseKey(VirtualKeyOfName(k));
    }
    for (const std::string& k : now) {
        if (!run.held.count(k) && VirtualKeyOfName(k)) hl::HoldKey(VirtualKeyOfName(k));
    }
    run.held = next;
    if (run.script.usesGamepad) {
        const int32_t x = next.count("JLEFT") ? -1000 : next.count("JRIGHT") ? 1000 : 0;
        const int32_t y = next.count("JUP") ? -1000 : next.count("JDOWN") ? 1000 : 0;
        hl::SetJoystick(x, y, next.count("J0") != 0, next.count("J1") != 0);
    }
}

// What the headless backend recorded during the frame, as the state report tells it.
platform::FrameNotes NotesOf(const std::vector<hl::Event>& events) {
    platform::FrameNotes notes;
    for (const hl::Event& e : events) {
        if (e.kind == hl::EventKind::EffectPlayed) notes.sounds.push_back(e.name);
        if (e.kind == hl::EventKind::MusicCommand) notes.music.push_back(e.text.empty() ? e.name : e.name + " " + e.text);
        if (e.kind == hl::EventKind::MessageBox) notes.messages.emplace_back(e.caption, e.text);
    }
    return notes;
}

void WriteState(Run& run, int frame) {
    run.written = frame;
    if (run.state.is_open()) run.state << FrameStateJson(frame, NotesOf(hl::Events())) << '\n';
    hl::ClearEvents();
}

// The first fight's outcome, once the frame just run decided it: how, who
// won (fighter 2 in a double knock-out, as the winner scene has it) and how
// many frames the fight took.
bool ReportEnd(Run& run, int frame) {
    if (sceneNumber == BattleSceneNumber && run.battleStart == 0) run.battleStart = frame;
    if (sceneNumber != KnockOutSceneNumber || run.battleStart == 0) return false;
    const bool ringOut = fighter1.ringOut == 1 || fighter2.ringOut == 1;
    const int winner = ringOut ? (fighter1.ringOut == 1 ? 2 : 1) : (fighter1.health > 0 ? 1 : 2);
    std::printf("%s winner %d after %d frames\n", ringOut ? "ring-out" : "knock-out", winner,
                frame - run.battleStart + 1);
    return true;
}

void OnIdle(Run& run, int turn) {
    if (turn > 1) WriteState(run, turn - 1);
    if (run.options.untilEnd && turn > 1 && ReportEnd(run, turn - 1)) {
        hl::PostClose();
        return;
    }
    if (turn > run.options.frames) {
        if (run.options.untilEnd) std::printf("undecided after %d frames\n", turn - run.battleStart);
        hl::PostClose();
        return;
    }
    run.frame = turn;
    ApplyInput(run, turn);
}

// The frame with each pixel repeated scale times across and down, rows packed.
const uint32_t* Scaled(Run& run, const uint32_t* pixels) {
    const int n = run.options.scale, width = 320 * n;
    run.scaled.resize(static_cast<size_t>(width) * 240 * n);
    for (int y = 0; y < 240 * n; ++y) {
        const uint32_t* from = pixels + static_cast<ptrdiff_t>(y / n) * 320;
        uint32_t* to = run.scaled.data() + static_cast<ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x) to[x] = from[x / n];
    }
    return run.scaled.data();
}

void OnPresent(Run& run, const uint32_t* pixels) {
    const int f = run.frame;
    if (run.options.hash) std::printf("%016llx\n", static_cast<unsigned long long>(HashPixels(pixels, 320, 240, 320)));
    const bool wanted = !run.options.png.empty() &&
                        ((run.options.every > 0 && f % run.options.every == 0) || run.options.at.count(f));
    const bool animated = !run.options.apng.empty() && f >= run.options.apngFirst && f <= run.options.apngLast &&
                          (f - run.options.apngFirst) % 2 == 0;
    if (!wanted && !animated) return;
    const int n = run.options.scale;
    const uint32_t* picture = n == 1 ? pixels : Scaled(run, pixels);
    if (wanted) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05d.png", f);
        const std::string path = (fs::path(run.options.png) / name).string();
        if (!platform::WritePng(path.c_str(), picture, 320 * n, 240 * n, 320 * n)) ++run.pngFailures;
    }
    if (animated) AddAnimationFrame(run.animation, picture);
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    std::optional<Options> options = ParseOptions(argc, argv, status);
    if (!options) return status;

    if (!options->still.empty()) return RenderStills(options->data.c_str(), options->still.c_str());
    if (!options->pose.empty()) return RenderPose(options->data.c_str(), options->pose.c_str(), options->poseDir.c_str());
    if (!options->iconFile.empty()) return RenderIcon(options->data.c_str(), options->iconSize, options->iconFile.c_str());

    static Run run;
    run.options = *options;
    if (run.options.random >= 0)
        run.script = RandomInputScript(static_cast<uint32_t>(run.options.random), run.options.frames);
    if (!run.options.input.empty()) {
        std::ifstream file(run.options.input);
        if (!file) {
            std::fprintf(stderr, "tessaline-replay: cannot read %s\n", run.options.input.c_str());
            return 2;
        }
        std::stringstream text;
        text << file.rdbuf();
        int line = 0;
        std::string error;
        if (!ParseInputScript(text.str(), run.script, line, error)) {
            std::fprintf(stderr, "tessaline-replay: %s:%d: %s\n", run.options.input.c_str(), line, error.c_str());
            return 2;
        }
    }
    // Output paths are taken from where the tool was started; the game
    // itself runs in its data folder, where it finds its files.
    std::error_code ec;
    if (!run.options.png.empty()) {
        run.options.png = fs::absolute(run.options.png).string();
        fs::create_directories(run.options.png, ec);
    }
    if (!run.options.apng.empty()) run.options.apng = fs::absolute(run.options.apng).string();
    if (!run.options.state.empty()) {
        run.state.open(fs::absolute(run.options.state));
        if (!run.state) {
            std::fprintf(stderr, "tessaline-replay: cannot write %s\n", run.options.state.c_str());
            return 2;
        }
    }
    fs::current_path(run.options.data, ec);
    if (ec) {
        std::fprintf(stderr, "tessaline-replay: no data folder %s\n", run.options.data.c_str());
        return 2;
    }
    if (!run.options.apng.empty()) {
        const Options& o = run.options;
        // Every second frame: the game's 60 a second shown at 30.
        if (!StartAnimation(run.animation, o.apng, 320 * o.scale, 240 * o.scale,
                            (o.apngLast - o.apngFirst) / 2 + 1, 30)) {
            std::fprintf(stderr, "tessaline-replay: cannot write %s\n", o.apng.c_str());
            return 2;
        }
    }

    ApplyPlayers(run.options.players);
    hl::AttachJoystick(run.script.usesGamepad);
    hl::SetIdleHook([](int turn) { OnIdle(run, turn); });
    hl::SetPresentHook([](const uint32_t* pixels, int) { OnPresent(run, pixels); });
    const int exitCode = WinMain();
    // A game closed from within (Esc) has not had its last frame written.
    if (run.frame > run.written) WriteState(run, run.frame);
    std::fflush(stdout);
    // Closed (or removed, when cut short) whatever else went wrong.
    const bool animationWritten = run.options.apng.empty() || FinishAnimation(run.animation);
    if (run.pngFailures > 0) {
        std::fprintf(stderr, "tessaline-replay: %d PNG files could not be written\n", run.pngFailures);
        return 1;
    }
    if (!animationWritten) {
        std::fprintf(stderr, "tessaline-replay: %s could not be written to its last frame\n", run.options.apng.c_str());
        return 1;
    }
    return exitCode;
}
