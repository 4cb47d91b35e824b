// The abstract renderer: every drawing request of the engine goes through
// these operations, implemented by exactly one device renderer. Besides the
// device operations (pure virtual, in their fixed order) it keeps the frame
// state every renderer shares: the display-mode list, the render window, the
// capabilities, the current camera, geometry node and pass, the light stack,
// the pre-render queue and the deferred lists. The engine-wide current
// renderer is one counted reference.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"
#include "engine/core/DeviceHolder.h"
#include "engine/core/RendererBinding.h"
#include "engine/core/String.h"
#include "engine/render/DisplayModeEntry.h"
#include "engine/render/RendererCapabilities.h"
#include "engine/math/Color.h"

namespace zel {

class BaseTexture;
class Buffer;
class Camera;
class ColorBuffer;
class CubeTexture;
class FloatBuffer;
class GeometryNode;
class Image;
class IntBuffer;
class Light;
class Module;
class OcclusionQuery;
class Pass;
class PostUpdateController;
class Shader;
class Texture;
class Vector3Buffer;
class Vector4Buffer;
struct Matrix4;
struct Vector3;

class Renderer : public DeviceHolder {
public:
    // Clear flags.
    static constexpr int32_t kClearColor = 1;
    static constexpr int32_t kClearDepth = 2;
    static constexpr int32_t kClearStencil = 4;

    Renderer();
    // Destroys a render window that is still open (without the device:
    // derived destructors call CloseWindow first, while DestroyDevice still
    // reaches them) and drops every held reference.
    ~Renderer() override;

    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Device operations, in their fixed order.

    // Creates the device for display mode `modeIndex` on the render window;
    // x, y, width, height are used for windowed modes only. 0 ok, 1 failed.
    [[nodiscard]] virtual int32_t CreateDevice(int32_t modeIndex, const char* title, void* parentWindow, int32_t x, int32_t y,
                                 int32_t width, int32_t height) = 0;
    // Releases every device object, then the device. 0.
    virtual int32_t DestroyDevice() = 0;
    // Free the object's device copy and clear its binding.
    void ReleaseBuffer(Buffer* buffer) override = 0;
    virtual void ReleaseTexture(BaseTexture* texture) = 0;
    virtual void ReleaseShader(Shader* shader) = 0;
    virtual void ReleasePass(Pass* pass) = 0;
    virtual void ReleaseOcclusionQuery(OcclusionQuery* query) = 0;
    virtual void BeginOcclusionQuery(OcclusionQuery* query) = 0;
    virtual void EndOcclusionQuery(OcclusionQuery* query) = 0;
    // Null unbinds the stage.
    virtual void SetTexture(BaseTexture* texture, int32_t stage) = 0;
    virtual void SetVertexShader(Shader* shader) = 0;
    // count: number of 4-float registers.
    virtual void SetVertexShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) = 0;
    virtual void SetPixelShader(Shader* shader) = 0;
    virtual void SetPixelShaderConstants(int32_t firstRegister, const float* data, int32_t registerCount) = 0;
    // Stream setters: call them in the same order on every draw of a pass.
    virtual void SetTexCoordBuffer(Buffer* buffer, uint8_t set) = 0;
    virtual void SetColorBuffer(ColorBuffer* buffer) = 0;
    virtual void SetPositionBuffer(Buffer* buffer) = 0;
    virtual void SetPointSizeBuffer(FloatBuffer* buffer) = 0;
    virtual void SetNormalBuffer(Vector3Buffer* buffer) = 0;
    virtual void SetBlendWeightBuffer(Vector4Buffer* buffer) = 0;
    virtual void SetBlendIndexBuffer(Vector4Buffer* buffer) = 0;
    virtual void SetIndexBuffer(IntBuffer* buffer) = 0;
    virtual void BeginPass(Pass* pass) = 0;
    // Draws the current geometry node with the bound streams and indices.
    virtual void DrawIndexed() = 0;
    virtual void DrawIndexedStreams(Buffer* positions, IntBuffer* indices, Buffer* stream2, Buffer* stream3,
                                    Buffer* texCoords) = 0;
    virtual void DrawUnindexed(int32_t primitiveCount) = 0;
    // flags: kClearColor | kClearDepth | kClearStencil. Clearing the colour
    // stores it as the clear colour (SetClearColor).
    virtual void Clear(int32_t flags, const ColorRGBA& color, float depth, uint32_t stencil) = 0;
    // 0: the frame may be drawn; 1: the device was lost.
    virtual int32_t BeginScene() = 0;
    // Ends the frame and presents it.
    virtual void EndScene() = 0;
    virtual void GetWorldMatrix(Matrix4& matrix) = 0;
    virtual void SetWorldMatrix(const Matrix4& matrix) = 0;
    virtual void GetViewMatrix(Matrix4& matrix) = 0;
    virtual void SetViewMatrix(const Matrix4& matrix) = 0;
    virtual void GetProjectionMatrix(Matrix4& matrix) = 0;
    virtual void SetProjectionMatrix(const Matrix4& matrix) = 0;
    virtual void GetTextureMatrix(Matrix4& matrix, int32_t stage) = 0;
    virtual void SetTextureMatrix(int32_t stage, const Matrix4& matrix) = 0;
    // Enables `light` at index GetLightCount() − 1: push it first.
    virtual void EnableLight(Light* light) = 0;
    // Disables the light at index GetLightCount(): pop first.
    virtual void DisableLight() = 0;
    // Render targets form a stack: an object pushes, null pops.
    virtual void SetCubeRenderTarget(int32_t face, CubeTexture* texture) = 0;
    virtual void SetRenderTarget(Texture* texture) = 0;
    virtual void SetDepthRenderTarget(Texture* texture, int32_t depthBias, float slopeScaleBias) = 0;
    virtual int32_t GetViewportWidth() = 0;
    virtual int32_t GetViewportHeight() = 0;
    virtual void SetViewport(float x, float y, float width, float height) = 0;
    virtual void SetGamma(int32_t level) = 0;

