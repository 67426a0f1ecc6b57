// The command line, read against a table of rows. Rows apply in the order
// given; an option given twice keeps its last value.
#include "app/options.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <string_view>

namespace {

// A row's routine returns what was wrong with the value, or nothing.
using Apply = std::string (*)(Options&, const std::string& value);

struct OptionRow {
    const char* name;
    const char* valueName;  // null for an option that takes no value
    const char* help;
    Apply apply;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string ApplyData(Options& options, const std::string& value) {
    if (value.empty()) return "--data wants a folder, not \"\"";
    options.dataFolder = value;
    return {};
}

std::string ApplyScale(Options& options, const std::string& value) {
    int scale = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, scale);
    if (value.empty() || error != std::errc() || stop != end || scale < 1 || scale > 8)
        return "--scale wants a whole number from 1 to 8, not " + Quoted(value);
    options.scale = scale;
    return {};
}

std::string ApplyFullScreen(Options& options, const std::string&) {
    options.fullScreen = true;
    return {};
}

std::string ApplyPlayer1(Options& options, const std::string& value) {
    std::string wrong;
    ParsePlayer1(value, options.players, wrong);
    return wrong;
}

std::string ApplyPlayer2(Options& options, const std::string& value) {
    std::string wrong;
    ParsePlayer2(value, options.players, wrong);
    return wrong;
}

std::string ApplySeed(Options& options, const std::string& value) {
    std::string wrong;
    ParseSeed(value, options.players, wrong);
    return wrong;
}

std::string ApplyDemo(Options& options, const std::string&) {
    options.players.demo = true;
    return {};
}

std::string ApplyHelp(Options& options, const std::string&) {
    options.help = true;
    return {};
}

std::string ApplyVersion(Options& options, const std::string&) {
    options.version = true;
    return {};
}

constexpr OptionRow Rows[] = {
    {"--data", "DIR", "read the game's data from DIR (else TESSALINE_DATA, else found)", ApplyData},
    {"--scale", "N", "a window N times 320 x 240, N from 1 to 8 (default 1)", ApplyScale},
    {"--fullscreen", nullptr, "start in full screen (F5 switches back)", ApplyFullScreen},
    {"--p1", "WHO", "player 1: keys (default) or cpu[:LEVEL], the computer at level 1 to 3 (default 2)", ApplyPlayer1},
    {"--p2", "WHO", "player 2: auto (default: the gamepad, else the keys), pad, keys (the keypad) or cpu[:LEVEL]",
     ApplyPlayer2},
    {"--seed", "N", "seed the computer's choices (a fixed seed by default)", ApplySeed},
    {"--demo", nullptr, "the computer plays both sides and starts each fight itself", ApplyDemo},
    {"--help", nullptr, "show this help and exit", ApplyHelp},
    {"--version", nullptr, "show the version and exit", ApplyVersion},
};

const OptionRow* FindRow(std::string_view name) {
    for (const OptionRow& row : Rows)
        if (name == row.name) return &row;
    return nullptr;
}

std::string RowUsage(const OptionRow& row) {
    return row.valueName ? std::string(row.name) + " " + row.valueName : std::string(row.name);
}

OptionsOutcome Refuse(const std::string& what) {
    return OptionsOutcome{false, 2, {}, "tessaline: " + what + "\n" + UsageLine()};
}

std::string Help() {
    std::string text = UsageLine() + "\nA two-player 3D fighting game.\n\n";
    for (const OptionRow& row : Rows) {
        std::string left = "  " + RowUsage(row);
        left.resize(std::max<std::size_t>(left.size() + 2, 20), ' ');
        text += left + row.help + "\n";
    }
    return text;
}

}  // namespace

std::string UsageLine() {
    std::string line = "usage: tessaline";
    for (const OptionRow& row : Rows) line += " [" + RowUsage(row) + "]";
    return line + "\n";
}

OptionsOutcome ReadOptions(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') return Refuse("unexpected argument " + Quoted(arg));
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const OptionRow* row = FindRow(name);
        if (!row) return Refuse("unknown option " + Quoted(name));
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
            if (!row->valueName) return Refuse(name + " takes no value, not " + Quoted(value));
        } else if (row->valueName) {
            if (i + 1 == args.size()) return Refuse(name + " wants a value: " + RowUsage(*row));
            value = args[++i];
        }
        if (std::string wrong = row->apply(options, value); !wrong.empty()) return Refuse(wrong);
    }
    if (options.help) return OptionsOutcome{false, 0, Help(), {}};
    if (options.version) return OptionsOutcome{false, 0, "tessaline " TESSALINE_VERSION "\n", {}};
    return OptionsOutcome{};
}
