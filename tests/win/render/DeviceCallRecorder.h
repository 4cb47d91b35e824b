// Records the calls made on a Direct3D 9 device (and on the state blocks it
// records) with their arguments, forwarding each to the real device. The
// device's table of methods is swapped for a copy whose entries record
// first, so the renderer under test talks to the same object as always.
// One recorder at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::test {

struct DeviceCall {
    std::string name;
    uint32_t args[6] = {};
};

class DeviceCallRecorder {
public:
    // `device` is an IDirect3DDevice9*.
    explicit DeviceCallRecorder(void* device);
    // Gives the device its own table back.
    ~DeviceCallRecorder();
    DeviceCallRecorder(const DeviceCallRecorder&) = delete;
    DeviceCallRecorder& operator=(const DeviceCallRecorder&) = delete;

    const std::vector<DeviceCall>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }
    int Count(const std::string& name) const;
    // The calls named `name`, in order.
    std::vector<DeviceCall> Named(const std::string& name) const;
    // The last value set for a render state, texture-stage or sampler
    // state, or −1 when it was not set.
    int64_t LastRenderState(uint32_t state) const;
    int64_t LastStageState(uint32_t stage, uint32_t state) const;
    int64_t LastSamplerState(uint32_t stage, uint32_t state) const;

    // The last material and light (as raw D3DMATERIAL9 / D3DLIGHT9 floats)
    // and gamma ramp entries (red channel) passed.
    std::vector<float> lastMaterial;
    std::vector<float> lastLight;
    std::vector<uint16_t> lastGammaRed;
    // Answered by TestCooperativeLevel instead of the device when not 0;
    // Reset then records the call and answers resetAnswer.
    int32_t cooperativeLevel = 0;
    int32_t resetAnswer = 0;
    // CreateTexture of this format (a D3DFORMAT; 0 none) is refused, as a
    // driver refuses a format it lacks.
    uint32_t refusedTextureFormat = 0;
    // What the device's last Release returned.
    uint32_t lastDeviceRelease = 0xFFFFFFFF;

    // For the hooks.
    void Add(const char* name, std::initializer_list<uint32_t> args);

private:
    void* device_;
    const void* originalTable_;
    std::vector<DeviceCall> calls_;
};

}  // namespace zel::test

namespace zel::test {

// Answers the renderer's questions about the device differently from
// Wine's: capability values, whether hardware vertex processing, queries
// and depth textures exist. Zero or false keeps the device's answer.
struct DeviceAnswers {
    bool refuseHardwareVertexProcessing = false;
    float maxPointSize = 0.0f;
    uint32_t maxVertexIndex = 0;
    uint32_t vertexShaderVersion = 0;
    uint32_t pixelShaderVersion = 0;
    bool noQueries = false;
    bool noDepthTextures = false;
};

// Makes `direct3d` (an IDirect3D9*) and the devices it creates from now on
// answer with `answers`, which must outlive them.
void AnswerWith(void* direct3d, const DeviceAnswers* answers);

}  // namespace zel::test
