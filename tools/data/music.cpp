// "sound.mid": the battle theme, from the score in assets/music.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "data/score.h"
#include "data/writers.h"

bool WriteMusic(const DataPaths& paths) {
    const std::string source = paths.assets + "/music/battle.score";
    std::ifstream in(source);
    if (!in) {
        std::fprintf(stderr, "tessaline-data: cannot read %s\n", source.c_str());
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    Score score;
    std::string error;
    if (!ParseScore(text.str(), score, error)) {
        std::fprintf(stderr, "tessaline-data: %s, %s\n", source.c_str(), error.c_str());
        return false;
    }
    const std::vector<uint8_t> midi = MidiFile(score);
    return WriteDataFile(paths, "sound.mid", midi.data(), midi.size());
}
