// The lighting of the figures and the floor: one light, three ways of
// shading a face, the per-vertex intensities of the smooth fill and the
// shadows cast onto the floor.
#include "raster/shade.h"

#include <cmath>
#include <limits>

Vec3 LightVector = {0.0, 1000.0, 0.0};
uint16_t ShadeMode = 1;

const FaceShadeRoutine FaceShadeTable[3] = {ShadeFacesCentroid, ShadeFacesNormal, ShadeFacesToon};
const ShadowProjection ShadowProjectionTable[3] = {ProjectShadowFromPoint, ProjectShadowAlongVector,
                                                   ProjectShadowAlongVector};

namespace {

double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double Length(const Vec3& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

// A zero-length vector gives NaN, which every later conversion turns into
// a defined value (a shade of NaN scales a colour to 0).
double Cosine(const Vec3& a, const Vec3& b) { return Dot(a, b) / (Length(a) * Length(b)); }

Vec3 FaceNormal(const Vec3* points, const Face& face) {
    const Vec3& v0 = points[face.a];
    const Vec3& v1 = points[face.b];
    const Vec3& v2 = points[face.c];
    Vec3 e1 = {v1.x - v0.x, v1.y - v0.y, v1.z - v0.z};
    Vec3 e2 = {v2.x - v0.x, v2.y - v0.y, v2.z - v0.z};
    return {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
}

// The brightness of the normal model: 0.25 facing away, 1.0 facing the
// light. Also the vertex intensity of the smooth fill.
double NormalShade(const Vec3& normal, const Vec3& light) {
    return (Cosine(normal, light) + 1.0) * 0.5 * 0.75 + 0.25;
}

// A vertex level with the light leaves the projection without a divisor.
// The result is what the floating-point division gives, an infinity of the
// right sign or NaN for 0/0, formed without dividing by zero; the screen
// conversion and the fillers take either without harm.
double ShadowQuotient(double numerator, double divisor) {
    if (divisor != 0.0) return numerator / divisor;
    if (numerator == 0.0 || std::isnan(numerator)) return std::numeric_limits<double>::quiet_NaN();
    bool negative = std::signbit(numerator) != std::signbit(divisor);
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

// Casts v from the point l onto the floor. False when v is the light itself
// or above it: such a vertex has no shadow on the floor.
bool CastFromPoint(const Vec3& v, const Vec3& l, double floorHeight, Vec3& shadow) {
    if ((v.x == l.x && v.y == l.y && v.z == l.z) || v.y > l.y) return false;
    double divisor = v.y - l.y;
    shadow.x = ShadowQuotient(l.x * v.y - l.y * v.x, divisor);
    shadow.y = floorHeight;
    shadow.z = ShadowQuotient(l.z * v.y - l.y * v.z, divisor);
    return true;
}

}  // namespace

// A vertex's normal is the sum of the normals of the faces that use it,
// added in face order. One pass over the faces adds each face to its
// corners as it comes, which gives every vertex the same additions in the
// same order as walking all faces for each vertex; a corner named twice by
// one face counts once, and a corner past the vertex count is no vertex.
void ComputeVertexIntensities(const Vec3& light, Vec3* vertexNormals, const Vec3* faceNormals, const Face* faces,
                              double* vertexShades, int vertexCount, int faceCount) {
    for (int v = 0; v < vertexCount; ++v) vertexNormals[v] = {0.0, 0.0, 0.0};
    const auto add = [&](int v, const Vec3& n) {
        if (v >= vertexCount) return;
        vertexNormals[v].x += n.x;
        vertexNormals[v].y += n.y;
        vertexNormals[v].z += n.z;
    };
    for (int f = 0; f < faceCount; ++f) {
        const Face& face = faces[f];
        add(face.a, faceNormals[f]);
        if (face.b != face.a) add(face.b, faceNormals[f]);
        if (face.c != face.a && face.c != face.b) add(face.c, faceNormals[f]);
    }
    for (int v = 0; v < vertexCount; ++v) vertexShades[v] = NormalShade(vertexNormals[v], light);
}

void ShadeFacesNormal(const Vec3& light, const Vec3* worldVerts, const Face* faces, double* faceShades,
                      int faceCount) {
    for (int f = 0; f < faceCount; ++f) faceShades[f] = NormalShade(FaceNormal(worldVerts, faces[f]), light);
}

// Four bands; the top one starts at 0.7 so that faces turned a little away
// from the light still read as lit.
void ShadeFacesToon(const Vec3& light, const Vec3* worldVerts, const Face* faces, double* faceShades, int faceCount) {
    for (int f = 0; f < faceCount; ++f) {
        double t = (Cosine(FaceNormal(worldVerts, faces[f]), light) + 1.0) * 0.5;
        faceShades[f] = t > 0.7 ? 1.0 : TruncToInt(t * 4.0) * 0.25;
    }
}

// Shades by where the face sits relative to the light's mirror point, not
// by which way it faces: 0.4 to 1.0.
void ShadeFacesCentroid(const Vec3& light, const Vec3* worldVerts, const Face* faces, double* faceShades,
                        int faceCount) {
    const Vec3 p = {-light.x, light.y, -light.z};
    const double third = 1.0 / 3.0;
    for (int f = 0; f < faceCount; ++f) {
        const Vec3& v0 = worldVerts[faces[f].a];
        const Vec3& v1 = worldVerts[faces[f].b];
        const Vec3& v2 = worldVerts[faces[f].c];
        Vec3 m = {(v2.x + v0.x + v1.x) * third, (v2.y + v0.y + v1.y) * third, (v2.z + v0.z + v1.z) * third};
        Vec3 d = {m.x - p.x, m.y - p.y, m.z - p.z};
        faceShades[f] = (1.0 - Cosine(d, m)) * 0.5 * 0.6 + 0.4;
    }
}

// Stops at the first vertex without a shadow; it and the vertices after it
// keep the shadow points of the last frame.
bool ProjectShadowFromPoint(const Vec3* worldVerts, Vec3* shadowVerts, int vertexCount, double floorHeight) {
    for (int i = 0; i < vertexCount; ++i) {
        if (!CastFromPoint(worldVerts[i], LightVector, floorHeight, shadowVerts[i])) return false;
    }
    return true;
}

// The light as a direction: each vertex is cast from its own point one
// light vector above it, which makes every shadow ray parallel.
bool ProjectShadowAlongVector(const Vec3* worldVerts, Vec3* shadowVerts, int vertexCount, double floorHeight) {
    for (int i = 0; i < vertexCount; ++i) {
        const Vec3& v = worldVerts[i];
        Vec3 q = {v.x + LightVector.x, v.y + LightVector.y, v.z + LightVector.z};
        if (!CastFromPoint(v, q, floorHeight, shadowVerts[i])) return false;
    }
    return true;
}
