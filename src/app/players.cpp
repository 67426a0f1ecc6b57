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

bool LevelOf(const std::string& text, int& level, std::string& error) {
    level = ComputerLevelOf(text);
    if (level < 0) error = "the computer's level is 1, 2 or 3: " + text;
    return level >= 0;
}

}  // namespace

bool ParsePlayer1(const std::string& text, Players& players, std::string& error) {
    if (text == "keys") {
        players.player1Level = 0;
        return true;
    }
    if (!LevelOf(text, players.player1Level, error)) return false;
    if (players.player1Level == 0) error = "player 1 is keys or cpu[:LEVEL]: " + text;
    return players.player1Level > 0;
}

bool ParsePlayer2(const std::string& text, Players& players, std::string& error) {
    const struct {
        const char* name;
        Player2Device device;
    } devices[] = {{"auto", Player2Device::Auto}, {"pad", Player2Device::Pad}, {"keys", Player2Device::Keys}};
    players.player2Level = 0;
    for (const auto& d : devices) {
        if (text == d.name) {
            players.player2 = d.device;
            return true;
        }
    }
    if (!LevelOf(text, players.player2Level, error)) return false;
    if (players.player2Level == 0) {
        error = "player 2 is auto, pad, keys or cpu[:LEVEL]: " + text;
        return false;
    }
    players.player2 = Player2Device::Computer;
    return true;
}

bool ParseSeed(const std::string& text, Players& players, std::string& error) {
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 0 || v > 0xFFFFFFFFLL) {
        error = "the seed is a whole number from 0 to 4294967295: " + text;
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
