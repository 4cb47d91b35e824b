#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Controller.h"
#include "engine/core/Stream.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "support/MathExpect.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::Near;

// A scene node that logs its UpdateBound calls by name.
class BoundProbe : public SceneNode {
public:
    BoundProbe(const char* name, std::vector<std::string>* log) : SceneNode(String(name), 0, 4), log_(log) {}
    void UpdateBound() override {
        log_->push_back(GetName().CStr());
        SceneNode::UpdateBound();
    }

private:
    std::vector<std::string>* log_;
};

// Moves its owner by one unit along x on every update.
class MoveController : public Controller {
public:
    void Update(double) override {
        Node* node = static_cast<Node*>(GetOwner());
        node->GetLocal().translation.x += 1.0f;
        node->GetLocal().ClearFlags();
    }
};

Transform Translated(const Vector3& t) { return Transform::Make({1, 1, 1}, Quaternion::Identity(), t); }

// World transforms.

TEST(Node, RootWorldIsLocalUnlessTheWorldIsNotUpdated) {
    Pointer<SceneNode> root = new SceneNode();
    root->SetLocal(Translated({1, 2, 3}));
    root->ComputeWorldTransform();
    EXPECT_EQ(root->GetWorld().translation, (Vector3{1, 2, 3}));

    const Transform stored = Translated({7, 7, 7});
    root->SetWorld(stored);
    root->SetUpdateWorldTransform(false);
    root->ComputeWorldTransform();
    EXPECT_EQ(root->GetWorld().translation, stored.translation);
}

TEST(Node, IdentityOperandsPassTheOtherTransformThrough) {
    Pointer<SceneNode> parent = new SceneNode(String("parent"), 0, 1);
    Pointer<SceneNode> child = new SceneNode(String("child"), 0, 1);
    ASSERT_EQ(parent->AppendChild(child), kOk);

    const Transform local = Transform::Make({2, 3, 4}, Quaternion::FromAxisAngle({0, 0, 1}, 0.5f), {1, 2, 3});
    child->SetLocal(local);
    parent->Update(0, false);
    EXPECT_EQ(child->GetWorld().translation, local.translation);
    EXPECT_EQ(child->GetWorld().rotation, local.rotation);
    EXPECT_EQ(child->GetWorld().scale, local.scale);

    child->SetLocal(Transform::Identity());
    parent->SetLocal(local);
    parent->Update(0, false);
    EXPECT_EQ(child->GetWorld().translation, local.translation);
    EXPECT_EQ(child->GetWorld().rotation, local.rotation);
}

TEST(Node, NonUniformParentScaleMultipliesPerAxisWithoutShear) {
    Pointer<SceneNode> parent = new SceneNode(String("parent"), 0, 1);
    Pointer<SceneNode> child = new SceneNode(String("child"), 0, 1);
    parent->AppendChild(child);
    parent->SetLocal(Transform::Make({2, 1, 1}, Quaternion::Identity(), {}));
    parent->GetLocal().noRotation = true;
    Transform local = Transform::Make({3, 4, 5}, Quaternion::Identity(), {1, 0, 0});
    local.noRotation = true;
    child->SetLocal(local);
    parent->Update(0, false);
    EXPECT_EQ(child->GetWorld().translation, (Vector3{2, 0, 0}));
    EXPECT_EQ(child->GetWorld().scale, (Vector3{6, 4, 5}));
    EXPECT_FALSE(child->GetWorld().isIdentity);
    EXPECT_FALSE(child->GetWorld().noRotation);
}

TEST(Node, ControllersRunBeforeTheWorldTransform) {
    Pointer<SceneNode> node = new SceneNode();
    node->AttachController(new MoveController());
    node->Update(0.1, false);
    EXPECT_EQ(node->GetWorld().translation.x, 1.0f);
}

TEST(Node, RotatedParentMapsTheChildTranslationAsAPoint) {
    Pointer<SceneNode> parent = new SceneNode(String("parent"), 0, 1);
    Pointer<SceneNode> child = new SceneNode(String("child"), 0, 1);
    parent->AppendChild(child);
    parent->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({0, 0, 1}, kHalfPi), {0, 0, 5}));
    child->SetLocal(Translated({1, 0, 0}));
    parent->Update(0, false);
    EXPECT_TRUE(Near(child->GetWorld().translation, {0, 1, 5}));
}

// Bound propagation.

TEST(Node, UpdateWithPropagationRunsEveryAncestorNearestFirst) {
    std::vector<std::string> log;
    Pointer<BoundProbe> root = new BoundProbe("root", &log);
    Pointer<BoundProbe> middle = new BoundProbe("middle", &log);
    Pointer<BoundProbe> leaf = new BoundProbe("leaf", &log);
    root->AppendChild(middle);
    middle->AppendChild(leaf);

    leaf->Update(0, true);
    EXPECT_EQ(log, (std::vector<std::string>{"leaf", "middle", "root"}));
    log.clear();
    leaf->Update(0, false);
    EXPECT_EQ(log, (std::vector<std::string>{"leaf"}));
    log.clear();
    // Children update without propagation; the bounds come back up once.
    root->Update(0, true);
    EXPECT_EQ(log, (std::vector<std::string>{"leaf", "middle", "root"}));
}

// Streaming.

TEST(Node, LoadedTransformNeverTakesTheIdentityShortcuts) {
    Pointer<SceneNode> node = new SceneNode(String("n"), 0, 1);
    node->SetUpdateWorldBound(false);
    Stream stream(0, 256);
    ASSERT_EQ(stream.WriteLink(node), 0);
    stream.Rewind();
    Pointer<Object> read;
    ASSERT_EQ(stream.ReadLink(read), 0);
    SceneNode* loaded = CastTo<SceneNode>(read);
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(loaded->GetLocal().isIdentity);
    EXPECT_FALSE(loaded->GetLocal().noRotation);
    EXPECT_EQ(loaded->GetLocal().scale, (Vector3{1, 1, 1}));
    EXPECT_FALSE(loaded->GetUpdateWorldBound());
    ASSERT_NE(loaded->GetWorldBound(), nullptr);
    EXPECT_EQ(loaded->GetWorldBound()->GetType(), BoundingVolume::kSphere);
}

TEST(Node, FindsItselfThenControllersThenTheWorldBound) {
    Pointer<SceneNode> node = new SceneNode(String("same"), 0, 1);
    Controller* controller = new MoveController();
    controller->SetName(String("same"));
    node->AttachController(controller);
    node->GetWorldBound()->SetName(String("bound"));
    EXPECT_EQ(node->FindByName(String("same")), node.Get());
    node->SetName(String("other"));
    EXPECT_EQ(node->FindByName(String("same")), controller);
    EXPECT_EQ(node->FindByName(String("bound")), node->GetWorldBound());
    EXPECT_EQ(node->FindByName(String("boun")), nullptr);
}

}  // namespace
}  // namespace zel
