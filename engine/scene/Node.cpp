#include "engine/scene/Node.h"

#include <atomic>

#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"
#include "engine/scene/Camera.h"

namespace zel {

ZEL_DEFINE_RTTI(Node, Object)

namespace {

// Stamps are unique across all nodes, so a node that changed parents never
// mistakes the new parent's world for the old one's; atomic, so that trees
// built or updated on different threads never share one either.
std::atomic<uint64_t> gNextWorldStamp{1};

uint64_t NewWorldStamp() { return gNextWorldStamp.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

Node::Node(const String& name)
    : worldBound_(BoundingVolume::Create(BoundingVolume::kSphere)), worldStamp_(NewWorldStamp()) {
    SetName(name);
    if (worldBound_ == nullptr) LogError("Недостаточно памяти для создания окружающего объёма.");
}

Node::~Node() = default;

void Node::Update(double time, bool propagateBound) {
    UpdateSelf(time);
    UpdateBound();
    if (!propagateBound) return;
    for (Node* ancestor = parent_; ancestor != nullptr; ancestor = ancestor->parent_) ancestor->UpdateBound();
}

void Node::ComputeWorldTransform() {
    if (!updateWorldTransform_) return;
    const uint64_t parentStamp = parent_ != nullptr ? parent_->worldStamp_ : 0;
    if (composedStamp_ == worldStamp_ && composedParentStamp_ == parentStamp &&
        Transform::Identical(local_, composedLocal_))
        return;
    SetWorld(parent_ != nullptr ? Transform::Compose(local_, parent_->world_, parent_->worldRotation_) : local_);
    composedLocal_ = local_;
    composedParentStamp_ = parentStamp;
    composedStamp_ = worldStamp_;
}

void Node::SetWorld(const Transform& world) {
    // The same value keeps its stamp, so the subtree need not recompute.
    if (Transform::Identical(world, world_)) return;
    world_ = world;
    worldRotation_ = world.RotationMatrix();
    worldStamp_ = NewWorldStamp();
}

void Node::UpdateSelf(double time) {
    UpdateControllers(time);
    ComputeWorldTransform();
}

void Node::Draw(Renderer&) {}

void Node::DrawVisible(Renderer& renderer) {
    if (hidden_) return;
    Camera* camera = renderer.GetCamera();
    if (camera == nullptr) {
        Draw(renderer);
        return;
    }
    // The camera clears the bits of planes that wholly contain the bound;
    // they stay cleared for the subtree and are restored for the siblings.
    const int32_t savedMask = camera->GetPlaneMask();
    if (worldBound_ == nullptr || !camera->IsCulled(*worldBound_)) Draw(renderer);
    camera->SetPlaneMask(savedMask);
}

void Node::UpdateBound() {}

bool Node::IsSelfOrAncestor(const Node* node) const {
    for (const Node* current = this; current != nullptr; current = current->parent_)
        if (current == node) return true;
    return false;
}

Object* Node::FindByName(const String& name) {
    if (Object* found = Object::FindByName(name)) return found;
    return FindIn(worldBound_, name);
}

void Node::CollectByType(const Rtti& type, ObjectArray& objects) {
    Object::CollectByType(type, objects);
    CollectIn(worldBound_, type, objects);
}

int32_t Node::Save(Stream& stream) {
    if (Object::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(parent_) != 0) return FailWithNameId("Невозможно сохранить родителя. Имя[%s] ID[%d]");
    if (stream.WriteTransform(local_) != 0)
        return FailWithNameId("Невозможно сохранить локальную трансформацию. Имя[%s] ID[%d]");
    const int32_t boundType = worldBound_ != nullptr ? worldBound_->GetType() : BoundingVolume::kSphere;
    if (stream.WriteInt32(boundType) != 0)
        return FailWithNameId("Невозможно сохранить тип окружающего объёма. Имя[%s] ID[%d]");
    if (stream.WriteBool(updateWorldBound_) != 0)
        return FailWithNameId("Невозможно сохранить флаг обновления мирового объёма. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Node::Load(Stream& stream) {
    if (Object::Load(stream) != 0) return LoadParentFailed();
    // The link is read (and its object loaded) but not stored: the scene
    // node that holds this node as a child sets the parent, so a file cannot
    // leave a parent pointer to a node that does not hold its child.
    Pointer<Node> parent;
    if (stream.ReadLinkAs(parent) != 0) return FailWithIdName("Невозможно загрузить родителя. ID[%d] Имя[%s]");
    if (stream.ReadTransform(local_) != 0)
        return FailWithIdName("Невозможно загрузить локальную трансформацию. ID[%d] Имя[%s]");
    int32_t boundType = 0;
    if (stream.ReadInt32(boundType) != 0)
        return FailWithIdName("Невозможно загрузить тип окружающего объёма. ID[%d] Имя[%s]");
    if (stream.ReadBool(updateWorldBound_) != 0)
        return FailWithIdName("Невозможно загрузить флаг обновления окружающего объёма. ID[%d] Имя[%s]");
    worldBound_ = BoundingVolume::Create(boundType);
    if (worldBound_ == nullptr) {
        FailWithIdName("Недостаточно памяти для создания мирового окружающего объёма. ID[%d] Имя[%s]");
        return kOutOfMemory;
    }
    return kOk;
}

}  // namespace zel
