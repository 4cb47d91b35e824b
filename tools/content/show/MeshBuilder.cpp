#include "tools/content/show/MeshBuilder.h"

#include <cmath>
#include <new>

#include "engine/core/Buffer.h"
#include "engine/math/MathConstants.h"
#include "engine/scene/Triangles.h"

namespace zel {

int32_t MeshBuilder::AddVertex(const MeshVertex& vertex) {
    vertices_.push_back(vertex);
    return static_cast<int32_t>(vertices_.size()) - 1;
}

void MeshBuilder::AddTriangle(int32_t a, int32_t b, int32_t c) {
    const Vector3& pa = vertices_[a].position;
    const Vector3 facing = Cross(vertices_[b].position - pa, vertices_[c].position - pa);
    const Vector3 normal = vertices_[a].normal + vertices_[b].normal + vertices_[c].normal;
    // The device draws triangles whose edge cross product points at the
    // viewer; turn the others round.
    if (Dot(facing, normal) < 0.0f) std::swap(b, c);
    indices_.insert(indices_.end(), {a, b, c});
}

void MeshBuilder::AddLevelGrid(const std::vector<float>& xs, const std::vector<float>& zs, float y, float uvPerMetre) {
    const int32_t first = GetVertexCount();
    const int32_t columns = static_cast<int32_t>(xs.size());
    for (const float z : zs)
        for (const float x : xs) {
            const Vector2 uv{x * uvPerMetre, z * uvPerMetre};
            AddVertex({{x, y, z}, {0, 1, 0}, uv, uv});
        }
    for (int32_t k = 0; k + 1 < static_cast<int32_t>(zs.size()); ++k)
        for (int32_t i = 0; i + 1 < columns; ++i) {
            const int32_t a = first + k * columns + i, below = a + columns;
            AddTriangle(a, a + 1, below + 1);
            AddTriangle(a, below + 1, below);
        }
}

void MeshBuilder::AddQuad(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d,
                          const Vector3& normal, const Vector2& uvScale) {
    const int32_t i = AddVertex({a, normal, {0, 0}, {0, 0}});
    AddVertex({b, normal, {uvScale.x, 0}, {1, 0}});
    AddVertex({c, normal, {uvScale.x, uvScale.y}, {1, 1}});
    AddVertex({d, normal, {0, uvScale.y}, {0, 1}});
    AddTriangle(i, i + 1, i + 2);
    AddTriangle(i, i + 2, i + 3);
}

void MeshBuilder::AddBox(const Vector3& low, const Vector3& high, float uvPerMetre, bool bottom) {
    const Vector3 size = high - low;
    const float u = uvPerMetre;
    // Faces: −x, +x, −z, +z, top, bottom; corners counted from the ground up.
    AddQuad({low.x, low.y, high.z}, {low.x, low.y, low.z}, {low.x, high.y, low.z}, {low.x, high.y, high.z},
            {-1, 0, 0}, {size.z * u, size.y * u});
    AddQuad({high.x, low.y, low.z}, {high.x, low.y, high.z}, {high.x, high.y, high.z}, {high.x, high.y, low.z},
            {1, 0, 0}, {size.z * u, size.y * u});
    AddQuad({low.x, low.y, low.z}, {high.x, low.y, low.z}, {high.x, high.y, low.z}, {low.x, high.y, low.z},
            {0, 0, -1}, {size.x * u, size.y * u});
    AddQuad({high.x, low.y, high.z}, {low.x, low.y, high.z}, {low.x, high.y, high.z}, {high.x, high.y, high.z},
            {0, 0, 1}, {size.x * u, size.y * u});
    AddQuad({low.x, high.y, low.z}, {high.x, high.y, low.z}, {high.x, high.y, high.z}, {low.x, high.y, high.z},
            {0, 1, 0}, {size.x * u, size.z * u});
    if (bottom)
        AddQuad({low.x, low.y, low.z}, {high.x, low.y, low.z}, {high.x, low.y, high.z}, {low.x, low.y, high.z},
                {0, -1, 0}, {size.x * u, size.z * u});
}

void MeshBuilder::AddCylinder(const Vector3& base, float bottomRadius, float topRadius, float height,
                              int32_t segments, float vPerMetre, bool capTop) {
    const int32_t first = GetVertexCount();
    const float slope = (bottomRadius - topRadius) / height;
    for (int32_t s = 0; s <= segments; ++s) {
        const float angle = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(segments);
        const float c = std::cos(angle), n = std::sin(angle);
        const Vector3 normal = Normalize(Vector3{c, slope, n});
        const float u = static_cast<float>(s) / static_cast<float>(segments);
        AddVertex({base + Vector3{c * bottomRadius, 0, n * bottomRadius}, normal, {u, height * vPerMetre}, {u, 1}});
        AddVertex({base + Vector3{c * topRadius, height, n * topRadius}, normal, {u, 0}, {u, 0}});
    }
    for (int32_t s = 0; s < segments; ++s) {
        const int32_t i = first + 2 * s;
        AddTriangle(i, i + 2, i + 1);
        AddTriangle(i + 1, i + 2, i + 3);
    }
    if (!capTop) return;
    const int32_t center = AddVertex({base + Vector3{0, height, 0}, {0, 1, 0}, {0.5f, 0.5f}, {0.5f, 0.5f}});
    for (int32_t s = 0; s < segments; ++s) {
        const float a0 = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(segments);
        const float a1 = 2.0f * kPi * static_cast<float>(s + 1) / static_cast<float>(segments);
        const int32_t p = AddVertex({base + Vector3{std::cos(a0) * topRadius, height, std::sin(a0) * topRadius},
                                     {0, 1, 0}, {0.5f + 0.5f * std::cos(a0), 0.5f + 0.5f * std::sin(a0)}, {}});
        const int32_t q = AddVertex({base + Vector3{std::cos(a1) * topRadius, height, std::sin(a1) * topRadius},
                                     {0, 1, 0}, {0.5f + 0.5f * std::cos(a1), 0.5f + 0.5f * std::sin(a1)}, {}});
        AddTriangle(center, p, q);
    }
}

void MeshBuilder::AddSphere(const Vector3& center, float radius, int32_t rings, int32_t segments) {
    const int32_t first = GetVertexCount();
    for (int32_t r = 0; r <= rings; ++r) {
        const float polar = kPi * static_cast<float>(r) / static_cast<float>(rings);
        for (int32_t s = 0; s <= segments; ++s) {
            const float azimuth = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(segments);
            const Vector3 n{std::sin(polar) * std::cos(azimuth), std::cos(polar), std::sin(polar) * std::sin(azimuth)};
            const Vector2 uv{static_cast<float>(s) / static_cast<float>(segments),
                             static_cast<float>(r) / static_cast<float>(rings)};
            AddVertex({center + n * radius, n, uv, uv});
        }
    }
    for (int32_t r = 0; r < rings; ++r)
        for (int32_t s = 0; s < segments; ++s) {
            const int32_t i = first + r * (segments + 1) + s;
            const int32_t below = i + segments + 1;
            if (r > 0) AddTriangle(i, i + 1, below);
            if (r < rings - 1) AddTriangle(i + 1, below + 1, below);
        }
}

void MeshBuilder::AddGableRoof(const Vector3& low, const Vector3& high, float rise, float overhang,
                               float uvPerMetre) {
    const float x0 = low.x - overhang, x1 = high.x + overhang;
    const float z0 = low.z - overhang, z1 = high.z + overhang, zm = 0.5f * (low.z + high.z);
    const float y0 = low.y, y1 = low.y + rise;
    const float slopeLength = std::sqrt((zm - z0) * (zm - z0) + rise * rise);
    const Vector2 scale{(x1 - x0) * uvPerMetre, slopeLength * uvPerMetre};
    AddQuad({x0, y0, z0}, {x1, y0, z0}, {x1, y1, zm}, {x0, y1, zm}, Normalize(Vector3{0, zm - z0, -rise}), scale);
    AddQuad({x1, y0, z1}, {x0, y0, z1}, {x0, y1, zm}, {x1, y1, zm}, Normalize(Vector3{0, zm - z0, rise}), scale);
    for (const float x : {low.x, high.x}) {
        const Vector3 normal{x == low.x ? -1.0f : 1.0f, 0, 0};
        const int32_t a = AddVertex({{x, y0, low.z}, normal, {0, 0}, {0, 0}});
        const int32_t b = AddVertex({{x, y0, high.z}, normal, {(high.z - low.z) * uvPerMetre, 0}, {1, 0}});
        const int32_t c = AddVertex({{x, y1, zm}, normal, {0.5f * (high.z - low.z) * uvPerMetre, rise * uvPerMetre}, {0.5f, 1}});
        AddTriangle(a, b, c);
    }
}

void MeshBuilder::Translate(const Vector3& offset, int32_t fromVertex) {
    for (size_t i = static_cast<size_t>(fromVertex); i < vertices_.size(); ++i) vertices_[i].position += offset;
}

Pointer<Triangles> MeshBuilder::Build(const String& name, bool secondSet, bool tangents) const {
    const int32_t count = GetVertexCount();
    const int32_t indexCount = static_cast<int32_t>(indices_.size());
    Pointer<Triangles> node = new (std::nothrow) Triangles(name);
    Pointer<Vector3Buffer> positions = new (std::nothrow) Vector3Buffer(count, nullptr);
    Pointer<Vector3Buffer> normals = new (std::nothrow) Vector3Buffer(count, nullptr);
    Pointer<Vector2Buffer> uv = new (std::nothrow) Vector2Buffer(count, nullptr);
    Pointer<Vector2Buffer> uv2 = secondSet ? new (std::nothrow) Vector2Buffer(count, nullptr) : nullptr;
    Pointer<IntBuffer> indices = new (std::nothrow) IntBuffer(indexCount, nullptr);
    if (node == nullptr || positions == nullptr || normals == nullptr || uv == nullptr || indices == nullptr ||
        (secondSet && uv2 == nullptr) || count == 0 || indexCount == 0)
        return nullptr;
    for (int32_t i = 0; i < count; ++i) {
        (*positions)[i] = vertices_[i].position;
        (*normals)[i] = vertices_[i].normal;
        (*uv)[i] = vertices_[i].uv;
        if (secondSet) (*uv2)[i] = vertices_[i].uv2;
    }
    for (int32_t i = 0; i < indexCount; ++i) (*indices)[i] = indices_[i];
    node->SetVertices(positions);
    node->SetNormals(normals);
    node->SetTexCoords(0, uv);
    if (secondSet) node->SetTexCoords(1, uv2);
    node->SetIndices(indices);
    node->UpdateModel(false, tangents);
    return node;
}

}  // namespace zel
