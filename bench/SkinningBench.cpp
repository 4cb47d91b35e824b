// Processor skinning speed: four weighted bone matrices per vertex blended
// into the positions, in vertices per second for 10,000 and 100,000
// vertices, in the SIMD form (weighted matrices summed, one transform) and
// the scalar form (one transform per weight).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "engine/animation/SkinController.h"

namespace zel {
namespace {

constexpr int32_t kBones = 32;

struct SkinData {
    explicit SkinData(int32_t count) : bind(count), weights(count), indices(count), out(count) {
        std::srand(1);
        auto unit = [] { return static_cast<float>(std::rand() % 1001) / 1000.0f; };
        for (int32_t b = 0; b < kBones; ++b)
            palette.push_back(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle(Normalize(Vector3{unit(), 1, unit()}), unit()),
                                              {unit(), unit(), unit()})
                                  .ToMatrix());
        for (int32_t v = 0; v < count; ++v) {
            bind[v] = {unit(), unit(), unit()};
            weights[v] = {0.4f, 0.3f, 0.2f, 0.1f};
            indices[v] = {static_cast<float>(std::rand() % kBones), static_cast<float>(std::rand() % kBones),
                          static_cast<float>(std::rand() % kBones), static_cast<float>(std::rand() % kBones)};
        }
    }
    std::vector<Matrix4> palette;
    std::vector<Vector3> bind;
    std::vector<Vector4> weights;
    std::vector<Vector4> indices;
    std::vector<Vector3> out;
};

template <SkinController::Form kForm>
void BM_Skinning(benchmark::State& state) {
    const int32_t count = static_cast<int32_t>(state.range(0));
    SkinData data(count);
    const auto skin = kForm == SkinController::Form::kSimd ? &SkinController::SkinSimd : &SkinController::SkinScalar;
    for (auto _ : state) {
        skin(data.palette.data(), kBones, data.bind.data(), data.weights.data(), data.indices.data(), data.out.data(),
             count);
        benchmark::DoNotOptimize(data.out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK_TEMPLATE(BM_Skinning, SkinController::Form::kSimd)
    ->Name("BM_SkinningSimd")->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Skinning, SkinController::Form::kScalar)
    ->Name("BM_SkinningScalar")->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zel
