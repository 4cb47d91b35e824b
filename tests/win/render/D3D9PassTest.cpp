// Passes on Wine's device: the calls a pass makes when it is recorded and
// when it is replayed (seen through the device call recorder), the
// translation of render state blocks, draws, lights, gamma and device
// loss, and pixels drawn through passes and read back.
#include "DeviceCallRecorder.h"
#include "PassTestScene.h"

#include "engine/render/Pass.h"
#include "engine/render/device/ModeFormats.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/Light.h"

namespace zel {
namespace {

using namespace test;

class D3D9PassTest : public ClipSpaceTest {
protected:
    // BeginPass, the pass's bindings, DrawIndexed: what a geometry node
    // does for each pass.
    void DrawPass(Pass* pass, GeometryNode* node) {
        renderer_->SetCurrentGeometry(node);
        renderer_->BeginPass(pass);
        if (pass->Draw(*renderer_) == 0) renderer_->DrawIndexed();
    }

    // A frame cleared to black with `node` drawn by the test pass; the
    // scene stays open, since presenting discards the back buffer.
    void DrawFrame(GeometryNode* node) {
        ASSERT_EQ(renderer_->BeginScene(), 0);
        renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
        DrawPass(pass_, node);
    }

    // The render states a block translates into, recorded from BeginPass.
    template <class Change>
    void RecordTranslation(DeviceCallRecorder& recorder, Change change) {
        Pointer<StreamPass> pass = new StreamPass();
        change(*pass->GetRenderStateBlock());
        recorder.Clear();
        renderer_->BeginPass(pass);
        renderer_->BeginPass(nullptr);
    }
};

// Recording and replay.

TEST_F(D3D9PassTest, FirstDrawRecordsTheLayoutLaterDrawsOnlyReplay) {
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1);
    auto* normals = new Vector3Buffer(4, nullptr);
    quad->SetNormals(normals);
    quad->SetTexCoords(1, new FloatBuffer(4, nullptr));
    DeviceCallRecorder recorder(device_);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    DrawPass(pass_, quad);
    EXPECT_FALSE(renderer_->IsRecordingPass());
    EXPECT_EQ(recorder.Count("BeginStateBlock"), 1);
    EXPECT_EQ(recorder.Count("EndStateBlock"), 1);
    EXPECT_EQ(recorder.Count("CreateVertexDeclaration"), 1);
    // Textures 0-6 and both shaders are reset inside the recording.
    EXPECT_EQ(recorder.Count("SetTexture"), 7);
    EXPECT_EQ(recorder.Count("SetVertexShader"), 1);
    EXPECT_EQ(recorder.Count("SetPixelShader"), 1);
    // Stream n is element n: position, colour (floats with hardware vertex
    // processing), texture set 1 (floats), set 0 (pairs), normals.
    const struct {
        uint32_t type, usage, usageIndex, stride;
    } expected[] = {{D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0, 12},
                    {D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_COLOR, 0, 16},
                    {D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_TEXCOORD, 1, 4},
                    {D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0, 8},
                    {D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0, 12}};
    const auto elements = recorder.Named("VertexElement");
    const auto streams = recorder.Named("SetStreamSource");
    ASSERT_EQ(elements.size(), std::size(expected));
    ASSERT_EQ(streams.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(elements[i].args[0], i);
        EXPECT_EQ(elements[i].args[1], expected[i].type);
        EXPECT_EQ(elements[i].args[2], expected[i].usage);
        EXPECT_EQ(elements[i].args[3], expected[i].usageIndex);
        EXPECT_EQ(streams[i].args[0], i);
        EXPECT_EQ(streams[i].args[3], expected[i].stride);
    }
    EXPECT_EQ(recorder.LastRenderState(D3DRS_COLORVERTEX), TRUE);
    EXPECT_EQ(recorder.LastRenderState(D3DRS_DIFFUSEMATERIALSOURCE), D3DMCS_MATERIAL);
    const auto draws = recorder.Named("DrawIndexedPrimitive");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args[0], static_cast<uint32_t>(D3DPT_TRIANGLELIST));
    EXPECT_EQ(draws[0].args[3], 4u);  // vertices
    EXPECT_EQ(draws[0].args[5], 2u);  // triangles

