#include "data/writers.h"

// Not written yet.
bool WriteSounds(const DataPaths&) { return true; }
