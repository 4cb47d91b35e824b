#include "engine/core/ObjectGraph.h"

#include <utility>

#include "engine/core/HashTable.h"
#include "engine/core/Object.h"
#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"

namespace zel {

namespace {

using ObjectHolder = GrowableArray<Pointer<Object>>;

// Drops every link it is shown, holding each linked object in `held` first
// so that nothing is destroyed while its holder is being walked.
class LinkCutter : public LinkVisitor {
public:
    explicit LinkCutter(ObjectHolder& held) : held_(held) {}
    bool Visit(Object* linked) override {
        if (held_.Append(Pointer<Object>(linked)) != kOk) return false;
        ++cut_;
        return true;
    }
    int32_t GetCut() const { return cut_; }

private:
    ObjectHolder& held_;
    int32_t cut_ = 0;
};

// Marks every object a root reaches, by ID, keeping links as they are.
class ReachMarker : public LinkVisitor {
public:
    // False when memory ran out: the marks are then incomplete.
    bool Mark(Object* root) {
        GrowableArray<Object*> pending(64, 1024);
        if (root == nullptr) return true;
        if (!Enter(root) || pending.Append(root) != kOk) return false;
        pending_ = &pending;
        while (!pending.IsEmpty() && complete_) {
            Object* object = pending[pending.Count() - 1];
            pending.RemoveAt(pending.Count() - 1);
            object->VisitLinks(*this);
        }
        return complete_;
    }
    bool Visit(Object* linked) override {
        if (marked_.Find(linked->GetId()) == nullptr && (!Enter(linked) || pending_->Append(linked) != kOk))
            complete_ = false;
        return false;
    }
    bool IsMarked(const Object* object) const { return marked_.Find(object->GetId()) != nullptr; }

private:
    bool Enter(Object* object) { return marked_.Insert(object->GetId(), true) != kOutOfMemory; }

    HashTable<int32_t, bool, MixedIdHash> marked_{true};
    GrowableArray<Object*>* pending_ = nullptr;
    bool complete_ = true;
};

}  // namespace

// The objects whose links are still to be dropped, each held once per link
// that led to it. Popping one and dropping its links pushes what it held;
// it is released at the end of its turn, when it holds nothing any more, so
// a destruction never cascades.
int32_t BreakObjectLinks(Object* root) {
    ObjectHolder pending(256, 4096);
    if (root == nullptr || pending.Append(Pointer<Object>(root)) != kOk) return 0;
    LinkCutter cutter(pending);
    while (!pending.IsEmpty()) {
        Pointer<Object> object = std::move(pending[pending.Count() - 1]);
        pending.RemoveAt(pending.Count() - 1);
        object->VisitLinks(cutter);
    }
    return cutter.GetCut();
}

// Without complete marks nothing is dropped: a live object might lose its
// links.
int32_t BreakUnreachedObjects(Stream& stream, Object* root) {
    ReachMarker marker;
    if (!marker.Mark(root)) return 0;
    ObjectHolder held(64, 1024);
    LinkCutter cutter(held);
    for (int32_t i = 0; i < stream.GetCreatedCount(); ++i)
        if (Object* object = stream.GetCreated(i); !marker.IsMarked(object)) object->VisitLinks(cutter);
    return cutter.GetCut();
}

}  // namespace zel