    // Later draws apply the recording and set the declaration. A buffer
    // changed for the first time moves to a dynamic device buffer, bound
    // over the recording, and the pass is recorded again at its next draw;
    // after that a changed buffer is only uploaded again.
    const std::vector<std::string> replay = {"Apply", "SetVertexDeclaration", "DrawIndexedPrimitive"};
    const std::vector<std::string> rebound = {"Apply", "SetStreamSource", "SetVertexDeclaration",
                                              "DrawIndexedPrimitive"};
    for (int draw = 2; draw <= 4; ++draw) {
        recorder.Clear();
        normals->GetBinding().SetDirty(true);
        DrawPass(pass_, quad);
        std::vector<std::string> names;
        for (const DeviceCall& call : recorder.Calls()) names.push_back(call.name);
        if (draw == 2) {
            EXPECT_EQ(names, rebound);
        }
        if (draw == 3) {
            EXPECT_EQ(recorder.Count("BeginStateBlock"), 1);
        }
        if (draw == 4) {
            EXPECT_EQ(names, replay);
        }
        EXPECT_FALSE(normals->GetBinding().IsDirty());
    }
    renderer_->EndScene();
}

TEST_F(D3D9PassTest, ADirtyPassIsRecordedAgain) {
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1);
    DeviceCallRecorder recorder(device_);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    DrawPass(pass_, quad);
    const int32_t resources = renderer_->GetResourceCount();
    pass_->Refresh();
    recorder.Clear();
    DrawPass(pass_, quad);
    renderer_->EndScene();
    EXPECT_EQ(recorder.Count("BeginStateBlock"), 1);
    EXPECT_EQ(recorder.Count("CreateVertexDeclaration"), 1);
    EXPECT_EQ(renderer_->GetResourceCount(), resources);  // the old recording was released
}

TEST_F(D3D9PassTest, APassThatNeverDrawsLeavesNoRecordingOpen) {
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1);
    Pointer<StreamPass> silent = new StreamPass();
    DeviceCallRecorder recorder(device_);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    renderer_->BeginPass(silent);
    EXPECT_TRUE(renderer_->IsRecordingPass());
    DrawPass(pass_, quad);
    renderer_->EndScene();
    EXPECT_EQ(recorder.Count("BeginStateBlock"), 2);
    EXPECT_EQ(recorder.Count("EndStateBlock"), 2);
    EXPECT_EQ(recorder.Count("DrawIndexedPrimitive"), 1);
    EXPECT_EQ(silent->GetBinding().GetHandle(), nullptr);
}

// A pass that binds no streams (post effects drawing through their own
// quads) keeps a recording but no declaration; destroying it must still
// release the recording, or the device's release walks a dead binding.
TEST_F(D3D9PassTest, APassWithoutStreamsReleasesItsRecordingWhenDestroyed) {
    const int32_t before = renderer_->GetResourceCount();
    Pointer<StreamPass> bare = new StreamPass();
    ASSERT_EQ(renderer_->BeginScene(), 0);
    renderer_->BeginPass(bare);
    renderer_->DrawUnindexed(0);
    renderer_->EndScene();
    ASSERT_EQ(bare->GetBinding().GetHandle(), nullptr);
    ASSERT_NE(bare->GetRenderStateBlock()->GetBinding().GetHandle(), nullptr);
    EXPECT_EQ(renderer_->GetResourceCount(), before + 1);
    bare = nullptr;
    EXPECT_EQ(renderer_->GetResourceCount(), before);
}

TEST_F(D3D9PassTest, PrimitiveCountsFollowTheKind) {
    const struct {
        int32_t kind;
        D3DPRIMITIVETYPE type;
        uint32_t count;  // of 6 indices; 0: nothing drawn
    } cases[] = {{GeometryNode::kPoints, D3DPT_POINTLIST, 6},
                 {GeometryNode::kLineList, D3DPT_LINELIST, 3},
                 {GeometryNode::kLineStrip, D3DPT_LINESTRIP, 5},
                 {GeometryNode::kTriangleList, D3DPT_TRIANGLELIST, 2},
                 {GeometryNode::kTriangleStrip, D3DPT_TRIANGLESTRIP, 4},
                 {7, D3DPT_POINTLIST, 0}};
    DeviceCallRecorder recorder(device_);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        Pointer<GeometryNode> node = new KindNode(c.kind);
        node->SetVertices(new Vector3Buffer(6, nullptr));
        node->SetIndices(new IntBuffer(6, nullptr));
        Pointer<StreamPass> pass = new StreamPass();
        recorder.Clear();
        DrawPass(pass, node);
        renderer_->DrawUnindexed(2);
        renderer_->DrawUnindexed(0);
        const auto indexed = recorder.Named("DrawIndexedPrimitive");
        const auto plain = recorder.Named("DrawPrimitive");
        if (c.count == 0) {
            EXPECT_TRUE(indexed.empty());
            EXPECT_TRUE(plain.empty());
            continue;
        }
        ASSERT_EQ(indexed.size(), 1u);
        EXPECT_EQ(indexed[0].args[0], static_cast<uint32_t>(c.type));
        EXPECT_EQ(indexed[0].args[3], 6u);
        EXPECT_EQ(indexed[0].args[5], c.count);
        ASSERT_EQ(plain.size(), 1u);  // a count of 0 draws nothing
        EXPECT_EQ(plain[0].args[0], static_cast<uint32_t>(c.type));
        EXPECT_EQ(plain[0].args[2], 2u);
    }
    renderer_->EndScene();
}

