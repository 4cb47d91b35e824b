// Render state blocks into device states: render states, the material,
// and per texture stage its combine operations, sampler states and
// coordinate generation. A pass's block is translated once, while its
// recording is open; later draws apply the recorded state block.
#include <bit>

#include "engine/render/RenderStateBlock.h"
#include "engine/render/d3d9/D3D9Renderer.h"

namespace zel {

namespace {

// Engine codes → device values. Codes outside a table take its entry 0
// (for the combine tables, the value the stage falls back to).
template <class T, size_t N>
DWORD Lookup(const T (&table)[N], int32_t code) {
    return static_cast<DWORD>(code >= 0 && static_cast<size_t>(code) < N ? table[code] : table[0]);
}

constexpr D3DBLEND kBlendFactors[] = {D3DBLEND_ZERO,        D3DBLEND_ONE,          D3DBLEND_SRCCOLOR,
                                      D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCALPHA,     D3DBLEND_INVSRCALPHA,
                                      D3DBLEND_DESTCOLOR,   D3DBLEND_INVDESTCOLOR, D3DBLEND_DESTALPHA,
                                      D3DBLEND_INVDESTALPHA};
constexpr D3DCMPFUNC kCompareFunctions[] = {D3DCMP_NEVER,    D3DCMP_LESS,     D3DCMP_LESSEQUAL,    D3DCMP_EQUAL,
                                            D3DCMP_NOTEQUAL, D3DCMP_GREATER, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS};
constexpr D3DFOGMODE kFogModes[] = {D3DFOG_LINEAR, D3DFOG_EXP, D3DFOG_EXP2};
constexpr D3DSHADEMODE kShadeModes[] = {D3DSHADE_FLAT, D3DSHADE_GOURAUD};
constexpr D3DTEXTUREFILTERTYPE kMagnificationFilters[] = {D3DTEXF_POINT, D3DTEXF_LINEAR};
constexpr D3DTEXTUREFILTERTYPE kMinificationFilters[] = {D3DTEXF_POINT, D3DTEXF_LINEAR, D3DTEXF_POINT,
                                                         D3DTEXF_POINT, D3DTEXF_LINEAR, D3DTEXF_LINEAR};
constexpr D3DTEXTUREFILTERTYPE kMipFilters[] = {D3DTEXF_NONE,  D3DTEXF_NONE,   D3DTEXF_POINT,
                                                D3DTEXF_LINEAR, D3DTEXF_POINT, D3DTEXF_LINEAR};
constexpr D3DTEXTUREADDRESS kAddressModes[] = {D3DTADDRESS_CLAMP, D3DTADDRESS_WRAP, D3DTADDRESS_BORDER};
constexpr DWORD kCoordinateGeneration[] = {D3DTSS_TCI_PASSTHRU,
                                           D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR,
                                           D3DTSS_TCI_CAMERASPACENORMAL,
                                           D3DTSS_TCI_CAMERASPACEPOSITION,
                                           D3DTSS_TCI_SPHEREMAP,
                                           D3DTSS_TCI_PASSTHRU};
constexpr D3DSTENCILOP kStencilOperations[] = {D3DSTENCILOP_KEEP,   D3DSTENCILOP_ZERO, D3DSTENCILOP_REPLACE,
                                               D3DSTENCILOP_INVERT, D3DSTENCILOP_INCR, D3DSTENCILOP_DECR};
constexpr D3DTEXTUREOP kCombineOperations[] = {D3DTOP_SELECTARG1, D3DTOP_MODULATE,    D3DTOP_ADD,
                                               D3DTOP_SUBTRACT,   D3DTOP_ADDSIGNED,   D3DTOP_LERP};
constexpr int32_t kCombineArguments[] = {1, 2, 2, 2, 2, 3};
constexpr DWORD kCombineSources[] = {D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTA_TFACTOR, D3DTA_CURRENT};
constexpr DWORD kCombineModifiers[] = {0, D3DTA_COMPLEMENT, D3DTA_ALPHAREPLICATE,
                                       D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE};

D3DCOLORVALUE ColorValue(const ColorRGBA& color) { return D3DCOLORVALUE{color.r, color.g, color.b, color.a}; }

// One combine unit (colour or alpha) of a stage: the operation and the
// arguments it uses, 1, 2, 0 in that order.
struct Combine {
    DWORD operation;
    DWORD arguments[3];
    int32_t argumentCount;
};

// The colour and alpha units of a stage mode; unknown modes modulate.
void StageCombines(const TextureStage& stage, Combine& color, Combine& alpha) {
    switch (stage.mode) {
    case TextureStage::kReplace:
        color = alpha = Combine{D3DTOP_SELECTARG1, {D3DTA_TEXTURE}, 1};
        return;
    case TextureStage::kDecal:
        color = Combine{D3DTOP_BLENDTEXTUREALPHA, {D3DTA_TEXTURE, D3DTA_CURRENT}, 2};
        alpha = Combine{D3DTOP_SELECTARG1, {D3DTA_CURRENT}, 1};
        return;
    case TextureStage::kBlend:
        color = Combine{D3DTOP_LERP, {D3DTA_TFACTOR, D3DTA_CURRENT, D3DTA_TEXTURE}, 3};
        alpha = Combine{D3DTOP_MODULATE, {D3DTA_TEXTURE, D3DTA_CURRENT}, 2};
        return;
    case TextureStage::kAdd:
        color = alpha = Combine{D3DTOP_ADD, {D3DTA_TEXTURE, D3DTA_CURRENT}, 2};
        return;
    case TextureStage::kCombine: {
        auto unit = [](int32_t operation, const int32_t* sources, const int32_t* modifiers) {
            Combine combine{Lookup(kCombineOperations, operation), {}, kCombineArguments[0]};
            if (operation >= 0 && operation < 6) combine.argumentCount = kCombineArguments[operation];
            for (int32_t i = 0; i < 3; ++i)
                combine.arguments[i] = Lookup(kCombineSources, sources[i]) | Lookup(kCombineModifiers, modifiers[i]);
            return combine;
        };
        color = unit(stage.colorOperation, stage.colorSources, stage.colorModifiers);
        alpha = unit(stage.alphaOperation, stage.alphaSources, stage.alphaModifiers);
        return;
    }
    default:
        color = alpha = Combine{D3DTOP_MODULATE, {D3DTA_TEXTURE, D3DTA_CURRENT}, 2};
        return;
    }
}

// Sets device states, each call checked.
class StateWriter {
public:
    explicit StateWriter(IDirect3DDevice9* device) : device_(device) {}

