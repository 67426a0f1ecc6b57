// The light, the three face-shade models, the vertex intensities of the
// smooth fill and the two shadow projections.
#pragma once

#include <cstdint>

#include "figure/math.h"
#include "figure/model.h"

extern Vec3 LightVector;   // (0, 1000, 0) at program start
extern uint16_t ShadeMode; // 0..2, 1 at start, F2 cycles it

using FaceShadeRoutine = void (*)(const Vec3& light, const Vec3* worldVerts, const Face* faces, double* faceShades,
                                  int faceCount);
using ShadowProjection = bool (*)(const Vec3* worldVerts, Vec3* shadowVerts, int vertexCount, double floorHeight);

extern const FaceShadeRoutine FaceShadeTable[3];
extern const ShadowProjection ShadowProjectionTable[3];

void ComputeVertexIntensities(const Vec3& light, Vec3* vertexNormals, const Vec3* faceNormals, const Face* faces,
                              double* vertexShades, int vertexCount, int faceCount);
void ShadeFacesCentroid(const Vec3& light, const Vec3* worldVerts, const Face* faces, double* faceShades,
                        int faceCount);
void ShadeFacesNormal(const Vec3& light, const Vec3* worldVerts, const Face* faces, double* faceShades, int faceCount);
void ShadeFacesToon(const Vec3& light, const Vec3* worldVerts, const Face* faces, double* faceShades, int faceCount);
bool ProjectShadowFromPoint(const Vec3* worldVerts, Vec3* shadowVerts, int vertexCount, double floorHeight);
bool ProjectShadowAlongVector(const Vec3* worldVerts, Vec3* shadowVerts, int vertexCount, double floorHeight);
