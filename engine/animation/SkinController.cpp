#include "engine/animation/SkinController.h"

#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "engine/math/MathConstants.h"

namespace zel {

ZEL_DEFINE_RTTI(SkinController, Controller)

namespace {

constexpr int32_t kWeightsPerVertex = 4;
// A bone in the stream: its link (at least 4 bytes) and its offset.
constexpr int32_t kStreamedBoneSize = 4 + 40;

// The bone a float index names after truncation, or −1 when it falls
// outside the bones (NaN included): that weight is then left out.
inline int32_t BoneIndex(float index, int32_t boneCount) {
    return index > -1.0f && index < static_cast<float>(boneCount) ? static_cast<int32_t>(index) : -1;
}

// Whether weight k of a vertex takes part: the first always, the others
// only when positive.
inline bool WeightCounts(int32_t k, float weight) { return k == 0 || weight > 0.0f; }

// (p, 1) · m for an affine m, as Matrix4::TransformPoint, written out here
// so that the per-vertex loop stays free of calls.
inline Vector3 AffinePoint(const Matrix4& m, const Vector3& p) {
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

void MakeUnbounded(SphereBoundingVolume& sphere) {
    sphere.SetCenter({});
    sphere.SetRadius(kMaxFloat);
}

// The hooks through which a geometry effect hands skinning to its vertex
// programs and back.
void SetProcessorSkinning(Controller* controller, bool on) {
    if (SkinController* skin = CastTo<SkinController>(controller)) skin->SetActive(on);
}

void MakeTargetUnbounded(Controller* controller) {
    Node* target = controller != nullptr ? CastTo<Node>(controller->GetOwner()) : nullptr;
    SphereBoundingVolume* sphere = target != nullptr ? CastTo<SphereBoundingVolume>(target->GetWorldBound()) : nullptr;
    if (sphere != nullptr) MakeUnbounded(*sphere);
}

bool GetSkinStreams(Controller* controller, SkinStreams& streams) {
    SkinController* skin = CastTo<SkinController>(controller);
    if (skin == nullptr) return false;
    streams.palette = skin->GetPalette();
    streams.boneCount = skin->GetBoneCount();
    streams.positions = skin->GetBindVertices();
    streams.normals = skin->GetBindNormals();
    streams.tangents = skin->GetBindTangents();
    streams.weights = skin->GetWeights();
    streams.boneIndices = skin->GetBoneIndices();
    return true;
}

[[maybe_unused]] const bool gSkinHooksRegistered = (RegisterInitFunction(&SkinController::InstallEffectHooks), true);

}  // namespace

int32_t SkinController::InstallEffectHooks() {
    SkinControllerHooks hooks;
    hooks.setProcessorSkinning = &SetProcessorSkinning;
    hooks.makeTargetUnbounded = &MakeTargetUnbounded;
    hooks.getSkinStreams = &GetSkinStreams;
    GeometryNodeEffect::SetSkinControllerHooks(hooks);
    return kOk;
}

#if defined(__SSE2__)
SkinController::SkinController() : form_(Form::kSimd) {}
#else
SkinController::SkinController() : form_(Form::kScalar) {}
#endif

void SkinController::SetForm(Form form) {
#if defined(__SSE2__)
    form_ = form;
#else
    (void)form;
    form_ = Form::kScalar;
#endif
}

void SkinController::SkinScalar(const Matrix4* palette, int32_t boneCount, const Vector3* bind, const Vector4* weights,
                                const Vector4* indices, Vector3* out, int32_t count) {
    for (int32_t v = 0; v < count; ++v) {
        const float w[kWeightsPerVertex] = {weights[v].x, weights[v].y, weights[v].z, weights[v].w};
        const float index[kWeightsPerVertex] = {indices[v].x, indices[v].y, indices[v].z, indices[v].w};
        Vector3 sum;
        for (int32_t k = 0; k < kWeightsPerVertex; ++k) {
            const int32_t bone = BoneIndex(index[k], boneCount);
            if (!WeightCounts(k, w[k]) || bone < 0) continue;
            sum += AffinePoint(palette[bone], bind[v]) * w[k];
        }
        out[v] = sum;
    }
}

#if defined(__SSE2__)
void SkinController::SkinSimd(const Matrix4* palette, int32_t boneCount, const Vector3* bind, const Vector4* weights,
                              const Vector4* indices, Vector3* out, int32_t count) {
    for (int32_t v = 0; v < count; ++v) {
        const float w[kWeightsPerVertex] = {weights[v].x, weights[v].y, weights[v].z, weights[v].w};
        const float index[kWeightsPerVertex] = {indices[v].x, indices[v].y, indices[v].z, indices[v].w};
        // The weighted sum of the rows of the vertex's matrices.
        __m128 row0 = _mm_setzero_ps(), row1 = _mm_setzero_ps(), row2 = _mm_setzero_ps(), row3 = _mm_setzero_ps();
        for (int32_t k = 0; k < kWeightsPerVertex; ++k) {
            const int32_t bone = BoneIndex(index[k], boneCount);
            if (!WeightCounts(k, w[k]) || bone < 0) continue;
            const __m128 weight = _mm_set1_ps(w[k]);
            const float* m = &palette[bone].m[0][0];
            row0 = _mm_add_ps(row0, _mm_mul_ps(weight, _mm_loadu_ps(m)));
            row1 = _mm_add_ps(row1, _mm_mul_ps(weight, _mm_loadu_ps(m + 4)));
            row2 = _mm_add_ps(row2, _mm_mul_ps(weight, _mm_loadu_ps(m + 8)));
            row3 = _mm_add_ps(row3, _mm_mul_ps(weight, _mm_loadu_ps(m + 12)));
        }
        // (x, y, z, 1) times the summed matrix.
        __m128 result = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(bind[v].x), row0), _mm_mul_ps(_mm_set1_ps(bind[v].y), row1));
        result = _mm_add_ps(result, _mm_add_ps(_mm_mul_ps(_mm_set1_ps(bind[v].z), row2), row3));
        alignas(16) float lanes[4];
        _mm_store_ps(lanes, result);
        out[v] = {lanes[0], lanes[1], lanes[2]};
    }
}
#else
void SkinController::SkinSimd(const Matrix4* palette, int32_t boneCount, const Vector3* bind, const Vector4* weights,
                              const Vector4* indices, Vector3* out, int32_t count) {
    SkinScalar(palette, boneCount, bind, weights, indices, out, count);
}
#endif

