#include "tools/content/show/Ground.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "engine/render/material/LightmapTextureEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/scene/Triangles.h"
#include "tools/content/show/HarbourLayout.h"
#include "tools/content/show/MeshBuilder.h"
#include "tools/content/show/ShowNodes.h"
#include "tools/content/show/ShowAssets.h"
#include "tools/content/show/ShowWorld.h"

namespace zel {

namespace {

using namespace harbour;

constexpr float kExtent = kGroundMax - kGroundMin;
constexpr float kTileMetres = 12.0f;

float Smooth(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Rgba ToRgba(const float c[3]) {
    auto byte = [](float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    return {byte(c[0]), byte(c[1]), byte(c[2]), 255};
}

// The ground's colour at (x, z): sand on the beach and under the sea, rock
// on steep slopes, paving on the quay, gravel on the road, grass elsewhere.
class GroundPainter {
public:
    explicit GroundPainter(ShowAssets& assets)
        : grass_(assets.Read("grass.jpg")), sand_(assets.Read("sand.jpg")), rock_(assets.Read("rock.jpg")),
          stone_(assets.Read("stone.jpg")) {}

    bool IsReady() const { return !grass_.IsEmpty() && !sand_.IsEmpty() && !rock_.IsEmpty() && !stone_.IsEmpty(); }

    void Paint(float x, float z, float out[3]) const {
        const float h = GroundHeight(x, z);
        const Vector3 n = GroundNormal(x, z);
        float grass[3], sand[3], rock[3], stone[3];
        Tile(grass_, x, z, grass);
        Tile(sand_, x, z, sand);
        Tile(rock_, x * 0.7f, z * 0.7f, rock);
        Tile(stone_, x * 1.5f, z * 1.5f, stone);
        const float beach = (1.0f - Smooth(0.6f, 1.6f, h)) * (1.0f - Smooth(10.0f, 18.0f, z - ShoreZ(x)));
        const float road = 1.0f - Smooth(kRoadWidth * 0.4f, kRoadWidth * 0.6f, std::fabs(z - RoadZ(x)));
        const float steep = Smooth(0.9f, 0.75f, n.y);
        const bool quay = x > kQuayWest && x < kQuayEast && std::fabs(h - kQuayLevel) < 0.05f &&
                          z - ShoreZ(x) < 45.0f;
        for (int c = 0; c < 3; ++c) {
            float v = grass[c] + (sand[c] - grass[c]) * beach;
            v += (rock[c] - v) * steep;
            if (quay) v = stone[c] * 0.9f;
            // Packed gravel: the rock picture, pale and dusty.
            v += (0.35f + rock[c] * 0.5f - v) * road;
            out[c] = v;
        }
        // Deeper water darkens the sea floor towards green-blue.
        if (h < 0.0f) {
            const float depth = Smooth(0.0f, 8.0f, -h);
            const float deep[3] = {0.12f, 0.22f, 0.24f};
            for (int c = 0; c < 3; ++c) out[c] += (deep[c] - out[c]) * depth;
        }
    }

private:
    static void Tile(const Picture& picture, float x, float z, float out[3]) {
        picture.Sample(x / kTileMetres * picture.width, z / kTileMetres * picture.height, out);
    }

    Picture grass_, sand_, rock_, stone_;
};

// Light reaching (x, z): sky light plus the sun, unless a hill stands in
// its way.
float LightAt(float x, float z) {
    const Vector3 sun = SunDirection();
    const float h = GroundHeight(x, z);
    const float lambert = std::max(0.0f, Dot(GroundNormal(x, z), sun));
    float lit = 1.0f;
    for (float t = 3.0f; t < 400.0f && lit > 0.0f; t += 3.0f) {
        const Vector3 p = Vector3{x, h + 0.3f, z} + sun * t;
        if (p.x < kGroundMin || p.x > kGroundMax || p.z < kGroundMin || p.z > kGroundMax) break;
        const float above = p.y - GroundHeight(p.x, p.z);
        if (above < 0.0f) lit = 0.0f;
        else if (above < 1.5f) lit = std::min(lit, above / 1.5f);
    }
    return 0.42f + 0.58f * lambert * lit;
}

float ToWorld(int pixel, int size) { return kGroundMin + (static_cast<float>(pixel) + 0.5f) / size * kExtent; }

// The height field is cut into square tiles, each a node of its own, so that
// every pass draws only the tiles it can see: the whole field is the largest
// mesh of the show. The tiles share their edge vertices' values exactly, so
// the ground looks as one mesh.
constexpr int kTiles = 4;
constexpr int kTileCells = kGroundCells / kTiles;
static_assert(kGroundCells % kTiles == 0, "the ground's cells divide into whole tiles");

// A cell wholly below the sea's level: the opaque sea covers it in the view,
// so only the refraction image shows it.
bool IsSeabed(int i, int j) {
    for (int dj = 0; dj <= 1; ++dj)
        for (int di = 0; di <= 1; ++di)
            if (GroundHeight(GroundGridLine(i + di), GroundGridLine(j + dj)) >= 0.0f) return false;
    return true;
}

// The cells of tile (ti, tj) that are seabed or not, as `seabed` says, into
// `tile` (null when there are none); false when it cannot be made.
bool BuildTile(int ti, int tj, bool seabed, Texture* colour, Texture* light, Pointer<Triangles>& tile) {
    MeshBuilder mesh;
    const int n = kGroundCells, i0 = ti * kTileCells, j0 = tj * kTileCells, row = kTileCells + 1;
    // Grid points are added as the cells use them.
    std::vector<int> vertex(static_cast<size_t>(row * row), -1);
    auto at = [&](int i, int j) {
        int& index = vertex[static_cast<size_t>((j - j0) * row + (i - i0))];
        if (index < 0) {
            const float x = GroundGridLine(i), z = GroundGridLine(j);
            const Vector2 uv{static_cast<float>(i) / n, static_cast<float>(j) / n};
            index = mesh.AddVertex({{x, GroundHeight(x, z), z}, GroundNormal(x, z), uv, uv});
        }
        return index;
    };
    for (int j = j0; j < j0 + kTileCells; ++j)
        for (int i = i0; i < i0 + kTileCells; ++i) {
            if (IsSeabed(i, j) != seabed) continue;
            mesh.AddTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            mesh.AddTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    tile = nullptr;
    if (mesh.GetVertexCount() == 0) return true;
    const std::string name = (seabed ? "Seabed " : "Ground ") + std::to_string(ti) + "," + std::to_string(tj);
    tile = mesh.Build(String(name.c_str()), false, false);
    Pointer<LightmapTextureEffect> effect = new (std::nothrow) LightmapTextureEffect();
    if (tile == nullptr || effect == nullptr) return false;
    effect->SetTexture(colour);
    effect->SetLightmap(light);
    effect->SetLightmapSet(0);
    tile->SetEffect(effect);
    return true;
}

}  // namespace

int BuildGround(ShowAssets& assets, ShowWorld& world) {
    GroundPainter painter(assets);
    if (!painter.IsReady()) return 1;
    Texture* colour = assets.Painted("ground.jpg", 1024, 1024, false, [&](int x, int y, int w, int h) {
        float c[3];
        painter.Paint(ToWorld(x, w), ToWorld(y, h), c);
        return ToRgba(c);
    });
    Texture* light = assets.Painted("ground_lm.jpg", 256, 256, false, [&](int x, int y, int w, int h) {
        const float l = LightAt(ToWorld(x, w), ToWorld(y, h));
        const float warm[3] = {l, l * 0.93f, l * 0.9f};
        return ToRgba(warm);
    });
    world.ground = MakeGroup("Ground");
    world.seabed = MakeGroup("Seabed");
    if (world.ground == nullptr || world.seabed == nullptr || colour == nullptr || light == nullptr) return 1;
    for (int tj = 0; tj < kTiles; ++tj)
        for (int ti = 0; ti < kTiles; ++ti)
            for (const bool seabed : {false, true}) {
                Pointer<Triangles> tile;
                if (!BuildTile(ti, tj, seabed, colour, light, tile)) return 1;
                if (tile != nullptr && !AddChild(seabed ? world.seabed : world.ground, tile)) return 1;
            }
    return world.ground->GetChildCount() > 0 ? 0 : 1;
}

}  // namespace zel
