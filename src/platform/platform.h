// The platform layer: the window and its message queue, key state, the
// clock, message boxes, data files, the presenter, sound, music and the
// input devices. The game calls these and nothing else of the machine.
// Two backends implement it: the SDL backend (the game) and the headless
// backend (tests and the replay tool; see headless.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace platform {

// ---------------------------------------------------------------- window

struct Window;  // the one main window; null where no window owns a call

// Message numbers, as the window procedure knows them.
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_QUERYNEWPALETTE = 0x030F;
constexpr uint32_t WM_PALETTECHANGED = 0x0311;
constexpr uint32_t MM_MCINOTIFY = 0x03B9;

// WM_ACTIVATE's low word.
constexpr uintptr_t WA_INACTIVE = 0;
constexpr uintptr_t WA_ACTIVE = 1;
// MM_MCINOTIFY's wParam.
constexpr uintptr_t MCI_NOTIFY_SUCCESSFUL = 1;
constexpr uintptr_t MCI_NOTIFY_ABORTED = 4;

// Virtual-key codes the game reads.
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_C = 0x43;
constexpr int VK_X = 0x58;
constexpr int VK_Z = 0x5A;
// The keypad: player 2's second key set.
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_NUMPAD4 = 0x64;
constexpr int VK_NUMPAD5 = 0x65;
constexpr int VK_NUMPAD6 = 0x66;
constexpr int VK_NUMPAD8 = 0x68;
constexpr int VK_ADD = 0x6B;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F6 = 0x75;
constexpr int VK_F10 = 0x79;

// Window styles the display switch sets.
constexpr uint32_t WS_WINDOWED = 0x00CA0000;  // caption, system menu, minimize box
constexpr uint32_t WS_POPUP = 0x80000000;

