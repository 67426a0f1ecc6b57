// The benchmarks' entry: the console output is bench::Reporter's, unless
// another format is asked for on the command line.
#include <benchmark/benchmark.h>

#include <cstring>

#include "reporter.h"

namespace {

bool ConsoleAsked(int argc, char** argv) {
    constexpr const char* Format = "--benchmark_format=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], Format, std::strlen(Format)) == 0 &&
            std::strcmp(argv[i] + std::strlen(Format), "console") != 0)
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool console = ConsoleAsked(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (console) {
        bench::Reporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
