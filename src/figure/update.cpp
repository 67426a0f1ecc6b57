// The per-frame figure update: the floor, then every body part through the
// joint pipeline.
#include "figure/passes.h"
#include "figure/transform.h"

void UpdateFigures() {
    TransformJoint(stageMesh, stageJoint, 0.0);
    // Shadows fall on the floor wherever it stands.
    const double floorHeight = stageJoint.offset.y;
    for (int k = 0; k < JointCount; ++k) TransformJoint(meshes[k], joints[k], floorHeight);
}
