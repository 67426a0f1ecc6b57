// Building and releasing the two figures and the floor.
#include "figure/model.h"

#include "figure/model_data.h"
#include "figure/transform.h"

Mesh meshes[JointCount] = {};
Joint joints[JointCount] = {};
Mesh stageMesh = {};
Joint stageJoint = {};

uint32_t randomState = 1;

namespace {

constexpr double OutlineScale = 1.1;
constexpr int FloorSize = 2000;
constexpr int FloorCells = 4;
constexpr Vec3 StartEye = {-100, 300, -2000};

// Zeroed, so every work array reads the same in every run before the first
// frame writes it.
template <typename T>
T* Allocate(int count) {
    return new T[count > 0 ? count : 0]();
}

template <typename T>
void Release(T*& array) {
    if (array == nullptr) return;
    delete[] array;
    array = nullptr;
}

void AllocateArrays(Mesh& mesh, Joint& joint, int n, int f) {
    FreeJoint(mesh, joint);  // a second build must not leak the first
    mesh.vertexCount = n;
    mesh.vertices = Allocate<Vec3>(n);
    joint.worldVerts = Allocate<Vec3>(n);
    joint.vertexNormals = Allocate<Vec3>(n);
    joint.screenVerts = Allocate<Vec3>(n);
    joint.shadowVerts = Allocate<Vec3>(n);
    joint.shadowScreenVerts = Allocate<Vec3>(n);
    joint.outlineModel = Allocate<Vec3>(n);
    joint.outlineVerts = Allocate<Vec3>(n);
    joint.outlineScreenVerts = Allocate<Vec3>(n);
    joint.vertexShades = Allocate<double>(n);
    mesh.faceCount = f;
    mesh.faces = Allocate<Face>(f);
    joint.faceShades = Allocate<double>(f);
    joint.faceOrder = Allocate<int32_t>(f);
    joint.faceNormals = Allocate<Vec3>(f);
}

void BuildPart(int k, int fighter) {
    const PartData& part = figureParts[k % PartsPerFigure];
    BuildMesh(meshes[k], joints[k], part.vertices, part.faces, part.vertexCount, part.faceCount,
              part.radius[fighter]);
}

}  // namespace

// The runtime's generator: the floor's colours are the same in every run.
int NextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}

void BuildMesh(Mesh& mesh, Joint& joint, const Vec3* vertexTable, const Face* faceTable, int n, int f, int radius) {
    joint.radius = radius;
    AllocateArrays(mesh, joint, n, f);
    for (int i = 0; i < n; ++i) mesh.vertices[i] = vertexTable[i];
    for (int i = 0; i < f; ++i) mesh.faces[i] = faceTable[i];
    MakeOutlineModel(mesh, joint, OutlineScale);
}

void MakeOutlineModel(Mesh& mesh, Joint& joint, double factor) {
    for (int i = 0; i < mesh.vertexCount; ++i) {
        const Vec3& v = mesh.vertices[i];
        joint.outlineModel[i] = {v.x * factor, v.y * factor, v.z * factor};
    }
}

// A square of cells + 1 by cells + 1 coloured squares, two triangles each,
// in the x-y plane. The step is truncated, so the grid does not reach the
// far edges: with size 2000 and 4 cells it runs from -2000 to 1330.
void BuildFloorGrid(Mesh& mesh, Joint& joint, int size, int cells) {
    const int w = cells + 2;
    const int squares = cells + 1;
    joint.radius = size;
    AllocateArrays(mesh, joint, w * w, 2 * squares * squares);
    const int step = (2 * size) / w;
    for (int r = 0; r < w; ++r) {
        for (int c = 0; c < w; ++c) {
            mesh.vertices[r * w + c] = {static_cast<double>(c * step - size), static_cast<double>(size - r * step),
                                        0.0};
        }
    }
    for (int r = 0; r < squares; ++r) {
        for (int c = 0; c < squares; ++c) {
            const int k = r * squares + c;
            const int r1 = NextRandom(), r2 = NextRandom(), r3 = NextRandom();
            const uint32_t colour = static_cast<uint32_t>((r1 % 255) * 65536 + (r2 % 255) * 256 + r3 % 255);
            const auto a = static_cast<uint16_t>(r * w + c);
            const auto right = static_cast<uint16_t>(a + 1), below = static_cast<uint16_t>(a + w);
            const auto across = static_cast<uint16_t>(a + w + 1);
            mesh.faces[2 * k] = {a, right, across, colour};
            mesh.faces[2 * k + 1] = {a, across, below, colour};
        }
    }
    MakeOutlineModel(mesh, joint, OutlineScale);
}

bool BuildFigures() {
    // The weapons last, as the figures have always been built.
    for (int k = 0; k < PartsPerFigure - 1; ++k) BuildPart(k, 0);
    for (int k = 0; k < PartsPerFigure - 1; ++k) BuildPart(PartsPerFigure + k, 1);
    BuildPart(PartsPerFigure - 1, 0);
    BuildPart(JointCount - 1, 1);

    BuildFloorGrid(stageMesh, stageJoint, FloorSize, FloorCells);
    stageJoint.offset = {0.0, 0.0, 0.0};
    stageJoint.mesh = &stageMesh;
    stageJoint.parent = nullptr;

    cameraPosition = StartEye;

    for (int k = 0; k < JointCount; ++k) {
        const int fighter = k / PartsPerFigure;
        const PartData& part = figureParts[k % PartsPerFigure];
        const Vec3 offset = part.parent < 0 ? rootOffsets[fighter] : part.offset;
        SetJointOffset(joints[k], offset.x, offset.y, offset.z);
    }
    for (int k = 0; k < JointCount; ++k) {
        const int parent = figureParts[k % PartsPerFigure].parent;
        joints[k].parent = parent < 0 ? nullptr : &joints[k - k % PartsPerFigure + parent];
    }
    for (int k = 0; k < JointCount; ++k) joints[k].mesh = &meshes[k];

    // The grid lies in the x-y plane; a quarter turn about x lays it flat.
    stageJoint.angles[1] = 128;
    return true;
}

void SetJointOffset(Joint& joint, double x, double y, double z) { joint.offset = {x, y, z}; }

// A released mesh also counts no vertices and no faces, so anything that
// still walks it touches nothing.
void FreeJoint(Mesh& mesh, Joint& joint) {
    Release(mesh.vertices);
    Release(mesh.faces);
    mesh.vertexCount = 0;
    mesh.faceCount = 0;
    Release(joint.worldVerts);
    Release(joint.screenVerts);
    Release(joint.shadowVerts);
    Release(joint.shadowScreenVerts);
    Release(joint.outlineVerts);
    Release(joint.outlineModel);
    Release(joint.outlineScreenVerts);
    Release(joint.vertexNormals);
    Release(joint.faceNormals);
    Release(joint.faceOrder);
    Release(joint.faceShades);
    Release(joint.vertexShades);
}

void FreeFigures() {
    FreeJoint(stageMesh, stageJoint);
    for (int k = 0; k < JointCount; ++k) FreeJoint(meshes[k], joints[k]);
}
