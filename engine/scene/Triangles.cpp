#include "engine/scene/Triangles.h"

#include <new>

#include "engine/core/Log.h"

namespace zel {

ZEL_DEFINE_RTTI(Triangles, GeometryNode)

namespace {

// A zero-filled 3-vector buffer of `count` elements, or null.
Vector3Buffer* NewVectorBuffer(int32_t count) {
    Vector3Buffer* buffer = new (std::nothrow) Vector3Buffer(count, nullptr);
    if (buffer != nullptr && count > 0 && buffer->GetData() == nullptr) {
        delete buffer;
        return nullptr;
    }
    return buffer;
}

// The index triples whose three indices all address one of `vertexCount`
// elements; a trailing partial triple is ignored.
template <class Visit>
void ForEachTriangle(const IntBuffer& indices, int32_t vertexCount, Visit visit) {
    const int32_t* index = indices.GetElements();
    const int32_t count = indices.GetCount() - indices.GetCount() % 3;
    for (int32_t i = 0; i < count; i += 3) {
        const int32_t i0 = index[i], i1 = index[i + 1], i2 = index[i + 2];
        if (i0 < 0 || i1 < 0 || i2 < 0 || i0 >= vertexCount || i1 >= vertexCount || i2 >= vertexCount) continue;
        visit(i0, i1, i2);
    }
}

void NormalizeAll(Vector3Buffer& buffer) {
    for (int32_t i = 0; i < buffer.GetCount(); ++i) buffer[i] = Normalize(buffer[i]);
}

// The components per element of a texture-coordinate buffer that has s and
// t, or 0.
int32_t CoordinateStride(const Buffer* buffer) {
    if (buffer == nullptr) return 0;
    if (buffer->IsDerivedFrom(Vector2Buffer::TYPE)) return 2;
    if (buffer->IsDerivedFrom(Vector3Buffer::TYPE)) return 3;
    if (buffer->IsDerivedFrom(Vector4Buffer::TYPE)) return 4;
    return 0;
}

// The direction of increasing s over one triangle, or false when its
// texture-coordinate edges are parallel.
bool TriangleTangent(const Vector3 p[3], const float* st[3], Vector3& tangent) {
    const float ds1 = st[1][0] - st[0][0], dt1 = st[1][1] - st[0][1];
    const float ds2 = st[2][0] - st[0][0], dt2 = st[2][1] - st[0][1];
    const float determinant = ds1 * dt2 - dt1 * ds2;
    if (determinant == 0.0f) return false;
    const Vector3 e1 = p[1] - p[0];
    const Vector3 e2 = p[2] - p[0];
    tangent = (e1 * dt2 - e2 * dt1) * (1.0f / determinant);
    return true;
}

}  // namespace

void Triangles::GenerateNormals() {
    Vector3Buffer* positions = GetPositions3();
    if (GetIndices() == nullptr || positions == nullptr) return;
    const int32_t vertexCount = positions->GetCount();
    Vector3Buffer* normals = NewVectorBuffer(vertexCount);
    SetNormals(normals);
    if (normals == nullptr) {
        FailWithIdName("Недостаточно памяти для создания буффера нормалей. ID[%d] Имя[%s]");
        return;
    }
    const Vector3* p = positions->GetElements();
    ForEachTriangle(*GetIndices(), vertexCount, [&](int32_t i0, int32_t i1, int32_t i2) {
        // Unnormalised: its length is twice the area, which weights it.
        const Vector3 face = Cross(p[i1] - p[i0], p[i2] - p[i0]);
        (*normals)[i0] += face;
        (*normals)[i1] += face;
        (*normals)[i2] += face;
    });
    NormalizeAll(*normals);
    normals->GetBinding().SetDirty(true);
}

void Triangles::GenerateTangents(int32_t unit) {
    Vector3Buffer* positions = GetPositions3();
    Buffer* coordinates = GetTexCoords(unit);
    const int32_t stride = CoordinateStride(coordinates);
    if (GetIndices() == nullptr || positions == nullptr || stride == 0) return;
    Vector3Buffer* tangents = NewVectorBuffer(positions->GetCount());
    SetTangents(tangents);
    if (tangents == nullptr) {
        FailWithIdName("Недостаточно памяти для создания буффера тангенсов. ID[%d] Имя[%s]");
        return;
    }
    const Vector3* p = positions->GetElements();
    const float* st = static_cast<const float*>(coordinates->GetData());
    const int32_t usable = positions->GetCount() < coordinates->GetCount() ? positions->GetCount()
                                                                            : coordinates->GetCount();
    ForEachTriangle(*GetIndices(), usable, [&](int32_t i0, int32_t i1, int32_t i2) {
        const Vector3 corners[3] = {p[i0], p[i1], p[i2]};
        const float* texels[3] = {st + i0 * stride, st + i1 * stride, st + i2 * stride};
        Vector3 tangent;
        if (!TriangleTangent(corners, texels, tangent)) return;
        (*tangents)[i0] += tangent;
        (*tangents)[i1] += tangent;
        (*tangents)[i2] += tangent;
    });
    NormalizeAll(*tangents);
    tangents->GetBinding().SetDirty(true);
}

}  // namespace zel
