// Geometry drawn as separate triangles, one per index triple, with
// per-vertex normals and tangents derived from the positions.
#pragma once

#include "engine/scene/GeometryNode.h"

namespace zel {

class Triangles : public GeometryNode {
    ZEL_DECLARE_RTTI

public:
    explicit Triangles(const String& name = String()) : GeometryNode(name) {}
    int32_t GetPrimitiveType() const override { return kTriangleList; }

    // Area-weighted vertex normals: each triangle adds its unnormalised
    // face normal to its three vertices, then every sum is normalised.
    // Needs indices and 3-vector positions; a new buffer replaces the
    // normals (null, logged, when it cannot be allocated). Triples with an
    // index outside the positions are skipped.
    void GenerateNormals() override;
    // Tangents along increasing s of texture unit `unit` (2-, 3- or
    // 4-vector coordinates; only s and t are used), summed unweighted per
    // vertex and normalised. A triangle whose texture-coordinate edges are
    // parallel has no such direction and adds nothing. Needs indices,
    // 3-vector positions and the coordinates; else nothing changes.
    void GenerateTangents(int32_t unit) override;
};
ZEL_REGISTER_CLASS(Triangles)

}  // namespace zel
