// The per-frame figure update: the floor, the fighters' vertical motion and
// facing, every body part through the joint pipeline, then the motions. The
// pose playback writes is transformed and drawn in the next frame.
#include "combat/fighter.h"
#include "combat/movement.h"
#include "combat/playback.h"
#include "figure/passes.h"
#include "figure/transform.h"

void UpdateFigures() {
    TransformJoint(stageMesh, stageJoint, 0.0);
    JumpStep(fighter1, Fighter1Base);
    JumpStep(fighter2, Fighter2Base);
    GravityStep(Fighter1Base, fighter1);
    GravityStep(Fighter2Base, fighter2);
    FaceFighters();
    // Shadows fall on the floor wherever it stands.
    const double floorHeight = stageJoint.offset.y;
    for (int k = 0; k < JointCount; ++k) TransformJoint(meshes[k], joints[k], floorHeight);
    AdvanceMotion(joints, fighter1, Fighter1Base, Fighter1Base + PartsPerFigure);
    AdvanceMotion(joints, fighter2, Fighter2Base, Fighter2Base + PartsPerFigure);
}
