// Accumulates triangles with normals and two texture-coordinate sets and
// turns them into a Triangles node. Winding follows the normals: every
// triangle is stored front-facing towards the side its normals point to.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/Pointer.h"
#include "engine/math/Vector2.h"
#include "engine/math/Vector3.h"

namespace zel {

class Triangles;
class String;

struct MeshVertex {
    Vector3 position;
    Vector3 normal;
    Vector2 uv;
    Vector2 uv2;
};

class MeshBuilder {
public:
    int32_t AddVertex(const MeshVertex& vertex);
    // Indices of vertices already added; the order is fixed by their normals.
    void AddTriangle(int32_t a, int32_t b, int32_t c);
    // A flat quad a-b-c-d (in order around its edge) facing `normal`, with
    // texture coordinates (0,0) (1,0) (1,1) (0,1) scaled by `uvScale`.
    void AddQuad(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d, const Vector3& normal,
                 const Vector2& uvScale = {1, 1});
    // A level grid at height y facing up, its vertices where the lines
    // x = xs[i] and z = zs[k] cross (both ascending), texture coordinates in
    // metres times `uvPerMetre`.
    void AddLevelGrid(const std::vector<float>& xs, const std::vector<float>& zs, float y, float uvPerMetre);
    // An axis-aligned box from `low` to `high`, the six faces outward;
    // texture coordinates in metres times `uvPerMetre`. `bottom` adds the
    // floor face.
    void AddBox(const Vector3& low, const Vector3& high, float uvPerMetre, bool bottom = false);
    // A vertical cylinder or frustum around `base`, `segments` sides, radii
    // at the bottom and top; u runs once around, v up the side (v per metre
    // × height). `capTop` closes the top.
    void AddCylinder(const Vector3& base, float bottomRadius, float topRadius, float height, int32_t segments,
                     float vPerMetre, bool capTop);
    // A sphere of `rings` × `segments`.
    void AddSphere(const Vector3& center, float radius, int32_t rings, int32_t segments);
    // A gable roof over the box [low, high] in x and z, ridge along x,
    // rising `rise` above low.y; includes the two gable ends.
    void AddGableRoof(const Vector3& low, const Vector3& high, float rise, float overhang, float uvPerMetre);
    // Every vertex moved by `offset` (for building parts in place).
    void Translate(const Vector3& offset, int32_t fromVertex = 0);

    int32_t GetVertexCount() const { return static_cast<int32_t>(vertices_.size()); }
    MeshVertex& Vertex(int32_t index) { return vertices_[index]; }
    const std::vector<MeshVertex>& GetVertices() const { return vertices_; }
    const std::vector<int32_t>& GetIndices() const { return indices_; }

    // The node with positions, normals, coordinates (set 1 only when
    // `secondSet`) and indices; tangents of set 0 with `tangents`. Null when
    // memory runs out.
    Pointer<Triangles> Build(const String& name, bool secondSet, bool tangents) const;

private:
    std::vector<MeshVertex> vertices_;
    std::vector<int32_t> indices_;
};

}  // namespace zel
