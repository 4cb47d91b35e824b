#include "engine/scene/GeometryNode.h"

#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"
#include "engine/scene/Camera.h"

namespace zel {

ZEL_DEFINE_RTTI(GeometryNode, Node)

GeometryNode::GeometryNode(const String& name)
    : Node(name), modelBound_(BoundingVolume::Create(BoundingVolume::kSphere)) {
    if (modelBound_ == nullptr) LogError("Недостаточно памяти для создания окружающего объёма.");
}

GeometryNode::~GeometryNode() {
    if (effect_ != nullptr && effect_->GetOwnerNode() == this) effect_->SetOwnerNode(nullptr);
}

bool GeometryNode::IsCoordinateBuffer(const Buffer* buffer) {
    return buffer != nullptr && (buffer->IsDerivedFrom(FloatBuffer::TYPE) || buffer->IsDerivedFrom(Vector2Buffer::TYPE) ||
                                 buffer->IsDerivedFrom(Vector3Buffer::TYPE) || buffer->IsDerivedFrom(Vector4Buffer::TYPE));
}

Vector3Buffer* GeometryNode::GetPositions3() const { return CastTo<Vector3Buffer>(vertices_.Get()); }

int32_t GeometryNode::GetIndexCount() const { return indices_ != nullptr ? indices_->GetCount() : 0; }

Buffer* GeometryNode::GetTexCoords(int32_t unit) const {
    return unit >= 0 && unit < kTexCoordUnits ? texCoords_[unit].Get() : nullptr;
}

void GeometryNode::GeometryChanged() {
    // Passes record the streams they bind, so they must record anew.
    if (effect_ != nullptr) effect_->RefreshPasses();
}

void GeometryNode::SetVertices(Buffer* buffer) {
    vertices_ = buffer;
    tangents_ = nullptr;
    GeometryChanged();
}

void GeometryNode::SetPointSizes(FloatBuffer* buffer) {
    pointSizes_ = buffer;
    GeometryChanged();
}

void GeometryNode::SetColors(ColorBuffer* buffer) {
    colors_ = buffer;
    GeometryChanged();
}

void GeometryNode::SetNormals(Vector3Buffer* buffer) {
    normals_ = buffer;
    GeometryChanged();
}

void GeometryNode::SetTangents(Vector3Buffer* buffer) {
    tangents_ = buffer;
    GeometryChanged();
}

void GeometryNode::SetTexCoords(int32_t unit, Buffer* buffer) {
    if (unit < 0 || unit >= kTexCoordUnits) return;
    texCoords_[unit] = buffer;
    GeometryChanged();
}

void GeometryNode::SetIndices(IntBuffer* buffer) {
    indices_ = buffer;
    GeometryChanged();
}

void GeometryNode::SetEffect(GeometryNodeEffect* effect) {
    if (effect_ != nullptr && effect_ != effect && effect_->GetOwnerNode() == this) effect_->SetOwnerNode(nullptr);
    effect_ = effect;
    if (effect != nullptr) effect->SetOwnerNode(this);
}

void GeometryNode::UpdateSelf(double time) {
    Node::UpdateSelf(time);
    if (effect_ != nullptr) effect_->UpdateEffect(time);
}

void GeometryNode::UpdateBound() {
    if (!GetUpdateWorldBound() || modelBound_ == nullptr || GetWorldBound() == nullptr) return;
    // Every volume is a sphere.
    const SphereBits model = static_cast<const SphereBoundingVolume&>(*modelBound_).GetBits();
    auto& world = static_cast<SphereBoundingVolume&>(*GetWorldBound());
    if (boundWorldStamp_ == GetWorldStamp() && boundModel_ == model && boundResult_ == world.GetBits()) return;
    modelBound_->TransformInto(&world, GetWorld(), GetWorldRotation());
    boundWorldStamp_ = GetWorldStamp();
    boundModel_ = model;
    boundResult_ = world.GetBits();
}

void GeometryNode::GenerateNormals() {}

void GeometryNode::GenerateTangents(int32_t) {}

void GeometryNode::ComputeModelBound() {
    if (modelBound_ != nullptr && GetPositions3() != nullptr) modelBound_->ComputeFromPoints(vertices_);
}

void GeometryNode::UpdateModel(bool normals, bool tangents) {
    ComputeModelBound();
    if (normals) GenerateNormals();
    if (tangents) GenerateTangents(0);
}

void GeometryNode::Draw(Renderer& renderer) {
    if (effect_ == nullptr || !effect_->IsEnabled()) return;
    if (!effect_->blendEnable) {
        DrawDeferred(renderer);
        return;
    }
    // Blended geometry is drawn after everything opaque, farthest first.
    const Vector3 center = GetWorldBound() != nullptr ? GetWorldBound()->GetCenter() : GetWorld().translation;
    Camera* camera = renderer.GetCamera();
    const float key = camera != nullptr ? SquaredLength(center - camera->GetPosition()) : 0.0f;
    renderer.AddDeferred(this, key);
}

void GeometryNode::DrawDeferred(Renderer& renderer) {
    if (effect_ == nullptr) return;
    // An effect shared by several nodes draws whichever is current.
    effect_->SetOwnerNode(this);
    renderer.SetCurrentGeometry(this);
    for (int32_t i = 0; i < effect_->GetPassCount(renderer); ++i) {
        Pass* pass = effect_->GetPass(i);
        renderer.SetCurrentPass(pass);
        renderer.BeginPass(pass);
        if (pass->Draw(renderer) == 0) renderer.DrawIndexed();
        renderer.EmptyLightStack();
    }
}

Object* GeometryNode::FindByName(const String& name) {
    if (Object* found = Node::FindByName(name)) return found;
    Object* const fields[] = {effect_, vertices_, pointSizes_, colors_, normals_, tangents_};
    for (Object* field : fields)
        if (Object* found = FindIn(field, name)) return found;
    for (const Pointer<Buffer>& coordinates : texCoords_)
        if (Object* found = FindIn(coordinates, name)) return found;
    if (Object* found = FindIn(indices_, name)) return found;
    return FindIn(modelBound_, name);
}

void GeometryNode::VisitLinks(LinkVisitor& visitor) {
    Node::VisitLinks(visitor);
    GeometryNodeEffect* effect = effect_;
    VisitLink(effect_, visitor);
    if (effect_ == nullptr && effect != nullptr && effect->GetOwnerNode() == this) effect->SetOwnerNode(nullptr);
    VisitLink(vertices_, visitor);
    VisitLink(pointSizes_, visitor);
    VisitLink(colors_, visitor);
    VisitLink(normals_, visitor);
    VisitLink(tangents_, visitor);
    for (Pointer<Buffer>& coordinates : texCoords_) VisitLink(coordinates, visitor);
    VisitLink(indices_, visitor);
    VisitLink(modelBound_, visitor);
}

void GeometryNode::CollectByType(const Rtti& type, ObjectArray& objects) {
    Node::CollectByType(type, objects);
    Object* const fields[] = {effect_, vertices_, pointSizes_, colors_, normals_, tangents_};
    for (Object* field : fields) CollectIn(field, type, objects);
    for (const Pointer<Buffer>& coordinates : texCoords_) CollectIn(coordinates, type, objects);
    CollectIn(indices_, type, objects);
    CollectIn(modelBound_, type, objects);
}

int32_t GeometryNode::Save(Stream& stream) {
    if (Node::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(effect_) != 0) return FailWithNameId("Невозможно сохранить эффект. Имя[%s] ID[%d]");
    if (stream.WriteLink(vertices_) != 0) return FailWithNameId("Невозможно сохранить вершины. Имя[%s] ID[%d]");
    if (stream.WriteLink(pointSizes_) != 0)
        return FailWithNameId("Невозможно сохранить размеры точек. Имя[%s] ID[%d]");
    if (stream.WriteLink(colors_) != 0) return FailWithNameId("Невозможно сохранить цвета вершин. Имя[%s] ID[%d]");
    if (stream.WriteLink(normals_) != 0) return FailWithNameId("Невозможно сохранить нормали. Имя[%s] ID[%d]");
    if (stream.WriteLink(tangents_) != 0) return FailWithNameId("Невозможно сохранить тангенты. Имя[%s] ID[%d]");
    for (const Pointer<Buffer>& coordinates : texCoords_)
        if (stream.WriteLink(coordinates) != 0)
            return FailWithNameId("Невозможно сохранить текстурные координаты. Имя[%s] ID[%d]");
    if (stream.WriteLink(indices_) != 0) return FailWithNameId("Невозможно сохранить индексы. Имя[%s] ID[%d]");
    const int32_t boundType = modelBound_ != nullptr ? modelBound_->GetType() : BoundingVolume::kSphere;
    if (stream.WriteInt32(boundType) != 0)
        return FailWithNameId("Невозможно сохранить тип локального окружающего объёма. Имя[%s] ID[%d]");
    return kOk;
}

int32_t GeometryNode::Load(Stream& stream) {
    if (Node::Load(stream) != 0) return LoadParentFailed();
    Pointer<GeometryNodeEffect> effect;
    if (stream.ReadLinkAs(effect) != 0) return FailWithIdName("Невозможно загрузить эффект. ID[%d] Имя[%s]");
    SetEffect(effect);
    int32_t result = LoadBuffers(stream);
    return result != kOk ? result : LoadModelBound(stream);
}

namespace {

// A position or texture-coordinate link: any of the four float kinds.
int32_t ReadCoordinates(Stream& stream, Pointer<Buffer>& buffer) {
    if (stream.ReadLinkAs(buffer) != 0) return kFailed;
    return buffer == nullptr || GeometryNode::IsCoordinateBuffer(buffer) ? kOk : kFailed;
}

}  // namespace

int32_t GeometryNode::LoadBuffers(Stream& stream) {
    Pointer<Buffer> vertices;
    if (ReadCoordinates(stream, vertices) != kOk)
        return FailWithIdName("Невозможно загрузить вершины. ID[%d] Имя[%s]");
    SetVertices(vertices);
    Pointer<FloatBuffer> pointSizes;
    if (stream.ReadLinkAs(pointSizes) != 0)
        return FailWithIdName("Невозможно загрузить размеры точек. ID[%d] Имя[%s]");
    SetPointSizes(pointSizes);
    Pointer<ColorBuffer> colors;
    if (stream.ReadLinkAs(colors) != 0) return FailWithIdName("Невозможно загрузить цвета. ID[%d] Имя[%s]");
    SetColors(colors);
    Pointer<Vector3Buffer> normals;
    if (stream.ReadLinkAs(normals) != 0) return FailWithIdName("Невозможно загрузить нормали. ID[%d] Имя[%s]");
    SetNormals(normals);
    Pointer<Vector3Buffer> tangents;
    if (stream.ReadLinkAs(tangents) != 0) return FailWithIdName("Невозможно загрузить тангенты. ID[%d] Имя[%s]");
    SetTangents(tangents);
    for (int32_t unit = 0; unit < kTexCoordUnits; ++unit) {
        Pointer<Buffer> coordinates;
        if (ReadCoordinates(stream, coordinates) != kOk)
            return FailWithIdName("Невозможно загрузить текстурные координаты. ID[%d] Имя[%s]");
        SetTexCoords(unit, coordinates);
    }
    Pointer<IntBuffer> indices;
    if (stream.ReadLinkAs(indices) != 0) return FailWithIdName("Невозможно загрузить индексы. ID[%d] Имя[%s]");
    SetIndices(indices);
    return kOk;
}

int32_t GeometryNode::LoadModelBound(Stream& stream) {
    int32_t boundType = 0;
    if (stream.ReadInt32(boundType) != 0)
        return FailWithIdName("Невозможно загрузить тип лоакльного окружающего объёма. ID[%d] Имя[%s]");
    modelBound_ = BoundingVolume::Create(boundType);
    if (modelBound_ == nullptr) {
        FailWithIdName("Недостаточно памяти для создания локального окружающего объёма. ID[%d] Имя[%s]");
        return kOutOfMemory;
    }
    ComputeModelBound();
    return kOk;
}

}  // namespace zel
