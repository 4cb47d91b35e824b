// What each mapped material class adds to its parent class: one texture
// (a light map or a normal map) with the index of the node's coordinate
// buffer it uses, streamed after the parent's data as a link and the index,
// searched, collected and visited after the parent's objects, and handed to the
// passes in its slot. WithLightmap and WithNormalmap name it.
#pragma once

#include "engine/core/LinkVisitor.h"
#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"
#include "engine/render/material/MaterialSlots.h"
#include "engine/render/texture/Texture.h"
#include "engine/scene/Node.h"

namespace zel {

template <class Base, MaterialTextureSlot MaterialSlots::*Slot>
class MapEffect : public Base {
public:
    [[nodiscard]] int32_t Save(Stream& stream) override {
        if (Base::Save(stream) != 0) return this->SaveParentFailed();
        return this->SaveTextureSet(stream, map_, set_);
    }
    [[nodiscard]] int32_t Load(Stream& stream) override {
        if (Base::Load(stream) != 0) return this->LoadParentFailed();
        return this->LoadTextureSet(stream, map_, set_);
    }
    Object* FindByName(const String& name) override {
        if (Object* found = Base::FindByName(name)) return found;
        return FindIn(map_, name);
    }
    void CollectByType(const Rtti& type, ObjectArray& objects) override {
        Base::CollectByType(type, objects);
        CollectIn(map_, type, objects);
    }
    void VisitLinks(LinkVisitor& visitor) override {
        Base::VisitLinks(visitor);
        VisitLink(map_, visitor);
    }
    void GetSlots(MaterialSlots& slots) const override {
        Base::GetSlots(slots);
        slots.*Slot = {&map_, &set_};
    }

protected:
    Pointer<Texture> map_;
    int32_t set_ = 1;  // index of the node's coordinate buffer
};

template <class Base>
class WithLightmap : public MapEffect<Base, &MaterialSlots::lightmap> {
public:
    Texture* GetLightmap() const { return this->map_; }
    void SetLightmap(Texture* map) { this->map_ = map; }
    int32_t GetLightmapSet() const { return this->set_; }
    void SetLightmapSet(int32_t set) { this->set_ = set; }
};

template <class Base>
class WithNormalmap : public MapEffect<Base, &MaterialSlots::normalmap> {
public:
    Texture* GetNormalmap() const { return this->map_; }
    void SetNormalmap(Texture* map) { this->map_ = map; }
    int32_t GetNormalmapSet() const { return this->set_; }
    void SetNormalmapSet(int32_t set) { this->set_ = set; }
};

}  // namespace zel
