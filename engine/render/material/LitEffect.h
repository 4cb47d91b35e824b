// What each lit material class adds to its parent class: one directional
// light link, streamed after the parent's data, searched and collected
// after the parent's objects, and handed to the passes, which read it at
// every draw.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"
#include "engine/render/material/MaterialSlots.h"
#include "engine/scene/Light.h"
#include "engine/scene/Node.h"

namespace zel {

template <class Base>
class LitEffect : public Base {
public:
    [[nodiscard]] int32_t Save(Stream& stream) override {
        if (Base::Save(stream) != 0) return this->SaveParentFailed();
        return this->SaveLight(stream, light_);
    }
    [[nodiscard]] int32_t Load(Stream& stream) override {
        if (Base::Load(stream) != 0) return this->LoadParentFailed();
        return this->LoadLight(stream, light_);
    }
    Object* FindByName(const String& name) override {
        if (Object* found = Base::FindByName(name)) return found;
        return FindIn(light_, name);
    }
    void CollectByType(const Rtti& type, ObjectArray& objects) override {
        Base::CollectByType(type, objects);
        CollectIn(light_, type, objects);
    }
    // The parent's links, then the light.
    void VisitLinks(LinkVisitor& visitor) override {
        Base::VisitLinks(visitor);
        VisitLink(light_, visitor);
    }
    void GetSlots(MaterialSlots& slots) const override {
        Base::GetSlots(slots);
        slots.light = &light_;
    }

    Light* GetLight() const { return light_; }
    void SetLight(Light* light) { light_ = light; }

private:
    Pointer<Light> light_;
};

}  // namespace zel
