// The game's command line: a table of options, each row naming an option,
// whether it takes a value, and the routine that applies it. Adding an
// option is adding a row.
#pragma once

#include <string>
#include <vector>

#include "app/players.h"

// What the command line asked for; every field starts at what the game does
// with no options.
struct Options {
    std::string dataFolder;  // --data; empty: the game looks for its data
    int scale = 1;           // --scale: the window is this many times 320 x 240
    bool fullScreen = false;
    Players players;  // --p1, --p2, --seed, --demo
    bool help = false;
    bool version = false;
};

// What to do after reading the command line: play, or exit with `status`
// once `out` is written to stdout and `err` to stderr.
struct OptionsOutcome {
    bool play = true;
    int status = 0;
    std::string out;
    std::string err;
};

// Reads the arguments after the program's name into `options`. A bad
// command line is one line saying what was wrong, then the usage, status 2;
// --help and --version answer on stdout, status 0.
OptionsOutcome ReadOptions(const std::vector<std::string>& args, Options& options);

// "usage: tessaline [--data DIR] ..." with its newline, built from the table.
std::string UsageLine();
