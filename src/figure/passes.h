// The per-frame update and draw passes with their depth sorts.
#pragma once

#include <cstdint>

#include "figure/math.h"
#include "figure/model.h"

extern int32_t jointDrawOrder[JointCount];

void UpdateFigures();
void DrawFigures();
void SortJointsByDepth(Mesh* meshTable, Joint* jointTable, int32_t* order, int count);
double MeanPointDistance(const Vec3* points, int count);
void SortFaces(Mesh& mesh, Joint& joint);
void QuickSortDescending(double* keys, int32_t* indices, int lo, int hi);
