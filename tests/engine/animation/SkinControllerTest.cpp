#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "support/AnimationTestSupport.h"
#include "engine/animation/SkinController.h"
#include "engine/core/Log.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "engine/scene/Triangles.h"
#include "support/MathExpect.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::Near;

struct Influence {
    Vector4 weights;
    Vector4 indices;
};

Pointer<SceneNode> MakeBone(const Transform& local, const char* name = "bone") {
    Pointer<SceneNode> bone = new SceneNode(String(name), 0, 1);
    bone->SetLocal(local);
    bone->Update(0, false);
    return bone;
}

Transform Moved(const Vector3& translation) { return Transform::Make({1, 1, 1}, Quaternion(), translation); }

// A triangle node skinned by `skin`, with one bind position and influence
// per vertex; the node's own positions start as a copy of the bind pose.
struct Skinned {
    Skinned(std::vector<Vector3> bind, std::vector<Influence> influences) {
        const int32_t count = static_cast<int32_t>(bind.size());
        Pointer<Vector3Buffer> bindVertices = new Vector3Buffer(count, nullptr);
        Pointer<Vector3Buffer> positions = new Vector3Buffer(count, nullptr);
        Pointer<Vector4Buffer> weights = new Vector4Buffer(count, nullptr);
        Pointer<Vector4Buffer> indices = new Vector4Buffer(count, nullptr);
        for (int32_t i = 0; i < count; ++i) {
            (*bindVertices)[i] = (*positions)[i] = bind[i];
            (*weights)[i] = influences[i].weights;
            (*indices)[i] = influences[i].indices;
        }
        node->SetVertices(positions);
        skin->SetBindVertices(bindVertices);
        skin->SetWeights(weights);
        skin->SetBoneIndices(indices);
        node->AttachController(skin);
    }

    Vector3 Position(int32_t i) const { return (*node->GetPositions3())[i]; }
    SphereBoundingVolume& Bound() const { return *static_cast<SphereBoundingVolume*>(node->GetWorldBound()); }

    Pointer<Triangles> node = new Triangles(String("skin"));
    Pointer<SkinController> skin = new SkinController();
};

// --- The skinning examples ---------------------------------------------------

TEST(SkinController, BoneAtTheInverseOfItsOffsetKeepsTheBindPose) {
    const Transform pose = Transform::Make({2, 2, 2}, Quaternion::FromAxisAngle(Normalize(Vector3{1, 2, 3}), 0.8f), {4, -1, 2});
    Skinned s({{1, 2, 3}, {-2, 0.5f, 7}}, {{{1, 0, 0, 0}, {0, 0, 0, 0}}, {{1, 0, 0, 0}, {0, 0, 0, 0}}});
    EXPECT_EQ(s.skin->AddBone(MakeBone(pose), pose.Inverse()), kOk);
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({9, 9, 9})), Transform()), kOk);
    s.node->Update(0, false);
    EXPECT_TRUE(Near(s.Position(0), {1, 2, 3}, 1e-4f));
    EXPECT_TRUE(Near(s.Position(1), {-2, 0.5f, 7}, 1e-4f));
}

TEST(SkinController, HalfWeightsBetweenARestingAndAMovedBoneMoveHalfWay) {
    Skinned s({{1, 1, 1}}, {{{0.5f, 0.5f, 0, 0}, {0, 1, 0, 0}}});
    EXPECT_EQ(s.skin->AddBone(MakeBone(Transform()), Transform()), kOk);
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({2, 0, 0})), Transform()), kOk);
    s.node->Update(0, false);
    EXPECT_TRUE(Near(s.Position(0), {2, 1, 1}));
}

struct WeightCase {
    const char* what;
    Vector4 weights;
    Vector4 indices;
    Vector3 expected;  // for bind (1, 1, 1), bone 0 at rest, bone 1 moved by (2, 0, 0)
};

