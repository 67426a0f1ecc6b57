// The keys as the game knows them, by virtual-key code and by keyboard
// scan code, mapped onto SDL's scancodes (the key's place on the keyboard,
// whatever the layout).
#include "platform/sdl/sdl_keys.h"

#include "platform/platform.h"

namespace platform::sdl {

namespace {

struct KeyName {
    int code;  // a virtual-key code or a keyboard scan code
    SDL_Scancode scancode;
};

// Letters, digits and function keys map by their order; these are the
// rest. The keypad's Enter is the same virtual key as Enter.
constexpr KeyName VirtualKeys[] = {
    {VK_RETURN, SDL_SCANCODE_RETURN}, {VK_RETURN, SDL_SCANCODE_KP_ENTER}, {VK_ESCAPE, SDL_SCANCODE_ESCAPE},
    {0x20, SDL_SCANCODE_SPACE},       {0x08, SDL_SCANCODE_BACKSPACE},     {0x09, SDL_SCANCODE_TAB},
    {VK_LEFT, SDL_SCANCODE_LEFT},     {VK_UP, SDL_SCANCODE_UP},           {VK_RIGHT, SDL_SCANCODE_RIGHT},
    {VK_DOWN, SDL_SCANCODE_DOWN},     {VK_NUMPAD0, SDL_SCANCODE_KP_0},    {VK_NUMPAD4, SDL_SCANCODE_KP_4},
    {VK_NUMPAD5, SDL_SCANCODE_KP_5},  {VK_NUMPAD6, SDL_SCANCODE_KP_6},    {VK_NUMPAD8, SDL_SCANCODE_KP_8},
    {VK_ADD, SDL_SCANCODE_KP_PLUS},
};

// The keyboard device's scan codes that player 2 reads; the arrows are the
// arrow block's, not the keypad's, and the keypad's keys are the second key
// set's whether Num Lock is on or not.
constexpr KeyName KeyboardCodes[] = {
    {DIK_Z, SDL_SCANCODE_Z},           {DIK_X, SDL_SCANCODE_X},           {DIK_UP, SDL_SCANCODE_UP},
    {DIK_LEFT, SDL_SCANCODE_LEFT},     {DIK_RIGHT, SDL_SCANCODE_RIGHT},   {DIK_DOWN, SDL_SCANCODE_DOWN},
    {DIK_NUMPAD8, SDL_SCANCODE_KP_8},  {DIK_NUMPAD4, SDL_SCANCODE_KP_4},  {DIK_NUMPAD5, SDL_SCANCODE_KP_5},
    {DIK_NUMPAD6, SDL_SCANCODE_KP_6},  {DIK_NUMPAD0, SDL_SCANCODE_KP_0},  {DIK_ADD, SDL_SCANCODE_KP_PLUS},
};

}  // namespace

int VirtualKeyOfScancode(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return '0';
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
    for (const KeyName& k : VirtualKeys) {
        if (k.scancode == sc) return k.code;
    }
    return 0;
}

bool VirtualKeyHeld(int virtualKey, const Uint8* state, int count) {
    if (!state || virtualKey == 0) return false;
    for (int sc = 0; sc < count && sc < SDL_NUM_SCANCODES; ++sc) {
        if (state[sc] && VirtualKeyOfScancode(static_cast<SDL_Scancode>(sc)) == virtualKey) return true;
    }
    return false;
}

SDL_Scancode ScancodeOfKeyboardCode(int code) {
    for (const KeyName& k : KeyboardCodes) {
        if (k.code == code) return k.scancode;
    }
    return SDL_SCANCODE_UNKNOWN;
}

}  // namespace platform::sdl
