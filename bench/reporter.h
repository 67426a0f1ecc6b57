// The console output of the benchmarks: pixels_per_ns shown as the figure
// it is (the library prints every rate with "/s" after it, and this one is
// already pixels a nanosecond), and after the table one line that says
// plainly what a frame of the scripted match costs in floors.
#pragma once

#include <benchmark/benchmark.h>

#include <optional>
#include <vector>

namespace bench {

class Reporter : public benchmark::ConsoleReporter {
public:
    Reporter();
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::optional<Run> match_;  // the run that weighed the match against the floor
};

}  // namespace bench