int32_t SkinController::MakeBonePositions(int32_t count) {
    bonePositions_ = nullptr;
    if (count <= 0) return kOk;
    Pointer<Vector3Buffer> positions = new (std::nothrow) Vector3Buffer(count, nullptr);
    if (positions == nullptr || positions->GetData() == nullptr) return kOutOfMemory;
    bonePositions_ = positions;
    return kOk;
}

int32_t SkinController::AddBone(Node* bone, const Transform& offset) {
    const int32_t count = bones_.Count() + 1;
    // Reserving first makes the appends below unable to fail.
    if (bones_.Reserve(count) != kOk || boneOffsets_.Reserve(count) != kOk || palette_.Reserve(count) != kOk)
        return kOutOfMemory;
    bones_.Append(Pointer<Node>(bone));
    boneOffsets_.Append(offset);
    palette_.Append(Matrix4::Identity());
    if (MakeBonePositions(count) == kOk) return kOk;
    bones_.RemoveAt(count - 1);
    boneOffsets_.RemoveAt(count - 1);
    palette_.RemoveAt(count - 1);
    MakeBonePositions(count - 1);
    return kOutOfMemory;
}

void SkinController::ClearBones() {
    bones_.Clear();
    boneOffsets_.Clear();
    palette_.Clear();
    bonePositions_ = nullptr;
}

