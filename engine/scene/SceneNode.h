// A grouping node: an ordered array of children (entries may be null) and a
// list of scene-node effects that wrap the drawing of the children.
#pragma once

#include "engine/core/GrowableArray.h"
#include "engine/scene/Node.h"
#include "engine/scene/SphereBoundingVolume.h"

namespace zel {

class SceneNodeEffect;

class SceneNode : public Node {
    ZEL_DECLARE_RTTI

public:
    // The stream factory's node: empty name, one null child, grow-by 2.
    SceneNode();
    // `initialCount` null children; a full array grows by `growBy` entries
    // (0: appends to a full array are refused).
    SceneNode(const String& name, int32_t initialCount, int32_t growBy);
    // Releases the effects, then clears each child's parent and releases it.
    ~SceneNode() override;

    // Parent data, the effects (newest first), the child count, the grow-by
    // and one link per child, null entries included. Loading adds the
    // effects through AddEffect (their order reverses) and takes each child
    // in; a child that already has a parent, or that is this node or one of
    // its ancestors, fails the load.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Node search, then each effect in list order, then each child.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // Node's links, then the effects and the children (a dropped one has
    // its owner or parent cleared).
    void VisitLinks(LinkVisitor& visitor) override;

    // As Node, then each effect's UpdateEffect in list order, then
    // Update(time, false) on each child in array order.
    void UpdateSelf(double time) override;
    // Without effects: DrawVisible on each child. With effects: for each
    // enabled effect, each pass of its technique runs BeginPass and Draw;
    // a Draw result of 0 draws the children and flushes the deferred nodes.
    void Draw(Renderer& renderer) override;
    // The first child's world bound copied, the later ones merged in; a
    // child without a bound contributes nothing, and with no
    // contributing child the bound keeps its value. Skipped while every
    // child's bound and this node's bound hold what the last run read and
    // wrote.
    void UpdateBound() override;

    int32_t GetChildCount() const { return children_.Count(); }
    // Null for an empty slot or an index outside the array.
    Node* GetChild(int32_t index) const;
    int32_t GetGrowBy() const { return growBy_; }
    // Puts `child` in slot `index` (null empties it) and makes this node its
    // parent; the previous occupant loses its parent. 0 ok; 3 (warning) for
    // an index outside the array or a child that already has another parent
    // or would make a cycle.
    int32_t SetChild(int32_t index, Node* child);
    // Appends `child` as SetChild does. 1 (warning) when the array is full
    // and its grow-by is 0; 2 out of memory.
    int32_t AppendChild(Node* child);

    // Prepends the effect and makes this node its owner; null or an effect
    // already in the list is ignored. 0 ok (also when ignored); 2 out of
    // memory (logged).
    [[nodiscard]] int32_t AddEffect(SceneNodeEffect* effect);
    // Unlinks and releases the effect's entry; an absent effect is ignored.
    void RemoveEffect(SceneNodeEffect* effect);
    int32_t GetEffectCount() const;
    // In list order (newest first); null outside the list.
    SceneNodeEffect* GetEffect(int32_t index) const;

private:
    struct EffectEntry;
    // One child's part in the last merge: whether it contributed, and its
    // sphere then.
    struct MergedChild {
        bool contributed = false;
        SphereBits sphere;
    };

    // Refuses children that would break the tree (logged as a warning).
    bool CanAdopt(const Node* child) const;
    void Adopt(int32_t index, Node* child);
    void ReleaseChildren();
    void ReleaseEffects();
    void ResetChildren(int32_t count, int32_t growBy);
    int32_t LoadEffects(Stream& stream);
    int32_t LoadChildren(Stream& stream);
    void DrawChildren(Renderer& renderer);
    void DrawThroughEffects(Renderer& renderer);
    // The sphere a child adds to the merge, or null.
    static const SphereBoundingVolume* ContributedSphere(const Node* child);
    bool MergeInputsUnchanged(const SphereBoundingVolume& bound) const;
    void MergeChildren(SphereBoundingVolume& bound);

    // Grown by growBy_ entries at a time (by AppendChild, not by the array).
    GrowableArray<Pointer<Node>> children_;
    int32_t growBy_ = 0;
    EffectEntry* effects_ = nullptr;  // owned singly linked list, newest first
    // The last merge's inputs, one per child slot, and its result; invalid
    // (never matching) until a merge has recorded them all.
    GrowableArray<MergedChild> merged_;
    SphereBits mergedResult_;
    bool mergedValid_ = false;
};
ZEL_REGISTER_CLASS(SceneNode)

}  // namespace zel
