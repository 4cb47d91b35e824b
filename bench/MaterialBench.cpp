// The engine's cost of drawing through each material effect: Refresh of
// the pass (program choice, render-state copy) and the pass's Draw (streams,
// textures, constants) for 1,000 nodes, through the recording renderer on a
// level-3.0 device. Reported per node; the recording itself is part of it,
// the same for every class, so the classes compare with each other and
// with earlier runs.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/core/Buffer.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/render/material/LightmapTexture1DLEffect.h"
#include "engine/render/material/LightmapTextureEffect.h"
#include "engine/render/material/NormalmapLightmapTexture1DLEffect.h"
#include "engine/render/material/NormalmapLightmapTextureEffect.h"
#include "engine/render/material/NormalmapTexture1DLEffect.h"
#include "engine/render/material/NormalmapTextureEffect.h"
#include "engine/render/material/Texture1DLEffect.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/render/water/ReflectiveQuietFlatWaterEffect.h"
#include "engine/render/water/ReflectiveRefractiveQuietFlatWaterEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Triangles.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

constexpr int32_t kNodes = 1000;

Pointer<Triangles> MakeNode(int32_t index) {
    Pointer<Triangles> node = new Triangles(String(std::to_string(index).c_str()));
    node->SetVertices(new Vector3Buffer(3, nullptr));
    node->SetNormals(new Vector3Buffer(3, nullptr));
    node->SetTangents(new Vector3Buffer(3, nullptr));
    node->SetIndices(new IntBuffer(3, nullptr));
    for (int32_t set = 0; set < 4; ++set) node->SetTexCoords(set, new Vector2Buffer(3, nullptr));
    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {float(index % 10), 0, float(index / 10)}));
    node->Update(0, false);
    return node;
}

template <class E>
void RefreshAndDraw(benchmark::State& state) {
    Pointer<test::RecordingRenderer> renderer = new test::RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
    camera->Update(0, false);
    renderer->SetCamera(camera);
    Pointer<Light> light = new Light(Light::kDirectional);
    std::vector<Pointer<Triangles>> nodes;
    for (int32_t i = 0; i < kNodes; ++i) {
        Pointer<E> effect = new E();
        if constexpr (requires { effect->SetLight(light); }) effect->SetLight(light);
        nodes.push_back(MakeNode(i));
        nodes.back()->SetEffect(effect);
        effect->GetPassCount(*renderer);
    }
    for (auto _ : state) {
        for (const Pointer<Triangles>& node : nodes) {
            node->GetEffect()->RefreshPasses();
            node->Draw(*renderer);
        }
        renderer->ClearCalls();
    }
    state.SetItemsProcessed(state.iterations() * kNodes);
}

BENCHMARK(RefreshAndDraw<ColorEffect>);
BENCHMARK(RefreshAndDraw<TextureEffect>);
BENCHMARK(RefreshAndDraw<LightmapTextureEffect>);
BENCHMARK(RefreshAndDraw<NormalmapTextureEffect>);
BENCHMARK(RefreshAndDraw<NormalmapLightmapTextureEffect>);
BENCHMARK(RefreshAndDraw<Texture1DLEffect>);
BENCHMARK(RefreshAndDraw<LightmapTexture1DLEffect>);
BENCHMARK(RefreshAndDraw<NormalmapTexture1DLEffect>);
BENCHMARK(RefreshAndDraw<NormalmapLightmapTexture1DLEffect>);
BENCHMARK(RefreshAndDraw<ReflectiveQuietFlatWaterEffect>);
BENCHMARK(RefreshAndDraw<ReflectiveRefractiveQuietFlatWaterEffect>);

}  // namespace
}  // namespace zel