void SkinController::BuildPalette() {
    const int32_t positions = bonePositions_ != nullptr ? bonePositions_->GetCount() : 0;
    for (int32_t i = 0; i < bones_.Count(); ++i) {
        const Node* bone = bones_[i];
        if (bone == nullptr) continue;
        // The offset acts first: bind space to the bone's space, then the
        // bone's world transform.
        palette_[i] = Transform::Compose(boneOffsets_[i], bone->GetWorld()).ToMatrix();
        if (i < positions) (*bonePositions_)[i] = bone->GetWorld().translation;
    }
}

void SkinController::BoundOwner(Node& owner, int32_t unboundedBelow) {
    SphereBoundingVolume* sphere = CastTo<SphereBoundingVolume>(owner.GetWorldBound());
    if (sphere == nullptr) return;
    if (bones_.Count() < unboundedBelow || bonePositions_ == nullptr) {
        MakeUnbounded(*sphere);
    } else {
        sphere->ComputeFromPoints(bonePositions_);
        sphere->SetRadius(sphere->GetRadius() * 1.5f);
    }
    owner.SetUpdateWorldBound(false);
}

bool SkinController::CanSkin(const GeometryNode* node) const {
    if (node == nullptr || bindVertices_ == nullptr || weights_ == nullptr || boneIndices_ == nullptr) return false;
    const Vector3Buffer* positions = node->GetPositions3();
    if (positions == nullptr) return false;
    const int32_t count = positions->GetCount();
    if (bindVertices_->GetCount() != count || weights_->GetCount() < count || boneIndices_->GetCount() < count)
        return false;
    return count == 0 || (positions->GetElements() != nullptr && bindVertices_->GetElements() != nullptr &&
                          weights_->GetElements() != nullptr && boneIndices_->GetElements() != nullptr);
}

void SkinController::Update(double) {
    Node* owner = CastTo<Node>(GetOwner());
    if (!IsActive()) {
        BuildPalette();
        // The vertex programs skin; one bone still has a (zero-sized) sphere.
        if (owner != nullptr) BoundOwner(*owner, 1);
        return;
    }
    GeometryNode* node = CastTo<GeometryNode>(owner);
    if (!CanSkin(node)) return;
    BuildPalette();
    Vector3Buffer& vertices = *node->GetPositions3();
    vertices.GetBinding().SetDirty(true);
    const auto skin = form_ == Form::kSimd ? &SkinSimd : &SkinScalar;
    skin(palette_.begin(), bones_.Count(), bindVertices_->GetElements(), weights_->GetElements(),
         boneIndices_->GetElements(), vertices.GetElements(), vertices.GetCount());
    BoundOwner(*node, 2);
    // The positions are in world space now.
    node->SetWorld(Transform::Identity());
    node->SetUpdateWorldTransform(false);
}

Object* SkinController::FindByName(const String& name) {
    if (Object* found = Controller::FindByName(name)) return found;
    Object* const buffers[] = {weights_, boneIndices_, bindVertices_, bindNormals_, bindTangents_};
    for (Object* buffer : buffers)
        if (Object* found = FindIn(buffer, name)) return found;
    return nullptr;
}

void SkinController::CollectByType(const Rtti& type, ObjectArray& objects) {
    Controller::CollectByType(type, objects);
    Object* const buffers[] = {weights_, boneIndices_, bindVertices_, bindNormals_, bindTangents_};
    for (Object* buffer : buffers) CollectIn(buffer, type, objects);
}

void SkinController::VisitLinks(LinkVisitor& visitor) {
    Controller::VisitLinks(visitor);
    VisitLinkArray(bones_, visitor);
    VisitLink(bonePositions_, visitor);
    VisitLink(weights_, visitor);
    VisitLink(boneIndices_, visitor);
    VisitLink(bindVertices_, visitor);
    VisitLink(bindNormals_, visitor);
    VisitLink(bindTangents_, visitor);
}

