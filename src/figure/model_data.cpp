// The two figures' model data: box parts, the head, the weapon and how the
// fifteen parts hang together.
#include "figure/model_data.h"

#include <array>

namespace {

// A box's eight corners, each picked from its extents: 0 the low, 1 the
// high value of x, y and z. The parts use three corner orders; the face
// table is the same for all, so the order decides which way each face
// turns.
struct Corner {
    int x, y, z;
};
using CornerOrder = std::array<Corner, 8>;
constexpr CornerOrder OrderP = {{{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}, {0, 0, 1}}};
constexpr CornerOrder OrderM = {{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}}};
constexpr CornerOrder OrderF = {{{1, 1, 1}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0}}};

constexpr std::array<Vec3, 8> Box(double x0, double x1, double y0, double y1, double z0, double z1,
                                  const CornerOrder& order) {
    std::array<Vec3, 8> v{};
    for (int i = 0; i < 8; ++i) {
        v[i] = {order[i].x ? x1 : x0, order[i].y ? y1 : y0, order[i].z ? z1 : z0};
    }
    return v;
}

constexpr auto Torso = Box(-50, 50, -50, 50, -50, 50, OrderP);
constexpr auto ArmUpper = Box(-40, 0, -30, 30, -40, 40, OrderP);
constexpr auto ArmLower = Box(-80, 0, -25, 25, -30, 30, OrderP);
constexpr auto Hand = Box(-20, 0, -20, 20, -20, 20, OrderP);
constexpr auto ArmUpper2 = Box(0, 40, -30, 30, -40, 40, OrderM);
constexpr auto ArmLower2 = Box(0, 80, -25, 25, -30, 30, OrderM);
constexpr auto Hand2 = Box(0, 20, -20, 20, -20, 20, OrderM);
constexpr auto LegUpper = Box(-24, 24, -32, 0, -32, 32, OrderP);
constexpr auto LegLower = Box(-20, 20, -100, 0, -50, 50, OrderP);
constexpr auto Foot = Box(-25, 25, -50, 0, -100, 100, OrderF);

constexpr std::array<Face, 12> BoxFaces(uint32_t colour) {
    constexpr uint16_t corners[12][3] = {{0, 1, 2}, {0, 2, 3}, {1, 5, 6}, {1, 6, 2}, {5, 4, 7}, {5, 7, 6},
                                         {4, 0, 3}, {4, 3, 7}, {0, 4, 1}, {1, 4, 5}, {6, 7, 3}, {6, 3, 2}};
    std::array<Face, 12> faces{};
    for (int i = 0; i < 12; ++i) faces[i] = {corners[i][0], corners[i][1], corners[i][2], colour};
    return faces;
}

constexpr auto TorsoFaces = BoxFaces(0x00FF00);
constexpr auto ArmFaces = BoxFaces(0xFF0000);
constexpr auto LegFaces = BoxFaces(0xFF00FF);
constexpr auto FootFaces = BoxFaces(0x4040FF);

constexpr Vec3 HeadVertices[20] = {
    {0, 0, -50},    {50, 0, -50},  {100, 50, -50},  {50, 100, -50}, {20, 70, -50},
    {-20, 70, -50}, {-50, 100, -50}, {-100, 50, -50}, {-50, 0, -50}, {0, 0, 50},
    {50, 0, 50},    {100, 50, 50}, {50, 100, 50},   {20, 70, 50},   {-20, 70, 50},
    {-50, 100, 50}, {-100, 50, 50}, {-50, 0, 50},   {0, 70, -50},   {0, 70, 50},
};

constexpr uint32_t HeadColour = 0xE0E0E0;
// The last face is a single point in colour 0; it is drawn like any other.
constexpr Face HeadFaces[34] = {
    {5, 4, 0, HeadColour},    {3, 1, 0, HeadColour},    {3, 2, 1, HeadColour},    {0, 4, 1, HeadColour},
    {1, 4, 3, HeadColour},    {8, 5, 0, HeadColour},    {7, 5, 8, HeadColour},    {6, 5, 7, HeadColour},
    {9, 10, 12, HeadColour},  {10, 11, 12, HeadColour}, {9, 13, 14, HeadColour},  {15, 17, 9, HeadColour},
    {15, 16, 17, HeadColour}, {10, 13, 9, HeadColour},  {12, 13, 10, HeadColour}, {14, 15, 17, HeadColour},
    {9, 14, 17, HeadColour},  {14, 6, 15, HeadColour},  {14, 13, 6, HeadColour},  {13, 12, 3, HeadColour},
    {3, 14, 13, HeadColour},  {5, 6, 19, HeadColour},   {19, 3, 4, HeadColour},   {4, 18, 19, HeadColour},
    {19, 18, 5, HeadColour},  {2, 3, 11, HeadColour},   {3, 12, 11, HeadColour},  {2, 11, 10, HeadColour},
    {1, 2, 10, HeadColour},   {15, 6, 7, HeadColour},   {16, 15, 7, HeadColour},  {16, 7, 8, HeadColour},
    {17, 16, 8, HeadColour},  {0, 0, 0, 0},
};

