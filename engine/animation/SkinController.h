// Skinning of a geometry node by a set of bone nodes. Every update turns
// each bone's world transform and bind offset into a palette matrix and
// bounds the node by a sphere around the bones. While active (skinning on
// the processor) it also blends up to four palette matrices per vertex into
// the node's positions, which are then in world space, so the node is drawn
// with the identity world transform. A geometry effect that skins in its
// vertex programs clears the active flag and reads the palette instead.
#pragma once

#include "engine/core/Controller.h"
#include "engine/core/Buffer.h"
#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"
#include "engine/scene/Node.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Transform.h"

namespace zel {

class GeometryNode;

class SkinController : public Controller {
    ZEL_DECLARE_RTTI

public:
    // The two equivalent blends: the scalar one transforms the bind position
    // by each weighted matrix and sums the results; the SIMD one (SSE2,
    // always there on x86-64, so no probe is needed) sums the weighted
    // matrices and transforms once. Other processors use the scalar one.
    enum class Form { kScalar, kSimd };

    SkinController();

    // Parent data, the bone count, each bone (link), each bone's offset
    // (40 bytes), then the weights, bone indices, bind positions, normals
    // and tangents (links). Loading makes one bone position and one identity
    // palette matrix per bone.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // The controller's own search, then its buffers (not the bones: they
    // are searched as part of the scene).
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The controller's links, then the bones and the buffers.
    void VisitLinks(LinkVisitor& visitor) override;

    // Active: needs an owning geometry node whose positions are a 3-vector
    // buffer of as many elements as the bind positions, and weights and
    // indices for each of them; otherwise nothing changes at all. Then the
    // palette, the skinned positions (marked changed), the owner's world
    // bound (the bones' sphere × 1.5, or an unbounded sphere with fewer than
    // two bones; no longer updated by the node) and its world transform
    // (the identity, no longer updated by the node).
    // Not active: the palette and the owner's world bound (the bones'
    // sphere × 1.5; unbounded without bones); positions and transform are
    // left to the vertex programs.
    void Update(double dt) override;

    // Appends a bone with its offset (inverse bind) transform: one more
    // palette entry (identity) and bone position. 2 out of memory (nothing
    // is added).
    [[nodiscard]] int32_t AddBone(Node* bone, const Transform& offset);
    int32_t GetBoneCount() const { return bones_.Count(); }
    // Null for a null link; the index must be in range.
    Node* GetBone(int32_t index) const { return bones_[index]; }
    const Transform& GetBoneOffset(int32_t index) const { return boneOffsets_[index]; }
    // One matrix per bone, in bone order: offset, then the bone's world.
    const Matrix4* GetPalette() const { return palette_.begin(); }
    // The bones' world positions after the last update; null without bones.
    Vector3Buffer* GetBonePositions() const { return bonePositions_; }

    // Per vertex: weights w0..w3 and bone indices i0..i3 (floats, truncated).
    // The first weight always counts, the others only when positive; an
    // index outside the bones drops its weight.
    Vector4Buffer* GetWeights() const { return weights_; }
    void SetWeights(Vector4Buffer* weights) { weights_ = weights; }
    Vector4Buffer* GetBoneIndices() const { return boneIndices_; }
    void SetBoneIndices(Vector4Buffer* indices) { boneIndices_ = indices; }
    Vector3Buffer* GetBindVertices() const { return bindVertices_; }
    void SetBindVertices(Vector3Buffer* vertices) { bindVertices_ = vertices; }
    // Kept and streamed for the vertex programs; the processor blend uses
    // positions only.
    Vector3Buffer* GetBindNormals() const { return bindNormals_; }
    void SetBindNormals(Vector3Buffer* normals) { bindNormals_ = normals; }
    Vector3Buffer* GetBindTangents() const { return bindTangents_; }
    void SetBindTangents(Vector3Buffer* tangents) { bindTangents_ = tangents; }

    Form GetForm() const { return form_; }
    // kSimd where SSE2 is missing stays scalar.
    void SetForm(Form form);

    // Gives geometry effects the hooks that switch a skin controller between
    // the processor and the vertex programs and unbound its node. Runs at
    // engine start; 0.
    static int32_t InstallEffectHooks();

    // The blend itself over `count` vertices, exposed for measurement.
    static void SkinScalar(const Matrix4* palette, int32_t boneCount, const Vector3* bind, const Vector4* weights,
                           const Vector4* indices, Vector3* out, int32_t count);
    static void SkinSimd(const Matrix4* palette, int32_t boneCount, const Vector3* bind, const Vector4* weights,
                         const Vector4* indices, Vector3* out, int32_t count);

private:
    // The palette and the bone positions from the bones' world transforms.
    void BuildPalette();
    // The owner's world bound around the bone positions, radius × 1.5;
    // `unboundedBelow`: with fewer bones than this the sphere is unbounded.
    void BoundOwner(Node& owner, int32_t unboundedBelow);
    bool CanSkin(const GeometryNode* node) const;
    void ClearBones();
    int32_t MakeBonePositions(int32_t count);
    int32_t LoadBones(Stream& stream);
    int32_t LoadBuffers(Stream& stream);

    GrowableArray<Pointer<Node>> bones_{1, 1};
    Pointer<Vector3Buffer> bonePositions_;
    GrowableArray<Transform> boneOffsets_{1, 1};
    GrowableArray<Matrix4> palette_{1, 1};
    Pointer<Vector4Buffer> weights_;
    Pointer<Vector4Buffer> boneIndices_;
    Pointer<Vector3Buffer> bindVertices_;
    Pointer<Vector3Buffer> bindNormals_;
    Pointer<Vector3Buffer> bindTangents_;
    Form form_;
};
ZEL_REGISTER_CLASS(SkinController)

}  // namespace zel
