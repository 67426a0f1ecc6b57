// The per-joint draw routines chosen by the draw mode, with the outline
// and shadow passes.
#pragma once

#include <cstdint>

#include "figure/model.h"
#include "raster/fill.h"

extern uint16_t DrawMode;  // 0..3, F1 cycles it

constexpr uint32_t OutlineColour = 0x101010;
constexpr uint32_t ShadowColour = 0x000000;

using DrawRoutine = void (*)(uint32_t* pixels, int32_t pitch, Mesh& mesh, Joint& joint);
extern const DrawRoutine DrawRoutineTable[4];

void DrawPart(uint8_t mode, Mesh& mesh, Joint& joint);
void DrawPartShadow(Mesh& mesh, Joint& joint);
void DrawPartGouraud(uint32_t* pixels, int32_t pitch, Mesh& mesh, Joint& joint);
void DrawPartFlat(uint32_t* pixels, int32_t pitch, Mesh& mesh, Joint& joint);
void DrawPartGrey(uint32_t* pixels, int32_t pitch, Mesh& mesh, Joint& joint);
void DrawPartHidden(uint32_t* pixels, int32_t pitch, Mesh& mesh, Joint& joint);

// The face's corners from one projected array, truncated to pixels.
ScreenTriangle MakeScreenTriangle(const Vec3* projected, const Face& face);
bool IsFrontFacing(const ScreenTriangle& t);
uint32_t ScaleColour(uint32_t colour, double s);
