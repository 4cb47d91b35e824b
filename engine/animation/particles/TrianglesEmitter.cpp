#include "engine/animation/particles/TrianglesEmitter.h"

#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(TrianglesEmitter, PointEmitter)

void TrianglesEmitter::Emit(Vector3& position, Vector3& direction) {
    if (triangles_ == nullptr) {
        position = {};
        direction = {0.0f, -1.0f, 0.0f};
        return;
    }
    const Vector3Buffer* positions = triangles_->GetPositions3();
    const int32_t triangleCount = positions != nullptr ? positions->GetCount() / 3 : 0;
    // Positions of another kind, or too few of them, leave the corners at
    // the origin rather than read outside the buffer.
    Vector3 a, b, c;
    if (triangleCount > 0) {
        const int32_t k = ParticleRandomValue() % triangleCount;
        a = (*positions)[3 * k];
        b = (*positions)[3 * k + 1];
        c = (*positions)[3 * k + 2];
    }
    const float s = ParticleRandomUnit();
    const float t = ParticleRandomUnit();
    const float u = ParticleRandomUnit();
    const Vector3 p = a + (b - a) * s;
    const Vector3 q = a + (c - a) * t;
    const Transform& world = triangles_->GetWorld();
    position = world.ApplyToPoint(p + (q - p) * u);
    direction = Normalize(world.ApplyToDirection(DrawDirection()));
}

int32_t TrianglesEmitter::Save(Stream& stream) {
    if (PointEmitter::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(triangles_) != 0)
        return FailWithNameId("Невозможно сохранить данные системы частиц. Имя[%s] ID[%d]");
    return kOk;
}

int32_t TrianglesEmitter::Load(Stream& stream) {
    if (PointEmitter::Load(stream) != 0) return LoadParentFailed();
    Pointer<Triangles> triangles;
    if (stream.ReadLinkAs(triangles) != 0)
        return FailWithNameId("Невозможно загрузить данные системы частиц. Имя[%s] ID[%d]");
    triangles_ = triangles;
    return kOk;
}

void TrianglesEmitter::VisitLinks(LinkVisitor& visitor) {
    PointEmitter::VisitLinks(visitor);
    VisitLink(triangles_, visitor);
}

}  // namespace zel