TEST_F(D3D9PassTest, MirroringSwapsTheCulledFace) {
    const struct {
        bool cull;
        int32_t face;
        int64_t mirrored;  // −1: the draw sets no cull mode
    } cases[] = {{true, RenderStateBlock::kCullBack, D3DCULL_CW},
                 {true, RenderStateBlock::kCullFront, D3DCULL_CCW},
                 {false, RenderStateBlock::kCullBack, -1}};
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1);
    DeviceCallRecorder recorder(device_);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    renderer_->SetMirrored(true);
    for (const auto& c : cases) {
        Pointer<StreamPass> pass = new StreamPass();
        pass->GetRenderStateBlock()->cullEnable = c.cull;
        pass->GetRenderStateBlock()->cullFace = c.face;
        DrawPass(pass, quad);  // recorded
        recorder.Clear();
        DrawPass(pass, quad);  // replayed: only the draw's own calls
        EXPECT_EQ(recorder.LastRenderState(D3DRS_CULLMODE), c.mirrored);
    }
    renderer_->SetMirrored(false);
    renderer_->EndScene();
}

// State translation.

TEST_F(D3D9PassTest, RenderStateBlocksTranslateRowByRow) {
    using Block = RenderStateBlock;
    using Stage = TextureStage;
    const float fogStart = 2.0f, fogDensity = 0.25f;
    const struct {
        const char* name;
        void (*change)(Block&);
        D3DRENDERSTATETYPE state;
        int64_t value;  // −1: not sent
    } cases[] = {
        {"blend 4/5 source", [](Block& b) { b.blendEnable = true; }, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
        {"blend 4/5 destination", [](Block& b) { b.blendEnable = true; }, D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
        {"blend alpha factor", [](Block& b) { b.blendEnable = true; b.sourceFactor = Block::kDestinationColor; },
         D3DRS_SRCBLENDALPHA, D3DBLEND_DESTCOLOR},
        {"blend off", [](Block&) {}, D3DRS_SRCBLEND, -1},
        {"alpha test", [](Block& b) { b.alphaTestEnable = true; b.alphaFunction = Block::kGreater; },
         D3DRS_ALPHAFUNC, D3DCMP_GREATER},
        {"cull back", [](Block& b) { b.cullEnable = true; }, D3DRS_CULLMODE, D3DCULL_CCW},
        {"cull front", [](Block& b) { b.cullEnable = true; b.cullFace = Block::kCullFront; }, D3DRS_CULLMODE,
         D3DCULL_CW},
        {"cull off", [](Block& b) { b.cullEnable = false; }, D3DRS_CULLMODE, D3DCULL_NONE},
        {"linear fog", [](Block& b) { b.fogEnable = true; b.fogStart = 2.0f; }, D3DRS_FOGSTART,
         std::bit_cast<DWORD>(fogStart)},
        {"linear fog per vertex", [](Block& b) { b.fogEnable = true; }, D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR},
        {"exponential fog density", [](Block& b) { b.fogEnable = true; b.fogMode = Block::kFogExponential; b.fogDensity = 0.25f; },
         D3DRS_FOGDENSITY, std::bit_cast<DWORD>(fogDensity)},
        {"squared fog per pixel", [](Block& b) { b.fogEnable = true; b.fogMode = Block::kFogSquaredExponential; b.tableFog = true; },
         D3DRS_FOGTABLEMODE, D3DFOG_EXP2},
        {"no fog, no colour", [](Block&) {}, D3DRS_FOGCOLOR, -1},
        {"flat", [](Block& b) { b.shadeMode = Block::kFlat; }, D3DRS_SHADEMODE, D3DSHADE_FLAT},
        {"stencil fail", [](Block& b) { b.stencilEnable = true; b.stencilFail = Block::kInvert; }, D3DRS_STENCILFAIL,
         D3DSTENCILOP_INVERT},
        {"stencil pass", [](Block& b) { b.stencilEnable = true; b.stencilPass = Block::kDecrement; }, D3DRS_STENCILPASS,
         D3DSTENCILOP_DECR},
        {"back stencil", [](Block& b) { b.twoSidedStencil = true; b.backStencilDepthFail = Block::kIncrement; },
         D3DRS_CCW_STENCILZFAIL, D3DSTENCILOP_INCR},
        {"wireframe", [](Block& b) { b.wireframe = true; }, D3DRS_FILLMODE, D3DFILL_WIREFRAME},
        {"depth function", [](Block& b) { b.depthFunction = Block::kEqual; }, D3DRS_ZFUNC, D3DCMP_EQUAL},
        {"no depth test, no depth write", [](Block& b) { b.depthTest = false; }, D3DRS_ZWRITEENABLE, -1},
        {"last stage's factor", [](Block& b) { b.stages[7].blendColor = ColorRGBA{1, 0, 0, 1}; }, D3DRS_TEXTUREFACTOR,
         0xFFFF0000},
        {"camera-space generation", [](Block& b) { b.stages[2].coordinateGeneration = Stage::kGenerateCameraNormal; },
         D3DRS_NORMALIZENORMALS, TRUE},
        {"point sprites", [](Block& b) { b.pointSprites = true; }, D3DRS_POINTSCALE_C, std::bit_cast<DWORD>(1.0f)},
        {"no point sprites", [](Block&) {}, D3DRS_POINTSCALEENABLE, -1},
    };
    DeviceCallRecorder recorder(device_);
    for (const auto& c : cases) {
        RecordTranslation(recorder, c.change);
        EXPECT_EQ(recorder.LastRenderState(c.state), c.value) << c.name;
    }
}

TEST_F(D3D9PassTest, TextureStagesTranslateModesFiltersAndGeneration) {
    using Stage = TextureStage;
    const struct {
        const char* name;
        void (*change)(Stage&);
        D3DTEXTURESTAGESTATETYPE state;
        int64_t value;  // −1: not sent
    } cases[] = {
        {"replace", [](Stage& s) { s.mode = Stage::kReplace; }, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
        {"replace takes one argument", [](Stage& s) { s.mode = Stage::kReplace; }, D3DTSS_COLORARG2, -1},
        {"decal", [](Stage& s) { s.mode = Stage::kDecal; }, D3DTSS_COLOROP, D3DTOP_BLENDTEXTUREALPHA},
        {"decal alpha", [](Stage& s) { s.mode = Stage::kDecal; }, D3DTSS_ALPHAARG1, D3DTA_CURRENT},
        {"blend", [](Stage& s) { s.mode = Stage::kBlend; }, D3DTSS_COLORARG1, D3DTA_TFACTOR},
        {"blend third argument", [](Stage& s) { s.mode = Stage::kBlend; }, D3DTSS_COLORARG0, D3DTA_TEXTURE},
        {"add", [](Stage& s) { s.mode = Stage::kAdd; }, D3DTSS_ALPHAOP, D3DTOP_ADD},
        {"unknown mode modulates", [](Stage& s) { s.mode = 42; }, D3DTSS_COLOROP, D3DTOP_MODULATE},
        {"combine subtract", [](Stage& s) { s.mode = Stage::kCombine; s.colorOperation = Stage::kSubtract; },
         D3DTSS_COLOROP, D3DTOP_SUBTRACT},
        {"combine source and modifier",
         [](Stage& s) { s.mode = Stage::kCombine; s.colorSources[1] = Stage::kSourceConstant; s.colorModifiers[1] = Stage::kModifierBoth; },
         D3DTSS_COLORARG2, D3DTA_TFACTOR | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE},
        {"combine select has no second argument", [](Stage& s) { s.mode = Stage::kCombine; s.colorOperation = Stage::kSelect; },
         D3DTSS_COLORARG2, -1},
        {"combine interpolate has a third",
         [](Stage& s) { s.mode = Stage::kCombine; s.alphaOperation = Stage::kInterpolate; s.alphaSources[2] = Stage::kSourceVertexColor; s.alphaModifiers[2] = Stage::kModifierNone; },
         D3DTSS_ALPHAARG0, D3DTA_DIFFUSE},
        {"reflection", [](Stage& s) { s.coordinateGeneration = Stage::kGenerateReflection; }, D3DTSS_TEXCOORDINDEX,
         3 | D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR},
        {"sphere map counts three", [](Stage& s) { s.coordinateGeneration = Stage::kGenerateSphereMap; },
         D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT3},
        {"projective", [](Stage& s) { s.coordinateGeneration = Stage::kGenerateProjective; },
         D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_PROJECTED},
        {"no generation keeps the flags", [](Stage&) {}, D3DTSS_TEXTURETRANSFORMFLAGS, -1},
    };
    DeviceCallRecorder recorder(device_);
    for (const auto& c : cases) {
        RecordTranslation(recorder, [&](RenderStateBlock& block) { c.change(block.stages[3]); });
        EXPECT_EQ(recorder.LastStageState(3, c.state), c.value) << c.name;
    }

    const struct {
        int32_t minification, magnification, address;
        DWORD min, mip, mag, addressValue;
    } samplers[] = {{Stage::kNearest, Stage::kNearest, Stage::kClamp, D3DTEXF_POINT, D3DTEXF_NONE, D3DTEXF_POINT, D3DTADDRESS_CLAMP},
                    {Stage::kLinear, Stage::kLinear, Stage::kWrap, D3DTEXF_LINEAR, D3DTEXF_NONE, D3DTEXF_LINEAR, D3DTADDRESS_WRAP},
                    {Stage::kNearestMipNearest, Stage::kLinear, Stage::kBorder, D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_LINEAR, D3DTADDRESS_BORDER},
                    {Stage::kNearestMipLinear, Stage::kLinear, Stage::kWrap, D3DTEXF_POINT, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTADDRESS_WRAP},
                    {Stage::kLinearMipNearest, Stage::kLinear, Stage::kWrap, D3DTEXF_LINEAR, D3DTEXF_POINT, D3DTEXF_LINEAR, D3DTADDRESS_WRAP},
                    {Stage::kLinearMipLinear, Stage::kLinear, Stage::kWrap, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTADDRESS_WRAP}};
    for (const auto& s : samplers) {
        RecordTranslation(recorder, [&](RenderStateBlock& block) {
            block.stages[5].minificationFilter = s.minification;
            block.stages[5].magnificationFilter = s.magnification;
            block.stages[5].SetAddress(s.address);
        });
        SCOPED_TRACE(s.minification);
        EXPECT_EQ(recorder.LastSamplerState(5, D3DSAMP_MINFILTER), s.min);
        EXPECT_EQ(recorder.LastSamplerState(5, D3DSAMP_MIPFILTER), s.mip);
        EXPECT_EQ(recorder.LastSamplerState(5, D3DSAMP_MAGFILTER), s.mag);
        EXPECT_EQ(recorder.LastSamplerState(5, D3DSAMP_ADDRESSW), s.addressValue);
    }
}

TEST_F(D3D9PassTest, WithoutShadersTheMaterialHasNoSpecular) {
    auto shiny = [](RenderStateBlock& block) {
        block.specular = ColorRGBA{0.5f, 0.5f, 0.5f, 1.0f};
        block.diffuse.a = 0.25f;
    };
    DeviceCallRecorder recorder(device_);
    RecordTranslation(recorder, shiny);
    ASSERT_EQ(recorder.lastMaterial.size(), 17u);  // diffuse, ambient, specular, emissive, power
    EXPECT_FLOAT_EQ(recorder.lastMaterial[8], 0.5f);
    EXPECT_FLOAT_EQ(recorder.lastMaterial[3], 0.25f);

    RendererCapabilities caps = renderer_->GetCapabilities();
    caps.pixelShaderLevel = RendererCapabilities::kShaderLevelNone;
    renderer_->OverrideCapabilities(caps);
    RecordTranslation(recorder, shiny);
    for (int i = 8; i < 12; ++i) EXPECT_FLOAT_EQ(recorder.lastMaterial[i], 0.0f);
    EXPECT_FLOAT_EQ(recorder.lastMaterial[3], 0.25f + 1.0f + 1.0f + 1.0f);
}

// Lights.

TEST_F(D3D9PassTest, LightStackBecomesDeviceLights) {
    Pointer<Light> spot = new Light(Light::kSpot);
    spot->SetSpotAngle(0.5f);
    spot->SetFalloff(3.0f);
    Pointer<Light> point = new Light(Light::kPoint);
    point->SetAttenuation(0.5f, 0.25f, 0.125f);
    point->SetUseAttenuation(true);
    DeviceCallRecorder recorder(device_);

    renderer_->PushLight(spot);
    renderer_->EnableLight(spot);
    EXPECT_EQ(recorder.LastRenderState(D3DRS_LIGHTING), TRUE);
    EXPECT_EQ(recorder.LastRenderState(D3DRS_SPECULARENABLE), TRUE);
    ASSERT_EQ(recorder.Named("SetLight").size(), 1u);
    EXPECT_EQ(recorder.Named("SetLight")[0].args[1], static_cast<uint32_t>(D3DLIGHT_SPOT));
    // Type, diffuse, specular, ambient, position, direction, range,
    // falloff, attenuations, theta, phi.
    const std::vector<float>& light = recorder.lastLight;
    ASSERT_EQ(light.size(), 26u);
    EXPECT_EQ(std::bit_cast<uint32_t>(light[19]), 0x5F7FFFFFu);
    EXPECT_FLOAT_EQ(light[20], 3.0f);
    EXPECT_FLOAT_EQ(light[21], 1.0f);  // no attenuation: (1, 0, 0)
    EXPECT_FLOAT_EQ(light[24], 1.0f);
    EXPECT_FLOAT_EQ(light[25], 1.05f);

    recorder.Clear();
    renderer_->PushLight(point);
    renderer_->EnableLight(point);
    EXPECT_EQ(recorder.LastRenderState(D3DRS_LIGHTING), -1);  // already on
    ASSERT_EQ(recorder.Named("LightEnable").size(), 1u);
    EXPECT_EQ(recorder.Named("LightEnable")[0].args[0], 1u);
    EXPECT_FLOAT_EQ(recorder.lastLight[21], 0.5f);
    EXPECT_FLOAT_EQ(recorder.lastLight[23], 0.125f);

    recorder.Clear();
    renderer_->EmptyLightStack();
    const auto enables = recorder.Named("LightEnable");
    ASSERT_EQ(enables.size(), 2u);
    EXPECT_EQ(enables[0].args[0], 1u);
    EXPECT_EQ(enables[1].args[0], 0u);
    EXPECT_EQ(enables[1].args[1], 0u);
    EXPECT_EQ(recorder.LastRenderState(D3DRS_LIGHTING), FALSE);

    // A null light only switches its index off.
    recorder.Clear();
    renderer_->PushLight(nullptr);
    renderer_->EnableLight(nullptr);
    EXPECT_EQ(recorder.Count("SetLight"), 0);
    EXPECT_EQ(recorder.Count("LightEnable"), 1);
}

// Gamma and device loss.

TEST_F(D3D9PassTest, GammaRampLevels) {
    DeviceCallRecorder recorder(device_);
    const struct {
        int32_t level;
        uint16_t first, last;
    } cases[] = {{0, 0, 255 * 256}, {300, 60000, 65535}};
    for (const auto& c : cases) {
        renderer_->SetGamma(c.level);
        ASSERT_EQ(recorder.lastGammaRed.size(), 256u);
        EXPECT_EQ(recorder.lastGammaRed[0], c.first);
        EXPECT_EQ(recorder.lastGammaRed[255], c.last);
        EXPECT_EQ(recorder.Named("SetGammaRamp").back().args[1], static_cast<uint32_t>(D3DSGR_CALIBRATE));
    }
}

TEST_F(D3D9PassTest, ALostDeviceDropsItsObjectsAndIsResetWhenItCanBe) {
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1);
    DeviceCallRecorder recorder(device_);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    DrawPass(pass_, quad);
    renderer_->EndScene();
    ASSERT_GT(renderer_->GetResourceCount(), 0);

    recorder.cooperativeLevel = D3DERR_DEVICELOST;
    EXPECT_EQ(renderer_->BeginScene(), 1);
    EXPECT_EQ(renderer_->GetResourceCount(), 0);
    EXPECT_EQ(pass_->GetBinding().GetHandle(), nullptr);
    EXPECT_EQ(recorder.Count("Reset"), 0);

    recorder.cooperativeLevel = D3DERR_DEVICENOTRESET;
    recorder.resetAnswer = D3DERR_DEVICELOST;
    EXPECT_EQ(renderer_->BeginScene(), 1);
    EXPECT_EQ(recorder.Count("Reset"), 1);

    recorder.resetAnswer = 0;
    EXPECT_EQ(renderer_->BeginScene(), 0);
    recorder.cooperativeLevel = 0;
    recorder.Clear();
    DrawPass(pass_, quad);  // recorded anew on the reset device
    renderer_->EndScene();
    EXPECT_EQ(recorder.Count("BeginStateBlock"), 1);
    EXPECT_EQ(recorder.Count("DrawIndexedPrimitive"), 1);
}

// The ramp set once at start comes back with a reset device; a texture the
// device refuses is tried (and logged) once per device, not at every bind of
// every frame.
TEST_F(D3D9PassTest, AResetDeviceGetsItsGammaBackAndRetriesRefusedObjectsOnce) {
    Pointer<Texture> mask = new Texture(new Image(String("mask"), Image::kFormatA8, 4, 4), String("mask"));
    DeviceCallRecorder recorder(device_);
    recorder.refusedTextureFormat = D3DFMT_A8;
    test::LogCapture capture;
    auto frames = [&](int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(renderer_->BeginScene(), 0);
            renderer_->SetTexture(mask, 0);
            renderer_->SetTexture(mask, 1);
            renderer_->EndScene();
        }
    };
    renderer_->SetGamma(50);
    frames(3);
    EXPECT_EQ(recorder.Count("CreateTexture"), 1);
    EXPECT_EQ(mask->GetBinding().GetHandle(), nullptr);

    recorder.Clear();
    recorder.cooperativeLevel = D3DERR_DEVICENOTRESET;
    ASSERT_EQ(renderer_->BeginScene(), 0);
    recorder.cooperativeLevel = 0;
    renderer_->EndScene();
    EXPECT_EQ(recorder.Count("Reset"), 1);
    ASSERT_EQ(recorder.Count("SetGammaRamp"), 1);
    EXPECT_EQ(recorder.lastGammaRed[1], GammaRampEntry(50, 1));
    frames(3);
    EXPECT_EQ(recorder.Count("CreateTexture"), 1);
    int refusals = 0;
    for (const test::LoggedLine& line : capture->lines)
        refusals += line.level == kLogError && line.text.find("[CreateTexture]") != std::string::npos;
    EXPECT_EQ(refusals, 2);
}

// Forced onto the point-sprite path, the device's clamp becomes its own
// largest point size (a fresh device on Windows clamps at 64).
TEST_F(D3D9PassTest, PointSpritesRaiseTheClampToTheDevicesLargestPoint) {
    const int32_t mode = WindowedMode();
    ASSERT_EQ(renderer_->CloseWindow(), 0);
    static const DeviceAnswers kSprites{.maxPointSize = 8192.0f};
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(direct3d, nullptr);
    AnswerWith(direct3d, &kSprites);
    renderer_ = new D3D9Renderer(direct3d);
    ASSERT_EQ(renderer_->OpenWindow(mode, "sprites", nullptr, 0, 0, kWidth, kHeight), 0);
    device_ = renderer_->GetDevice();
    ASSERT_TRUE(renderer_->GetCapabilities().pointSprites);
    DeviceCallRecorder recorder(device_);
    RecordTranslation(recorder, [](RenderStateBlock& block) { block.pointSprites = true; });
    EXPECT_EQ(recorder.LastRenderState(D3DRS_POINTSIZE_MAX), std::bit_cast<DWORD>(8192.0f));
}

TEST_F(D3D9PassTest, DestroyingTheDeviceReleasesRecordings) {
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1);
    DeviceCallRecorder recorder(device_);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    DrawPass(pass_, quad);
    renderer_->EndScene();
    EXPECT_NE(pass_->GetRenderStateBlock()->GetBinding().GetHandle(), nullptr);
    EXPECT_EQ(renderer_->DestroyDevice(), 0);
    EXPECT_EQ(recorder.lastDeviceRelease, 0u);
    EXPECT_EQ(pass_->GetBinding().GetHandle(), nullptr);
    EXPECT_EQ(pass_->GetRenderStateBlock()->GetBinding().GetHandle(), nullptr);
}

