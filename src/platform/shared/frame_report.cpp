// The frame hook and the notes behind the real game's state report. All of
// it runs on the game's thread: effects, music commands and message boxes
// are only ever asked for there.
#include "platform/shared/frame_report.h"

#include <string>

#include "platform/game_backend.h"

namespace platform {

namespace {

void (*frameHook)() = nullptr;
FrameNotes notes;

}  // namespace

void game::SetFrameHook(void (*hook)()) {
    frameHook = hook;
    notes = FrameNotes{};
}

FrameNotes game::TakeFrameNotes() {
    FrameNotes taken;
    taken.sounds.swap(notes.sounds);
    taken.music.swap(notes.music);
    taken.messages.swap(notes.messages);
    return taken;
}

void NoteSound(const char* name) {
    if (frameHook) notes.sounds.emplace_back(name ? name : "");
}

void NoteMusic(const char* command, const char* fileName) {
    if (!frameHook) return;
    std::string line = command;
    if (fileName && *fileName) line += std::string(" ") + fileName;
    notes.music.push_back(line);
}

void NoteMessage(const char* caption, const char* text) {
    if (frameHook) notes.messages.emplace_back(caption ? caption : "", text ? text : "");
}

void RunFrameHook() {
    if (frameHook) frameHook();
}

}  // namespace platform
