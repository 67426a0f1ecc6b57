// The music on the MIDI sequencer through MCI. The piece plays on its own;
// its end comes to the main window as MM_MCINOTIFY, which the window
// procedure hands to the game like any other message.
#include "platform/platform.h"
#include "platform/shared/frame_report.h"
#include "platform/win32/win32_internal.h"

#include <mmsystem.h>

namespace platform {

uint32_t OpenMusic(const char* fileName) {
    NoteMusic("open", fileName);
    if (!fileName || !*fileName) return 0;
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = fileName;
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return 0;
    return open.wDeviceID;
}

bool PlayMusic(uint32_t deviceId, Window* notify) {
    NoteMusic("play", nullptr);
    if (deviceId == 0) return false;
    MCI_PLAY_PARMS play{};
    play.dwFrom = 0;
    DWORD flags = MCI_FROM;
    if (notify) {
        play.dwCallback = reinterpret_cast<DWORD_PTR>(win32::Handle(notify));
        flags |= MCI_NOTIFY;
    }
    return mciSendCommandA(deviceId, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play)) == 0;
}

bool StopMusic(uint32_t deviceId) {
    NoteMusic("stop", nullptr);
    return deviceId != 0 && mciSendCommandA(deviceId, MCI_STOP, 0, 0) == 0;
}

bool CloseMusic(uint32_t deviceId) {
    NoteMusic("close", nullptr);
    return deviceId != 0 && mciSendCommandA(deviceId, MCI_CLOSE, 0, 0) == 0;
}

}  // namespace platform