    // A copy of the frame drawn so far (the back buffer) as an RGB image,
    // top row first, for saving frames. kOk; kFailed when there is no
    // device, the buffer cannot be read or its format is not a 32-bit one
    // (the base renderer has no buffer to read); kOutOfMemory.
    virtual int32_t ReadBackBuffer(Image& image);

    // Window and frame.

    // Closes an open window first (1 and "Закрытие окна неудачно." when
    // that fails); 3 for a mode index outside the list; 1 and "Создание окна
    // неудачно." when the system window cannot be created (also when no
    // window system is installed); else the result of CreateDevice.
    int32_t OpenWindow(int32_t modeIndex, const char* title, void* parentWindow, int32_t x, int32_t y,
                       int32_t width, int32_t height);
    // Drops the camera and the current geometry node and pass, destroys the
    // device (1 when that fails), then closes the window: 3 when none is
    // open, 1 when closing fails, else 0.
    int32_t CloseWindow();
    bool IsWindowOpen() const { return windowOpen_; }
    // The render window's handle; null when closed (or for a child window).
    void* GetWindow() const { return window_; }

    // Makes `camera` current (null allowed) and resets its plane mask, so
    // every frustum plane is tested again.
    void SetCamera(Camera* camera);
    Camera* GetCamera() const { return camera_; }

    // Starts a frame: makes a default camera current if there is none,
    // updates the camera, calls BeginScene, renders and empties the
    // pre-render queue (also when the device is lost) and hands the camera
    // to the sound listener. Returns the BeginScene result (2 when the
    // default camera cannot be allocated).
    int32_t BeginFrame();
    // Counts the frames begun; it tells a node drawn in several passes of
    // one frame (a reflection and the screen) which of them it is in.
    uint32_t GetFrameNumber() const { return frameNumber_; }
    // Queues `controller` to render at the next BeginFrame; an object already
    // queued (or null) is ignored.
    void QueuePreRender(PostUpdateController* controller);
    int32_t GetPreRenderCount() const { return preRender_.Count(); }
    // Draws `node` at the next FlushDeferred, in decreasing order of key.
    void AddDeferred(GeometryNode* node, float key);
    // Draws `node` at the next FlushDeferred, after the sorted ones, in
    // insertion order.
    void AddUnsortedDeferred(GeometryNode* node);
    int32_t GetDeferredCount() const { return sortedDeferred_.Count() + unsortedDeferred_.Count(); }
    // Draws the sorted deferred nodes farthest first, then the unsorted ones,
    // emptying both lists. Nodes deferred while flushing wait for the next
    // flush.
    void FlushDeferred();
    // FlushDeferred, drops the current geometry node and pass, EndScene.
    void EndFrame();

    // The node being drawn: its primitive type and index count decide the
    // draw call. Counted; dropped at EndFrame.
    void SetCurrentGeometry(GeometryNode* node);
    GeometryNode* GetCurrentGeometry() const { return currentGeometry_; }
    // The pass being drawn. Not owning: its technique holds it while it is
    // drawn; cleared at EndFrame.
    void SetCurrentPass(Pass* pass) { currentPass_ = pass; }
    Pass* GetCurrentPass() const { return currentPass_; }

    // The light stack; its count is the number of lights passes enabled.
    int32_t PushLight(Light* light);
    // Drops the top light (nothing when empty). The caller then calls
    // DisableLight.
    void PopLight();
    int32_t GetLightCount() const { return lights_.Count(); }
    Light* GetLight(int32_t index) const;
    // Pops every light, calling DisableLight after each pop.
    void EmptyLightStack();

    bool IsFilmFrame() const { return filmFrame_; }
    void SetFilmFrame(bool on) { filmFrame_ = on; }
    bool IsMirrored() const { return mirror_; }
    void SetMirrored(bool on) { mirror_ = on; }
    const ColorRGBA& GetClearColor() const { return clearColor_; }

    int32_t GetDisplayModeCount() const { return displayModes_.Count(); }
    // Null for an index outside the list.
    const DisplayModeEntry* GetDisplayMode(int32_t index) const;
    // The entry matching the desktop's mode, or −1.
    int32_t GetDefaultModeIndex() const { return defaultModeIndex_; }