// Pixels.

TEST_F(D3D9PassTest, VertexColoursReachThePixels) {
    UseVertexColour(*pass_->GetRenderStateBlock());
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1, 0.5f, ColorRGBA{1, 0, 0, 1}, ColorRGBA{0, 0, 1, 1});
    DrawFrame(quad);
    EXPECT_TRUE(Near(ReadBackBuffer(1, kHeight / 2), Rgba{253, 0, 2, 255}, 6));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth - 2, kHeight / 2), Rgba{2, 0, 253, 255}, 6));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight / 2), Rgba{128, 0, 128, 255}, 6));
}

// Buffers written again after their first upload move to dynamic buffers,
// refilled without waiting for the device; every frame draws the newest
// colours and indices.
TEST_F(D3D9PassTest, RewrittenBuffersBecomeDynamicAndDrawTheirNewData) {
    UseVertexColour(*pass_->GetRenderStateBlock());
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1);
    ColorBuffer& colors = *quad->GetColors();
    IntBuffer& indices = *quad->GetIndices();
    const Rgba shades[] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    for (int frame = 0; frame < 3; ++frame) {
        const Rgba shade = shades[frame];
        for (int32_t i = 0; i < 4; ++i) colors[i] = ColorRGBA{shade.r / 255.0f, shade.g / 255.0f, shade.b / 255.0f, 1};
        colors.GetBinding().SetDirty(true);
        if (frame == 2) {
            // Only the lower right triangle, twice.
            for (int32_t i = 3; i < 6; ++i) indices[i] = indices[i - 3];
            indices.GetBinding().SetDirty(true);
        }
        DrawFrame(quad);
        EXPECT_TRUE(Near(ReadBackBuffer(kWidth - 4, kHeight - 4), shade, 6)) << "frame " << frame;
        EXPECT_TRUE(Near(ReadBackBuffer(4, 4), frame == 2 ? Rgba{0, 0, 0, 255} : shade, 6)) << "frame " << frame;
        D3DVERTEXBUFFER_DESC desc{};
        static_cast<IDirect3DVertexBuffer9*>(colors.GetBinding().GetHandle())->GetDesc(&desc);
        EXPECT_EQ(desc.Pool, frame == 0 ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT) << "frame " << frame;
        EXPECT_EQ((desc.Usage & D3DUSAGE_DYNAMIC) != 0, frame > 0) << "frame " << frame;
        renderer_->GetDevice()->EndScene();
    }
}

