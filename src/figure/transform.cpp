// The per-joint pipeline, run for the floor and every body part each frame.
#include "figure/transform.h"

#include "figure/passes.h"
#include "raster/shade.h"

Vec3 cameraPosition = {0.0, 0.0, 0.0};
uint16_t cameraAngles[3] = {0, 0, 0};

namespace {

constexpr Vec3 ScreenCentre = {160.0, 120.0, 0.0};
constexpr int ShadeModeCount = sizeof FaceShadeTable / sizeof FaceShadeTable[0];

void CopyPoints(Vec3* out, const Vec3* in, int count) {
    for (int i = 0; i < count; ++i) out[i] = in[i];
}

// From world space onto the screen: into the eye's frame, then projected.
// The projection rewrites bit 0 of flagsWord.
void ViewAndProject(Vec3* points, Vec3* screen, uint32_t& flagsWord, int count) {
    SubtractEye(points, count);
    RotateToView(points, count);
    ProjectPoints(screen, points, flagsWord, count);
    ToScreen(screen, count);
}

}  // namespace

// The faces are sorted on the eye-relative world points, before the turn
// into the eye's frame. With the outline on, the outline's projection has
// the last word on bit 0: a joint whose enlarged copy reaches the eye is not
// drawn at all.
void TransformJoint(Mesh& mesh, Joint& joint, double floorHeight) {
    const int n = mesh.vertexCount;
    const int f = mesh.faceCount;
    CopyPoints(joint.worldVerts, mesh.vertices, n);
    TransformToWorld(joint, joint.worldVerts, n);
    ComputeFaceNormals(joint.faceNormals, joint.worldVerts, mesh.faces, f);
    const bool modeKnown = ShadeMode < ShadeModeCount;
    if ((joint.flags & ShadowOn) && modeKnown) {
        ShadowProjectionTable[ShadeMode](joint.worldVerts, joint.shadowVerts, n, floorHeight);
        ViewAndProject(joint.shadowVerts, joint.shadowScreenVerts, joint.shadowFlags, n);
    }
    if (modeKnown) FaceShadeTable[ShadeMode](LightVector, joint.worldVerts, mesh.faces, joint.faceShades, f);
    SubtractEye(joint.worldVerts, n);
    SortFaces(mesh, joint);
    RotateToView(joint.worldVerts, n);
    ProjectPoints(joint.screenVerts, joint.worldVerts, joint.flags, n);
    ToScreen(joint.screenVerts, n);
    if (joint.flags & OutlineOn) {
        CopyPoints(joint.outlineVerts, joint.outlineModel, n);
        TransformToWorld(joint, joint.outlineVerts, n);
        ViewAndProject(joint.outlineVerts, joint.outlineScreenVerts, joint.flags, n);
    }
}

// Offsets are in the parent's frame, so every ancestor's turn carries them.
void TransformToWorld(Joint& joint, Vec3* points, int count) {
    for (Joint* j = &joint; j != nullptr; j = j->parent) {
        RotatePoints(j->angles, points, count);
        TranslatePoints(points, j->offset, count);
    }
}

// Not normalised: the shading divides by the lengths itself.
void ComputeFaceNormals(Vec3* normals, const Vec3* points, const Face* faces, int faceCount) {
    for (int k = 0; k < faceCount; ++k) {
        const Vec3& a = points[faces[k].a];
        const Vec3& b = points[faces[k].b];
        const Vec3& c = points[faces[k].c];
        const Vec3 e1 = {b.x - a.x, b.y - a.y, b.z - a.z};
        const Vec3 e2 = {c.x - a.x, c.y - a.y, c.z - a.z};
        normals[k] = {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
    }
}

void SubtractEye(Vec3* points, int count) {
    for (int i = 0; i < count; ++i) {
        points[i].x -= cameraPosition.x;
        points[i].y -= cameraPosition.y;
        points[i].z -= cameraPosition.z;
    }
}

// The same Z, X, Y turn with the camera's angles negated: not quite the
// inverse of the camera's own turn, and the camera's angles stay as they
// are.
void RotateToView(Vec3* points, int count) {
    uint16_t view[3];
    for (int k = 0; k < 3; ++k) view[k] = static_cast<uint16_t>(0u - cameraAngles[k]);
    RotatePoints(view, points, count);
}

// A point is in front only when its z is beyond the near limit; NaN is not.
// The first point that is not stops the projection: it and the points after
// it keep what they held.
bool ProjectPoints(Vec3* out, const Vec3* in, uint32_t& flagsWord, int count) {
    for (int i = 0; i < count; ++i) {
        if (!(in[i].z > NearLimit)) {
            flagsWord &= ~InFront;
            return false;
        }
        out[i].x = in[i].x * FocalLength / in[i].z;
        out[i].y = in[i].y * FocalLength / in[i].z;
    }
    flagsWord |= InFront;
    return true;
}

// Screen y runs downwards from the top row.
void ToScreen(Vec3* points, int count) {
    for (int i = 0; i < count; ++i) points[i].y = -points[i].y;
    for (int i = 0; i < count; ++i) {
        points[i].x += ScreenCentre.x;
        points[i].y += ScreenCentre.y;
        points[i].z += ScreenCentre.z;
    }
}
