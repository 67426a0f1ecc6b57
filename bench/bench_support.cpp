#include "bench_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

extern char** environ;

namespace bench {

namespace {

// Every byte the child writes into the pipe, up to its end.
std::string ReadAll(int fd) {
    std::string text;
    char chunk[256];
    ssize_t n;
    while ((n = read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(n));
    return text;
}

}  // namespace

std::optional<double> TimedRun(const std::vector<std::string>& argv, std::string* output) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    // Straight to the program, no shell: the same small start-up cost for
    // every program timed, and nothing of a shell's in the figures.
    int pipeFds[2] = {-1, -1};
    if (output != nullptr && pipe(pipeFds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output != nullptr) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output != nullptr) {
        close(pipeFds[1]);
        if (spawned == 0) *output = ReadAll(pipeFds[0]);
        close(pipeFds[0]);
    }
    if (spawned != 0) return std::nullopt;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return std::nullopt;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return std::chrono::duration<double>(end - start).count();
}

std::optional<double> FloorSeconds(const std::string& output) {
    double seconds = 0;
    unsigned bit = 0;
    char end = 0;
    // Exactly two fields and the line's end: a seconds figure and a bit.
    if (std::sscanf(output.c_str(), "%lf %u%c", &seconds, &bit, &end) != 3 || end != '\n' || bit > 1 ||
        !(seconds >= 0))
        return std::nullopt;
    return seconds;
}

void ReportPixelRate(benchmark::State& state, int64_t pixelsPerIteration) {
    state.counters["pixels_per_ns"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(pixelsPerIteration) / 1e9,
        benchmark::Counter::kIsRate);
}

}  // namespace bench
