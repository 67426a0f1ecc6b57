// The replay tool's input script: parsed, and when it is accepted, the
// keys held at the frames where spans start and end and a few beyond.
#include <cstddef>
#include <cstdint>
#include <string>

#include "replay/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    InputScript script;
    int errorLine = 0;
    std::string error;
    if (!ParseInputScript(text, script, errorLine, error)) {
        if (errorLine < 1 || error.empty()) __builtin_trap();  // a refusal always says where and why
        return 0;
    }
    int asked = 0;
    for (const InputSpan& span : script.spans) {
        if (span.first < 1 || span.last < span.first || span.keys.empty()) __builtin_trap();
        for (int frame : {span.first - 1, span.first, span.last, span.last + 1}) {
            for (const std::string& key : KeysHeldAt(script, frame)) {
                if (VirtualKeyOfName(key) == 0 && !IsGamepadName(key)) __builtin_trap();
            }
        }
        if (++asked == 8) break;  // a long script costs its length squared otherwise
    }
    KeysHeldAt(script, 1);
    KeysHeldAt(script, 1 << 30);
    return 0;
}