    void Render(D3DRENDERSTATETYPE state, DWORD value) {
        D3DSucceeded(device_->SetRenderState(state, value), "SetRenderState");
    }
    void Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) {
        D3DSucceeded(device_->SetTextureStageState(stage, state, value), "SetTextureStageState");
    }
    void Sampler(DWORD stage, D3DSAMPLERSTATETYPE state, DWORD value) {
        D3DSucceeded(device_->SetSamplerState(stage, state, value), "SetSamplerState");
    }
    void Material(const D3DMATERIAL9& material) {
        D3DSucceeded(device_->SetMaterial(&material), "SetMaterial");
    }

    // Operation, argument 1, then 2 and 0 when the operation takes them.
    void CombineUnit(DWORD stage, bool alpha, const Combine& combine) {
        Stage(stage, alpha ? D3DTSS_ALPHAOP : D3DTSS_COLOROP, combine.operation);
        Stage(stage, alpha ? D3DTSS_ALPHAARG1 : D3DTSS_COLORARG1, combine.arguments[0]);
        if (combine.argumentCount >= 2)
            Stage(stage, alpha ? D3DTSS_ALPHAARG2 : D3DTSS_COLORARG2, combine.arguments[1]);
        if (combine.argumentCount >= 3)
            Stage(stage, alpha ? D3DTSS_ALPHAARG0 : D3DTSS_COLORARG0, combine.arguments[2]);
    }

private:
    IDirect3DDevice9* device_;
};

void WriteBlendAndAlphaTest(StateWriter& out, const RenderStateBlock& block) {
    out.Render(D3DRS_ALPHABLENDENABLE, block.blendEnable);
    if (block.blendEnable) {
        out.Render(D3DRS_SRCBLEND, Lookup(kBlendFactors, block.sourceFactor));
        out.Render(D3DRS_SRCBLENDALPHA, Lookup(kBlendFactors, block.sourceFactor));
        out.Render(D3DRS_DESTBLEND, Lookup(kBlendFactors, block.destinationFactor));
        out.Render(D3DRS_DESTBLENDALPHA, Lookup(kBlendFactors, block.destinationFactor));
    }
    out.Render(D3DRS_ALPHATESTENABLE, block.alphaTestEnable);
    if (block.alphaTestEnable) {
        out.Render(D3DRS_ALPHAREF, static_cast<DWORD>(block.alphaReference));
        out.Render(D3DRS_ALPHAFUNC, Lookup(kCompareFunctions, block.alphaFunction));
    }
    out.Render(D3DRS_CULLMODE, !block.cullEnable                                ? D3DCULL_NONE
                               : block.cullFace == RenderStateBlock::kCullFront ? D3DCULL_CW
                                                                                 : D3DCULL_CCW);
}

void WriteFog(StateWriter& out, const RenderStateBlock& block) {
    out.Render(D3DRS_FOGENABLE, block.fogEnable);
    if (!block.fogEnable) return;
    out.Render(D3DRS_FOGCOLOR, PackColor(block.fogColor));
    if (block.fogMode == RenderStateBlock::kFogLinear) {
        out.Render(D3DRS_FOGSTART, FloatBits(block.fogStart));
        out.Render(D3DRS_FOGEND, FloatBits(block.fogEnd));
    } else {
        out.Render(D3DRS_FOGDENSITY, FloatBits(block.fogDensity));
    }
    out.Render(block.tableFog ? D3DRS_FOGTABLEMODE : D3DRS_FOGVERTEXMODE, Lookup(kFogModes, block.fogMode));
}

// Without shaders the fixed pipeline gets no specular colour, and the
// diffuse alpha carries the four colours' alphas together.
void WriteMaterial(StateWriter& out, const RenderStateBlock& block, bool fixedFunction) {
    D3DMATERIAL9 material{ColorValue(block.diffuse), ColorValue(block.ambient), ColorValue(block.specular),
                          ColorValue(block.emissive), block.power};
    if (fixedFunction) {
        material.Specular = D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 0.0f};
        material.Diffuse.a = block.diffuse.a + block.ambient.a + block.specular.a + block.emissive.a;
    }
    out.Material(material);
}

