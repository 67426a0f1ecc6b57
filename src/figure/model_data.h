// The figure's model data as the build reads it: one entry per body part.
#pragma once

#include "figure/model.h"

struct PartData {
    int parent;          // index within the figure; -1 for the root
    Vec3 offset;         // from the parent; the root's is set per fighter
    const Vec3* vertices;
    int vertexCount;
    const Face* faces;
    int faceCount;
    int radius[2];       // fighter 1, fighter 2
};

extern const PartData figureParts[PartsPerFigure];
// Where each fighter's root stands at the start of a match.
extern const Vec3 rootOffsets[2];
