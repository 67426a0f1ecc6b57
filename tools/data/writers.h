// The data maker's writers, one per kind of data. Each writes its files
// under the output folder (creating folders as needed) and returns false,
// after printing why to stderr, if it could not.
#pragma once

#include <string>

struct DataPaths {
    std::string assets;  // the readable sources
    std::string out;     // the data tree the game reads
};

bool WriteSineTable(const DataPaths& paths);
bool WriteBitmaps(const DataPaths& paths);
bool WriteMotions(const DataPaths& paths);
bool WriteSounds(const DataPaths& paths);
bool WriteMusic(const DataPaths& paths);

// Writes bytes to OUT/relative (folders made as needed).
bool WriteDataFile(const DataPaths& paths, const std::string& relative, const void* bytes, size_t size);
