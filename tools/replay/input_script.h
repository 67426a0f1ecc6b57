// The replay tool's input file: lines "FIRST[-LAST] NAME..." naming the
// keys held over those frames (1-based, inclusive); '#' starts a comment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct InputSpan {
    int first;
    int last;
    std::vector<std::string> keys;
};

struct InputScript {
    std::vector<InputSpan> spans;
    bool usesGamepad = false;  // any JLEFT JRIGHT JUP JDOWN J0 J1
};

// Virtual-key code of a keyboard name, or 0.
int VirtualKeyOfName(const std::string& name);
bool IsGamepadName(const std::string& name);

// False with the 1-based line number and a reason for a malformed line.
bool ParseInputScript(const std::string& text, InputScript& out, int& errorLine, std::string& error);

// The names held in a frame.
std::vector<std::string> KeysHeldAt(const InputScript& script, int frame);
