// The Direct3D 9 renderer on Wine's device: creation and its log lines,
// frames, transforms, gamma, textures, render targets, buffers, queries
// and the release of every device object.
#include "D3D9TestFixture.h"
#include "DeviceCallRecorder.h"

namespace zel {
namespace {

using namespace test;

// Device creation.

TEST_F(D3D9RendererTest, CreationLogsTheFrameFormatAndCapabilitiesInOrder) {
    ASSERT_EQ(renderer_->CloseWindow(), 0);
    test::LogCapture capture;
    ASSERT_EQ(renderer_->OpenWindow(WindowedMode(), "again", nullptr, 0, 0, kWidth, kHeight), 0);
    device_ = renderer_->GetDevice();
    // Wine's device: shader model 3.0, MaxPointSize 255 (no sprites),
    // queries and depth textures.
    const std::vector<std::string> expected = {
        "Created HARDWARE VERTEXPROCESSING",
        "COLOR BPP 32",
        "Alpha BPP 8",
        "Depth BPP 24",
        "Stencil BPP 8",
        "Samples 0",
        "Vendor [",
        "Driver [",
        "Simultaneous Textures [",
        "Max Active Lights [",
        "Volume Textures [true]",
        "Cube Textures [true]",
        "Projected Textures [",
        "VERTEX SHADER 2",
        "PIXEL SHADER 2",
        "Point Sprites [false]",
        "Occlusion Query [true]",
        "Hardware Shadowmaps [true]",
        "A16B16G16R16F Textures [",
        "A8 RenderTarget Textures MipMap Autogen support[",
        "A16B16G16R16 RenderTarget Textures MipMap Autogen support[",
        "R8G8B8 RenderTarget Textures MipMap Autogen support[",
        "R8G8B8A8 RenderTarget Textures MipMap Autogen support[",
        "A8 CubeRenderTarget Textures MipMap Autogen support[",
        "A16B16G16R16 CubeRenderTarget Textures MipMap Autogen support[",
        "R8G8B8 CubeRenderTarget Textures MipMap Autogen support[",
        "R8G8B8A8 CubeRenderTarget Textures MipMap Autogen support[",
    };
    std::vector<std::string> logged;
    for (const test::LoggedLine& line : capture->lines)
        if (line.level == kLogInfo) logged.push_back(line.text);
    size_t at = 0;
    for (const std::string& line : logged)
        if (at < expected.size() && line.rfind(expected[at], 0) == 0) ++at;
    EXPECT_EQ(at, expected.size()) << "missing or out of order: " << (at < expected.size() ? expected[at] : "");
    for (const test::LoggedLine& line : capture->lines) EXPECT_NE(line.level, kLogError) << line.text;

    const RendererCapabilities& caps = renderer_->GetCapabilities();
    EXPECT_EQ(caps.vertexShaderLevel, RendererCapabilities::kShaderLevel30);
    EXPECT_TRUE(caps.occlusionQueries);
    EXPECT_TRUE(renderer_->HasHardwareVertexProcessing());
    EXPECT_EQ(renderer_->GetWidth(), kWidth);
    EXPECT_EQ(renderer_->GetColorBits(), 32);
    EXPECT_EQ(renderer_->GetPresentParameters().BackBufferFormat, D3DFMT_A8R8G8B8);
    EXPECT_EQ(renderer_->GetPresentParameters().AutoDepthStencilFormat, D3DFMT_D24S8);
}

// Devices that answer otherwise than Wine's: the renderer's fallbacks and
// the capability lines that report them.
TEST_F(D3D9RendererTest, OtherDevicesGetTheirFallbacksAndLines) {
    const int32_t mode = WindowedMode();
    ASSERT_EQ(renderer_->CloseWindow(), 0);
    const struct {
        const char* name;
        DeviceAnswers answers;
        std::vector<std::string> lines;
    } cases[] = {
        {"software vertex processing", {.refuseHardwareVertexProcessing = true}, {"Created SOFTWARE VERTEXPROCESSING"}},
        {"point sprites", {.maxPointSize = 8192.0f}, {"Point Sprites [true]"}},
        {"shader level 1.x", {.vertexShaderVersion = D3DVS_VERSION(1, 1), .pixelShaderVersion = D3DPS_VERSION(1, 4)},
         {"VERTEX SHADER 0", "PIXEL SHADER 0"}},
        {"no pixel shaders", {.pixelShaderVersion = D3DPS_VERSION(0, 0)}, {"VERTEX SHADER 4", "PIXEL SHADER 4"}},
        {"no queries", {.noQueries = true}, {"Occlusion Query [false]"}},
        {"no shadow maps", {.noDepthTextures = true}, {"Hardware Shadowmaps [false]"}},
        {"16-bit indices", {.maxVertexIndex = 0xFFFF}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(direct3d, nullptr);
        AnswerWith(direct3d, &c.answers);
        Pointer<D3D9Renderer> renderer = new D3D9Renderer(direct3d);
        test::LogCapture capture;
        ASSERT_EQ(renderer->OpenWindow(mode, "answers", nullptr, 0, 0, kWidth, kHeight), 0);
        for (const std::string& expected : c.lines) {
            bool found = false;
            for (const test::LoggedLine& line : capture->lines) found = found || line.text == expected;
            EXPECT_TRUE(found) << expected;
        }
        const RendererCapabilities& caps = renderer->GetCapabilities();
        EXPECT_EQ(renderer->HasHardwareVertexProcessing(), !c.answers.refuseHardwareVertexProcessing);
        EXPECT_EQ(caps.pointSprites, c.answers.maxPointSize > 0.0f);
        EXPECT_EQ(caps.occlusionQueries, !c.answers.noQueries);
        EXPECT_EQ(caps.hardwareShadowMaps, !c.answers.noDepthTextures);
        if (c.answers.maxVertexIndex != 0) {
            // Indices then travel as 16 bits.
            Pointer<IntBuffer> indices = new IntBuffer(3, nullptr);
            renderer->SetIndexBuffer(indices);
            auto* handle = static_cast<IDirect3DIndexBuffer9*>(indices->GetBinding().GetHandle());
            ASSERT_NE(handle, nullptr);
            D3DINDEXBUFFER_DESC desc{};
            handle->GetDesc(&desc);
            EXPECT_EQ(desc.Format, D3DFMT_INDEX16);
        }
        EXPECT_EQ(renderer->CloseWindow(), 0);
    }
}

TEST_F(D3D9RendererTest, TheModeListHasFullScreenEntriesAndADefault) {
    int32_t fullScreen = 0;
    for (int32_t i = 0; i < renderer_->GetDisplayModeCount(); ++i)
        if (renderer_->GetDisplayMode(i)->fullScreen) ++fullScreen;
    EXPECT_GT(fullScreen, 0);
    const DisplayModeEntry* desktop = renderer_->GetDisplayMode(renderer_->GetDefaultModeIndex());
    ASSERT_NE(desktop, nullptr);
    EXPECT_TRUE(desktop->fullScreen);
    EXPECT_EQ(renderer_->GetDisplayMode(renderer_->GetDisplayModeCount() - 1)->fullScreen, false);
}

// Frames, transforms, gamma.

TEST_F(D3D9RendererTest, ClearColourReadsBackAndIsRemembered) {
    const ColorRGBA orange{1.0f, 0.5f, 0.0f, 1.0f};
    renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, orange, 1.0f, 0);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    renderer_->EndScene();
    renderer_->Clear(Renderer::kClearColor, orange, 1.0f, 0);
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight / 2), Rgba{255, 127, 0, 255}));
    EXPECT_EQ(renderer_->GetClearColor(), orange);
    // A depth-only clear keeps the remembered colour.
    renderer_->Clear(Renderer::kClearDepth, ColorRGBA{0.0f, 0.0f, 1.0f, 1.0f}, 1.0f, 0);
    EXPECT_EQ(renderer_->GetClearColor(), orange);
}

