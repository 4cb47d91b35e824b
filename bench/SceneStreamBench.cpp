// Saving and loading object graphs through the stream: a tree of nodes, each
// with a position buffer, the shape of a scene file. Reports bytes and
// objects per second for 10,000 and 100,000 objects; loading should scale
// linearly with the graph.
#include <benchmark/benchmark.h>

#include "engine/core/Buffer.h"
#include "engine/core/ClassRegistration.h"
#include "engine/core/ObjectList.h"
#include "engine/core/SceneFile.h"
#include "engine/core/Stream.h"

namespace zel {
namespace {

// A node with children and a buffer, streamed like scene nodes are.
class BenchNode : public Object {
    ZEL_DECLARE_RTTI

public:
    [[nodiscard]] int32_t Save(Stream& stream) override {
        if (Object::Save(stream) != 0) return 1;
        if (stream.WriteLink(positions) != 0) return 1;
        return children.Save(stream);
    }
    [[nodiscard]] int32_t Load(Stream& stream) override {
        if (Object::Load(stream) != 0) return 1;
        if (stream.ReadLinkAs(positions) != 0) return 1;
        return children.Load(stream);
    }

    Pointer<Vector3Buffer> positions;
    ObjectList children;
};
ZEL_DEFINE_RTTI(BenchNode, Object)
ZEL_REGISTER_CLASS(BenchNode)

// objectCount objects: half nodes, half buffers, eight children per node.
Pointer<BenchNode> BuildGraph(int objectCount) {
    int nodeCount = objectCount / 2;
    GrowableArray<Pointer<BenchNode>> nodes(nodeCount, 1);
    for (int i = 0; i < nodeCount; ++i) {
        Pointer<BenchNode> node = new BenchNode;
        node->SetName(String("node"));
        node->positions = new Vector3Buffer(8, nullptr);
        nodes.Append(node);
        // Out of memory only: the graph is smaller and the figures show it.
        if (i > 0) (void)nodes[(i - 1) / 8]->children.Add(node);
    }
    return nodes[0];
}

int32_t SaveGraph(Object* root, Stream& stream) { return WriteSceneFile(stream, root); }

void BM_SaveScene(benchmark::State& state) {
    Pointer<BenchNode> root = BuildGraph(static_cast<int>(state.range(0)));
    int64_t bytes = 0;
    for (auto _ : state) {
        Stream stream(0, 1024);
        if (SaveGraph(root, stream) != 0) state.SkipWithError("save failed");
        bytes = stream.GetPosition();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LoadScene(benchmark::State& state) {
    Pointer<BenchNode> root = BuildGraph(static_cast<int>(state.range(0)));
    Stream saved(0, 1024);
    SaveGraph(root, saved);
    int32_t size = saved.GetPosition();
    Stream input(size, 0);
    input.Write(saved.GetBuffer(), size);
    for (auto _ : state) {
        input.Rewind();
        Pointer<Object> loaded;
        if (ReadSceneFile(input, loaded) != 0) state.SkipWithError("load failed");
        input.ClearLinks();
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_SaveScene)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadScene)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel
