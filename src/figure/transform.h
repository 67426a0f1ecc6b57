// The per-joint pipeline: into world space through the joint chain, face
// normals, shadow, shading, into the eye's frame and onto the screen.
#pragma once

#include <cstdint>

#include "figure/math.h"
#include "figure/model.h"

extern Vec3 cameraPosition;
extern uint16_t cameraAngles[3];

constexpr double FocalLength = 500.0;
constexpr double NearLimit = 1.0;

void TransformJoint(Mesh& mesh, Joint& joint, double floorHeight);
void TransformToWorld(Joint& joint, Vec3* points, int count);
void ComputeFaceNormals(Vec3* normals, const Vec3* points, const Face* faces, int faceCount);
void SubtractEye(Vec3* points, int count);
void RotateToView(Vec3* points, int count);
bool ProjectPoints(Vec3* out, const Vec3* in, uint32_t& flagsWord, int count);
void ToScreen(Vec3* points, int count);