TEST_F(D3D9PassTest, LinearFogBlendsHalfWay) {
    RenderStateBlock& block = *pass_->GetRenderStateBlock();
    UseVertexColour(block);
    block.fogEnable = true;
    block.fogStart = 0.0f;
    block.fogEnd = 1.0f;
    block.fogColor = ColorRGBA{0, 0, 1, 1};
    Pointer<GeometryNode> quad = Quad(-1, -1, 1, 1, 0.5f, ColorRGBA{1, 0, 0, 1}, ColorRGBA{1, 0, 0, 1});
    DrawFrame(quad);
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight / 2), Rgba{128, 0, 128, 255}, 8));
}

TEST_F(D3D9PassTest, TexturedQuadIsTheRightWayUp) {
    // The image's upper half (its last rows) red, the lower half blue.
    Image* image = new Image(String("halves"), Image::kFormatRGB, 4, 4);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x) {
            uint8_t* texel = image->GetData() + 3 * (y * 4 + x);
            texel[0] = y >= 2 ? 255 : 0;
            texel[1] = 0;
            texel[2] = y >= 2 ? 0 : 255;
        }
    pass_->texture = new Texture(image);
    pass_->GetRenderStateBlock()->stages[0].mode = TextureStage::kReplace;
    pass_->GetRenderStateBlock()->stages[0].minificationFilter = TextureStage::kNearest;
    pass_->GetRenderStateBlock()->stages[0].magnificationFilter = TextureStage::kNearest;
    DrawFrame(Quad(-1, -1, 1, 1));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, 4), Rgba{255, 0, 0, 255}));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight - 4), Rgba{0, 0, 255, 255}));
}

