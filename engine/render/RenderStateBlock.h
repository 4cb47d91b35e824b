// The complete fixed-function pipeline state of a pass. Built by code, never
// streamed; the device renderer records it into a device state block held
// in the binding.
#pragma once

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/RendererBinding.h"
#include "engine/math/Color.h"
#include "engine/render/texture/TextureStage.h"

namespace zel {

class RenderStateBlock : public Object {
    ZEL_DECLARE_RTTI

public:
    static constexpr int32_t kTextureStages = 8;
    // Blend factors.
    static constexpr int32_t kZero = 0;
    static constexpr int32_t kOne = 1;
    static constexpr int32_t kSourceColor = 2;
    static constexpr int32_t kInverseSourceColor = 3;
    static constexpr int32_t kSourceAlpha = 4;
    static constexpr int32_t kInverseSourceAlpha = 5;
    static constexpr int32_t kDestinationColor = 6;
    static constexpr int32_t kInverseDestinationColor = 7;
    static constexpr int32_t kDestinationAlpha = 8;
    static constexpr int32_t kInverseDestinationAlpha = 9;
    // Compare functions.
    static constexpr int32_t kNever = 0;
    static constexpr int32_t kLess = 1;
    static constexpr int32_t kLessEqual = 2;
    static constexpr int32_t kEqual = 3;
    static constexpr int32_t kNotEqual = 4;
    static constexpr int32_t kGreater = 5;
    static constexpr int32_t kGreaterEqual = 6;
    static constexpr int32_t kAlways = 7;
    // Cull faces.
    static constexpr int32_t kCullFront = 0;
    static constexpr int32_t kCullBack = 1;
    // Fog modes.
    static constexpr int32_t kFogLinear = 0;
    static constexpr int32_t kFogExponential = 1;
    static constexpr int32_t kFogSquaredExponential = 2;
    // Shade modes.
    static constexpr int32_t kFlat = 0;
    static constexpr int32_t kGouraud = 1;
    // Stencil operations.
    static constexpr int32_t kKeep = 0;
    static constexpr int32_t kStencilZero = 1;
    static constexpr int32_t kReplace = 2;
    static constexpr int32_t kInvert = 3;
    static constexpr int32_t kIncrement = 4;
    static constexpr int32_t kDecrement = 5;

    RendererBinding& GetBinding() { return binding_; }

    bool blendEnable = false;
    int32_t sourceFactor = kSourceAlpha;
    int32_t destinationFactor = kInverseSourceAlpha;
    bool alphaTestEnable = false;
    int32_t alphaFunction = kAlways;
    int32_t alphaReference = 1;
    bool cullEnable = true;
    int32_t cullFace = kCullBack;
    bool fogEnable = false;
    float fogStart = 0.0f;
    float fogEnd = 1000.0f;
    float fogDensity = 1.0f;
    ColorRGBA fogColor{0.5f, 0.5f, 0.5f, 1.0f};
    int32_t fogMode = kFogLinear;
    bool tableFog = false;  // per-pixel fog; per-vertex when false
    ColorRGBA diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    ColorRGBA ambient{0.2f, 0.2f, 0.2f, 1.0f};
    ColorRGBA specular{0.0f, 0.0f, 0.0f, 1.0f};
    ColorRGBA emissive{0.0f, 0.0f, 0.0f, 1.0f};
    float power = 1.0f;
    int32_t shadeMode = kGouraud;
    bool wireframe = false;
    bool depthTest = true;
    bool depthWrite = true;
    int32_t depthFunction = kLessEqual;
    bool stencilEnable = false;
    int32_t stencilFunction = kAlways;
    int32_t stencilReference = 0;
    int32_t stencilFail = kKeep;
    int32_t stencilDepthFail = kKeep;
    int32_t stencilPass = kKeep;
    bool twoSidedStencil = false;
    int32_t backStencilFunction = kAlways;
    int32_t backStencilFail = kKeep;
    int32_t backStencilDepthFail = kKeep;
    int32_t backStencilPass = kKeep;
    TextureStage stages[kTextureStages];
    bool pointSprites = false;

private:
    // Holds the recorded device state block; released with the pass that
    // owns this block (Renderer::ReleasePass).
    RendererBinding binding_;
};
ZEL_REGISTER_CLASS(RenderStateBlock)

}  // namespace zel
