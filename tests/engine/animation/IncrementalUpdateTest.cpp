// The update pass keeps world transforms and bounds whose inputs did not
// change. Two copies of one random scene take the same random changes
// (controllers moving nodes, direct edits, reparenting, new model bounds, a
// skin following its bones, particles); before each update every cached
// result of the second copy is overwritten with garbage, so it recomputes
// everything. Both must hold the same bits afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "engine/animation/SkinController.h"
#include "engine/animation/particles/NodeParticleSystem.h"
#include "engine/core/Controller.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "engine/scene/Triangles.h"

namespace zel {
namespace {

float RandomIn(std::mt19937& random, float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
}

Transform RandomTransform(std::mt19937& random) {
    const Vector3 axis = Normalize(Vector3{RandomIn(random, -1, 1), RandomIn(random, -1, 1), RandomIn(random, -1, 1) + 2.0f});
    const Vector3 scale{RandomIn(random, 0.5f, 2), RandomIn(random, 0.5f, 2), RandomIn(random, 0.5f, 2)};
    const Vector3 translation{RandomIn(random, -5, 5), RandomIn(random, -5, 5), RandomIn(random, -5, 5)};
    return Transform::Make(scale, Quaternion::FromAxisAngle(axis, RandomIn(random, -3, 3)), translation);
}

// Now and then moves its owner, from its own seed (equal in both copies).
class JitterController : public Controller {
public:
    explicit JitterController(unsigned seed) : random_(seed) {}
    void Update(double) override {
        if (RandomIn(random_, 0, 1) > 0.3f) return;
        static_cast<Node*>(GetOwner())->SetLocal(RandomTransform(random_));
    }

private:
    std::mt19937 random_;
};

Pointer<Vector3Buffer> RandomPoints(std::mt19937& random) {
    Pointer<Vector3Buffer> points = new Vector3Buffer(4, nullptr);
    for (int32_t i = 0; i < 4; ++i) (*points)[i] = {RandomIn(random, -2, 2), RandomIn(random, -2, 2), RandomIn(random, -2, 2)};
    return points;
}

// One copy of the scene; equal seeds build equal copies, with the nodes
// listed in the same order.
struct Scene {
    explicit Scene(unsigned seed) {
        std::mt19937 random(seed);
        nodes.push_back(root);
        groups.push_back(root);
        for (int32_t i = 0; i < 60; ++i) {
            SceneNode* parent = groups[random() % groups.size()];
            Pointer<Node> node;
            if (random() % 3 == 0) {
                Pointer<SceneNode> group = new SceneNode(String("group"), 0, 2);
                groups.push_back(group);
                node = group;
            } else {
                Pointer<Triangles> leaf = new Triangles(String("leaf"));
                leaf->SetVertices(RandomPoints(random));
                leaf->ComputeModelBound();
                leaves.push_back(leaf);
                node = leaf;
            }
            node->SetLocal(RandomTransform(random));
            if (random() % 2 == 0) {
                EXPECT_EQ(node->AttachController(new JitterController(random())), kOk);
            }
            EXPECT_EQ(parent->AppendChild(node), kOk);
            nodes.push_back(node);
        }
        AddSkin();
        AddParticles();
    }