TEST_F(D3D9PassTest, ARenderedTextureIsSampledAfterwards) {
    Pointer<Texture> target = new Texture(SolidImage(16, 16, 0, 0, 0), String("target"));
    ASSERT_EQ(renderer_->BeginScene(), 0);
    renderer_->SetRenderTarget(target);
    renderer_->Clear(Renderer::kClearColor, ColorRGBA{0, 1, 0, 1}, 1.0f, 0);
    renderer_->SetRenderTarget(nullptr);
    renderer_->EndScene();
    pass_->texture = target;
    pass_->GetRenderStateBlock()->stages[0].mode = TextureStage::kReplace;
    DrawFrame(Quad(-1, -1, 1, 1));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight / 2), Rgba{0, 255, 0, 255}));
}

TEST_F(D3D9PassTest, AMinifiedCheckerboardTurnsGrey) {
    constexpr int32_t kSize = 64;
    Image* image = new Image(String("checker"), Image::kFormatRGB, kSize, kSize);
    for (int32_t i = 0; i < kSize * kSize; ++i) {
        const uint8_t value = ((i % kSize) + (i / kSize)) % 2 != 0 ? 255 : 0;
        std::memset(image->GetData() + 3 * i, value, 3);
    }
    pass_->texture = new Texture(image);
    pass_->GetRenderStateBlock()->stages[0].mode = TextureStage::kReplace;
    // 8 x 8 pixels: level 3 of the chain.
    const float right = -1.0f + 2.0f * 8 / kWidth, top = -1.0f + 2.0f * 8 / kHeight;
    DrawFrame(Quad(-1, -1, right, top));
    EXPECT_TRUE(Near(ReadBackBuffer(4, kHeight - 4), Rgba{128, 128, 128, 255}, 6));
}

}  // namespace
}  // namespace zel
