// Controllers that turn their owner (an Owner: a camera or a light) towards
// a target node every frame, before the owner's own update: the owner's
// world transform is computed here and its update is told to leave it
// alone. Derived supplies the save and load failure texts.
#pragma once

#include "engine/core/Controller.h"
#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"
#include "engine/scene/Node.h"

namespace zel {

template <class Derived, class Owner>
class TargetController : public Controller {
public:
    // Parent data, then the target (link).
    [[nodiscard]] int32_t Save(Stream& stream) override {
        if (Controller::Save(stream) != kOk) return SaveParentFailed();
        if (stream.WriteLink(target_) != 0) return FailWithNameId(Derived::kTargetNotSaved);
        return kOk;
    }
    [[nodiscard]] int32_t Load(Stream& stream) override {
        if (Controller::Load(stream) != kOk) return LoadParentFailed();
        if (stream.ReadLinkAs(target_) != 0) return FailWithIdName(Derived::kTargetNotLoaded);
        return kOk;
    }

    // Nothing unless active, owned by an Owner and given a target. The
    // owner's world transform is computed, its world update turned off, and
    // it looks along (target − owner) in world space; the new rotation goes
    // into both the local and the world transform. The target's position is
    // whatever it holds now (its previous frame's when it is updated later
    // in the tree).
    void Update(double) override {
        if (!IsActive() || target_ == nullptr) return;
        Owner* owner = CastTo<Owner>(GetOwner());
        if (owner == nullptr) return;
        owner->SetUpdateWorldTransform(true);
        owner->ComputeWorldTransform();
        owner->SetUpdateWorldTransform(false);
        owner->GetLocal().rotation =
            Quaternion::LookAlong(target_->GetWorld().translation - owner->GetWorld().translation);
        owner->GetLocal().ClearFlags();
        Transform world = owner->GetWorld();
        world.rotation = owner->GetLocal().rotation;
        world.ClearFlags();
        owner->SetWorld(world);
    }

    // The controller's links, then the target.
    void VisitLinks(LinkVisitor& visitor) override {
        Controller::VisitLinks(visitor);
        VisitLink(target_, visitor);
    }

    Node* GetTarget() const { return target_; }
    void SetTarget(Node* target) { target_ = target; }

private:
    Pointer<Node> target_;
};

}  // namespace zel
