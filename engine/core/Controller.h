// Base of everything that changes an object over time. A controller is owned
// by the object it is attached to and updated from that object's
// UpdateControllers.
#pragma once

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"

namespace zel {

class Controller : public Object {
    ZEL_DECLARE_RTTI

public:
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // Advances the controller by dt seconds; nothing here.
    virtual void Update(double dt);
    // Returns the controller to its initial state; nothing here.
    virtual void Reset();

    bool IsActive() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    Object* GetOwner() const { return owner_; }
    // Called by Object::AttachController.
    void SetOwner(Object* owner) { owner_ = owner; }

private:
    bool active_ = true;
    Object* owner_ = nullptr;  // not owning: the owner holds this controller
};

ZEL_REGISTER_ABSTRACT_CLASS(Controller)

}  // namespace zel