TEST_F(D3D9RendererTest, TextureMatrixSwitchesTheStageTransform) {
    Matrix4 scale = Matrix4::Identity();
    scale.m[0][0] = 2.0f;
    struct Row {
        Matrix4 matrix;
        DWORD flags;
    };
    for (const Row& row : {Row{scale, D3DTTFF_COUNT3}, Row{Matrix4::Identity(), D3DTTFF_DISABLE}}) {
        renderer_->SetTextureMatrix(2, row.matrix);
        DWORD flags = 0xDEADBEEF;
        device_->GetTextureStageState(2, D3DTSS_TEXTURETRANSFORMFLAGS, &flags);
        EXPECT_EQ(flags, row.flags);
        Matrix4 back;
        renderer_->GetTextureMatrix(back, 2);
        EXPECT_EQ(back, row.matrix);
    }
}

TEST_F(D3D9RendererTest, ViewportTruncatesAndReportsItsSize) {
    renderer_->SetViewport(1.9f, 2.5f, 50.7f, 40.2f);
    EXPECT_EQ(renderer_->GetViewportWidth(), 50);
    EXPECT_EQ(renderer_->GetViewportHeight(), 40);
    D3DVIEWPORT9 viewport{};
    device_->GetViewport(&viewport);
    EXPECT_EQ(viewport.X, 1u);
    EXPECT_EQ(viewport.Y, 2u);
    EXPECT_EQ(viewport.MaxZ, 1.0f);
}