// Vertex 25 sits at x = -5 where its front twin 11 is at -25: the back of
// the guard is narrower.
constexpr Vec3 WeaponVertices[28] = {
    {-25, 50, -16}, {25, 50, -16},  {25, 0, -16},  {-25, 0, -16},  {-50, 75, -16}, {50, 75, -16},
    {50, 50, -16},  {-50, 50, -16}, {-25, 300, -16}, {0, 350, -16}, {0, 75, -16},   {-25, 75, -16},
    {25, 300, -16}, {25, 75, -16},  {-25, 50, 16}, {25, 50, 16},   {25, 0, 16},    {-25, 0, 16},
    {-50, 75, 16},  {50, 75, 16},   {50, 50, 16},  {-50, 50, 16},  {-25, 300, 16}, {0, 350, 16},
    {0, 75, 16},    {-5, 75, 16},   {25, 300, 16}, {25, 75, 16},
};

constexpr uint32_t WeaponColour = 0x00FFFF;
// The last ten faces are single points in colour 0.
constexpr Face WeaponFaces[50] = {
    {0, 1, 2, WeaponColour},    {0, 2, 3, WeaponColour},    {4, 5, 6, WeaponColour},    {4, 6, 7, WeaponColour},
    {8, 9, 10, WeaponColour},   {8, 10, 11, WeaponColour},  {9, 12, 13, WeaponColour},  {9, 13, 10, WeaponColour},
    {16, 15, 14, WeaponColour}, {17, 16, 14, WeaponColour}, {20, 19, 18, WeaponColour}, {21, 20, 18, WeaponColour},
    {24, 23, 22, WeaponColour}, {25, 24, 22, WeaponColour}, {27, 26, 23, WeaponColour}, {24, 27, 23, WeaponColour},
    {14, 0, 3, WeaponColour},   {14, 3, 17, WeaponColour},  {1, 15, 16, WeaponColour},  {1, 16, 2, WeaponColour},
    {18, 4, 7, WeaponColour},   {18, 7, 21, WeaponColour},  {5, 19, 20, WeaponColour},  {5, 20, 6, WeaponColour},
    {18, 25, 11, WeaponColour}, {18, 11, 4, WeaponColour},  {27, 19, 5, WeaponColour},  {27, 5, 13, WeaponColour},
    {22, 8, 11, WeaponColour},  {22, 11, 25, WeaponColour}, {12, 26, 27, WeaponColour}, {12, 27, 13, WeaponColour},
    {22, 23, 9, WeaponColour},  {22, 9, 8, WeaponColour},   {23, 26, 12, WeaponColour}, {23, 12, 9, WeaponColour},
    {0, 14, 21, WeaponColour},  {7, 0, 21, WeaponColour},   {6, 20, 15, WeaponColour},  {1, 6, 15, WeaponColour},
    {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
    {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
};

constexpr PartData BoxPart(int parent, Vec3 offset, const std::array<Vec3, 8>& vertices,
                           const std::array<Face, 12>& faces, int radius1, int radius2) {
    return {parent, offset, vertices.data(), 8, faces.data(), 12, {radius1, radius2}};
}

}  // namespace

const Vec3 rootOffsets[2] = {{-324, 0, -100}, {124, 0, -100}};

// The two figures differ only in their root's place and in the radii of the
// first forearm and hand.
const PartData figureParts[PartsPerFigure] = {
    BoxPart(-1, {0, 0, 0}, Torso, TorsoFaces, 64, 64),
    {0, {0, 60, 0}, HeadVertices, 20, HeadFaces, 34, {64, 64}},
    BoxPart(0, {-64, 0, 0}, ArmUpper, ArmFaces, 32, 32),
    BoxPart(2, {-48, 0, 0}, ArmLower, ArmFaces, 32, 48),
    BoxPart(3, {-80, 0, 0}, Hand, ArmFaces, 48, 32),
    BoxPart(0, {64, 0, 0}, ArmUpper2, ArmFaces, 32, 32),
    BoxPart(5, {48, 0, 0}, ArmLower2, ArmFaces, 48, 48),
    BoxPart(6, {80, 0, 0}, Hand2, ArmFaces, 32, 32),
    BoxPart(0, {-32, -56, 0}, LegUpper, LegFaces, 32, 32),
    BoxPart(8, {-5, -32, 0}, LegLower, LegFaces, 32, 32),
    BoxPart(9, {-10, -100, 0}, Foot, FootFaces, 32, 32),
    BoxPart(0, {32, -56, 0}, LegUpper, LegFaces, 32, 32),
    BoxPart(11, {5, -32, 0}, LegLower, LegFaces, 32, 32),
    BoxPart(12, {10, -100, 0}, Foot, FootFaces, 32, 32),
    {4, {0, 0, 0}, WeaponVertices, 28, WeaponFaces, 50, {192, 192}},
};