class SkinWeights : public ::testing::TestWithParam<WeightCase> {};

TEST_P(SkinWeights, WeightsCountByTheRules) {
    const WeightCase& c = GetParam();
    Skinned s({{1, 1, 1}}, {{c.weights, c.indices}});
    EXPECT_EQ(s.skin->AddBone(MakeBone(Transform()), Transform()), kOk);
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({2, 0, 0})), Transform()), kOk);
    s.node->Update(0, false);
    EXPECT_TRUE(Near(s.Position(0), c.expected)) << c.what;
    // The blend forms agree on every rule.
    s.skin->SetForm(SkinController::Form::kScalar);
    s.node->Update(0, false);
    EXPECT_TRUE(Near(s.Position(0), c.expected)) << c.what << " (scalar)";
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Rules, SkinWeights,
    ::testing::Values(
        WeightCase{"negative second weight is ignored", {1, -0.5f, 0, 0}, {0, 1, 0, 0}, {1, 1, 1}},
        WeightCase{"negative first weight is applied", {-1, 0, 0, 0}, {1, 0, 0, 0}, {-3, -1, -1}},
        WeightCase{"zero later weights add nothing", {1, 0, 0, 0}, {0, 1, 1, 1}, {1, 1, 1}},
        WeightCase{"all four count when positive", {0.25f, 0.25f, 0.25f, 0.25f}, {0, 1, 1, 0}, {2, 1, 1}},
        WeightCase{"indices truncate", {1, 0, 0, 0}, {1.9f, 0, 0, 0}, {3, 1, 1}},
        WeightCase{"index beyond the bones drops its weight", {0.5f, 0.5f, 0, 0}, {0, 2, 0, 0}, {0.5f, 0.5f, 0.5f}},
        WeightCase{"first index beyond the bones drops the first weight", {1, 0.5f, 0, 0}, {7, 1, 0, 0}, {1.5f, 0.5f, 0.5f}},
        WeightCase{"negative index drops its weight", {1, 0.5f, 0, 0}, {-1, 1, 0, 0}, {1.5f, 0.5f, 0.5f}},
        WeightCase{"NaN index drops its weight", {1, 0.5f, 0, 0}, {kNaN, 1, 0, 0}, {1.5f, 0.5f, 0.5f}}));

TEST(SkinController, MismatchedVertexCountsChangeNothing) {
    Skinned s({{1, 1, 1}, {2, 2, 2}}, {{{1, 0, 0, 0}, {}}, {{1, 0, 0, 0}, {}}});
    s.node->SetVertices(new Vector3Buffer(3, nullptr));
    s.node->SetLocal(Moved({5, 0, 0}));
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({1, 0, 0})), Transform()), kOk);
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({3, 0, 0})), Transform()), kOk);
    s.Bound().SetRadius(7.0f);
    s.node->Update(0, false);
    EXPECT_EQ(s.skin->GetPalette()[0], Matrix4::Identity());  // no matrices
    EXPECT_EQ(s.Position(0), Vector3{});                     // no vertices
    EXPECT_TRUE(s.node->GetUpdateWorldBound());
    EXPECT_TRUE(s.node->GetUpdateWorldTransform());
    EXPECT_TRUE(Near(s.node->GetWorld().translation, {5, 0, 0}));  // the node's own transform
}

TEST(SkinController, MissingWeightsOrIndicesChangeNothing) {
    Skinned s({{1, 1, 1}}, {{{1, 0, 0, 0}, {}}});
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({1, 0, 0})), Transform()), kOk);
    s.skin->SetBoneIndices(nullptr);
    s.node->Update(0, false);
    EXPECT_EQ(s.Position(0), (Vector3{1, 1, 1}));
    s.skin->SetBoneIndices(new Vector4Buffer(1, nullptr));
    s.skin->SetWeights(new Vector4Buffer(0, nullptr));  // fewer than the vertices
    s.node->Update(0, false);
    EXPECT_EQ(s.Position(0), (Vector3{1, 1, 1}));
}

