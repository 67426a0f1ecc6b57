#include "support/game_harness.h"

#include <filesystem>

#include "app/shell.h"

namespace hl = platform::headless;

bool EnterDataFolder() {
    std::error_code ec;
    std::filesystem::current_path(TESSALINE_DATA_DIR, ec);
    return !ec;
}

int RunGame(const std::function<void(int)>& perTurn, int closeAtTurn) {
    hl::SetIdleHook([perTurn, closeAtTurn](int turn) {
        if (closeAtTurn > 0 && turn >= closeAtTurn) {
            if (turn == closeAtTurn) hl::PostClose();
            return;
        }
        if (perTurn) perTurn(turn);
    });
    return WinMain();
}

std::vector<std::string> MessageBoxes() {
    std::vector<std::string> out;
    for (const hl::Event& e : hl::Events()) {
        if (e.kind == hl::EventKind::MessageBox) out.push_back(e.caption + "|" + e.text);
    }
    return out;
}

std::vector<std::string> EventNames(hl::EventKind kind) {
    std::vector<std::string> out;
    for (const hl::Event& e : hl::Events()) {
        if (e.kind == kind) out.push_back(e.name);
    }
    return out;
}
