// The SDL backend: window, events, presenter, sound, music, input.