// Textures.

TEST_F(D3D9RendererTest, TextureRowsRunUpwardAsBgra) {
    // Image row 0 (the picture's bottom) red, row 1 blue.
    Pointer<Image> image = new Image(String("rows"), Image::kFormatRGB, 4, 2);
    for (int32_t x = 0; x < 4; ++x) {
        std::memcpy(image->GetData() + 3 * x, "\xFF\x00\x00", 3);
        std::memcpy(image->GetData() + 12 + 3 * x, "\x00\x00\xFF", 3);
    }
    Pointer<Texture> texture = new Texture(image, String("rows"));
    renderer_->SetTexture(texture, 0);
    auto* handle = static_cast<IDirect3DTexture9*>(texture->GetBinding().GetHandle());
    ASSERT_NE(handle, nullptr);
    EXPECT_FALSE(texture->GetBinding().IsDirty());
    EXPECT_EQ(texture->GetMipLevels(), 3);
    IDirect3DBaseTexture9* bound = nullptr;
    device_->GetTexture(0, &bound);
    EXPECT_EQ(bound, handle);
    ReleaseCom(bound);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(handle->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    DWORD top = 0, bottom = 0;
    std::memcpy(&top, locked.pBits, 4);
    std::memcpy(&bottom, static_cast<uint8_t*>(locked.pBits) + locked.Pitch, 4);
    handle->UnlockRect(0);
    EXPECT_EQ(top, 0xFF0000FFu);
    EXPECT_EQ(bottom, 0xFFFF0000u);

    // Dirty: the next bind uploads the changed image into the same texture.
    std::memcpy(image->GetData(), "\x00\xFF\x00", 3);
    texture->MarkDirty();
    renderer_->SetTexture(texture, 0);
    EXPECT_EQ(texture->GetBinding().GetHandle(), handle);
    ASSERT_EQ(handle->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::memcpy(&bottom, static_cast<uint8_t*>(locked.pBits) + locked.Pitch, 4);
    handle->UnlockRect(0);
    EXPECT_EQ(bottom, 0xFF00FF00u);
}

TEST_F(D3D9RendererTest, CubeFacesAndVolumeSlicesLandInOrder) {
    Pointer<Image> faces = new Image(String("faces"), Image::kFormatRGBA, 2, 12);
    for (int32_t i = 0; i < 2 * 12; ++i) {
        uint8_t* pixel = faces->GetData() + 4 * i;
        pixel[0] = static_cast<uint8_t>(10 * (i / 4));  // the face number, in red
        pixel[1] = 1;
        pixel[2] = 2;
        pixel[3] = 3;
    }
    Pointer<CubeTexture> cube = new CubeTexture(faces, String("sky"));
    renderer_->SetTexture(cube, 1);
    auto* cubeHandle = static_cast<IDirect3DCubeTexture9*>(cube->GetBinding().GetHandle());
    ASSERT_NE(cubeHandle, nullptr);
    for (int32_t face = 0; face < 6; ++face) {
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(cubeHandle->LockRect(static_cast<D3DCUBEMAP_FACES>(face), 0, &locked, nullptr, D3DLOCK_READONLY),
                  D3D_OK);
        DWORD texel = 0;
        std::memcpy(&texel, locked.pBits, 4);
        cubeHandle->UnlockRect(static_cast<D3DCUBEMAP_FACES>(face), 0);
        EXPECT_EQ(texel, 0x03000102u | (static_cast<DWORD>(10 * face) << 16)) << face;
    }

    Pointer<VolumeImage> slices = new VolumeImage(String("slices"), Image::kFormatA8, 2, 2, 3);
    for (int32_t i = 0; i < 12; ++i) slices->GetData()[i] = static_cast<uint8_t>(i);
    Pointer<VolumeTexture> volume = new VolumeTexture(slices, String("fog"));
    renderer_->SetTexture(volume, 2);
    auto* volumeHandle = static_cast<IDirect3DVolumeTexture9*>(volume->GetBinding().GetHandle());
    ASSERT_NE(volumeHandle, nullptr);
    D3DLOCKED_BOX box{};
    ASSERT_EQ(volumeHandle->LockBox(0, &box, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* bits = static_cast<const uint8_t*>(box.pBits);
    // Slice 2: image row 1 (bytes 10, 11) on top, row 0 (8, 9) below.
    EXPECT_EQ(bits[2 * box.SlicePitch], 10);
    EXPECT_EQ(bits[2 * box.SlicePitch + box.RowPitch + 1], 9);
    volumeHandle->UnlockBox(0);
}

TEST_F(D3D9RendererTest, TexturesWithoutPixelsStayUnbound) {
    Pointer<Texture> empty = new Texture();
    Pointer<Texture> noPixels = new Texture(new Image(String("depth"), Image::kFormatDepthStencil, 8, 8));
    for (Texture* texture : {empty.Get(), noPixels.Get()}) {
        renderer_->SetTexture(texture, 0);
        EXPECT_EQ(texture->GetBinding().GetHandle(), nullptr);
        IDirect3DBaseTexture9* bound = nullptr;
        device_->GetTexture(0, &bound);
        EXPECT_EQ(bound, nullptr);
        ReleaseCom(bound);
    }
}

// Shaders: assembled by our own assembler and bound; a bad program leaves
// the stage unbound.
TEST_F(D3D9RendererTest, ShadersAssembleAndBindOrLeaveTheStageUnbound) {
    Pointer<VertexShader> vertex = new VertexShader(String("vs_1_1\ndcl_position v0\nm4x4 oPos, v0, c0\n"));
    Pointer<PixelShader> pixel = new PixelShader(String("ps_2_0\ndcl t0.xy\ndcl_2d s0\ntexld r0, t0, s0\nmov oC0, r0\n"));
    Pointer<PixelShader> broken = new PixelShader(String("ps_2_0\nmov oC0, q9\n"));
    renderer_->SetVertexShader(vertex);
    renderer_->SetPixelShader(pixel);
    EXPECT_NE(vertex->GetBinding().GetHandle(), nullptr);
    EXPECT_NE(pixel->GetBinding().GetHandle(), nullptr);
    IDirect3DPixelShader9* bound = nullptr;
    device_->GetPixelShader(&bound);
    EXPECT_EQ(bound, pixel->GetBinding().GetHandle());
    ReleaseCom(bound);

    renderer_->SetPixelShader(broken);
    EXPECT_EQ(broken->GetBinding().GetHandle(), nullptr);
    device_->GetPixelShader(&bound);
    EXPECT_EQ(bound, nullptr);
    ReleaseCom(bound);
    // The error is shown once with its place, not on every bind; a new text
    // is tried again.
    renderer_->SetPixelShader(broken);
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_NE(shownMessages[0].find("line 2"), std::string::npos) << shownMessages[0];
    broken->SetProgram(String("ps_2_0\nmov oC0, c0\n"));
    renderer_->SetPixelShader(broken);
    EXPECT_NE(broken->GetBinding().GetHandle(), nullptr);
    EXPECT_EQ(shownMessages.size(), 1u);
    renderer_->SetVertexShader(nullptr);
}

// Render targets.

TEST_F(D3D9RendererTest, RenderTargetStackPushesClearsAndPops) {
    Pointer<Texture> target = new Texture(SolidImage(64, 32, 0, 0, 0), String("target"));
    renderer_->SetRenderTarget(target);
    EXPECT_EQ(renderer_->GetRenderTargetDepth(), 1);
    EXPECT_EQ(renderer_->GetViewportWidth(), 64);
    EXPECT_EQ(renderer_->GetHeight(), 32);
    renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0.0f, 1.0f, 0.0f, 1.0f}, 1.0f, 0);

    // Being rendered into, the texture is not bound for sampling.
    renderer_->SetTexture(target, 0);
    IDirect3DBaseTexture9* bound = nullptr;
    device_->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);
    ReleaseCom(bound);

    renderer_->SetRenderTarget(nullptr);
    EXPECT_EQ(renderer_->GetRenderTargetDepth(), 0);
    EXPECT_EQ(renderer_->GetViewportWidth(), kWidth);
    EXPECT_EQ(renderer_->GetWidth(), kWidth);

    auto* handle = static_cast<IDirect3DTexture9*>(target->GetBinding().GetHandle());
    ASSERT_NE(handle, nullptr);
    D3DSURFACE_DESC desc{};
    handle->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(handle->GetSurfaceLevel(0, &level), D3D_OK);
    EXPECT_TRUE(Near(ReadPixel(level, 10, 10), Rgba{0, 255, 0, 255}));
    ReleaseCom(level);

    // After the pop it samples as an ordinary texture.
    renderer_->SetTexture(target, 0);
    device_->GetTexture(0, &bound);
    EXPECT_EQ(bound, handle);
    ReleaseCom(bound);
}

TEST_F(D3D9RendererTest, CubeFaceTargetsClearTheirFace) {
    Pointer<CubeTexture> cube = new CubeTexture(SolidImage(16, 96, 0, 0, 0), String("probe"));
    renderer_->SetCubeRenderTarget(D3DCUBEMAP_FACE_NEGATIVE_Y, cube);
    EXPECT_EQ(renderer_->GetViewportWidth(), 16);
    renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{1.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
    renderer_->SetCubeRenderTarget(0, nullptr);
    EXPECT_EQ(renderer_->GetViewportWidth(), kWidth);
    auto* handle = static_cast<IDirect3DCubeTexture9*>(cube->GetBinding().GetHandle());
    ASSERT_NE(handle, nullptr);
    IDirect3DSurface9* face = nullptr;
    ASSERT_EQ(handle->GetCubeMapSurface(D3DCUBEMAP_FACE_NEGATIVE_Y, 0, &face), D3D_OK);
    EXPECT_TRUE(Near(ReadPixel(face, 3, 3), Rgba{255, 0, 0, 255}));
    ReleaseCom(face);
}

TEST_F(D3D9RendererTest, DepthTargetsSetTheBiasesAndMaskColoursUntilPopped) {
    Pointer<Texture> shadow = new Texture();
    renderer_->SetDepthRenderTarget(shadow, 3, 1.5f);
    ASSERT_NE(shadow->GetImage(), nullptr);
    EXPECT_EQ(shadow->GetImage()->GetFormat(), Image::kFormatDepthStencil);
    EXPECT_EQ(shadow->GetImage()->GetWidth(), kWidth);
    EXPECT_EQ(RenderState(D3DRS_DEPTHBIAS), std::bit_cast<DWORD>(3.0f * std::bit_cast<float>(0x33800001u)));
    EXPECT_EQ(RenderState(D3DRS_SLOPESCALEDEPTHBIAS), std::bit_cast<DWORD>(1.5f));
    EXPECT_EQ(RenderState(D3DRS_COLORWRITEENABLE), 0u);
    IDirect3DSurface9* depth = nullptr;
    device_->GetDepthStencilSurface(&depth);
    IDirect3DSurface9* level = nullptr;
    static_cast<IDirect3DTexture9*>(shadow->GetBinding().GetHandle())->GetSurfaceLevel(0, &level);
    EXPECT_EQ(depth, level);
    ReleaseCom(level);
    ReleaseCom(depth);
    renderer_->SetDepthRenderTarget(nullptr, 0, 0.0f);
    EXPECT_EQ(RenderState(D3DRS_DEPTHBIAS), 0u);
    EXPECT_EQ(RenderState(D3DRS_SLOPESCALEDEPTHBIAS), 0u);
    EXPECT_EQ(RenderState(D3DRS_COLORWRITEENABLE), 0xFu);
    EXPECT_EQ(renderer_->GetRenderTargetDepth(), 0);
}

// Buffers.

TEST_F(D3D9RendererTest, IndexWidthFollowsMaxVertexIndex) {
    struct Row {
        DWORD maxVertexIndex;
        D3DFORMAT format;
        UINT size;
    };
    for (const Row& row : {Row{0xFFFFFF, D3DFMT_INDEX32, 8}, Row{0x10000, D3DFMT_INDEX16, 4}}) {
        renderer_->SetMaxVertexIndex(row.maxVertexIndex);
        Pointer<IntBuffer> indices = new IntBuffer(2, nullptr);
        (*indices)[0] = 3;
        (*indices)[1] = 70000;
        renderer_->SetIndexBuffer(indices);
        auto* handle = static_cast<IDirect3DIndexBuffer9*>(indices->GetBinding().GetHandle());
        ASSERT_NE(handle, nullptr);
        D3DINDEXBUFFER_DESC desc{};
        handle->GetDesc(&desc);
        EXPECT_EQ(desc.Format, row.format);
        EXPECT_EQ(desc.Size, row.size);
        EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
        void* data = nullptr;
        ASSERT_EQ(handle->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
        if (row.format == D3DFMT_INDEX16)
            EXPECT_EQ(static_cast<const uint16_t*>(data)[1], 70000 & 0xFFFF);
        else
            EXPECT_EQ(static_cast<const uint32_t*>(data)[1], 70000u);
        handle->Unlock();
    }
}

TEST_F(D3D9RendererTest, ColoursPackWithoutHardwareVertexProcessing) {
    struct Row {
        bool hardware;
        UINT size;
    };
    for (const Row& row : {Row{true, 32}, Row{false, 8}}) {
        renderer_->SetHardwareVertexProcessing(row.hardware);
        Pointer<ColorBuffer> colors = new ColorBuffer(2, nullptr);
        (*colors)[0] = ColorRGBA{1.0f, 0.5f, 0.0f, 1.0f};
        (*colors)[1] = ColorRGBA{0.0f, 0.0f, 1.0f, 0.25f};
        renderer_->SetColorBuffer(colors);
        auto* handle = static_cast<IDirect3DVertexBuffer9*>(colors->GetBinding().GetHandle());
        ASSERT_NE(handle, nullptr);
        D3DVERTEXBUFFER_DESC desc{};
        handle->GetDesc(&desc);
        EXPECT_EQ(desc.Size, row.size);
        EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
        void* data = nullptr;
        ASSERT_EQ(handle->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
        if (row.hardware) {
            EXPECT_EQ(static_cast<const float*>(data)[1], 0.5f);
        } else {
            EXPECT_EQ(static_cast<const DWORD*>(data)[0], 0xFFFF7F00u);
            EXPECT_EQ(static_cast<const DWORD*>(data)[1], 0x3F0000FFu);
        }
        handle->Unlock();
    }
}

// Queries and release.

// End does not wait: the count is taken at a later Begin, once the device
// has it.
TEST_F(D3D9RendererTest, OcclusionQueryCountsNothingWhenNothingIsDrawn) {
    Pointer<OcclusionQuery> query = new OcclusionQuery();
    query->SetVisiblePixels(-1);
    for (int frame = 0; frame < 200 && query->GetVisiblePixels() == -1; ++frame) {
        ASSERT_EQ(renderer_->BeginScene(), 0);
        renderer_->BeginOcclusionQuery(query);
        renderer_->EndOcclusionQuery(query);
        renderer_->EndScene();
        if (frame == 0) {
            EXPECT_EQ(query->GetVisiblePixels(), -1);
        }
        Sleep(5);
    }
    EXPECT_NE(query->GetBinding().GetHandle(), nullptr);
    EXPECT_EQ(query->GetVisiblePixels(), 0);
}

TEST_F(D3D9RendererTest, DestroyDeviceReleasesEveryDeviceObject) {
    Pointer<Texture> texture = new Texture(SolidImage(8, 8, 1, 2, 3), String("plain"));
    Pointer<Texture> target = new Texture(SolidImage(8, 8, 1, 2, 3), String("target"));
    Pointer<IntBuffer> indices = new IntBuffer(3, nullptr);
    Pointer<Vector3Buffer> positions = new Vector3Buffer(3, nullptr);
    Pointer<OcclusionQuery> query = new OcclusionQuery();
    renderer_->SetTexture(texture, 0);
    renderer_->SetRenderTarget(target);
    renderer_->SetIndexBuffer(indices);
    renderer_->SetPositionBuffer(positions);
    renderer_->BeginOcclusionQuery(query);
    renderer_->EndOcclusionQuery(query);
    EXPECT_EQ(renderer_->GetResourceCount(), 5);

    // Released one by one, an object leaves the map.
    renderer_->ReleaseBuffer(positions);
    EXPECT_EQ(positions->GetBinding().GetHandle(), nullptr);
    EXPECT_EQ(renderer_->GetResourceCount(), 4);

    IDirect3DDevice9* device = device_;
    device->AddRef();
    EXPECT_EQ(renderer_->DestroyDevice(), 0);
    EXPECT_EQ(renderer_->GetResourceCount(), 0);
    EXPECT_EQ(renderer_->GetRenderTargetDepth(), 0);
    for (RendererBinding* binding : {&texture->GetBinding(), &target->GetBinding(), &indices->GetBinding(),
                                     &query->GetBinding()}) {
        EXPECT_EQ(binding->GetHandle(), nullptr);
        EXPECT_EQ(binding->GetHolder(), nullptr);
        EXPECT_TRUE(binding->IsDirty());
    }
    // Every resource holds its device: the device going with our reference
    // means none is left.
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace
}  // namespace zel
