// The command line: good lines set what they name and nothing else; each
// bad line is refused with its own one-line complaint and the usage, and
// no game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"

namespace {

OptionsOutcome Read(const std::vector<std::string>& args, Options& options) { return ReadOptions(args, options); }

}  // namespace

TEST(Options, TheUsageNamesEveryOption) {
    EXPECT_EQ(UsageLine(), "usage: tessaline [--data DIR] [--scale N] [--fullscreen] [--help] [--version]\n");
}

TEST(Options, GoodLinesPlayWithWhatTheyName) {
    Options none;
    const OptionsOutcome plain = Read({}, none);
    EXPECT_TRUE(plain.play);
    EXPECT_EQ(none.dataFolder, "");
    EXPECT_EQ(none.scale, 1);
    EXPECT_FALSE(none.fullScreen);

    Options spaced;
    EXPECT_TRUE(Read({"--scale", "3", "--data", "/some where", "--fullscreen"}, spaced).play);
    EXPECT_EQ(spaced.scale, 3);
    EXPECT_EQ(spaced.dataFolder, "/some where");
    EXPECT_TRUE(spaced.fullScreen);

    // A value after '=' is taken whole, '=' and all; the last of two wins.
    Options joined;
    const OptionsOutcome outcome = Read({"--scale=8", "--data=a=b", "--scale=2"}, joined);
    EXPECT_TRUE(outcome.play);
    EXPECT_EQ(outcome.out + outcome.err, "");
    EXPECT_EQ(joined.scale, 2);
    EXPECT_EQ(joined.dataFolder, "a=b");
    EXPECT_FALSE(joined.fullScreen);

    // A value that looks like an option is still the value.
    Options dashed;
    EXPECT_TRUE(Read({"--data", "--scale"}, dashed).play);
    EXPECT_EQ(dashed.dataFolder, "--scale");
}

TEST(Options, HelpAndVersionAnswerOnStdoutAndExit) {
    Options options;
    const OptionsOutcome help = Read({"--scale", "2", "--help"}, options);
    EXPECT_FALSE(help.play);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind(UsageLine(), 0), 0u);
    for (const char* row : {"  --data DIR ", "  --scale N ", "  --fullscreen ", "  --help ", "  --version "})
        EXPECT_NE(help.out.find(row), std::string::npos) << row;

    Options other;
    const OptionsOutcome version = Read({"--version"}, other);
    EXPECT_FALSE(version.play);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("tessaline ") + TESSALINE_VERSION + "\n");
    EXPECT_EQ(version.err, "");
}

TEST(Options, BadLinesAreRefusedWithWhatWasWrong) {
    const struct {
        std::vector<std::string> args;
        const char* complaint;
    } cases[] = {
        {{"--scale", "9"}, "--scale wants a whole number from 1 to 8, not \"9\""},
        {{"--scale=0"}, "--scale wants a whole number from 1 to 8, not \"0\""},
        {{"--scale", "2.5"}, "--scale wants a whole number from 1 to 8, not \"2.5\""},
        {{"--scale", "+3"}, "--scale wants a whole number from 1 to 8, not \"+3\""},
        {{"--scale", "99999999999"}, "--scale wants a whole number from 1 to 8, not \"99999999999\""},
        {{"--scale="}, "--scale wants a whole number from 1 to 8, not \"\""},
        {{"--fullscreen", "--scale"}, "--scale wants a value: --scale N"},
        {{"--data="}, "--data wants a folder, not \"\""},
        {{"--nonsense"}, "unknown option \"--nonsense\""},
        {{"--nonsense=3"}, "unknown option \"--nonsense\""},
        {{"-s"}, "unknown option \"-s\""},
        {{"--fullscreen=yes"}, "--fullscreen takes no value, not \"yes\""},
        {{"--scale", "2", "fight"}, "unexpected argument \"fight\""},
        {{"-"}, "unexpected argument \"-\""},
        // The first fault is the one told, --help or not.
        {{"--help", "--scale", "x", "--nonsense"}, "--scale wants a whole number from 1 to 8, not \"x\""},
    };
    for (const auto& c : cases) {
        Options options;
        const OptionsOutcome outcome = Read(c.args, options);
        EXPECT_FALSE(outcome.play) << c.complaint;
        EXPECT_EQ(outcome.status, 2) << c.complaint;
        EXPECT_EQ(outcome.out, "") << c.complaint;
        EXPECT_EQ(outcome.err, std::string("tessaline: ") + c.complaint + "\n" + UsageLine());
    }
}
