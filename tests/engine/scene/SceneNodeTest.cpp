#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/StreamRoundTrip.h"
#include "engine/core/Stream.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "support/RecordingEffect.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::RecordingRenderer;
using test::RecordingSceneEffect;

// A leaf with a fixed world bound that logs the six plane bits of the
// camera's mask when it is drawn.
class DrawProbe : public Node {
public:
    DrawProbe(const char* name, const Vector3& center, float radius, std::vector<std::string>* log)
        : Node(String(name)), log_(log) {
        GetWorldBound()->SetName(String(name));
        static_cast<SphereBoundingVolume*>(GetWorldBound())->SetCenter(center);
        static_cast<SphereBoundingVolume*>(GetWorldBound())->SetRadius(radius);
    }
    void Draw(Renderer& renderer) override {
        log_->push_back(std::string(GetName().CStr()) + ":" + std::to_string(renderer.GetCamera()->GetPlaneMask() & 63));
    }

private:
    std::vector<std::string>* log_;
};

SphereBoundingVolume* Sphere(Node* node) { return static_cast<SphereBoundingVolume*>(node->GetWorldBound()); }

Pointer<SceneNode> Group(const char* name, int32_t count = 0, int32_t growBy = 4) {
    return Pointer<SceneNode>(new SceneNode(String(name), count, growBy));
}

// A renderer whose current camera looks down +z from the origin.
struct CameraFixture : ::testing::Test {
    CameraFixture() {
        renderer = new RecordingRenderer();
        camera = new Camera(String("camera"));
        camera->Update(0, false);
        renderer->SetCamera(camera);
    }
    Pointer<RecordingRenderer> renderer;
    Pointer<Camera> camera;
    std::vector<std::string> log;
};

// Bounds.

TEST(SceneNode, WorldBoundIsTheUnionOfItsChildrenAndKeptWithoutThem) {
    Pointer<SceneNode> group = Group("group");
    Sphere(group)->SetCenter({9, 9, 9});
    Sphere(group)->SetRadius(0.5f);
    Pointer<SceneNode> allNull = Group("nulls", 3, 0);
    allNull->SetChild(1, nullptr);
    Sphere(allNull)->SetRadius(7);
    allNull->UpdateBound();
    EXPECT_EQ(Sphere(allNull)->GetRadius(), 7);

    std::vector<std::string> log;
    Pointer<Node> left = new DrawProbe("left", {0, 0, 0}, 1, &log);
    Pointer<Node> right = new DrawProbe("right", {4, 0, 0}, 1, &log);
    group->AppendChild(nullptr);
    group->AppendChild(left);
    group->AppendChild(right);
    group->UpdateBound();
    EXPECT_EQ(Sphere(group)->GetCenter(), (Vector3{2, 0, 0}));
    EXPECT_FLOAT_EQ(Sphere(group)->GetRadius(), 3);

    group->SetUpdateWorldBound(false);
    group->SetChild(2, nullptr);
    group->UpdateBound();
    EXPECT_FLOAT_EQ(Sphere(group)->GetRadius(), 3);
}

// Culling and drawing.

TEST_F(CameraFixture, HiddenNodesAreNeitherDrawnNorCulled) {
    Pointer<Node> probe = new DrawProbe("probe", {0, 0, 10}, 1, &log);
    probe->SetHidden(true);
    camera->SetPlaneMask(0x15);
    probe->DrawVisible(*renderer);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(camera->GetPlaneMask(), 0x15);
}

TEST_F(CameraFixture, OutsideBoundsAreCulledAndTheMaskComesBackForSiblings) {
    Pointer<SceneNode> root = Group("root");
    Sphere(root)->SetCenter({0, 0, 50});
    Sphere(root)->SetRadius(100);  // crosses the near plane
    Pointer<SceneNode> inside = Group("inside");
    Sphere(inside)->SetCenter({0, 0, 10});
    Sphere(inside)->SetRadius(1);
    inside->AppendChild(new DrawProbe("nested", {0, 0, 10}, 1, &log));
    root->AppendChild(inside);
    root->AppendChild(new DrawProbe("crossing", {0, 0, 0.1f}, 0.05f, &log));
    root->AppendChild(new DrawProbe("behind", {0, 0, -50}, 1, &log));

    root->DrawVisible(*renderer);
    // The nested probe is accepted with every plane cleared; its sibling of
    // the parent starts from the root's mask again and keeps the near plane.
    const int32_t nearBit = 32 >> Camera::kNearPlane;
    EXPECT_EQ(log, (std::vector<std::string>{"nested:0", "crossing:" + std::to_string(nearBit)}));
    EXPECT_EQ(camera->GetPlaneMask(), -1);
}

