// Base of the scene tree: a local and a world transform, a world bound of
// the node and its subtree, and the parent link. The frame update runs the
// controllers, recomputes world transforms top-down and bounds bottom-up;
// drawing culls each subtree against the current camera's frustum.
#pragma once

#include <cstdint>

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/Pointer.h"
#include "engine/scene/BoundingVolume.h"
#include "engine/math/Transform.h"

namespace zel {

class Renderer;
class SceneNode;

class Node : public Object {
    ZEL_DECLARE_RTTI

public:
    // Identity transforms and a new sphere as world bound (logged, and the
    // node stays without a bound, when that cannot be allocated).
    explicit Node(const String& name = String());
    ~Node() override;

    // Saves the parent link, the local transform, the bound's type code and
    // the bound update flag. Loading reads the parent link only to keep the
    // stream's layout: the parent is the scene node whose children array
    // takes this node in (SceneNode::Load), so it always holds the node.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Object search (the node, its controllers), then the world bound.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;

    // Controllers, then the world transform.
    virtual void UpdateSelf(double time);
    // Draws the node itself, unculled; nothing here.
    virtual void Draw(Renderer& renderer);
    // Nothing when hidden. Otherwise saves the camera's plane mask, draws
    // when the world bound is not outside the frustum, restores the mask.
    virtual void DrawVisible(Renderer& renderer);
    // Recomputes the world bound; nothing here.
    virtual void UpdateBound();

    // The frame update: UpdateSelf, UpdateBound, and with propagateBound the
    // UpdateBound of every ancestor, nearest first.
    void Update(double time, bool propagateBound);
    // world = local composed with the parent's world (local alone at the
    // root); nothing when the world transform is not updated. The
    // composition is skipped when its inputs are unchanged since it last
    // ran: the local transform bit for bit, the parent's world (its stamp),
    // and the world transform still the one it wrote.
    void ComputeWorldTransform();

    Transform& GetLocal() { return local_; }
    const Transform& GetLocal() const { return local_; }
    void SetLocal(const Transform& local) { local_ = local; }
    // Written only through SetWorld and ComputeWorldTransform, which keep
    // the world rotation's matrix beside it.
    const Transform& GetWorld() const { return world_; }
    void SetWorld(const Transform& world);
    // GetWorld().RotationMatrix(), kept rather than converted on each use:
    // every child's world transform and the node's bound use it.
    const Matrix3& GetWorldRotation() const { return worldRotation_; }
    // Changes exactly when the world transform takes a different value, and
    // no two nodes ever share one: a node or a bound computed from this
    // world transform is still valid while the stamp is the same.
    uint64_t GetWorldStamp() const { return worldStamp_; }

    // When false, ComputeWorldTransform leaves the world transform alone (a
    // controller sets it directly).
    bool GetUpdateWorldTransform() const { return updateWorldTransform_; }
    void SetUpdateWorldTransform(bool on) { updateWorldTransform_ = on; }
    // When false, UpdateBound leaves the world bound alone.
    bool GetUpdateWorldBound() const { return updateWorldBound_; }
    void SetUpdateWorldBound(bool on) { updateWorldBound_ = on; }
    // A hidden node draws nothing, subtree included.
    bool IsHidden() const { return hidden_; }
    void SetHidden(bool hidden) { hidden_ = hidden; }

    // Null when it could not be allocated.
    BoundingVolume* GetWorldBound() const { return worldBound_; }
    void SetWorldBound(BoundingVolume* bound) { worldBound_ = bound; }

    // Not owning: the parent holds this node through its children array.
    // Kept by SceneNode only.
    Node* GetParent() const { return parent_; }
    // True when `node` is this node or one of its ancestors.
    bool IsSelfOrAncestor(const Node* node) const;

private:
    friend class SceneNode;

    // What every update reads comes first, so that an update that finds
    // nothing changed touches few cache lines.
    Node* parent_ = nullptr;
    Pointer<BoundingVolume> worldBound_;
    uint64_t worldStamp_;
    // What ComputeWorldTransform last read and wrote (stamps start at 1, so
    // the first run never matches).
    uint64_t composedParentStamp_ = 0;
    uint64_t composedStamp_ = 0;
    bool updateWorldTransform_ = true;
    bool updateWorldBound_ = true;
    bool hidden_ = false;
    Transform local_;
    Transform composedLocal_;
    Transform world_;
    Matrix3 worldRotation_;
};
ZEL_REGISTER_ABSTRACT_CLASS(Node)

}  // namespace zel