void WriteStencil(StateWriter& out, const RenderStateBlock& block) {
    out.Render(D3DRS_STENCILENABLE, block.stencilEnable);
    if (block.stencilEnable) {
        out.Render(D3DRS_STENCILFUNC, Lookup(kCompareFunctions, block.stencilFunction));
        out.Render(D3DRS_STENCILREF, static_cast<DWORD>(block.stencilReference));
        out.Render(D3DRS_STENCILFAIL, Lookup(kStencilOperations, block.stencilFail));
        out.Render(D3DRS_STENCILPASS, Lookup(kStencilOperations, block.stencilPass));
        out.Render(D3DRS_STENCILZFAIL, Lookup(kStencilOperations, block.stencilDepthFail));
    }
    out.Render(D3DRS_TWOSIDEDSTENCILMODE, block.twoSidedStencil);
    if (block.twoSidedStencil) {
        out.Render(D3DRS_CCW_STENCILFUNC, Lookup(kCompareFunctions, block.backStencilFunction));
        out.Render(D3DRS_CCW_STENCILFAIL, Lookup(kStencilOperations, block.backStencilFail));
        out.Render(D3DRS_CCW_STENCILPASS, Lookup(kStencilOperations, block.backStencilPass));
        out.Render(D3DRS_CCW_STENCILZFAIL, Lookup(kStencilOperations, block.backStencilDepthFail));
    }
}

