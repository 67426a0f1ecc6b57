// The five effect buffers and how an effect is played.
#include "devices/sound.h"

platform::SoundBuffer* hitSound = nullptr;
platform::SoundBuffer* attackSound = nullptr;
platform::SoundBuffer* sousatuSound = nullptr;
platform::SoundBuffer* jumpSound = nullptr;
platform::SoundBuffer* koSound = nullptr;

void PlayEffect(platform::SoundBuffer* buffer) {
    if (buffer) platform::PlaySoundBuffer(buffer);
}
