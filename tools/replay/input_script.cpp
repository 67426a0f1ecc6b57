#include "replay/input_script.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/platform.h"

namespace {

struct Name {
    const char* name;
    int virtualKey;
};

constexpr Name KeyboardNames[] = {
    {"LEFT", platform::VK_LEFT}, {"RIGHT", platform::VK_RIGHT}, {"UP", platform::VK_UP},
    {"DOWN", platform::VK_DOWN}, {"X", platform::VK_X},         {"Z", platform::VK_Z},
    {"C", platform::VK_C},       {"ENTER", platform::VK_RETURN}, {"ESC", platform::VK_ESCAPE},
    {"F1", platform::VK_F1},     {"F2", platform::VK_F2},       {"F3", platform::VK_F3},
    {"F4", platform::VK_F4},     {"F5", platform::VK_F5},       {"F6", platform::VK_F6},
};

constexpr const char* GamepadNames[] = {"JLEFT", "JRIGHT", "JUP", "JDOWN", "J0", "J1"};

// A frame number: decimal digits only, 1 or more.
bool ParseFrame(const std::string& s, int& out) {
    if (s.empty() || s.size() > 9 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    out = std::atoi(s.c_str());
    return out >= 1;
}

}  // namespace

int VirtualKeyOfName(const std::string& name) {
    for (const Name& n : KeyboardNames) {
        if (name == n.name) return n.virtualKey;
    }
    return 0;
}

bool IsGamepadName(const std::string& name) {
    return std::any_of(std::begin(GamepadNames), std::end(GamepadNames), [&](const char* n) { return name == n; });
}

bool ParseInputScript(const std::string& text, InputScript& out, int& errorLine, std::string& error) {
    out = InputScript{};
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string range;
        if (!(words >> range)) continue;  // blank or comment only
        InputSpan span{};
        const size_t dash = range.find('-');
        const bool ok = dash == std::string::npos
                            ? ParseFrame(range, span.first) && (span.last = span.first, true)
                            : ParseFrame(range.substr(0, dash), span.first) &&
                                  ParseFrame(range.substr(dash + 1), span.last);
        if (!ok || span.last < span.first) {
            errorLine = number;
            error = "bad frame range \"" + range + "\"";
            return false;
        }
        std::string key;
        while (words >> key) {
            if (VirtualKeyOfName(key) == 0 && !IsGamepadName(key)) {
                errorLine = number;
                error = "unknown key \"" + key + "\"";
                return false;
            }
            if (IsGamepadName(key)) out.usesGamepad = true;
            span.keys.push_back(key);
        }
        if (span.keys.empty()) {
            errorLine = number;
            error = "no key named";
            return false;
        }
        out.spans.push_back(std::move(span));
    }
    return true;
}

std::vector<std::string> KeysHeldAt(const InputScript& script, int frame) {
    std::vector<std::string> held;
    for (const InputSpan& span : script.spans) {
        if (frame < span.first || frame > span.last) continue;
        for (const std::string& k : span.keys) {
            if (std::find(held.begin(), held.end(), k) == held.end()) held.push_back(k);
        }
    }
    return held;
}
