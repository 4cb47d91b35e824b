#include "engine/scene/SceneNode.h"

#include <new>

#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"
#include "engine/render/SceneNodeEffect.h"

namespace zel {

ZEL_DEFINE_RTTI(SceneNode, Node)

struct SceneNode::EffectEntry {
    Pointer<SceneNodeEffect> effect;
    EffectEntry* next;
};

SceneNode::SceneNode() : SceneNode(String(), 1, 2) {}

SceneNode::SceneNode(const String& name, int32_t initialCount, int32_t growBy) : Node(name) {
    ResetChildren(initialCount, growBy);
}

SceneNode::~SceneNode() {
    ReleaseEffects();
    ReleaseChildren();
}

void SceneNode::ReleaseEffects() {
    while (effects_ != nullptr) {
        EffectEntry* entry = effects_;
        effects_ = entry->next;
        if (entry->effect->GetOwnerNode() == this) entry->effect->SetOwnerNode(nullptr);
        delete entry;
    }
}

void SceneNode::ReleaseChildren() {
    for (Pointer<Node>& child : children_) {
        if (child != nullptr && child->parent_ == this) child->parent_ = nullptr;
        child = nullptr;
    }
    children_.Clear();
}

void SceneNode::ResetChildren(int32_t count, int32_t growBy) {
    ReleaseChildren();
    growBy_ = growBy;
    if (count <= 0 || children_.Reserve(count) != kOk) return;
    for (int32_t i = 0; i < count; ++i) children_.Append(nullptr);
}

Node* SceneNode::GetChild(int32_t index) const {
    return index >= 0 && index < children_.Count() ? children_[index].Get() : nullptr;
}

bool SceneNode::CanAdopt(const Node* child) const {
    // A node has one parent, and no node may be its own ancestor: the update
    // and drawing walks would otherwise never end.
    return child->parent_ == nullptr && !IsSelfOrAncestor(child);
}

void SceneNode::Adopt(int32_t index, Node* child) {
    Node* old = children_[index];
    if (old == child) return;
    if (old != nullptr && old->parent_ == this) old->parent_ = nullptr;
    children_[index] = child;
    if (child != nullptr) child->parent_ = this;
}

int32_t SceneNode::SetChild(int32_t index, Node* child) {
    if (index < 0 || index >= children_.Count()) {
        LogWarning("Неверный индекс дочернего узла [%d]. Имя[%s] ID[%d]", index, GetName().CStr(), GetId());
        return kInvalidArgument;
    }
    if (child != nullptr && child != children_[index] && !CanAdopt(child)) {
        LogWarning("Узел не может стать дочерним. Имя[%s] ID[%d]", child->GetName().CStr(), child->GetId());
        return kInvalidArgument;
    }
    Adopt(index, child);
    return kOk;
}

int32_t SceneNode::AppendChild(Node* child) {
    if (child != nullptr && !CanAdopt(child)) {
        LogWarning("Узел не может стать дочерним. Имя[%s] ID[%d]", child->GetName().CStr(), child->GetId());
        return kInvalidArgument;
    }
    if (children_.Count() == children_.Capacity()) {
        if (growBy_ <= 0) {
            LogWarning("Массив дочерних узлов заполнен. Имя[%s] ID[%d]", GetName().CStr(), GetId());
            return kFailed;
        }
        if (children_.Reserve(children_.Capacity() + growBy_) != kOk) return kOutOfMemory;
    }
    if (children_.Append(nullptr) != kOk) return kOutOfMemory;
    Adopt(children_.Count() - 1, child);
    return kOk;
}

int32_t SceneNode::AddEffect(SceneNodeEffect* effect) {
    if (effect == nullptr) return kOk;
    for (EffectEntry* entry = effects_; entry != nullptr; entry = entry->next)
        if (entry->effect == effect) return kOk;
    EffectEntry* entry = new (std::nothrow) EffectEntry{Pointer<SceneNodeEffect>(effect), effects_};
    if (entry == nullptr) {
        LogError("Недостаточно памяти для добавления эффекта. Имя[%s] ID[%d].", GetName().CStr(), GetId());
        return kOutOfMemory;
    }
    effects_ = entry;
    effect->SetOwnerNode(this);
    return kOk;
}

void SceneNode::RemoveEffect(SceneNodeEffect* effect) {
    for (EffectEntry** link = &effects_; *link != nullptr; link = &(*link)->next) {
        EffectEntry* entry = *link;
        if (entry->effect != effect) continue;
        *link = entry->next;
        if (effect->GetOwnerNode() == this) effect->SetOwnerNode(nullptr);
        delete entry;
        return;
    }
}

int32_t SceneNode::GetEffectCount() const {
    int32_t count = 0;
    for (EffectEntry* entry = effects_; entry != nullptr; entry = entry->next) ++count;
    return count;
}

SceneNodeEffect* SceneNode::GetEffect(int32_t index) const {
    EffectEntry* entry = effects_;
    for (; entry != nullptr && index > 0; --index) entry = entry->next;
    return index == 0 && entry != nullptr ? entry->effect.Get() : nullptr;
}

void SceneNode::UpdateSelf(double time) {
    Node::UpdateSelf(time);
    for (EffectEntry* entry = effects_; entry != nullptr; entry = entry->next) entry->effect->UpdateEffect(time);
    for (int32_t i = 0; i < children_.Count(); ++i)
        if (Node* child = children_[i]) child->Update(time, false);
}

void SceneNode::UpdateBound() {
    BoundingVolume* bound = GetWorldBound();
    if (!GetUpdateWorldBound() || bound == nullptr) return;
    // Every volume is a sphere.
    auto& sphere = static_cast<SphereBoundingVolume&>(*bound);
    if (!MergeInputsUnchanged(sphere)) MergeChildren(sphere);
}

const SphereBoundingVolume* SceneNode::ContributedSphere(const Node* child) {
    // Spheres are the only volumes (the class is final), so the type is not
    // asked: that would read one more cache line per child.
    return child != nullptr ? static_cast<const SphereBoundingVolume*>(child->GetWorldBound()) : nullptr;
}

bool SceneNode::MergeInputsUnchanged(const SphereBoundingVolume& bound) const {
    if (!mergedValid_ || merged_.Count() != children_.Count() || !(mergedResult_ == bound.GetBits())) return false;
    for (int32_t i = 0; i < children_.Count(); ++i) {
        const SphereBoundingVolume* child = ContributedSphere(children_[i]);
        const MergedChild& last = merged_[i];
        if (last.contributed != (child != nullptr)) return false;
        if (child != nullptr && !(last.sphere == child->GetBits())) return false;
    }
    return true;
}

void SceneNode::MergeChildren(SphereBoundingVolume& bound) {
    // Without room to record the inputs, the merge simply runs every time.
    mergedValid_ = merged_.Reserve(children_.Count()) == kOk;
    merged_.RemoveFront(merged_.Count());
    bool first = true;
    for (int32_t i = 0; i < children_.Count(); ++i) {
        const SphereBoundingVolume* child = ContributedSphere(children_[i]);
        // Cannot fail: the room is reserved above.
        if (mergedValid_) (void)merged_.Append({child != nullptr, child != nullptr ? child->GetBits() : SphereBits{}});
        if (child == nullptr) continue;
        if (first)
            bound.CopySphere(*child);
        else
            bound.MergeSphere(*child);
        first = false;
    }
    mergedResult_ = bound.GetBits();
}

void SceneNode::Draw(Renderer& renderer) {
    if (effects_ == nullptr)
        DrawChildren(renderer);
    else
        DrawThroughEffects(renderer);
}

void SceneNode::DrawChildren(Renderer& renderer) {
    for (int32_t i = 0; i < children_.Count(); ++i)
        if (Node* child = children_[i]) child->DrawVisible(renderer);
}

void SceneNode::DrawThroughEffects(Renderer& renderer) {
    for (EffectEntry* entry = effects_; entry != nullptr; entry = entry->next) {
        SceneNodeEffect* effect = entry->effect;
        if (!effect->IsEnabled()) continue;
        // The count is read again each time: the first call chooses the
        // technique.
        for (int32_t i = 0; i < effect->GetPassCount(renderer); ++i) {
            Pass* pass = effect->GetPass(i);
            renderer.SetCurrentPass(pass);
            renderer.BeginPass(pass);
            if (pass->Draw(renderer) != 0) continue;
            DrawChildren(renderer);
            renderer.FlushDeferred();
        }
    }
}

void SceneNode::VisitLinks(LinkVisitor& visitor) {
    Node::VisitLinks(visitor);
    for (EffectEntry** link = &effects_; *link != nullptr;) {
        EffectEntry* entry = *link;
        SceneNodeEffect* effect = entry->effect.Get();
        if (!visitor.Visit(effect)) {
            link = &entry->next;
            continue;
        }
        if (effect->GetOwnerNode() == this) effect->SetOwnerNode(nullptr);
        *link = entry->next;
        delete entry;
    }
    for (Pointer<Node>& child : children_) {
        Node* node = child.Get();
        if (node == nullptr || !visitor.Visit(node)) continue;
        if (node->parent_ == this) node->parent_ = nullptr;
        child = nullptr;
    }
}

Object* SceneNode::FindByName(const String& name) {
    if (Object* found = Node::FindByName(name)) return found;
    for (EffectEntry* entry = effects_; entry != nullptr; entry = entry->next)
        if (Object* found = FindIn(entry->effect, name)) return found;
    for (int32_t i = 0; i < children_.Count(); ++i)
        if (Object* found = FindIn(children_[i], name)) return found;
    return nullptr;
}

void SceneNode::CollectByType(const Rtti& type, ObjectArray& objects) {
    Node::CollectByType(type, objects);
    for (EffectEntry* entry = effects_; entry != nullptr; entry = entry->next)
        CollectIn(entry->effect, type, objects);
    for (int32_t i = 0; i < children_.Count(); ++i) CollectIn(children_[i], type, objects);
}

int32_t SceneNode::Save(Stream& stream) {
    if (Node::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteInt32(GetEffectCount()) != 0)
        return FailWithNameId("Невозможно сохранить количество эффектов. Имя[%s] ID[%d]");
    for (EffectEntry* entry = effects_; entry != nullptr; entry = entry->next)
        if (stream.WriteLink(entry->effect) != 0)
            return FailWithNameId("Невозможно сохранить эффект. Имя[%s] ID[%d]");
    if (stream.WriteInt32(children_.Count()) != 0)
        return FailWithNameId("Невозможно сохранить количество дочерних узлов. Имя[%s] ID[%d]");
    if (stream.WriteInt32(growBy_) != 0) return FailWithNameId("Невозможно сохранить приращение. Имя[%s] ID[%d]");
    for (int32_t i = 0; i < children_.Count(); ++i)
        if (stream.WriteLink(children_[i]) != 0)
            return FailWithNameId("Невозможно сохранить дочерний узел. Имя[%s] ID[%d]");
    return kOk;
}

int32_t SceneNode::Load(Stream& stream) {
    if (Node::Load(stream) != 0) return LoadParentFailed();
    int32_t result = LoadEffects(stream);
    return result != kOk ? result : LoadChildren(stream);
}

int32_t SceneNode::LoadEffects(Stream& stream) {
    int32_t count = 0;
    // Every link takes at least four bytes.
    if (stream.ReadCount(count, 4) != 0)
        return FailWithIdName("Невозможно загрузить количество эффектов. ID[%d] Имя[%s]");
    for (int32_t i = 0; i < count; ++i) {
        Pointer<SceneNodeEffect> effect;
        if (stream.ReadLinkAs(effect) != 0 || AddEffect(effect) != kOk)
            return FailWithIdName("Невозможно загрузить эффект. ID[%d] Имя[%s]");
    }
    return kOk;
}

int32_t SceneNode::LoadChildren(Stream& stream) {
    int32_t count = 0;
    if (stream.ReadCount(count, 4) != 0)
        return FailWithIdName("Невозможно загрузить количество дочерних узлов. ID[%d] Имя[%s]");
    int32_t growBy = 0;
    if (stream.ReadInt32(growBy) != 0) return FailWithIdName("Невозможно загрузить приращение. ID[%d] Имя[%s]");
    ResetChildren(count, growBy);
    if (children_.Count() != count) {
        FailWithIdName("Невозможно загрузить количество дочерних узлов. ID[%d] Имя[%s]");
        return kOutOfMemory;
    }
    for (int32_t i = 0; i < count; ++i) {
        Pointer<Node> child;
        if (stream.ReadLinkAs(child) != 0 || (child != nullptr && !CanAdopt(child)))
            return FailWithIdName("Невозможно загрузить дочерний узел. ID[%d] Имя[%s]");
        Adopt(i, child);
    }
    return kOk;
}

}  // namespace zel
