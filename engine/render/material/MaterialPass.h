// Plumbing shared by the passes of the material effects. A draw starts from
// a frame: the node, the camera and the object-to-world matrix (the identity
// when the node is skinned on the device, whose bones carry the world).
// Shader passes keep one vertex and one pixel program, chosen at Refresh by
// variant (swaying before skinned before basic) and by the device's levels.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Vector3.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/GeometryNodeEffectPass.h"
#include "engine/render/RendererCapabilities.h"
#include "engine/render/material/MaterialSlots.h"
#include "engine/render/program/MaterialPrograms.h"
#include "engine/render/shader/PixelShader.h"
#include "engine/render/shader/VertexShader.h"

namespace zel {

class Camera;
class Renderer;

struct MaterialFrame {
    GeometryNode* node = nullptr;
    Camera* camera = nullptr;
    Matrix4 world;
    Matrix4 toObject;  // inverse of world
    bool skinned = false;
    SkinStreams skin;

    // World point and direction in object space (the direction normalized).
    Vector3 ObjectPoint(const Vector3& p) const { return toObject.TransformPoint(p); }
    Vector3 ObjectDirection(const Vector3& d) const { return Normalize(toObject.TransformDirection(d)); }
};

class MaterialShaderPass : public GeometryNodeEffectPass {
public:
    enum class Variant { kBasic, kWave, kSkinned };

    // The levels of `caps` pick the program texts: level-2.0 texts need 2.0
    // or 3.0 on both sides; otherwise the 1.x texts.
    MaterialShaderPass(GeometryNodeEffect* effect, const MaterialPrograms& programs, const RendererCapabilities& caps);

    // The effect copy, then the texts of the variant and level put into the
    // two programs (which drop their old device programs).
    void Refresh() override;

    VertexShader* GetVertexShader() const { return vertexShader_; }
    PixelShader* GetPixelShader() const { return pixelShader_; }
    Variant GetVariant() const { return variant_; }
    // The level-2.0 texts are in use.
    bool UsesLevel20() const { return level20Used_; }

protected:
    // The frame of the owner node; false (skip the draw) without a node or a
    // camera. Skinned when the skinned variant is in use and the controller
    // gives its streams.
    bool BeginDraw(Renderer& renderer, MaterialFrame& frame) const;
    // Positions (with normals and tangents as asked: tangents go in as
    // coordinate set 2) from the node, or the skin's bind pose with its
    // weights and bone indices.
    void BindGeometry(Renderer& renderer, const MaterialFrame& frame, bool normals) const;
    void BindTangents(Renderer& renderer, const MaterialFrame& frame, uint8_t set) const;
    void BindPrograms(Renderer& renderer);
    // c0-c3 and c4-c7, and the bones from c8 when skinned.
    void SetTransforms(Renderer& renderer, const MaterialFrame& frame) const;
    // Register `index` of the vertex or pixel program from four floats or a
    // colour.
    static void SetVertexRegister(Renderer& renderer, int32_t index, float x, float y, float z, float w);
    static void SetVertexRegister(Renderer& renderer, int32_t index, const ColorRGBA& color);
    static void SetPixelRegister(Renderer& renderer, int32_t index, float x, float y, float z, float w);
    static void SetPixelRegister(Renderer& renderer, int32_t index, const ColorRGBA& color);
    // (density, exponent, wave amplitude, wave speed) and (amplitude, speed,
    // effect time, 0).
    void SetFogRegister(Renderer& renderer, int32_t index) const;
    void SetWaveRegister(Renderer& renderer, int32_t index) const;

private:
    const MaterialPrograms& programs_;
    bool level20_;
    Variant variant_ = Variant::kBasic;
    bool level20Used_ = false;
    Pointer<VertexShader> vertexShader_;
    Pointer<PixelShader> pixelShader_;
};

// Fixed-function passes: the frame and the camera's and node's matrices.
class MaterialFixedPass : public GeometryNodeEffectPass {
public:
    explicit MaterialFixedPass(GeometryNodeEffect* effect) : GeometryNodeEffectPass(effect) {}

protected:
    // False (skip) without a node or a camera.
    bool BeginDraw(Renderer& renderer, MaterialFrame& frame) const;
    static void SetMatrices(Renderer& renderer, const MaterialFrame& frame);
};

// Four vertex registers from `first` on hold the matrix's columns, so a
// program's m4x4 gives the row vector times the matrix.
void SetMatrixRegisters(Renderer& renderer, int32_t first, const Matrix4& matrix);

// Binds the node's coordinate buffer of the slot's set under `usage` (a
// missing buffer is not bound) and the slot's texture on `stage`.
void BindTextureSlot(Renderer& renderer, const GeometryNode& node, const MaterialTextureSlot& slot, uint8_t usage,
                     int32_t stage);

}  // namespace zel
