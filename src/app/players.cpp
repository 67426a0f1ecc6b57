#include "app/players.h"

#include <cstdlib>

#include "app/scenes.h"
#include "combat/computer.h"

int ComputerLevelOf(const std::string& text) {
    if (text == "cpu") return DefaultComputerLevel;
    if (text.size() != 5 || text.compare(0, 4, "cpu:") != 0) return 0;
    const int level = text[4] - '0';
    return level >= 1 && level <= ComputerLevels ? level : -1;
}

namespace {

std::string Refusal(const char* option, const char* wants, const std::string& text) {
    return std::string(option) + " wants " + wants + ", not \"" + text + "\"";
}

}  // namespace

bool ParsePlayer1(const std::string& text, Players& players, std::string& error) {
    const int level = text == "keys" ? 0 : ComputerLevelOf(text);
    if (level < 0 || (level == 0 && text != "keys")) {
        error = Refusal("--p1", "keys, cpu or cpu:1 to cpu:3", text);
        return false;
    }
    players.player1Level = level;
    return true;
}

bool ParsePlayer2(const std::string& text, Players& players, std::string& error) {
    const struct {
        const char* name;
        Player2Device device;
    } devices[] = {{"auto", Player2Device::Auto}, {"pad", Player2Device::Pad}, {"keys", Player2Device::Keys}};
    for (const auto& d : devices) {
        if (text == d.name) {
            players.player2 = d.device;
            players.player2Level = 0;
            return true;
        }
    }
    const int level = ComputerLevelOf(text);
    if (level <= 0) {
        error = Refusal("--p2", "auto, pad, keys, cpu or cpu:1 to cpu:3", text);
        return false;
    }
    players.player2 = Player2Device::Computer;
    players.player2Level = level;
    return true;
}

bool ParseSeed(const std::string& text, Players& players, std::string& error) {
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || *end != '\0' || v < 0 || v > 0xFFFFFFFFLL) {
        error = Refusal("--seed", "a whole number from 0 to 4294967295", text);
        return false;
    }
    players.seed = static_cast<uint32_t>(v);
    return true;
}

void ApplyPlayers(const Players& named) {
    Players players = named;
    if (players.demo) {
        if (players.player1Level == 0) players.player1Level = DefaultComputerLevel;
        if (players.player2 == Player2Device::Auto) {
            players.player2 = Player2Device::Computer;
            players.player2Level = DefaultComputerLevel;
        }
    }
    if (players.player1Level > 0) SetComputer(0, players.player1Level, players.seed);
    if (players.player2Level > 0) SetComputer(1, players.player2Level, players.seed);
    player2Device = players.player2;
    demoMode = players.demo ? 1 : 0;
}
