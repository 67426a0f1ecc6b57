// The painter's order at two levels, joints far to near and each joint's
// faces far to near, and the draw pass that follows it.
#include "figure/passes.h"

#include <cmath>
#include <vector>

#include "combat/fighter.h"
#include "raster/draw.h"

int32_t jointDrawOrder[JointCount] = {};

namespace {

constexpr double OneThird = 0.3333333333333333;

// Exchanges two keys and, alongside, their indices.
void Exchange(double* keys, int32_t* indices, int a, int b) {
    const double key = keys[a];
    keys[a] = keys[b];
    keys[b] = key;
    const int32_t index = indices[a];
    indices[a] = indices[b];
    indices[b] = index;
}

}  // namespace

// Far to near by the mean depth of the corners, on the eye-relative world
// points: the order follows world z even when the camera is turned.
void SortFaces(Mesh& mesh, Joint& joint) {
    const int f = mesh.faceCount;
    if (f <= 0) return;
    const Vec3* p = joint.worldVerts;
    std::vector<double> depth(static_cast<size_t>(f));
    for (int k = 0; k < f; ++k) {
        const Face& face = mesh.faces[k];
        joint.faceOrder[k] = k;
        depth[k] = (p[face.c].z + p[face.b].z + p[face.a].z) * OneThird;
    }
    QuickSortDescending(depth.data(), joint.faceOrder, 0, f - 1);
}

// The partition decides where faces of equal depth end up, so it is kept
// exactly: the pivot value stays while the ends close in, the left part is
// sorted by recursion and the right part by going round again.
void QuickSortDescending(double* keys, int32_t* indices, int lo, int hi) {
    while (lo < hi) {
        const double pivot = keys[lo + (hi - lo) / 2];
        int i = lo, j = hi;
        for (;;) {
            while (keys[i] > pivot) ++i;
            while (keys[j] < pivot) --j;
            if (i >= j) break;
            Exchange(keys, indices, i, j);
            ++i;
            --j;
        }
        if (lo < i - 1) QuickSortDescending(keys, indices, lo, i - 1);
        if (!(j + 1 < hi)) return;
        lo = j + 1;
    }
}

// Farthest first. Equal depths are never exchanged with each other, though
// an exchange with a deeper joint may carry one past the other.
void SortJointsByDepth(Mesh* meshTable, Joint* jointTable, int32_t* order, int count) {
    std::vector<double> depth(static_cast<size_t>(count > 0 ? count : 0));
    for (int k = 0; k < count; ++k) {
        depth[k] = MeanPointDistance(jointTable[k].worldVerts, meshTable[k].vertexCount);
        order[k] = k;
    }
    for (int i = 0; i + 1 < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            if (depth[i] < depth[j]) Exchange(depth.data(), order, i, j);
        }
    }
}

// The distance from the eye of the points' mean.
double MeanPointDistance(const Vec3* points, int count) {
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (int i = 0; i < count; ++i) {
        sx += points[i].x;
        sy += points[i].y;
        sz += points[i].z;
    }
    const double mx = sx / count, my = sy / count, mz = sz / count;
    return std::sqrt(mx * mx + my * my + mz * mz);
}

// The floor and every shadow go down first, and only while both fighters
// are on the stage; then the joints far to near.
void DrawFigures() {
    SortJointsByDepth(meshes, joints, jointDrawOrder, JointCount);
    if (fighters[0].ringOut == 0 && fighters[1].ringOut == 0) {
        DrawPart(1, stageMesh, stageJoint);
        for (int k = 0; k < JointCount; ++k) DrawPartShadow(meshes[k], joints[k]);
    }
    const auto mode = static_cast<uint8_t>(DrawMode & 0xFF);
    for (int k = 0; k < JointCount; ++k) {
        const int32_t j = jointDrawOrder[k];
        DrawPart(mode, meshes[j], joints[j]);
    }
}
