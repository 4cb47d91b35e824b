// A counted list of nodes an effect or controller draws (shadow casters,
// the scene seen in the water), streamed as a count and one link each.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/core/Object.h"
#include "engine/core/Pointer.h"
#include "engine/core/Status.h"
#include "engine/core/Stream.h"

namespace zel {

class Renderer;

template <class T>
class NodeList {
public:
    int32_t Count() const { return nodes_.Count(); }
    T* Get(int32_t index) const { return index >= 0 && index < nodes_.Count() ? nodes_[index].Get() : nullptr; }
    // 0 ok; 2 out of memory. Null is ignored.
    [[nodiscard]] int32_t Add(T* node) { return node != nullptr ? nodes_.Append(Pointer<T>(node)) : kOk; }
    void Clear() { nodes_.Clear(); }

    // Nonzero when a write failed.
    [[nodiscard]] int32_t Save(Stream& stream) const {
        if (stream.WriteInt32(nodes_.Count()) != 0) return kFailed;
        for (const Pointer<T>& node : nodes_)
            if (stream.WriteLink(node) != 0) return kFailed;
        return kOk;
    }
    // Replaces the list; nonzero on a bad count, a failed link or a link of
    // another type.
    [[nodiscard]] int32_t Load(Stream& stream) {
        nodes_.Clear();
        int32_t count = 0;
        // Every link takes at least four bytes.
        if (stream.ReadCount(count, 4) != 0) return kFailed;
        for (int32_t i = 0; i < count; ++i) {
            Pointer<T> node;
            if (stream.ReadLinkAs(node) != 0) return kFailed;
            if (node != nullptr && nodes_.Append(node) != kOk) return kOutOfMemory;
        }
        return kOk;
    }

    Object* FindByName(const String& name) const {
        for (const Pointer<T>& node : nodes_)
            if (Object* found = FindIn(node, name)) return found;
        return nullptr;
    }

    // Each node to the visitor (for the owner's VisitLinks).
    void VisitLinks(LinkVisitor& visitor) { VisitLinkArray(nodes_, visitor); }

    // Each node draws itself with its own effect.
    void DrawAll(Renderer& renderer) const {
        for (const Pointer<T>& node : nodes_) node->Draw(renderer);
    }

private:
    GrowableArray<Pointer<T>> nodes_{4, 4};
};

}  // namespace zel
