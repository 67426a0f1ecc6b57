// The keys the game reads, by their virtual-key codes and their keyboard
// scan codes, mapped onto SDL's scancodes.
#include "platform/sdl/sdl_keys.h"

#include "platform/platform.h"

namespace platform::sdl {

namespace {

struct KeyName {
    int virtualKey;
    SDL_Scancode scancode;
};

// Letters and digits map by their character; these are the rest.
constexpr KeyName NamedKeys[] = {
    {VK_RETURN, SDL_SCANCODE_RETURN}, {VK_ESCAPE, SDL_SCANCODE_ESCAPE}, {0x20, SDL_SCANCODE_SPACE},
    {VK_LEFT, SDL_SCANCODE_LEFT},     {VK_UP, SDL_SCANCODE_UP},         {VK_RIGHT, SDL_SCANCODE_RIGHT},
    {VK_DOWN, SDL_SCANCODE_DOWN},     {0x08, SDL_SCANCODE_BACKSPACE},   {0x09, SDL_SCANCODE_TAB},
};

}  // namespace

SDL_Scancode ScancodeOfVirtualKey(int vk) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<SDL_Scancode>(SDL_SCANCODE_A + (vk - 'A'));
    if (vk >= '1' && vk <= '9') return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (vk - '1'));
    if (vk == '0') return SDL_SCANCODE_0;
    if (vk >= VK_F1 && vk <= VK_F1 + 11) return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (vk - VK_F1));
    for (const KeyName& k : NamedKeys) {
        if (k.virtualKey == vk) return k.scancode;
    }
    return SDL_SCANCODE_UNKNOWN;
}

int VirtualKeyOfScancode(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return '0';
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
    for (const KeyName& k : NamedKeys) {
        if (k.scancode == sc) return k.virtualKey;
    }
    return 0;
}

SDL_Scancode ScancodeOfKeyboardCode(int code) {
    switch (code) {
    case DIK_Z: return SDL_SCANCODE_Z;
    case DIK_X: return SDL_SCANCODE_X;
    case DIK_UP: return SDL_SCANCODE_UP;
    case DIK_LEFT: return SDL_SCANCODE_LEFT;
    case DIK_RIGHT: return SDL_SCANCODE_RIGHT;
    case DIK_DOWN: return SDL_SCANCODE_DOWN;
    default: return SDL_SCANCODE_UNKNOWN;
    }
}

}  // namespace platform::sdl
