// The Direct3D 9 renderer: owns the IDirect3D9 interface and one device,
// lists the usable display configurations, creates the device and logs its
// capabilities, turns engine objects into device objects on first use
// (cached in their bindings and in the resource map, so all of them can be
// released at once) and keeps the render-target stack. Each resource kind
// has its own source file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/core/HashTable.h"
#include "engine/render/Renderer.h"
#include "engine/render/d3d9/D3D9.h"

namespace zel {

class Image;
class Object;
class RenderStateBlock;
class VolumeImage;
class VolumeTexture;

// The device format of an image pixel format (16-bit float RGBA included);
// unknown for the formats without one.
D3DFORMAT DeviceFormatOf(int32_t imageFormat);

class D3D9Renderer : public Renderer {
public:
    // The SDK version the renderer is written against (the headers here
    // carry a newer one).
    static constexpr UINT kSdkVersion = 31;
    // Texture stages emptied when the device objects are released.
    static constexpr DWORD kSamplerStages = 16;
    // The longest EndScene waits for the device to finish the last frame.
    static constexpr DWORD kFrameWaitMilliseconds = 1000;

    // Creates the IDirect3D9 interface (logged when it cannot be) and lists
    // the display modes.
    D3D9Renderer();
    // Takes over `direct3d` (one reference), for tests that wrap it; null
    // behaves as a failed creation.
    explicit D3D9Renderer(IDirect3D9* direct3d);
    // Closes a still-open window (device first), releases the interface.
    ~D3D9Renderer() override;

    [[nodiscard]] int32_t CreateDevice(int32_t modeIndex, const char* title, void* parentWindow, int32_t x, int32_t y,
                         int32_t width, int32_t height) override;
    int32_t DestroyDevice() override;
    void ReleaseBuffer(Buffer* buffer) override;
    void ReleaseTexture(BaseTexture* texture) override;
    void ReleaseShader(Shader* shader) override;
    void ReleasePass(Pass* pass) override;
    void ReleaseOcclusionQuery(OcclusionQuery* query) override;
    void BeginOcclusionQuery(OcclusionQuery* query) override;
    void EndOcclusionQuery(OcclusionQuery* query) override;
    void SetTexture(BaseTexture* texture, int32_t stage) override;
    void SetVertexShader(Shader* shader) override;
    void SetVertexShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) override;
    void SetPixelShader(Shader* shader) override;
    void SetPixelShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) override;
    void SetTexCoordBuffer(Buffer* buffer, uint8_t set) override;
    void SetColorBuffer(ColorBuffer* buffer) override;
    void SetPositionBuffer(Buffer* buffer) override;
    void SetPointSizeBuffer(FloatBuffer* buffer) override;
    void SetNormalBuffer(Vector3Buffer* buffer) override;
    void SetBlendWeightBuffer(Vector4Buffer* buffer) override;
    void SetBlendIndexBuffer(Vector4Buffer* buffer) override;
    void SetIndexBuffer(IntBuffer* buffer) override;
    void BeginPass(Pass* pass) override;
    void DrawIndexed() override;
    void DrawIndexedStreams(Buffer* positions, IntBuffer* indices, Buffer* stream2, Buffer* stream3,
                            Buffer* texCoords) override;
    void DrawUnindexed(int32_t primitiveCount) override;
    void Clear(int32_t flags, const ColorRGBA& color, float depth, uint32_t stencil) override;
    int32_t BeginScene() override;
    void EndScene() override;
    void GetWorldMatrix(Matrix4& matrix) override;
    void SetWorldMatrix(const Matrix4& matrix) override;
    void GetViewMatrix(Matrix4& matrix) override;
    void SetViewMatrix(const Matrix4& matrix) override;
    void GetProjectionMatrix(Matrix4& matrix) override;
    void SetProjectionMatrix(const Matrix4& matrix) override;
    void GetTextureMatrix(Matrix4& matrix, int32_t stage) override;
    void SetTextureMatrix(int32_t stage, const Matrix4& matrix) override;
    void EnableLight(Light* light) override;
    void DisableLight() override;
    void SetCubeRenderTarget(int32_t face, CubeTexture* texture) override;
    void SetRenderTarget(Texture* texture) override;
    void SetDepthRenderTarget(Texture* texture, int32_t depthBias, float slopeScaleBias) override;
    int32_t GetViewportWidth() override;
    int32_t GetViewportHeight() override;
    void SetViewport(float x, float y, float width, float height) override;
    void SetGamma(int32_t level) override;
    // The back buffer as an image (D3D9ReadBack.cpp).
    int32_t ReadBackBuffer(Image& image) override;

    // Releases the block's recorded device state block, clears its binding
    // and removes it from the resource map.
    void ReleaseRenderStateBlock(RenderStateBlock* block);
    // Applies the block's recording, or starts recording the current pass
    // with the block's states translated into device states
    // (D3D9RenderStates.cpp).
    void ApplyRenderStateBlock(RenderStateBlock* block);

    // Not owning; null without an interface or a device.
    IDirect3D9* GetDirect3D() const { return direct3d_; }
    IDirect3DDevice9* GetDevice() const { return device_; }
    const D3DPRESENT_PARAMETERS& GetPresentParameters() const { return present_; }
    bool HasHardwareVertexProcessing() const { return hardwareVertexProcessing_; }
    // The caps' MaxVertexIndex; above 0x10000 indices travel as 32 bits.
    DWORD GetMaxVertexIndex() const { return maxVertexIndex_; }
    // Tests force the paths this device does not take: 16-bit indices,
    // packed colours.
    void SetMaxVertexIndex(DWORD index) { maxVertexIndex_ = index; }
    void SetHardwareVertexProcessing(bool on) { hardwareVertexProcessing_ = on; }
    // Tests describe other devices: shader levels, point sprites, queries.
    void OverrideCapabilities(const RendererCapabilities& capabilities) { MutableCapabilities() = capabilities; }
    // True between a pass's BeginPass and the draw that ends its recording.
    bool IsRecordingPass() const { return recording_; }
    // Engine objects with a device object not yet released, or one the
    // device refused.
    int32_t GetResourceCount() const { return resources_.Count(); }
    int32_t GetRenderTargetDepth() const { return targets_.Count(); }