TEST_F(CameraFixture, EffectsDrawTheChildrenOncePerPassThatAllowsIt) {
    Pointer<SceneNode> root = Group("root");
    Sphere(root)->SetCenter({0, 0, 10});
    Sphere(root)->SetRadius(1);
    root->AppendChild(new DrawProbe("child", {0, 0, 10}, 1, &log));
    Pointer<RecordingSceneEffect> first = new RecordingSceneEffect();
    first->AddRecordingTechnique("two", 2, 0);
    Pointer<RecordingSceneEffect> disabled = new RecordingSceneEffect();
    disabled->Disable();
    EXPECT_EQ(root->AddEffect(first), kOk);
    EXPECT_EQ(root->AddEffect(disabled), kOk);

    renderer->SetCamera(camera);
    root->DrawVisible(*renderer);
    ASSERT_EQ(first->GetPassCount(*renderer), 2);
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(renderer->Filter({"BeginPass"}), (std::vector<std::string>{"BeginPass(two.0)", "BeginPass(two.1)"}));

    // A pass whose Draw refuses skips the children for that pass only.
    log.clear();
    first->GetRecordingPass(0)->result = 1;
    root->DrawVisible(*renderer);
    EXPECT_EQ(log.size(), 1u);
}

// Effect list.

TEST(SceneNode, EffectsArePrependedOnceAndRemovedAlone) {
    Pointer<SceneNode> node = Group("node");
    Pointer<RecordingSceneEffect> a = new RecordingSceneEffect(), b = new RecordingSceneEffect(),
                                  c = new RecordingSceneEffect();
    EXPECT_EQ(node->AddEffect(nullptr), kOk);
    EXPECT_EQ(node->AddEffect(a), kOk);
    EXPECT_EQ(node->AddEffect(b), kOk);
    EXPECT_EQ(node->AddEffect(c), kOk);
    EXPECT_EQ(node->AddEffect(b), kOk);
    ASSERT_EQ(node->GetEffectCount(), 3);
    EXPECT_EQ(node->GetEffect(0), c.Get());
    EXPECT_EQ(a->GetOwnerNode(), node.Get());

    node->RemoveEffect(b);
    ASSERT_EQ(node->GetEffectCount(), 2);
    EXPECT_EQ(node->GetEffect(0), c.Get());
    EXPECT_EQ(node->GetEffect(1), a.Get());
    EXPECT_EQ(b->GetOwnerNode(), nullptr);
    EXPECT_EQ(b->GetReferenceCount(), 1);
    node->RemoveEffect(b);
    EXPECT_EQ(node->GetEffectCount(), 2);
}

// Children.

TEST(SceneNode, ChildrenKeepTheTreeShape) {
    test::LogCapture capture;
    Pointer<SceneNode> root = Group("root", 1, 0);
    Pointer<SceneNode> child = Group("child");
    EXPECT_EQ(root->SetChild(1, child), kInvalidArgument);
    ASSERT_EQ(root->SetChild(0, child), kOk);
    EXPECT_EQ(child->GetParent(), root.Get());
    // Full with grow-by 0: the append is refused.
    EXPECT_EQ(root->AppendChild(nullptr), kFailed);
    // One parent only, and no cycles.
    Pointer<SceneNode> other = Group("other");
    EXPECT_EQ(other->AppendChild(child), kInvalidArgument);
    EXPECT_EQ(child->AppendChild(root), kInvalidArgument);
    EXPECT_EQ(child->AppendChild(child), kInvalidArgument);
    // Replacing the child releases it from this parent.
    ASSERT_EQ(root->SetChild(0, other), kOk);
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(other->AppendChild(child), kOk);
}

TEST(SceneNode, DestroyingAParentClearsItsChildrensParent) {
    Pointer<SceneNode> child = Group("child");
    {
        Pointer<SceneNode> parent = Group("parent");
        parent->AppendChild(child);
    }
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(child->GetReferenceCount(), 1);
}

TEST(SceneNode, FindsAndCollectsInTreeOrder) {
    Pointer<SceneNode> root = Group("root");
    Pointer<RecordingSceneEffect> effect = new RecordingSceneEffect();
    effect->SetName(String("target"));
    Pointer<SceneNode> first = Group("target");
    Pointer<SceneNode> second = Group("second");
    root->AppendChild(nullptr);
    root->AppendChild(first);
    root->AppendChild(second);
    EXPECT_EQ(root->FindByName(String("target")), first.Get());
    EXPECT_EQ(root->AddEffect(effect), kOk);
    EXPECT_EQ(root->FindByName(String("target")), effect.Get());
    EXPECT_EQ(root->FindByName(String("second")), second.Get());

    ObjectArray nodes;
    root->CollectByType(SceneNode::TYPE, nodes);
    ASSERT_EQ(nodes.Count(), 3);
    EXPECT_EQ(nodes[0], root.Get());
    EXPECT_EQ(nodes[1], first.Get());
    EXPECT_EQ(nodes[2], second.Get());
}

