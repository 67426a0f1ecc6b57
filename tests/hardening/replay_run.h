// The replay tool run as a player's machine would run it on damaged data:
// under a memory limit, with a generous time bound that only turns a hang
// into a failure, and its state report read back frame by frame.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace hardening {

namespace fs = std::filesystem;

// A message box as the state report gives it.
using Box = std::pair<std::string, std::string>;  // caption, text

struct ReplayRun {
    int status = -1;  // exit status, or -1 when the tool did not exit by itself
    std::string errors;
    std::vector<std::string> frames;  // one state line a frame, frame 1 first
};

inline std::string Slurp(const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Runs `tessaline-replay --data DATA ARGS --state ...` and reads its state
// report. The sanitizer build cannot run under a virtual-memory limit (its
// shadow memory alone is larger), so there the allocator is bounded instead.
inline std::string ReplayCommand(const fs::path& data, const std::string& args, int seconds) {
#ifdef TESSALINE_SANITIZE
    const std::string limit =
        "ASAN_OPTIONS=hard_rss_limit_mb=2048:malloc_limit_mb=1024:allocator_may_return_null=1 "
        "UBSAN_OPTIONS=print_stacktrace=1 ";
#else
    const std::string limit = "ulimit -v 2000000; ";
#endif
    return limit + "exec timeout -s KILL " + std::to_string(seconds) + " \"" TESSALINE_REPLAY "\" --data \"" +
           data.string() + "\" " + args;
}

inline ReplayRun RunReplay(const fs::path& data, const std::string& args, const fs::path& scratch) {
    const fs::path state = scratch / "state.jsonl", errors = scratch / "stderr.txt";
    const std::string command = ReplayCommand(data, args, 600) + " --state \"" + state.string() + "\" 2>\"" +
                                errors.string() + "\" >/dev/null";
    const int raw = std::system(command.c_str());
    ReplayRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.errors = Slurp(errors);
    std::istringstream lines(Slurp(state));
    for (std::string line; std::getline(lines, line);) run.frames.push_back(line);
    return run;
}

// The same with the state report handed to `perFrame` a line at a time as
// the tool writes it, none kept: a run of a million frames has a report of
// a gigabyte. The tool's own output is dropped.
inline ReplayRun StreamReplay(const fs::path& data, const std::string& args, const fs::path& scratch,
                              const std::function<void(const std::string&)>& perFrame) {
    const fs::path errors = scratch / "stderr.txt";
    const std::string command =
        ReplayCommand(data, args, 3600) + " --state /dev/fd/3 3>&1 >/dev/null 2>\"" + errors.string() + "\"";
    ReplayRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char* buffer = nullptr;
    size_t size = 0;
    for (ssize_t n; (n = getline(&buffer, &size, pipe)) > 0;) {
        perFrame(std::string(buffer, buffer[n - 1] == '\n' ? n - 1 : n));
    }
    std::free(buffer);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.errors = Slurp(errors);
    return run;
}

// A number of the frame itself ("frame", "scene") from its state line.
inline long FrameField(const std::string& line, const std::string& name) {
    const size_t p = line.find("\"" + name + "\":");
    return p == std::string::npos ? -1 : std::strtol(line.c_str() + p + name.size() + 3, nullptr, 10);
}

// The message boxes shown in the frame, in order.
inline std::vector<Box> BoxesOf(const std::string& line) {
    std::vector<Box> boxes;
    size_t p = line.find("\"messages\":[");
    const size_t end = p == std::string::npos ? p : line.find(']', p);
    const auto field = [&](const char* key) {
        const std::string tag = std::string("\"") + key + "\":\"";
        p = line.find(tag, p) + tag.size();
        const size_t close = line.find('"', p);
        std::string value = line.substr(p, close - p);
        p = close;
        return value;
    };
    while (p != std::string::npos && (p = line.find("{\"caption\"", p)) < end) {
        std::string caption = field("caption");
        boxes.emplace_back(std::move(caption), field("text"));
    }
    return boxes;
}

// What the tool wrote to stderr besides the message boxes it echoes there
// ("[caption] text"): a sanitizer's report, an abort, anything unexpected.
inline std::string Unexpected(const std::string& errors) {
    std::istringstream lines(errors);
    std::string rest;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '[') rest += line + "\n";
    }
    return rest;
}

}  // namespace hardening
