// The per-joint draw routines: the outline and shadow passes and the four
// ways of filling a joint's faces that F1 cycles through.
#include "raster/draw.h"

#include <cstddef>

#include "display/surface.h"
#include "raster/shade.h"

uint16_t DrawMode = 0;

const DrawRoutine DrawRoutineTable[4] = {DrawPartGouraud, DrawPartFlat, DrawPartGrey, DrawPartHidden};

namespace {

constexpr int DrawModeCount = sizeof DrawRoutineTable / sizeof DrawRoutineTable[0];

// Walks the joint's faces far to near and hands each one that faces the
// eye to draw(face index, triangle).
template <typename DrawFace>
void ForEachFrontFace(const Mesh& mesh, const Joint& joint, DrawFace draw) {
    for (int32_t k = 0; k < mesh.faceCount; ++k) {
        const int32_t f = joint.faceOrder[k];
        const ScreenTriangle t = MakeScreenTriangle(joint.screenVerts, mesh.faces[f]);
        if (IsFrontFacing(t)) draw(f, t);
    }
}

}  // namespace

namespace {

static_assert(offsetof(ScreenTriangle, y0) == offsetof(ScreenTriangle, x0) + 4 &&
                  offsetof(ScreenTriangle, y1) == offsetof(ScreenTriangle, x1) + 4 &&
                  offsetof(ScreenTriangle, y2) == offsetof(ScreenTriangle, x2) + 4,
              "each corner's y follows its x");

// A corner's x and y, truncated as TruncToInt truncates each, written with
// one eight-byte store: the filler reads a corner's two words at once, and
// a read that spans two separate stores waits for both to reach the cache.
void SetCorner(int32_t& x, int32_t& y, const Vec3& p) {
#if defined(__SSE2__)
    const __m128i both = _mm_cvttpd_epi32(_mm_set_pd(p.y, p.x));
    // A value out of range or NaN comes back as 0x80000000: such a corner
    // goes through the checks instead.
    if ((_mm_movemask_epi8(_mm_cmpeq_epi32(both, _mm_set1_epi32(INT32_MIN))) & 0xFF) == 0) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&x), both);
        return;
    }
#endif
    x = TruncToInt(p.x);
    y = TruncToInt(p.y);
}

}  // namespace

ScreenTriangle MakeScreenTriangle(const Vec3* projected, const Face& face) {
    ScreenTriangle t;
    SetCorner(t.x0, t.y0, projected[face.a]);
    SetCorner(t.x1, t.y1, projected[face.b]);
    SetCorner(t.x2, t.y2, projected[face.c]);
    return t;
}

// Clockwise on screen (y down) faces the eye; a face seen edge-on counts as
// facing it. The products wrap as 32-bit integers do.
bool IsFrontFacing(const ScreenTriangle& t) {
    const uint32_t dx1 = uint32_t(t.x1) - uint32_t(t.x0), dy1 = uint32_t(t.y1) - uint32_t(t.y0);
    const uint32_t dx2 = uint32_t(t.x2) - uint32_t(t.x0), dy2 = uint32_t(t.y2) - uint32_t(t.y0);
    return static_cast<int32_t>(dx1 * dy2 - dy1 * dx2) >= 0;
}

uint32_t ScaleColour(uint32_t colour, double s) {
    const uint32_t c2 = (colour >> 16) & 0xFF, c1 = (colour >> 8) & 0xFF, c0 = colour & 0xFF;
    return (static_cast<uint32_t>(TruncToInt(c2 * s)) & 0xFF) << 16 |
           (static_cast<uint32_t>(TruncToInt(c1 * s)) & 0xFF) << 8 | (static_cast<uint32_t>(TruncToInt(c0 * s)) & 0xFF);
}

// The outline is the enlarged copy's far side in a dark colour, painted
// first so that the joint's own faces cover all of it but a rim.
void DrawPart(uint8_t mode, Mesh& mesh, Joint& joint) {
    if (frameBits == nullptr) return;
    if ((joint.flags & OutlineOn) && (joint.flags & InFront)) {
        for (int32_t f = 0; f < mesh.faceCount; ++f) {
            const ScreenTriangle t = MakeScreenTriangle(joint.outlineScreenVerts, mesh.faces[f]);
            if (!IsFrontFacing(t)) FillTriangle(frameBits, framePitch, t, OutlineColour);
        }
    }
    if (!(joint.flags & InFront)) return;
    if (mode >= DrawModeCount) return;
    DrawRoutineTable[mode](frameBits, framePitch, mesh, joint);
}

void DrawPartShadow(Mesh& mesh, Joint& joint) {
    if (frameBits == nullptr) return;
    if (!(joint.flags & ShadowOn) || !(joint.shadowFlags & InFront)) return;
    for (int32_t f = 0; f < mesh.faceCount; ++f) {
        const ScreenTriangle t = MakeScreenTriangle(joint.shadowScreenVerts, mesh.faces[f]);
        if (IsFrontFacing(t)) FillTriangle(frameBits, framePitch, t, ShadowColour);
    }
}

// The face shade scales the colour once per face; the smooth fill then
// scales it again by the intensity interpolated between the corners.
void DrawPartGouraud(uint32_t* pixels, int32_t pitch, Mesh& mesh, Joint& joint) {
    if (mesh.faceCount <= 0) return;
    ComputeVertexIntensities(LightVector, joint.vertexNormals, joint.faceNormals, mesh.faces, joint.vertexShades,
                             mesh.vertexCount, mesh.faceCount);
    ForEachFrontFace(mesh, joint, [&](int32_t f, const ScreenTriangle& t) {
        const Face& face = mesh.faces[f];
        const double intensities[3] = {joint.vertexShades[face.a], joint.vertexShades[face.b],
                                       joint.vertexShades[face.c]};
        FillGouraudTriangle(pixels, pitch, intensities, t, ScaleColour(face.colour, joint.faceShades[f]));
    });
}

void DrawPartFlat(uint32_t* pixels, int32_t pitch, Mesh& mesh, Joint& joint) {
    ForEachFrontFace(mesh, joint, [&](int32_t f, const ScreenTriangle& t) {
        FillTriangle(pixels, pitch, t, ScaleColour(mesh.faces[f].colour, joint.faceShades[f]));
    });
}

void DrawPartGrey(uint32_t* pixels, int32_t pitch, Mesh& mesh, Joint& joint) {
    ForEachFrontFace(mesh, joint, [&](int32_t f, const ScreenTriangle& t) {
        const uint32_t g = static_cast<uint32_t>(TruncToInt(joint.faceShades[f] * 255.0)) & 0xFF;
        FillTriangle(pixels, pitch, t, g * 0x010101);
    });
}

// Mode 3 hides the figures: their faces are still walked and tested, and
// only the outlines, shadows and floor remain on screen.
void DrawPartHidden(uint32_t*, int32_t, Mesh& mesh, Joint& joint) {
    ForEachFrontFace(mesh, joint, [](int32_t, const ScreenTriangle&) {});
}