TEST(SkinController, ASingleBoneIsNeverCulled) {
    Skinned s({{0, 0, 0}}, {{{1, 0, 0, 0}, {}}});
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({1, 2, 3})), Transform()), kOk);
    s.node->Update(0, false);
    EXPECT_EQ(s.Bound().GetCenter(), Vector3{});
    EXPECT_EQ(s.Bound().GetRadius(), kMaxFloat);
    Pointer<Camera> camera = new Camera();
    camera->SetLocal(Moved({0, 0, 1e6f}));
    camera->Update(0, false);
    EXPECT_FALSE(camera->IsCulled(s.Bound()));
}

TEST(SkinController, BoundIsTheBonesSphereOneAndAHalfTimes) {
    Skinned s({{0, 0, 0}}, {{{1, 0, 0, 0}, {}}});
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({-2, 0, 0})), Transform()), kOk);
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({2, 0, 0})), Transform()), kOk);
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({0, 1, 0})), Transform()), kOk);
    s.node->Update(0, false);
    EXPECT_TRUE(Near(s.Bound().GetCenter(), {0, 0.5f, 0}));
    EXPECT_NEAR(s.Bound().GetRadius(), std::sqrt(4.25f) * 1.5f, 1e-5f);
    EXPECT_FALSE(s.node->GetUpdateWorldBound());
    const Vector3Buffer& positions = *s.skin->GetBonePositions();
    EXPECT_EQ(positions[2], (Vector3{0, 1, 0}));
}

TEST(SkinController, SkinnedNodeIsDrawnWithTheIdentityWorld) {
    Skinned s({{1, 0, 0}}, {{{1, 0, 0, 0}, {}}});
    s.node->SetLocal(Transform::Make({3, 3, 3}, Quaternion::FromAxisAngle({0, 1, 0}, 1.0f), {5, 5, 5}));
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({0, 4, 0})), Transform()), kOk);
    s.node->Update(0, false);
    EXPECT_TRUE(s.node->GetWorld().isIdentity);
    EXPECT_EQ(s.node->GetWorld().translation, Vector3{});
    EXPECT_FALSE(s.node->GetUpdateWorldTransform());
    EXPECT_TRUE(Near(s.Position(0), {1, 4, 0}));  // world space, from the bone alone
    EXPECT_TRUE(s.node->GetVertices()->GetBinding().IsDirty());
}

TEST(SkinController, PaletteIsTheOffsetThenTheBonesWorld) {
    Skinned s({{0, 0, 0}}, {{{1, 0, 0, 0}, {}}});
    Pointer<SceneNode> bone = MakeBone(Transform::Make({2, 2, 2}, Quaternion::FromAxisAngle({0, 0, 1}, kHalfPi), {1, 0, 0}));
    const Transform offset = Moved({0, 1, 0});
    EXPECT_EQ(s.skin->AddBone(bone, offset), kOk);
    s.node->Update(0, false);
    // (1, 0, 0): offset → (1, 1, 0); scale 2 → (2, 2, 0); quarter turn → (−2, 2, 0); move → (−1, 2, 0).
    EXPECT_TRUE(Near(s.skin->GetPalette()[0].TransformPoint({1, 0, 0}), {-1, 2, 0}));
    EXPECT_TRUE(test::NearMatrix(s.skin->GetPalette()[0], Transform::Compose(offset, bone->GetWorld()).ToMatrix()));
}

// --- Skinning on the device -----------------------------------------------