struct Message {
    Window* window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

struct Rect {
    int32_t left, top, right, bottom;
};

using WindowProc = intptr_t (*)(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Registers the window procedure that every dispatched or sent message
// reaches. False when the window system cannot be used at all.
bool RegisterWindowClass(WindowProc proc);
// The "Tessaline" window, client area 320 x 240 at screen position 100, 100,
// not resizable; WM_CREATE reaches the window procedure before it returns.
// Null on failure.
Window* CreateMainWindow();
void ShowMainWindow(Window* window);

// Takes the oldest message from the queue; false when the queue is empty.
bool PeekMessage(Message& out);
// Blocks until a message is in the queue.
void WaitMessage();
intptr_t DispatchMessage(const Message& message);
// The default handling: WM_CLOSE destroys the window (the window procedure
// receives WM_DESTROY before the window goes); everything else returns 0.
intptr_t DefWindowProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void PostMessage(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void PostQuitMessage(int exitCode);

// The client area in client coordinates (0, 0, width, height).
Rect GetClientRect(Window* window);
// Client coordinates to screen coordinates.
void ClientToScreen(Window* window, int32_t& x, int32_t& y);
void SetWindowStyle(Window* window, uint32_t style);
// Places the window's client area at (x, y) with that size and shows it.
void SetWindowPos(Window* window, int x, int y, int width, int height);

// ------------------------------------------------------- keys, clock, boxes

// True while the key with this virtual-key code is held.
bool IsKeyDown(int virtualKey);
// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t TimeGetTime();
// A modal OK box; owner null for boxes that belong to no window. The texts
// are UTF-8. Where no display can show a box the text goes to stderr.
void MessageBox(Window* owner, const char* text, const char* caption);

// ------------------------------------------------------------------ files

// Opens a data file by the game's relative name ("Image\Font.bmp"); the
// backslashes are folder separators. Binary read; null when it cannot, and
// for anything that is not a regular file (a folder, a pipe, a device).
std::FILE* OpenDataFile(const char* name);
// Reads a whole data file into `bytes`; false when it cannot be opened or
// read.
bool ReadDataFile(const char* name, std::vector<uint8_t>& bytes);
// Loads a BMP file into 0x00RRGGBB pixels, rows top first. False (and
// nothing changed) for a missing, short or malformed file, and for one
// whose header claims a picture no surface could hold or more rows than
// the file carries; those are refused from the header, before decoding.
bool LoadBitmapFile(const char* name, std::vector<uint32_t>& pixels, int& width, int& height);
// Writes 0x00RRGGBB pixels as a PNG file.
bool WritePng(const char* path, const uint32_t* pixels, int width, int height, int pitch);

// -------------------------------------------------------------- presenter
// The display's objects: the presenter (the renderer), the primary surface
// (the picture on screen), the clipper, and the memory of every surface
// the display creates, which the presenter counts.

bool CreatePresenter(Window* window);
bool SetCooperativeLevel(Window* window, bool fullScreen);
// Full screen only: desktop full screen, the picture scaled by the largest
// whole factor and centred, cursor hidden.
bool SetDisplayMode(int width, int height, int bitsPerPixel);
// Leaves full screen, with or without a presenter.
void RestoreDisplayMode();
// The visible 320 x 240 surface. fullScreen asks for a flip chain with one
// attached back buffer. Null on failure.
uint32_t* CreatePrimarySurface(bool fullScreen, int& pitch);
// The back buffer attached to a full-screen primary; it goes with the
// primary. Null on failure.
uint32_t* GetAttachedBackBuffer(int& pitch);
// The longest side of a surface either presenter will make.
constexpr int MaxSurfaceSide = 16384;
// Pixel memory of an off-screen surface, zeroed; counted by the presenter
// until released. Null on failure, when there is no presenter, or for a
// side of 0 or past MaxSurfaceSide.
uint32_t* CreateSurfaceMemory(int width, int height, int& pitch);
void ReleaseSurfaceMemory(uint32_t* pixels);
bool CreateClipper();
bool SetClipperWindow(Window* window);
bool AttachClipper();
void ReleaseClipper();
// Releases the primary surface and, in full screen, its attached back buffer.
void ReleasePrimarySurface();
// Releases the presenter; returns the number of surfaces still alive.
int ReleasePresenter();
// Waits for the start of the vertical blank where the presenter can; the
// frame pacing itself is done by ShowPrimarySurface.
void WaitForVerticalBlank();
// Shows the primary surface's picture: in a window into its client area,
// in full screen scaled and centred. Holds the game at 60 frames a second.
void ShowPrimarySurface();
void ShowCursor(bool show);

// ------------------------------------------------------------------ sound

struct SoundBuffer;

// The published wave format layout, as read from a "fmt " chunk.
struct WaveFormat {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

bool CreateSoundDevice();
bool SetSoundCooperativeLevel(Window* window);
bool CreatePrimarySoundBuffer();
// Opens the mixer with this output format; the result is not reported.
void SetPrimarySoundFormat(const WaveFormat& format);
// Whether an effect's format can be played: PCM of 8 or 16 bits, one or
// two channels, 100 to 200,000 samples a second. Both backends refuse
// anything else.
bool SoundFormatPlayable(const WaveFormat& format);
// A buffer holding one effect, named by its file for the records. Null
// when the format is not playable or there is no sound device.
SoundBuffer* CreateSoundBuffer(const char* name, const WaveFormat& format, const uint8_t* data, uint32_t size);
// Stops the effect, rewinds it and plays it once. Each effect has its own
// channel: replaying cuts it off; different effects sound together.
void PlaySoundBuffer(SoundBuffer* buffer);
void ReleaseSoundBuffer(SoundBuffer* buffer);
void ReleasePrimarySoundBuffer();
void ReleaseSoundDevice();

// ------------------------------------------------------------------ music
// The MIDI sequencer. A device id of 0 means "no device": every command
// on it fails and does nothing.

uint32_t OpenMusic(const char* fileName);
// Plays from the start. The end of the piece posts MM_MCINOTIFY to the
// window with MCI_NOTIFY_SUCCESSFUL and the device id as lParam.
bool PlayMusic(uint32_t deviceId, Window* notify);
bool StopMusic(uint32_t deviceId);
bool CloseMusic(uint32_t deviceId);

// ------------------------------------------------------------------ input
// Player 2's devices: the keyboard read by scan codes and the first
// joystick attached at start-up. A device is lost when the window loses
// the foreground; reading it then fails with InputResult::Lost until it is
// acquired again.

enum class InputResult { Ok, Lost, Failed };

// Keyboard scan codes of the keyboard device's state.
constexpr int DIK_Z = 0x2C;
constexpr int DIK_X = 0x2D;
constexpr int DIK_UP = 0xC8;
constexpr int DIK_LEFT = 0xCB;
constexpr int DIK_RIGHT = 0xCD;
constexpr int DIK_DOWN = 0xD0;
constexpr int DIK_NUMPAD8 = 0x48;
constexpr int DIK_NUMPAD4 = 0x4B;
constexpr int DIK_NUMPAD5 = 0x4C;
constexpr int DIK_NUMPAD6 = 0x4D;
constexpr int DIK_ADD = 0x4E;
constexpr int DIK_NUMPAD0 = 0x52;

struct JoystickState {
    int32_t x, y;          // -1000 .. 1000 once the ranges are set
    uint8_t buttons[32];   // bit 7 set while held
};

bool CreateInputObject();
bool CreateKeyboardDevice();
bool SetKeyboardDataFormat();
bool SetKeyboardCooperativeLevel(Window* window);
bool AcquireKeyboard();
// 256 key bytes indexed by scan code, bit 7 set while held.
InputResult GetKeyboardState(uint8_t keys[256]);
// Creates the device of the first attached joystick; false if none.
bool FindJoystick();
bool SetJoystickDataFormat();
bool SetJoystickCooperativeLevel(Window* window);
bool SetJoystickAxisRange(int axisOffset, int32_t minimum, int32_t maximum);
bool AcquireJoystick();
void PollJoystickDevice();
InputResult GetJoystickState(JoystickState& state);
void ReleaseKeyboardDevice();
void ReleaseJoystickDevice();
void ReleaseInputObject();

}  // namespace platform