    // Last under the root, so that its bones are updated before it reads
    // them.
    void AddSkin() {
        Pointer<Triangles> skinned = new Triangles(String("skinned"));
        Pointer<Vector3Buffer> bind = new Vector3Buffer(3, new Vector3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
        Pointer<Vector4Buffer> weights = new Vector4Buffer(3, nullptr);
        Pointer<Vector4Buffer> indices = new Vector4Buffer(3, nullptr);
        for (int32_t i = 0; i < 3; ++i) {
            (*weights)[i] = {0.5f, 0.5f, 0, 0};
            (*indices)[i] = {0, 1, 0, 0};
        }
        skinned->SetVertices(new Vector3Buffer(3, new Vector3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
        Pointer<SkinController> skin = new SkinController();
        skin->SetBindVertices(bind);
        skin->SetWeights(weights);
        skin->SetBoneIndices(indices);
        EXPECT_EQ(skin->AddBone(groups[1], Transform()), kOk);
        EXPECT_EQ(skin->AddBone(groups[2], Transform()), kOk);
        EXPECT_EQ(skinned->AttachController(skin), kOk);
        EXPECT_EQ(root->AppendChild(skinned), kOk);
        nodes.push_back(skinned);
    }

    void AddParticles() {
        Pointer<NodeParticleSystem> particles = new NodeParticleSystem(String("particles"));
        particles->SetMaxParticles(16);
        particles->particlesPerBurst = 4;
        particles->emissionPeriod = 0.3f;
        particles->lifetime = 0.7f;
        EXPECT_EQ(groups[3]->AppendChild(particles), kOk);
        nodes.push_back(particles);
    }

    // Overwrites every result the update computes, so that it can reuse
    // none. A group without children keeps its bound by definition, so its
    // bound is left alone.
    void Spoil() {
        const Transform garbage = Transform::Make({3, 3, 3}, Quaternion::FromAxisAngle({0, 1, 0}, 1), {99, 99, 99});
        for (Node* node : nodes) {
            if (node->GetUpdateWorldTransform()) node->SetWorld(garbage);
            if (!node->GetUpdateWorldBound() || IsEmptyGroup(*node)) continue;
            auto* bound = static_cast<SphereBoundingVolume*>(node->GetWorldBound());
            bound->SetCenter({-77, 77, -77});
            bound->SetRadius(0.125f);
        }
    }

    static bool IsEmptyGroup(Node& node) {
        const SceneNode* group = CastTo<SceneNode>(&node);
        if (group == nullptr) return false;
        for (int32_t i = 0; i < group->GetChildCount(); ++i)
            if (group->GetChild(i) != nullptr) return false;
        return true;
    }

    Pointer<SceneNode> root = new SceneNode(String("root"), 0, 2);
    std::vector<Node*> nodes;
    std::vector<SceneNode*> groups;
    std::vector<Triangles*> leaves;
};

// A change made from outside the controllers, drawn from `random` (which
// each copy replays alike).
void EditDirectly(Scene& scene, std::mt19937& random) {
    switch (random() % 5) {
        case 0:
            scene.nodes[1 + random() % 60]->SetLocal(RandomTransform(random));
            break;
        case 1: {
            Triangles* leaf = scene.leaves[random() % scene.leaves.size()];
            leaf->SetVertices(RandomPoints(random));
            leaf->ComputeModelBound();
            break;
        }
        case 2: {
            // Moves a node (with its subtree) under another group, unless
            // that would make a cycle.
            Node* node = scene.nodes[1 + random() % 60];
            SceneNode* target = scene.groups[1 + random() % (scene.groups.size() - 1)];
            if (target->IsSelfOrAncestor(node)) break;
            Pointer<Node> keep = node;
            auto* parent = static_cast<SceneNode*>(node->GetParent());
            for (int32_t i = 0; i < parent->GetChildCount(); ++i) {
                if (parent->GetChild(i) != node) continue;
                EXPECT_EQ(parent->SetChild(i, nullptr), kOk);
            }
            EXPECT_EQ(target->AppendChild(node), kOk);
            break;
        }
        case 3: {
            // Written from outside, as a particle system's drawing does with
            // its template: the next update computes it again.
            auto* bound = static_cast<SphereBoundingVolume*>(scene.leaves[random() % scene.leaves.size()]->GetWorldBound());
            bound->SetRadius(RandomIn(random, 0, 9));
            break;
        }
        default:
            break;
    }
}

bool SameBound(const Node& a, const Node& b) {
    return static_cast<const SphereBoundingVolume*>(a.GetWorldBound())->GetBits() ==
           static_cast<const SphereBoundingVolume*>(b.GetWorldBound())->GetBits();
}

TEST(IncrementalUpdate, MatchesAFullRecomputeAfterRandomChanges) {
    for (unsigned seed : {1u, 2u, 3u}) {
        Scene kept(seed);
        Scene full(seed);
        std::mt19937 editsKept(seed + 100);
        std::mt19937 editsFull(seed + 100);
        for (int32_t step = 0; step < 200; ++step) {
            EditDirectly(kept, editsKept);
            EditDirectly(full, editsFull);
            // The particles draw from the C library's numbers.
            std::srand(static_cast<unsigned>(step));
            kept.root->Update(0.05, true);
            full.Spoil();
            std::srand(static_cast<unsigned>(step));
            full.root->Update(0.05, true);
            for (size_t i = 0; i < kept.nodes.size(); ++i) {
                const Node& a = *kept.nodes[i];
                const Node& b = *full.nodes[i];
                ASSERT_TRUE(Transform::Identical(a.GetWorld(), b.GetWorld()))
                    << "seed " << seed << " step " << step << " node " << i;
                ASSERT_TRUE(SameBound(a, b)) << "seed " << seed << " step " << step << " node " << i;
            }
        }
    }
}

}  // namespace
}  // namespace zel