private:
    // A binding's spare word: why it holds no device object. A program
    // that does not assemble stays so until its text changes; a refusal
    // lasts until the device is reset.
    static constexpr uint32_t kAssemblyFailed = 1;
    static constexpr uint32_t kDeviceRefused = 2;
    // A query's spare word: counting (between Begin and End), or ended and
    // its count not yet taken.
    static constexpr uint32_t kQueryOpen = 3;
    static constexpr uint32_t kQueryIssued = 4;
    // A buffer's spare word: its device buffer is dynamic.
    static constexpr uint32_t kDynamicBuffer = 5;

    struct TargetEntry {
        Object* target = nullptr;  // not owning: the caller pops before dropping it
        IDirect3DSurface9* savedColor = nullptr;
        IDirect3DSurface9* savedDepth = nullptr;
    };

    // Display modes (D3D9Modes.cpp).
    void EnumerateDisplayModes();
    void CollectAdapterModes();
    void AddModeEntries(bool fullScreen);
    void AddModeEntriesFor(D3DFORMAT adapterFormat, D3DFORMAT backBuffer, D3DFORMAT depth, uint32_t multisample,
                           bool fullScreen);

    // Device (D3D9Device.cpp).
    [[nodiscard]] bool CreateDeviceWith(DWORD vertexProcessing);
    void LogFrameFormat();
    void ReadAdapterTexts();
    void ReadCapabilities();
    void ReadShaderLevels(const D3DCAPS9& caps);
    void ReadFormatSupport(const D3DCAPS9& caps);
    bool DeviceFormatSupported(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format, bool* noAutogen = nullptr);
    // Releases every cached object and the kept surfaces, then resets the
    // device with the kept presentation parameters and sets again the states
    // a reset loses. False when it stays lost.
    bool ResetDevice();
    // The device states set once rather than every frame: the gamma ramp
    // (when one was set) and lighting and specular off.
    void RestoreDeviceStates();
    void ApplyGammaRamp();

    // Resource map (D3D9Resources.cpp).
    void Remember(Object* owner, RendererBinding& binding, IUnknown* handle);
    // Marks an object whose device object the device refused (a format, a
    // program it does not take): it is entered in the map without a handle,
    // so it is not made (and logged) again on every bind, only after the
    // next reset or loss of the device, which clears every binding.
    void Refuse(Object* owner, RendererBinding& binding);
    static bool IsRefused(const RendererBinding& binding) {
        return binding.GetHandle() == nullptr && binding.GetSpare() == kDeviceRefused;
    }
    void Forget(Object* owner, RendererBinding& binding);
    void ReleaseAll();

    // Textures (D3D9Textures.cpp).
    IDirect3DBaseTexture9* PrepareTexture(BaseTexture* texture);
    [[nodiscard]] IDirect3DBaseTexture9* CreatePlainTexture(Texture* texture);
    [[nodiscard]] IDirect3DBaseTexture9* CreateCubeTexture(CubeTexture* texture);
    [[nodiscard]] IDirect3DBaseTexture9* CreateVolumeTexture(VolumeTexture* texture);
    // Refuse for a texture; null.
    IDirect3DBaseTexture9* RefusedTexture(BaseTexture* texture);
    bool UploadTexture(BaseTexture* texture, IDirect3DBaseTexture9* handle);
    bool UploadCube(CubeTexture* texture, IDirect3DCubeTexture9* handle);
    bool IsTargetOnStack(const Object* object) const;
    // Fills the levels below 0 from level 0 (D3D9MipLevels.cpp).
    void FilterMipLevels(IDirect3DBaseTexture9* texture);

    // Render targets (D3D9RenderTargets.cpp).
    // True when level 0 was made as a colour or depth target.
    static bool IsRenderTargetTexture(IDirect3DTexture9* texture, DWORD usage = D3DUSAGE_RENDERTARGET |
                                                                                D3DUSAGE_DEPTHSTENCIL);
    IDirect3DTexture9* TargetTexture(Texture* texture, DWORD usage, D3DFORMAT format);
    IDirect3DCubeTexture9* CubeTargetTexture(CubeTexture* texture);
    // Refuse for a target whose creation failed; null.
    std::nullptr_t RefusedTarget(BaseTexture* texture, D3DFORMAT format);
    bool AttachDepthSurface(IDirect3DResource9* texture, UINT width, UINT height);
    IDirect3DSurface9* AttachedDepthSurface(IDirect3DResource9* texture);
    bool PushTarget(Object* target, IDirect3DSurface9* color, IDirect3DSurface9* depth);
    void PopTarget();
    void SetTargetViewport(UINT width, UINT height);

    // Buffers (D3D9Buffers.cpp).
    // The device buffer, made or uploaded as needed; `remade` (when given)
    // is set when a device buffer was made by this call.
    IDirect3DVertexBuffer9* PrepareVertexBuffer(Buffer* buffer, bool packColors, bool* remade = nullptr);
    IDirect3DIndexBuffer9* PrepareIndexBuffer(IntBuffer* buffer, bool* remade = nullptr);
    void RebindForReplay(WORD stream, IDirect3DVertexBuffer9* handle, UINT stride);
    bool UploadVertices(Buffer* buffer, IDirect3DVertexBuffer9* handle, bool packColors);
    bool UploadIndices(IntBuffer* buffer, IDirect3DIndexBuffer9* handle);
    // True when a dirty buffer's device buffer (of `size` bytes, 0 for none)
    // must be remade as a dynamic one of `bytes`; the old one is released.
    bool NeedsDynamicBuffer(Buffer* buffer, UINT size, UINT bytes);
    static UINT DeviceBufferSize(IDirect3DVertexBuffer9* handle);
    static UINT DeviceBufferSize(IDirect3DIndexBuffer9* handle);
    template <class Handle, class Create>
    Handle* MakeDeviceBuffer(Buffer* buffer, Handle* handle, UINT bytes, bool* remade, const char* what,
                             Create create);
    static DWORD LockFlags(Buffer* buffer);

    // Shaders (D3D9Shaders.cpp).
    IUnknown* PrepareShader(Shader* shader);

    // Pass recording and draws (D3D9Passes.cpp).
    // Appends one vertex element for `buffer` on the next stream while a
    // pass is recorded; otherwise only re-uploads the buffer when dirty.
    void AddStream(Buffer* buffer, D3DDECLTYPE type, D3DDECLUSAGE usage, BYTE usageIndex, UINT stride,
                   bool packColors = false);
    // Ends an open recording: the state block and the vertex declaration go
    // to the pass's bindings and the state block is applied. False when the
    // pass has no declaration to draw with.
    bool FinishRecording();
    // Ends an open recording whose pass never drew, dropping what it holds.
    void AbandonRecording();
    // FinishRecording, the declaration and the mirror culling: false when
    // the draw must be skipped.
    bool PrepareDraw();
    void ApplyMirrorCulling();
    int32_t CurrentPrimitiveKind() const;

    // Lights (D3D9Lights.cpp).
    void SetLightingEnabled(bool on);

    // Queries (D3D9Queries.cpp).
    IDirect3DQuery9* PrepareQuery(OcclusionQuery* query);
    // Takes the count of an ended query into it; false while the device
    // is still counting.
    bool CollectQuery(OcclusionQuery* query, IDirect3DQuery9* handle);
    // Frame pacing (D3D9Frame.cpp).
    void WaitForPreviousFrame();
    void MarkFrameEnd();

    void SetTransform(D3DTRANSFORMSTATETYPE state, const Matrix4& matrix);
    void GetTransform(D3DTRANSFORMSTATETYPE state, Matrix4& matrix);

    IDirect3D9* direct3d_ = nullptr;      // owned
    IDirect3DDevice9* device_ = nullptr;  // owned
    IDirect3DQuery9* frameEnd_ = nullptr;  // owned; the last presented frame's end
    bool frameEndRefused_ = false;          // the device has no event queries
    D3DPRESENT_PARAMETERS present_{};
    D3DFORMAT displayFormat_ = D3DFMT_UNKNOWN;  // the device mode's, for format probes
    // Engine object ID → its binding; every device object made for an
    // engine object, so that all of them can be released at once.
    HashTable<int32_t, RendererBinding*> resources_;
    GrowableArray<TargetEntry> targets_{4, 4};
    bool hardwareVertexProcessing_ = true;
    // The vertex layout of the pass being recorded, end marker excluded.
    static constexpr int32_t kMaxVertexElements = 255;
    D3DVERTEXELEMENT9 elements_[kMaxVertexElements + 1]{};
    int32_t elementCount_ = 0;
    WORD replayedStreams_ = 0;  // stream setters met while replaying a pass
    // The current pass's declaration (its binding owns it); null while the
    // pass is recorded.
    IDirect3DVertexDeclaration9* declaration_ = nullptr;
    bool recording_ = false;  // between BeginStateBlock and EndStateBlock
    DWORD maxVertexIndex_ = 0;  // from the caps; decides the index format
    // The level of the last SetGamma, given again to a reset device.
    bool gammaSet_ = false;
    int32_t gammaLevel_ = 0;

    // Display-mode enumeration: the distinct modes of the adapter formats,
    // sorted, and the adapter formats that had any.
    struct AdapterMode {
        UINT width, height;
        D3DFORMAT format;
    };
    GrowableArray<AdapterMode> adapterModes_{32, 32};
    GrowableArray<D3DFORMAT> adapterFormats_{4, 4};
    D3DDISPLAYMODE desktop_{};
};

}  // namespace zel