    int32_t GetX() const { return x_; }
    int32_t GetY() const { return y_; }
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    bool IsFullScreen() const { return fullScreen_; }
    int32_t GetColorBits() const { return colorBits_; }
    int32_t GetAlphaBits() const { return alphaBits_; }
    int32_t GetDepthBits() const { return depthBits_; }
    int32_t GetStencilBits() const { return stencilBits_; }
    int32_t GetMultisampleIndex() const { return multisampleIndex_; }

    const RendererCapabilities& GetCapabilities() const { return capabilities_; }
    const String& GetVendor() const { return vendor_; }
    const String& GetDriver() const { return driver_; }

    // The module that created the renderer, kept loaded while it lives.
    Module* GetModule() const;
    void SetModule(Module* module);

protected:
    // For the device renderer.
    [[nodiscard]] int32_t AddDisplayMode(const DisplayModeEntry& entry) { return displayModes_.Append(entry); }
    void SetDefaultModeIndex(int32_t index) { defaultModeIndex_ = index; }
    // Copies the entry's bit counts and flag; x, y, width, height given apart
    // (windowed entries take the size asked for).
    void SetFrameFormat(const DisplayModeEntry& entry, int32_t x, int32_t y, int32_t width, int32_t height);
    // Width and height change when render targets are pushed or popped.
    void SetFrameSize(int32_t width, int32_t height) {
        width_ = width;
        height_ = height;
    }
    RendererCapabilities& MutableCapabilities() { return capabilities_; }
    void SetAdapterTexts(const String& vendor, const String& driver) {
        vendor_ = vendor;
        driver_ = driver;
    }
    void SetClearColor(const ColorRGBA& color) { clearColor_ = color; }

private:
    struct DeferredNode;

    void RenderPreRenderQueue();

    bool filmFrame_ = false;
    uint32_t frameNumber_ = 0;
    Pointer<Module> module_;
    GrowableArray<DisplayModeEntry> displayModes_{16, 16};
    int32_t defaultModeIndex_ = -1;
    bool windowOpen_ = false;
    void* window_ = nullptr;  // the system's handle; the window system owns the window
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool fullScreen_ = false;
    int32_t colorBits_ = 0;
    int32_t alphaBits_ = 0;
    int32_t depthBits_ = 0;
    int32_t stencilBits_ = 0;
    int32_t multisampleIndex_ = 0;
    String vendor_;
    String driver_;
    RendererCapabilities capabilities_;
    Pointer<Camera> camera_;
    Pointer<GeometryNode> currentGeometry_;
    Pass* currentPass_ = nullptr;
    ColorRGBA clearColor_;
    bool mirror_ = false;
    GrowableArray<Pointer<Light>> lights_{8, 8};
    GrowableArray<Pointer<PostUpdateController>> preRender_{4, 4};
    GrowableArray<DeferredNode> sortedDeferred_{16, 64};
    GrowableArray<Pointer<GeometryNode>> unsortedDeferred_{4, 16};
    // What a flush or the pre-render queue is working through, one set per
    // nesting level (render targets flush inside a flush), kept between
    // frames so that a frame allocates nothing.
    static constexpr int32_t kFlushLevels = 4;
    GrowableArray<DeferredNode> flushingSorted_[kFlushLevels];
    GrowableArray<Pointer<GeometryNode>> flushingUnsorted_[kFlushLevels];
    int32_t flushLevel_ = 0;
    GrowableArray<Pointer<PostUpdateController>> preRendering_;
    bool preRenderingBusy_ = false;
};

// The engine-wide current renderer, or null. It is dropped (after its
// camera) when the engine terminates.
Renderer* GetCurrentRenderer();
void SetCurrentRenderer(Renderer* renderer);
// Registers, once, the termination function that drops the current renderer
// (after its camera, which may hold the scene).
void RegisterRendererTermination();

// The renderer holding the binding's device object, or null. Bindings hold
// renderers as their DeviceHolder base.
inline Renderer* BoundRenderer(const RendererBinding& binding) {
    return static_cast<Renderer*>(binding.GetHolder());
}

// A renderer module's "CreateRenderer" entry point: stores a new renderer
// (no reference taken yet) in *renderer; 0 ok, nonzero failed.
using CreateRendererFunction = int32_t (*)(Renderer** renderer);

// Loads the module `name`, creates a renderer through its "CreateRenderer"
// and makes it current, holding the module. 0 ok; 3 when the module or its
// entry point is missing; 1 when creation fails. Failures are logged.
int32_t LoadRenderer(const String& name);

// Where the camera's position, viewing direction and up vector go at every
// BeginFrame: the sound manager installs its listener update here. Null (the
// default) does nothing.
using SoundListenerHook = void (*)(const Vector3& position, const Vector3& direction, const Vector3& up);
void SetSoundListenerHook(SoundListenerHook hook);
SoundListenerHook GetSoundListenerHook();

}  // namespace zel
