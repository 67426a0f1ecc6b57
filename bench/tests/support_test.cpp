// The timing of whole programs and the console report the speed figures
// depend on: a failed run must not pass for a fast one, and the floor's
// line and the pixel rate must read as what they are.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "reporter.h"

namespace {

TEST(TimedRun, TimesARunThatEndsWellAndKeepsWhatItPrints) {
    std::string output;
    const std::optional<double> seconds = bench::TimedRun({"/bin/sh", "-c", "sleep 0.05; echo 0.5 1"}, &output);
    ASSERT_TRUE(seconds.has_value());
    EXPECT_GE(*seconds, 0.05);
    EXPECT_LT(*seconds, 5.0);
    EXPECT_EQ(output, "0.5 1\n");
}

TEST(TimedRun, GivesNothingForAFailedOrMissingProgram) {
    std::string output;
    EXPECT_FALSE(bench::TimedRun({"/bin/sh", "-c", "echo 0.1 0; exit 3"}, &output).has_value());
    EXPECT_FALSE(bench::TimedRun({"/bin/sh", "-c", "kill -9 $$"}).has_value());
    EXPECT_FALSE(bench::TimedRun({"/no/such/program"}, &output).has_value());
}

TEST(FloorSeconds, ReadsOnlySecondsThenACheckBit) {
    EXPECT_EQ(bench::FloorSeconds("0.089649 0\n"), 0.089649);
    EXPECT_EQ(bench::FloorSeconds("1.5 1\n"), 1.5);
    for (const char* wrong : {"", "0.08\n", "0.08 0", "0.08 2\n", "0.08 0 7\n", "x 0\n", "-1 0\n", "nan 0\n"})
        EXPECT_FALSE(bench::FloorSeconds(wrong).has_value()) << wrong;
}

#ifdef TESSALINE_FLOOR
TEST(FloorSeconds, ReadsTheBuiltFloor) {
    std::string output;
    ASSERT_TRUE(bench::TimedRun({TESSALINE_FLOOR, "5"}, &output).has_value());
    EXPECT_TRUE(bench::FloorSeconds(output).has_value()) << output;
}
#endif

using Run = benchmark::BenchmarkReporter::Run;

Run RunWith(const char* name, benchmark::UserCounters counters) {
    Run run;
    run.run_name.function_name = name;
    run.counters = std::move(counters);
    return run;
}

// What the console shows for these runs, each reported on its own as the
// library reports them, and the end of the table.
std::string Shown(const std::vector<Run>& runs) {
    std::ostringstream out, errors;
    bench::Reporter reporter;
    reporter.SetOutputStream(&out);
    reporter.SetErrorStream(&errors);
    for (const Run& run : runs) reporter.ReportRuns({run});
    reporter.Finalize();
    return out.str();
}

const Run Fill = RunWith("BM_Fill", {{"pixels_per_ns", {2.5, benchmark::Counter::kIsRate}}});

TEST(Reporter, ShowsThePixelRateWithoutPerSecondAndEndsWithTheRatio) {
    const std::string text = Shown(
        {Fill, RunWith("BM_Match", {{"ratio", 6.25}, {"replay_s", 0.5}, {"floor_s", 0.08}, {"frames_per_second", 6000}})});
    EXPECT_NE(text.find("pixels_per_ns=2.5\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("/s"), std::string::npos) << text;
    const std::string last = "The scripted match costs 6.25 floors: replay 0.500 s, floor 0.0800 s, 6000 frames a second\n";
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST(Reporter, SaysNothingMoreWithoutTheMatch) { EXPECT_EQ(Shown({Fill}).find("floors"), std::string::npos); }

}  // namespace