int32_t SkinController::Save(Stream& stream) {
    if (Controller::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteInt32(bones_.Count()) != 0)
        return FailWithNameId("Невозможно сохранить количество костей. Имя[%s] ID[%d]");
    for (const Pointer<Node>& bone : bones_)
        if (stream.WriteLink(bone) != 0) return FailWithNameId("Невозможно сохранить кость. Имя[%s] ID[%d]");
    for (const Transform& offset : boneOffsets_)
        if (stream.WriteTransform(offset) != 0) return FailWithNameId("Невозможно сохранить кость. Имя[%s] ID[%d]");
    if (stream.WriteLink(weights_) != 0) return FailWithNameId("Невозможно сохранить веса. Имя[%s] ID[%d]");
    if (stream.WriteLink(boneIndices_) != 0) return FailWithNameId("Невозможно сохранить индексы. Имя[%s] ID[%d]");
    if (stream.WriteLink(bindVertices_) != 0) return FailWithNameId("Невозможно сохранить вершины. Имя[%s] ID[%d]");
    if (stream.WriteLink(bindNormals_) != 0) return FailWithNameId("Невозможно сохранить нормали. Имя[%s] ID[%d]");
    if (stream.WriteLink(bindTangents_) != 0) return FailWithNameId("Невозможно сохранить тангенсы. Имя[%s] ID[%d]");
    return kOk;
}

int32_t SkinController::Load(Stream& stream) {
    if (Controller::Load(stream) != 0) return LoadParentFailed();
    const int32_t result = LoadBones(stream);
    return result != kOk ? result : LoadBuffers(stream);
}

int32_t SkinController::LoadBones(Stream& stream) {
    int32_t count = 0;
    if (stream.ReadCount(count, kStreamedBoneSize) != 0)
        return FailWithIdName("Невозможно загрузить количество костей. ID[%d] Имя[%s]");
    ClearBones();
    // The three arrays always hold one entry per bone: a failure part way
    // leaves no bones at all.
    int32_t result = bones_.Reserve(count) != kOk || boneOffsets_.Reserve(count) != kOk ||
                             palette_.Reserve(count) != kOk || MakeBonePositions(count) != kOk
                         ? kOutOfMemory
                         : kOk;
    for (int32_t i = 0; i < count && result == kOk; ++i) {
        Pointer<Node> bone;
        if (stream.ReadLinkAs(bone) != 0) result = kFailed;
        bones_.Append(bone);
    }
    for (int32_t i = 0; i < count && result == kOk; ++i) {
        Transform offset;
        if (stream.ReadTransform(offset) != 0) result = kFailed;
        boneOffsets_.Append(offset);
        palette_.Append(Matrix4::Identity());
    }
    if (result == kOk) return kOk;
    ClearBones();
    LogError("Невозможно загрузить кость. ID[%d]", GetId());
    return result;
}

int32_t SkinController::LoadBuffers(Stream& stream) {
    if (stream.ReadLinkAs(weights_) != 0) return FailWithNameId("Невозможно загрузить веса. Имя[%s] ID[%d]");
    if (stream.ReadLinkAs(boneIndices_) != 0) return FailWithNameId("Невозможно загрузить индексы. Имя[%s] ID[%d]");
    if (stream.ReadLinkAs(bindVertices_) != 0) return FailWithNameId("Невозможно загрузить вершины. Имя[%s] ID[%d]");
    if (stream.ReadLinkAs(bindNormals_) != 0) return FailWithNameId("Невозможно загрузить нормали. Имя[%s] ID[%d]");
    if (stream.ReadLinkAs(bindTangents_) != 0)
        return FailWithNameId("Невозможно загрузить тангенсы. Имя[%s] ID[%d]");
    return kOk;
}

}  // namespace zel
