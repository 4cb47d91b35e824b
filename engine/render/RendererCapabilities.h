// What the device can do, filled by the device renderer when it creates the
// device. Effect techniques read it to decide whether they can run.
#pragma once

#include <cstdint>

namespace zel {

struct RendererCapabilities {
    // Shader levels, as the device renderer codes them.
    static constexpr int32_t kShaderLevel1x = 0;
    static constexpr int32_t kShaderLevel20 = 1;
    static constexpr int32_t kShaderLevel30 = 2;
    static constexpr int32_t kShaderLevelNone = 4;

    // Indices into autogenMipmaps: plain render targets, then cube ones.
    static constexpr int32_t kAutogenA8 = 0;
    static constexpr int32_t kAutogenA16B16G16R16F = 1;
    static constexpr int32_t kAutogenR8G8B8 = 2;
    static constexpr int32_t kAutogenR8G8B8A8 = 3;
    static constexpr int32_t kAutogenCubeOffset = 4;

    int32_t simultaneousTextures = 0;
    int32_t maxActiveLights = 0;
    bool volumeTextures = false;
    bool cubeTextures = false;
    bool projectedTextures = false;
    int32_t vertexShaderLevel = kShaderLevelNone;
    int32_t pixelShaderLevel = kShaderLevelNone;
    // The largest point size the device draws; the point-sprite states
    // raise the device's clamp to it.
    float maxPointSize = 0.0f;
    bool pointSprites = false;
    bool occlusionQueries = false;
    bool hardwareShadowMaps = false;
    bool floatTextures = false;  // 16-bit float RGBA render targets
    bool autogenMipmaps[8] = {};

    // Both programmable stages exist (at any level).
    bool HasShaders() const {
        return vertexShaderLevel != kShaderLevelNone && pixelShaderLevel != kShaderLevelNone;
    }
    // Level 2.0 or 3.0.
    static bool IsLevel2OrAbove(int32_t level) { return level == kShaderLevel20 || level == kShaderLevel30; }
};

}  // namespace zel
