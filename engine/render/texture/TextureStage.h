// The fixed-function state of one texture stage: filtering, addressing and
// how the stage combines its texel with the previous stage's colour.
#pragma once

#include <cstdint>

#include "engine/math/Color.h"

namespace zel {

struct TextureStage {
    // Filters.
    static constexpr int32_t kNearest = 0;
    static constexpr int32_t kLinear = 1;
    static constexpr int32_t kNearestMipNearest = 2;
    static constexpr int32_t kNearestMipLinear = 3;
    static constexpr int32_t kLinearMipNearest = 4;
    static constexpr int32_t kLinearMipLinear = 5;
    // Address modes.
    static constexpr int32_t kClamp = 0;
    static constexpr int32_t kWrap = 1;
    static constexpr int32_t kBorder = 2;
    // Stage modes.
    static constexpr int32_t kReplace = 0;
    static constexpr int32_t kDecal = 1;
    static constexpr int32_t kModulate = 2;
    static constexpr int32_t kBlend = 3;
    static constexpr int32_t kAdd = 4;
    static constexpr int32_t kCombine = 5;
    // Combine operations.
    static constexpr int32_t kSelect = 0;
    static constexpr int32_t kCombineModulate = 1;
    static constexpr int32_t kCombineAdd = 2;
    static constexpr int32_t kSubtract = 3;
    static constexpr int32_t kAddSigned = 4;
    static constexpr int32_t kInterpolate = 5;
    // Combine sources.
    static constexpr int32_t kSourceTexture = 0;
    static constexpr int32_t kSourceVertexColor = 1;
    static constexpr int32_t kSourceConstant = 2;
    static constexpr int32_t kSourcePrevious = 3;
    // Combine modifiers.
    static constexpr int32_t kModifierNone = 0;
    static constexpr int32_t kModifierComplement = 1;
    static constexpr int32_t kModifierAlphaReplicate = 2;
    static constexpr int32_t kModifierBoth = 3;
    // Coordinate generation.
    static constexpr int32_t kGenerateNone = 0;
    static constexpr int32_t kGenerateReflection = 1;
    static constexpr int32_t kGenerateCameraNormal = 2;
    static constexpr int32_t kGenerateCameraPosition = 3;
    static constexpr int32_t kGenerateSphereMap = 4;
    static constexpr int32_t kGenerateProjective = 5;

    int32_t magnificationFilter = kLinear;
    int32_t minificationFilter = kLinearMipLinear;
    int32_t addressU = kWrap;
    int32_t addressV = kWrap;
    int32_t addressW = kWrap;
    ColorRGBA borderColor{0.0f, 1.0f, 0.0f, 1.0f};
    int32_t mode = kModulate;
    // The constant colour of the blend and combine modes.
    ColorRGBA blendColor{1.0f, 1.0f, 1.0f, 1.0f};
    int32_t colorOperation = kCombineModulate;
    int32_t alphaOperation = kCombineModulate;
    // Arguments 1, 2, 0, in that order.
    int32_t colorSources[3] = {kSourceTexture, kSourcePrevious, kSourceConstant};
    int32_t alphaSources[3] = {kSourceTexture, kSourcePrevious, kSourceConstant};
    int32_t colorModifiers[3] = {kModifierNone, kModifierNone, kModifierNone};
    int32_t alphaModifiers[3] = {kModifierAlphaReplicate, kModifierAlphaReplicate, kModifierAlphaReplicate};
    int32_t coordinateGeneration = kGenerateNone;

    // Sets U, V and W alike.
    void SetAddress(int32_t mode) { addressU = addressV = addressW = mode; }
};

}  // namespace zel