TEST(SkinController, InactiveSkinBuildsThePaletteAndBoundOnly) {
    Skinned s({{1, 1, 1}}, {{{1, 0, 0, 0}, {}}});
    s.node->SetLocal(Moved({5, 0, 0}));
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({2, 0, 0})), Transform()), kOk);
    s.skin->SetActive(false);
    s.node->Update(0, false);
    EXPECT_TRUE(Near(s.skin->GetPalette()[0].TransformPoint({}), {2, 0, 0}));
    EXPECT_EQ(s.Position(0), (Vector3{1, 1, 1}));
    EXPECT_TRUE(Near(s.node->GetWorld().translation, {5, 0, 0}));
    // One bone: its point, not the unbounded sphere.
    EXPECT_TRUE(Near(s.Bound().GetCenter(), {2, 0, 0}));
    EXPECT_EQ(s.Bound().GetRadius(), 0.0f);
    EXPECT_FALSE(s.node->GetUpdateWorldBound());
}

TEST(SkinController, EffectsHandSkinningToTheirVertexProgramsAndBack) {
    // Other tests install hooks of their own; these are the engine's.
    SkinController::InstallEffectHooks();
    Pointer<test::RecordingRenderer> renderer = new test::RecordingRenderer();  // shader level 3.0
    SetCurrentRenderer(renderer);
    Skinned s({{1, 1, 1}}, {{{1, 0, 0, 0}, {}}});
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({2, 0, 0})), Transform()), kOk);
    s.Bound().SetRadius(1.0f);
    Pointer<GeometryNodeEffect> effect = new GeometryNodeEffect();
    s.skin->SetActive(false);
    effect->SetSkinController(s.skin);
    EXPECT_TRUE(s.skin->IsActive());                  // back to the processor until the effect updates
    EXPECT_EQ(s.Bound().GetRadius(), kMaxFloat);      // never culled
    effect->UpdateEffect(0.0);                        // shader level 3.0: the device skins
    EXPECT_FALSE(s.skin->IsActive());
    effect->SetSkinController(nullptr);
    EXPECT_TRUE(s.skin->IsActive());
    SetCurrentRenderer(nullptr);
}

// --- The two forms --------------------------------------------------------

TEST(SkinController, SimdAndScalarFormsAgree) {
    std::srand(5);
    auto unit = [] { return static_cast<float>(std::rand() % 2001 - 1000) / 1000.0f; };
    constexpr int32_t kBones = 6;
    constexpr int32_t kVertices = 500;
    std::vector<Matrix4> palette;
    for (int32_t b = 0; b < kBones; ++b)
        palette.push_back(Transform::Make({1 + unit() * 0.5f, 1, 1 + unit() * 0.5f},
                                          Quaternion::FromAxisAngle(Normalize(Vector3{unit(), 1, unit()}), unit() * 3),
                                          {unit() * 10, unit() * 10, unit() * 10})
                              .ToMatrix());
    std::vector<Vector3> bind(kVertices);
    std::vector<Vector4> weights(kVertices), indices(kVertices);
    for (int32_t v = 0; v < kVertices; ++v) {
        bind[v] = {unit() * 5, unit() * 5, unit() * 5};
        weights[v] = {unit(), unit(), unit(), unit()};  // some negative
        indices[v] = {static_cast<float>(std::rand() % (kBones + 2)), static_cast<float>(std::rand() % kBones),
                      static_cast<float>(std::rand() % kBones), static_cast<float>(std::rand() % (kBones + 2))};
    }
    std::vector<Vector3> scalar(kVertices), simd(kVertices);
    SkinController::SkinScalar(palette.data(), kBones, bind.data(), weights.data(), indices.data(), scalar.data(),
                               kVertices);
    SkinController::SkinSimd(palette.data(), kBones, bind.data(), weights.data(), indices.data(), simd.data(),
                             kVertices);
    for (int32_t v = 0; v < kVertices; ++v) ASSERT_TRUE(Near(simd[v], scalar[v], 1e-3f)) << "vertex " << v;
}

// --- Streaming ------------------------------------------------------------

