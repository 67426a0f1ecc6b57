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
    EXPECT_EQ(UsageLine(), "usage: tessaline [--data DIR] [--scale N] [--fullscreen] [--p1 WHO] [--p2 WHO] [--seed N] "
                           "[--demo] [--help] [--version]\n");
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

    // Who plays: nobody named is the keys and player 2's own choice of device.
    EXPECT_EQ(none.players.player1Level, 0);
    EXPECT_EQ(none.players.player2, Player2Device::Auto);
    EXPECT_FALSE(none.players.demo);
    Options players;
    EXPECT_TRUE(Read({"--p1", "cpu:1", "--p2=cpu", "--seed", "4294967295", "--demo"}, players).play);
    EXPECT_EQ(players.players.player1Level, 1);
    EXPECT_EQ(players.players.player2, Player2Device::Computer);
    EXPECT_EQ(players.players.player2Level, DefaultComputerLevel);
    EXPECT_EQ(players.players.seed, 4294967295u);
    EXPECT_TRUE(players.players.demo);
    Options keys;
    EXPECT_TRUE(Read({"--p2", "cpu:3", "--p2", "keys", "--p1", "keys"}, keys).play);
    EXPECT_EQ(keys.players.player2, Player2Device::Keys);
    EXPECT_EQ(keys.players.player2Level, 0);
    EXPECT_EQ(keys.players.player1Level, 0);

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
        {{"--p2", "cpu:4"}, "--p2 wants auto, pad, keys, cpu or cpu:1 to cpu:3, not \"cpu:4\""},
        {{"--p1=pad"}, "--p1 wants keys, cpu or cpu:1 to cpu:3, not \"pad\""},
        {{"--seed", "-1"}, "--seed wants a whole number from 0 to 4294967295, not \"-1\""},
        {{"--seed", "4294967296"}, "--seed wants a whole number from 0 to 4294967295, not \"4294967296\""},
        {{"--demo=yes"}, "--demo takes no value, not \"yes\""},
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