// Streaming.

using test::RoundTrip;

TEST(SceneNode, SaveAndLoadReverseTheEffectsAndKeepNullChildren) {
    Pointer<SceneNode> root = Group("root", 0, 3);
    Pointer<RecordingSceneEffect> a = new RecordingSceneEffect(), b = new RecordingSceneEffect();
    a->SetName(String("a"));
    b->SetName(String("b"));
    EXPECT_EQ(root->AddEffect(a), kOk);
    EXPECT_EQ(root->AddEffect(b), kOk);
    root->AppendChild(Group("x"));
    root->AppendChild(nullptr);
    root->AppendChild(Group("y"));

    Pointer<SceneNode> loaded = RoundTrip(root.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetEffectCount(), 2);
    EXPECT_EQ(std::string(loaded->GetEffect(0)->GetName().CStr()), "a");
    EXPECT_EQ(std::string(loaded->GetEffect(1)->GetName().CStr()), "b");
    EXPECT_EQ(loaded->GetGrowBy(), 3);
    ASSERT_EQ(loaded->GetChildCount(), 3);
    EXPECT_EQ(loaded->GetChild(1), nullptr);
    ASSERT_NE(loaded->GetChild(2), nullptr);
    EXPECT_EQ(std::string(loaded->GetChild(2)->GetName().CStr()), "y");
    EXPECT_EQ(loaded->GetChild(2)->GetParent(), loaded.Get());
    EXPECT_EQ(loaded->GetParent(), nullptr);
}

TEST(SceneNode, SavingASubtreeBringsItsParentAlong) {
    Pointer<SceneNode> root = Group("root");
    Pointer<SceneNode> child = Group("child");
    root->AppendChild(child);
    Pointer<SceneNode> loaded = RoundTrip(child.Get());
    ASSERT_NE(loaded, nullptr);
    // The parent was loaded with the child, and released with the stream.
    EXPECT_EQ(loaded->GetParent(), nullptr);
}

// Writes a new scene node link by hand up to its child count and grow-by;
// the caller writes the child links (an ID already written links back).
void WriteNodeHead(Stream& stream, int32_t id, const char* name, int32_t childCount) {
    stream.WriteInt32(id);
    stream.WriteString(String("Zel.SceneNode"));
    stream.WriteString(String(name));
    stream.WriteInt32(0);   // controllers
    stream.WriteInt32(-1);  // parent
    stream.WriteTransform(Transform::Identity());
    stream.WriteInt32(0);  // bound type
    stream.WriteBool(true);
    stream.WriteInt32(0);  // effects
    stream.WriteInt32(childCount);
    stream.WriteInt32(2);
}

TEST(SceneNode, LoadRefusesCyclesAndSharedChildren) {
    test::LogCapture capture;
    // Node 1 holds node 2, which holds node 1 again.
    Stream cycle(0, 256);
    WriteNodeHead(cycle, 1, "a", 1);
    WriteNodeHead(cycle, 2, "b", 1);
    cycle.WriteInt32(1);
    cycle.Rewind();
    Pointer<Object> read;
    EXPECT_NE(cycle.ReadLink(read), 0);
    EXPECT_EQ(read, nullptr);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить дочерний узел."));

    // Node 1 holds node 2 twice.
    Stream shared(0, 256);
    WriteNodeHead(shared, 1, "a", 2);
    WriteNodeHead(shared, 2, "b", 0);
    shared.WriteInt32(2);
    shared.Rewind();
    EXPECT_NE(shared.ReadLink(read), 0);
}

TEST(SceneNode, TruncatedStreamsFailCleanly) {
    Pointer<SceneNode> root = Group("root");
    EXPECT_EQ(root->AddEffect(new RecordingSceneEffect()), kOk);
    root->AppendChild(Group("child"));
    Stream full(0, 1024);
    ASSERT_EQ(full.WriteLink(root), 0);
    test::LogCapture capture;
    for (int32_t length = 0; length < full.GetPosition(); ++length) {
        Stream cut(length, 1);
        cut.Write(full.GetBuffer(), length);
        cut.Rewind();
        Pointer<Object> read;
        EXPECT_NE(cut.ReadLink(read), 0) << length;
    }
}

}  // namespace
}  // namespace zel
