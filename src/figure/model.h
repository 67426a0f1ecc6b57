// The two fifteen-part figures and the floor: records, model data, build
// and release.
#pragma once

#include <cstdint>

#include "figure/math.h"

struct Face {
    uint16_t a, b, c;
    uint32_t colour;  // 0x00RRGGBB
};

struct Mesh {
    Vec3* vertices;
    Face* faces;
    int32_t vertexCount;
    int32_t faceCount;
};

// Joint flag bits.
constexpr uint32_t InFront = 0x1;     // the last projection found every point in front
constexpr uint32_t ShadowOn = 0x2;
constexpr uint32_t OutlineOn = 0x4;

struct Joint {
    Mesh* mesh;
    Vec3* worldVerts;
    Vec3* screenVerts;
    Vec3* shadowVerts;
    Vec3* shadowScreenVerts;
    Vec3* outlineVerts;
    Vec3* outlineModel;
    Vec3* outlineScreenVerts;
    Vec3 offset;
    Vec3* vertexNormals;
    Vec3* faceNormals;
    int32_t* faceOrder;
    uint16_t angles[3];
    double radius;
    double* faceShades;
    double* vertexShades;
    uint32_t flags;
    uint32_t shadowFlags;
    Joint* parent;
};

constexpr int JointCount = 30;
constexpr int PartsPerFigure = 15;

extern Mesh meshes[JointCount];
extern Joint joints[JointCount];
extern Mesh stageMesh;
extern Joint stageJoint;

// Every array of the joint is allocated zeroed.
void BuildMesh(Mesh& mesh, Joint& joint, const Vec3* vertexTable, const Face* faceTable, int n, int f, int radius);
void MakeOutlineModel(Mesh& mesh, Joint& joint, double factor);
void BuildFloorGrid(Mesh& mesh, Joint& joint, int size, int cells);
bool BuildFigures();
void SetJointOffset(Joint& joint, double x, double y, double z);
void FreeJoint(Mesh& mesh, Joint& joint);
// Motions of both fighters, then the floor, then the thirty joints.
void FreeFigures();

// The runtime's linear congruential generator that colours the floor.
extern uint32_t randomState;
int NextRandom();
