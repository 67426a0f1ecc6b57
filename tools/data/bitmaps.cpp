#include "data/writers.h"

// Not written yet.
bool WriteBitmaps(const DataPaths&) { return true; }
