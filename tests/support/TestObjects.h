// Small concrete engine classes for tests: a plain object with one linked
// object and an integer, and a controller that counts its updates.
#pragma once

#include "engine/core/Controller.h"
#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/Pointer.h"

namespace zel::test {

class TestObject : public Object {
    ZEL_DECLARE_RTTI

public:
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    void VisitLinks(LinkVisitor& visitor) override {
        Object::VisitLinks(visitor);
        VisitLink(link, visitor);
    }

    Pointer<Object> link;  // any object, possibly this object's container
    int32_t value = 0;
};
ZEL_REGISTER_CLASS(TestObject)

class TestController : public Controller {
    ZEL_DECLARE_RTTI

public:
    void Update(double dt) override {
        ++updates;
        lastTime = dt;
    }

    int32_t updates = 0;
    double lastTime = 0;
};
ZEL_REGISTER_CLASS(TestController)

}  // namespace zel::test
