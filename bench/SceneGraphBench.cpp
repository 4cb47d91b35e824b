// The per-frame scene traversals: the update pass (controllers, world
// transforms, bounds) and the culled draw traversal, for trees of 1,000 and
// 100,000 nodes. Half of the groups lie behind the camera, so the draw
// traversal culls them at the group. Both are reported per node; the time
// per node should stay flat as the tree grows. The update pass runs on a
// still tree (nothing to recompute) and on one whose root moves every
// frame (every world transform and bound recomputed).
#include <benchmark/benchmark.h>

#include <new>

#include "engine/core/Buffer.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/GeometryNodeEffectPass.h"
#include "engine/render/Renderer.h"
#include "engine/render/Technique.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"
#include "support/NullRenderer.h"

namespace zel {
namespace {

// One pass that binds the node's streams, as a material pass does.
class BindingPass : public GeometryNodeEffectPass {
public:
    using GeometryNodeEffectPass::GeometryNodeEffectPass;
    int32_t Draw(Renderer& renderer) override {
        GeometryNode* node = GetEffect()->GetOwnerNode();
        renderer.SetPositionBuffer(node->GetVertices());
        renderer.SetIndexBuffer(node->GetIndices());
        return 0;
    }
};

class OnePassTechnique : public Technique {
public:
    using Technique::Technique;
    bool Init(const Renderer&) override {
        return AddPass(new (std::nothrow) BindingPass(static_cast<GeometryNodeEffect*>(GetEffect()))) == 0;
    }
};

class OnePassEffect : public GeometryNodeEffect {
public:
    OnePassEffect() {
        // Out of memory only: the effect draws nothing and the figures show it.
        (void)AddTechnique(new (std::nothrow) OnePassTechnique(this));
    }
};

constexpr int kLeavesPerGroup = 9;

// Groups of nine triangle leaves (sharing one mesh) under the root; groups
// alternate between well inside the frustum of the camera at the origin and
// behind it, so half of the leaves are drawn whatever the tree's size.
Pointer<SceneNode> BuildScene(int nodeCount, bool sharedEffect) {
    Pointer<GeometryNodeEffect> shared = new OnePassEffect();
    Pointer<Vector3Buffer> positions = new Vector3Buffer(3, new Vector3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    Pointer<IntBuffer> indices = new IntBuffer(3, new int32_t[3]{0, 1, 2});
    const int groupCount = nodeCount / (kLeavesPerGroup + 1);
    Pointer<SceneNode> root = new SceneNode(String("root"), 0, groupCount);
    for (int g = 0; g < groupCount; ++g) {
        Pointer<SceneNode> group = new SceneNode(String("group"), 0, kLeavesPerGroup);
        const float side = g % 2 == 0 ? 1.0f : -1.0f;
        const float x = static_cast<float>((g / 2) % 8) - 4.0f;
        const float z = side * (20.0f + 0.001f * static_cast<float>(g / 16));
        group->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {x, 0, z}));
        for (int i = 0; i < kLeavesPerGroup; ++i) {
            Pointer<Triangles> leaf = new Triangles(String("leaf"));
            leaf->SetVertices(positions);
            leaf->SetIndices(indices);
            leaf->SetEffect(sharedEffect ? shared.Get() : new OnePassEffect());
            leaf->ComputeModelBound();
            leaf->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {0.1f * i, 0.1f * i, 0}));
            group->AppendChild(leaf);
        }
        root->AppendChild(group);
    }
    root->Update(0, true);
    return root;
}

int CountNodes(int requested) { return requested / (kLeavesPerGroup + 1) * (kLeavesPerGroup + 1) + 1; }

void ReportPerNode(benchmark::State& state, int nodes) {
    state.SetItemsProcessed(state.iterations() * nodes);
    state.counters["per_node"] = benchmark::Counter(
        static_cast<double>(nodes), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_UpdatePass(benchmark::State& state) {
    const int requested = static_cast<int>(state.range(0));
    Pointer<SceneNode> root = BuildScene(requested, false);
    for (auto _ : state) root->Update(0.016, true);
    ReportPerNode(state, CountNodes(requested));
}

void BM_UpdatePassMoving(benchmark::State& state) {
    const int requested = static_cast<int>(state.range(0));
    Pointer<SceneNode> root = BuildScene(requested, false);
    float x = 0.0f;
    for (auto _ : state) {
        x = x == 0.0f ? 1.0f : 0.0f;
        root->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {x, 0, 0}));
        root->Update(0.016, true);
    }
    ReportPerNode(state, CountNodes(requested));
}

// range(1): 1 when every leaf shares one effect (the working set then stays
// small), 0 when each has its own with its pass and render state block.
void BM_CulledDraw(benchmark::State& state) {
    const int requested = static_cast<int>(state.range(0));
    Pointer<SceneNode> root = BuildScene(requested, state.range(1) != 0);
    Pointer<test::NullRenderer> renderer = new test::NullRenderer();
    renderer->BeginFrame();
    for (auto _ : state) {
        renderer->GetCamera()->SetPlaneMask(-1);
        root->DrawVisible(*renderer);
    }
    renderer->EndFrame();
    ReportPerNode(state, CountNodes(requested));
    state.counters["drawn"] =
        benchmark::Counter(static_cast<double>(renderer->draws) / static_cast<double>(state.iterations()));
}

BENCHMARK(BM_UpdatePass)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdatePassMoving)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CulledDraw)->ArgsProduct({{1000, 10000, 100000}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zel