void WriteStage(StateWriter& out, DWORD index, const TextureStage& stage) {
    Combine color, alpha;
    StageCombines(stage, color, alpha);
    out.CombineUnit(index, false, color);
    out.CombineUnit(index, true, alpha);
    // One factor for all stages: the last stage's colour stands.
    out.Render(D3DRS_TEXTUREFACTOR, PackColor(stage.blendColor));
    out.Sampler(index, D3DSAMP_MINFILTER, Lookup(kMinificationFilters, stage.minificationFilter));
    out.Sampler(index, D3DSAMP_MAGFILTER, Lookup(kMagnificationFilters, stage.magnificationFilter));
    out.Sampler(index, D3DSAMP_MIPFILTER, Lookup(kMipFilters, stage.minificationFilter));
    out.Sampler(index, D3DSAMP_ADDRESSU, Lookup(kAddressModes, stage.addressU));
    out.Sampler(index, D3DSAMP_ADDRESSV, Lookup(kAddressModes, stage.addressV));
    out.Sampler(index, D3DSAMP_ADDRESSW, Lookup(kAddressModes, stage.addressW));
    out.Sampler(index, D3DSAMP_BORDERCOLOR, PackColor(stage.borderColor));
    out.Stage(index, D3DTSS_TEXCOORDINDEX, index | Lookup(kCoordinateGeneration, stage.coordinateGeneration));
    if (stage.coordinateGeneration == TextureStage::kGenerateNone) return;
    if (stage.coordinateGeneration == TextureStage::kGenerateProjective) {
        out.Stage(index, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_PROJECTED);
    } else {
        out.Stage(index, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT3);
        out.Render(D3DRS_NORMALIZENORMALS, TRUE);
    }
}

// The device's own clamp starts at 64 pixels on many drivers; raised to
// what the device can draw, a large flare or smoke puff keeps its size.
void WritePointSprites(StateWriter& out, bool on, float maxPointSize) {
    out.Render(D3DRS_POINTSPRITEENABLE, on);
    if (!on) return;
    out.Render(D3DRS_POINTSCALEENABLE, TRUE);
    out.Render(D3DRS_POINTSIZE, FloatBits(0.1f));
    out.Render(D3DRS_POINTSIZE_MIN, FloatBits(0.0f));
    out.Render(D3DRS_POINTSIZE_MAX, FloatBits(maxPointSize));
    out.Render(D3DRS_POINTSCALE_A, FloatBits(0.0f));
    out.Render(D3DRS_POINTSCALE_B, FloatBits(0.0f));
    out.Render(D3DRS_POINTSCALE_C, FloatBits(1.0f));
}

}  // namespace

void D3D9Renderer::ApplyRenderStateBlock(RenderStateBlock* block) {
    if (device_ == nullptr) return;
    auto* recorded = block != nullptr ? static_cast<IDirect3DStateBlock9*>(block->GetBinding().GetHandle()) : nullptr;
    if (declaration_ != nullptr && recorded != nullptr) {
        D3DSucceeded(recorded->Apply(), "Apply");
        return;
    }
    if (!recording_) recording_ = D3DSucceeded(device_->BeginStateBlock(), "BeginStateBlock");
    elementCount_ = 0;
    if (block == nullptr) return;
    StateWriter out(device_);
    WriteBlendAndAlphaTest(out, *block);
    WriteFog(out, *block);
    const RendererCapabilities& caps = GetCapabilities();
    WriteMaterial(out, *block,
                  caps.vertexShaderLevel == RendererCapabilities::kShaderLevelNone ||
                      caps.pixelShaderLevel == RendererCapabilities::kShaderLevelNone);
    out.Render(D3DRS_SHADEMODE, Lookup(kShadeModes, block->shadeMode));
    WriteStencil(out, *block);
    out.Render(D3DRS_FILLMODE, block->wireframe ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
    out.Render(D3DRS_ZENABLE, block->depthTest);
    if (block->depthTest) {
        out.Render(D3DRS_ZWRITEENABLE, block->depthWrite);
        out.Render(D3DRS_ZFUNC, Lookup(kCompareFunctions, block->depthFunction));
    }
    for (DWORD stage = 0; stage < RenderStateBlock::kTextureStages; ++stage) WriteStage(out, stage, block->stages[stage]);
    WritePointSprites(out, block->pointSprites, caps.maxPointSize);
}

}  // namespace zel
