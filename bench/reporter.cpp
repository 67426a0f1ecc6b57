#include "reporter.h"

#include <unistd.h>

#include <cstdio>
#include <ostream>

namespace bench {

Reporter::Reporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None) {}

void Reporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown = runs;
    for (Run& run : shown) {
        const auto rate = run.counters.find("pixels_per_ns");
        if (rate != run.counters.end()) rate->second.flags = benchmark::Counter::kDefaults;
        if (run.counters.count("ratio") != 0) match_ = run;
    }
    ConsoleReporter::ReportRuns(shown);
}

void Reporter::Finalize() {
    ConsoleReporter::Finalize();
    if (!match_) return;
    auto& counters = match_->counters;
    char line[256];
    std::snprintf(line, sizeof line,
                  "The scripted match costs %.2f floors: replay %.3f s, floor %.4f s, %.0f frames a second\n",
                  counters["ratio"].value, counters["replay_s"].value, counters["floor_s"].value,
                  counters["frames_per_second"].value);
    GetOutputStream() << line;
}

}  // namespace bench
