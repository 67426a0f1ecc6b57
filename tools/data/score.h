// The score of the game's music: a readable text (its form is described at
// the head of assets/music/battle.score) read into parts of timed notes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int TicksPerQuarter = 480;

struct ScoreNote {
    int64_t start;   // ticks from the start of the piece
    int64_t length;  // ticks the note is written for
    int key;         // MIDI key number
    int velocity;    // 1 .. 127
};

struct ScorePart {
    std::string name;
    int channel = 1;   // 1 .. 16; 10 is the drums
    int program = 0;   // General MIDI number 1 .. 128, 0 for none (drums)
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int gate = 90;      // percent of a note's written length that sounds
    int velocity = 96;
    std::vector<ScoreNote> notes;
};

struct Score {
    std::string title;
    int tempo = 120;        // quarter notes a minute
    int beatsPerBar = 4;    // quarter notes a bar
    int64_t length = 0;     // ticks of the whole piece
    std::vector<ScorePart> parts;
};

// Parses the text; false with `error` ("line N: why") on a mistake.
bool ParseScore(const std::string& text, Score& score, std::string& error);
// The Standard MIDI File (format 1) of the score: a conductor track with
// the tempo and meter, then a track per part; every track ends at the
// score's length, so the piece joins its own start when played again.
std::vector<uint8_t> MidiFile(const Score& score);