TEST(SkinController, RoundTripKeepsBonesOffsetsAndBuffers) {
    Skinned s({{1, 1, 1}, {2, 2, 2}}, {{{1, 0, 0, 0}, {}}, {{0.5f, 0.5f, 0, 0}, {0, 1, 0, 0}}});
    s.skin->SetName(String("skin controller"));
    s.skin->SetBindNormals(new Vector3Buffer(2, nullptr));
    s.skin->SetBindTangents(new Vector3Buffer(2, nullptr));
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({1, 0, 0}), "hip"), Moved({-1, 0, 0})), kOk);
    EXPECT_EQ(s.skin->AddBone(MakeBone(Moved({0, 3, 0}), "knee"), Moved({0, -3, 0})), kOk);
    s.node->Update(0, false);
    Pointer<SkinController> loaded = test::RoundTrip(s.skin.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetBoneCount(), 2);
    EXPECT_EQ(std::string(loaded->GetBone(1)->GetName().CStr()), "knee");
    EXPECT_EQ(loaded->GetBoneOffset(1).translation, (Vector3{0, -3, 0}));
    EXPECT_FALSE(loaded->GetBoneOffset(1).isIdentity);
    EXPECT_EQ(loaded->GetPalette()[1], Matrix4::Identity());
    ASSERT_NE(loaded->GetBonePositions(), nullptr);
    EXPECT_EQ(loaded->GetBonePositions()->GetCount(), 2);
    EXPECT_EQ((*loaded->GetWeights())[1], (Vector4{0.5f, 0.5f, 0, 0}));
    EXPECT_EQ((*loaded->GetBoneIndices())[1], (Vector4{0, 1, 0, 0}));
    EXPECT_EQ((*loaded->GetBindVertices())[1], (Vector3{2, 2, 2}));
    EXPECT_NE(loaded->GetBindNormals(), nullptr);
    EXPECT_NE(loaded->GetBindTangents(), nullptr);
    test::ExpectEveryTruncationFails(s.skin);
}

TEST(SkinController, HostileBoneCountFailsBeforeAllocating) {
    Pointer<SkinController> skin = new SkinController();
    skin->SetName(String("skin"));
    Stream stream(0, 64);
    ASSERT_EQ(skin->Save(stream), 0);
    // Object name and controllers, the active flag, then the bone count.
    Stream forged(0, 64);
    forged.Write(stream.GetBuffer(), 4 + 4 + 4 + 1);
    forged.WriteInt32(0x7FFFFFFF);
    forged.Write(stream.GetBuffer() + 17, stream.GetPosition() - 17);
    forged.Rewind();
    test::LogCapture capture;
    Pointer<SkinController> loaded = new SkinController();
    EXPECT_EQ(loaded->Load(forged), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить количество костей. ID["));
    EXPECT_EQ(loaded->GetBoneCount(), 0);
}

// A load that fails among the bones leaves none, so that the palette and
// the offsets never disagree with the bone array.
TEST(SkinController, ALoadFailingAmongTheBonesLeavesNoBones) {
    Pointer<SkinController> skin = new SkinController();
    EXPECT_EQ(skin->AddBone(MakeBone(Moved({1, 0, 0})), Transform()), kOk);
    EXPECT_EQ(skin->AddBone(MakeBone(Moved({2, 0, 0})), Transform()), kOk);
    Stream stream(0, 1024);
    ASSERT_EQ(skin->Save(stream), 0);
    Stream cut(stream.GetPosition() - 5 * 4 - 1, 1);  // inside the last offset
    cut.Write(stream.GetBuffer(), cut.GetCapacity());
    cut.Rewind();
    Pointer<SkinController> loaded = new SkinController();
    EXPECT_EQ(loaded->AddBone(MakeBone(Transform()), Transform()), kOk);
    EXPECT_EQ(loaded->Load(cut), kFailed);
    EXPECT_EQ(loaded->GetBoneCount(), 0);
    loaded->Update(0);  // nothing left to index
}

}  // namespace
}  // namespace zel
