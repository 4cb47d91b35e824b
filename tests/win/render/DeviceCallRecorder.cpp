// The C view of the Direct3D 9 interfaces gives their method tables as
// structs with named entries, which the recorder copies and patches.
#define CINTERFACE
#define COBJMACROS
#include <windows.h>

#include <d3d9.h>

#include <cstring>

#include "DeviceCallRecorder.h"

namespace zel::test {

namespace {

DeviceCallRecorder* recorder = nullptr;
const IDirect3DDevice9Vtbl* deviceMethods = nullptr;  // the device's own
IDirect3DDevice9Vtbl recordingDeviceMethods;
const IDirect3DStateBlock9Vtbl* blockMethods = nullptr;
IDirect3DStateBlock9Vtbl recordingBlockMethods;


uint32_t Word(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

// Calls made after the recorder is gone (by state blocks it patched) are
// forwarded only.
void Record(const char* name, std::initializer_list<uint32_t> args) {
    if (recorder != nullptr) recorder->Add(name, args);
}

template <class T>
std::vector<float> Floats(const T* value) {
    std::vector<float> floats(sizeof(T) / sizeof(float));
    std::memcpy(floats.data(), value, sizeof(T));
    return floats;
}

HRESULT STDMETHODCALLTYPE Apply(IDirect3DStateBlock9* block) {
    Record("Apply", {});
    return blockMethods->Apply(block);
}

ULONG STDMETHODCALLTYPE DeviceRelease(IDirect3DDevice9* device) {
    const ULONG count = deviceMethods->Release(device);
    if (recorder != nullptr) recorder->lastDeviceRelease = count;
    return count;
}

HRESULT STDMETHODCALLTYPE TestCooperativeLevel(IDirect3DDevice9* device) {
    if (recorder != nullptr && recorder->cooperativeLevel != 0) return recorder->cooperativeLevel;
    return deviceMethods->TestCooperativeLevel(device);
}

HRESULT STDMETHODCALLTYPE Reset(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters) {
    Record("Reset", {parameters->BackBufferWidth, parameters->BackBufferHeight});
    if (recorder != nullptr && recorder->resetAnswer != 0) return recorder->resetAnswer;
    return deviceMethods->Reset(device, parameters);
}

void STDMETHODCALLTYPE SetGammaRamp(IDirect3DDevice9* device, UINT swapChain, DWORD flags, const D3DGAMMARAMP* ramp) {
    Record("SetGammaRamp", {swapChain, flags});
    if (recorder != nullptr) recorder->lastGammaRed.assign(ramp->red, ramp->red + 256);
    deviceMethods->SetGammaRamp(device, swapChain, flags, ramp);
}

// Records (width, height, levels, usage, format, pool).
HRESULT STDMETHODCALLTYPE CreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT levels, DWORD usage,
                                        D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) {
    Record("CreateTexture", {width, height, levels, usage, static_cast<uint32_t>(format), static_cast<uint32_t>(pool)});
    if (recorder != nullptr && recorder->refusedTextureFormat != 0 &&
        static_cast<uint32_t>(format) == recorder->refusedTextureFormat)
        return D3DERR_NOTAVAILABLE;
    return deviceMethods->CreateTexture(device, width, height, levels, usage, format, pool, texture, shared);
}

HRESULT STDMETHODCALLTYPE SetRenderState(IDirect3DDevice9* device, D3DRENDERSTATETYPE state, DWORD value) {
    Record("SetRenderState", {static_cast<uint32_t>(state), value});
    return deviceMethods->SetRenderState(device, state, value);
}

HRESULT STDMETHODCALLTYPE SetTextureStageState(IDirect3DDevice9* device, DWORD stage,
                                               D3DTEXTURESTAGESTATETYPE state, DWORD value) {
    Record("SetTextureStageState", {stage, static_cast<uint32_t>(state), value});
    return deviceMethods->SetTextureStageState(device, stage, state, value);
}

HRESULT STDMETHODCALLTYPE SetSamplerState(IDirect3DDevice9* device, DWORD stage, D3DSAMPLERSTATETYPE state,
                                          DWORD value) {
    Record("SetSamplerState", {stage, static_cast<uint32_t>(state), value});
    return deviceMethods->SetSamplerState(device, stage, state, value);
}

HRESULT STDMETHODCALLTYPE SetMaterial(IDirect3DDevice9* device, const D3DMATERIAL9* material) {
    Record("SetMaterial", {});
    if (recorder != nullptr) recorder->lastMaterial = Floats(material);
    return deviceMethods->SetMaterial(device, material);
}

HRESULT STDMETHODCALLTYPE SetLight(IDirect3DDevice9* device, DWORD index, const D3DLIGHT9* light) {
    Record("SetLight", {index, static_cast<uint32_t>(light->Type)});
    if (recorder != nullptr) recorder->lastLight = Floats(light);
    return deviceMethods->SetLight(device, index, light);
}

HRESULT STDMETHODCALLTYPE LightEnable(IDirect3DDevice9* device, DWORD index, BOOL enable) {
    Record("LightEnable", {index, static_cast<uint32_t>(enable)});
    return deviceMethods->LightEnable(device, index, enable);
}

HRESULT STDMETHODCALLTYPE SetStreamSource(IDirect3DDevice9* device, UINT stream, IDirect3DVertexBuffer9* buffer,
                                          UINT offset, UINT stride) {
    Record("SetStreamSource", {stream, Word(buffer), offset, stride});
    return deviceMethods->SetStreamSource(device, stream, buffer, offset, stride);
}

HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DDevice9* device, IDirect3DIndexBuffer9* buffer) {
    Record("SetIndices", {Word(buffer)});
    return deviceMethods->SetIndices(device, buffer);
}

HRESULT STDMETHODCALLTYPE SetTexture(IDirect3DDevice9* device, DWORD stage, IDirect3DBaseTexture9* texture) {
    Record("SetTexture", {stage, Word(texture)});
    return deviceMethods->SetTexture(device, stage, texture);
}

HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DDevice9* device, IDirect3DVertexShader9* shader) {
    Record("SetVertexShader", {Word(shader)});
    return deviceMethods->SetVertexShader(device, shader);
}

HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DDevice9* device, IDirect3DPixelShader9* shader) {
    Record("SetPixelShader", {Word(shader)});
    return deviceMethods->SetPixelShader(device, shader);
}

HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DDevice9* device, IDirect3DVertexDeclaration9* declaration) {
    Record("SetVertexDeclaration", {Word(declaration)});
    return deviceMethods->SetVertexDeclaration(device, declaration);
}

// Records each element as (stream, type, usage, usage index).
HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(IDirect3DDevice9* device, const D3DVERTEXELEMENT9* elements,
                                                  IDirect3DVertexDeclaration9** declaration) {
    for (const D3DVERTEXELEMENT9* e = elements; e->Stream != 0xFF; ++e)
        Record("VertexElement", {e->Stream, e->Type, e->Usage, e->UsageIndex, e->Offset});
    Record("CreateVertexDeclaration", {});
    return deviceMethods->CreateVertexDeclaration(device, elements, declaration);
}

HRESULT STDMETHODCALLTYPE BeginStateBlock(IDirect3DDevice9* device) {
    Record("BeginStateBlock", {});
    return deviceMethods->BeginStateBlock(device);
}

HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DDevice9* device, IDirect3DStateBlock9** block) {
    Record("EndStateBlock", {});
    const HRESULT result = deviceMethods->EndStateBlock(device, block);
    if (SUCCEEDED(result) && *block != nullptr) {
        if (blockMethods == nullptr) {
            blockMethods = (*block)->lpVtbl;
            recordingBlockMethods = *blockMethods;
            recordingBlockMethods.Apply = Apply;
        }
        (*block)->lpVtbl = &recordingBlockMethods;
    }
    return result;
}

HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, INT base,
                                               UINT minIndex, UINT vertices, UINT start, UINT count) {
    Record("DrawIndexedPrimitive", {static_cast<uint32_t>(type), static_cast<uint32_t>(base), minIndex,
                                           vertices, start, count});
    return deviceMethods->DrawIndexedPrimitive(device, type, base, minIndex, vertices, start, count);
}

HRESULT STDMETHODCALLTYPE DrawPrimitive(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT start, UINT count) {
    Record("DrawPrimitive", {static_cast<uint32_t>(type), start, count});
    return deviceMethods->DrawPrimitive(device, type, start, count);
}

void Patch(IDirect3DDevice9Vtbl& table) {
    table.Release = DeviceRelease;
    table.TestCooperativeLevel = TestCooperativeLevel;
    table.Reset = Reset;
    table.SetGammaRamp = SetGammaRamp;
    table.CreateTexture = CreateTexture;
    table.SetRenderState = SetRenderState;
    table.SetTextureStageState = SetTextureStageState;
    table.SetSamplerState = SetSamplerState;
    table.SetMaterial = SetMaterial;
    table.SetLight = SetLight;
    table.LightEnable = LightEnable;
    table.SetStreamSource = SetStreamSource;
    table.SetIndices = SetIndices;
    table.SetTexture = SetTexture;
    table.SetVertexShader = SetVertexShader;
    table.SetPixelShader = SetPixelShader;
    table.SetVertexDeclaration = SetVertexDeclaration;
    table.CreateVertexDeclaration = CreateVertexDeclaration;
    table.BeginStateBlock = BeginStateBlock;
    table.EndStateBlock = EndStateBlock;
    table.DrawIndexedPrimitive = DrawIndexedPrimitive;
    table.DrawPrimitive = DrawPrimitive;
}

}  // namespace

DeviceCallRecorder::DeviceCallRecorder(void* device) : device_(device) {
    auto* d3dDevice = static_cast<IDirect3DDevice9*>(device);
    originalTable_ = d3dDevice->lpVtbl;
    deviceMethods = d3dDevice->lpVtbl;
    recordingDeviceMethods = *deviceMethods;
    Patch(recordingDeviceMethods);
    recorder = this;
    d3dDevice->lpVtbl = &recordingDeviceMethods;
}

// A device already released keeps no table to restore.
DeviceCallRecorder::~DeviceCallRecorder() {
    if (lastDeviceRelease != 0)
        static_cast<IDirect3DDevice9*>(device_)->lpVtbl =
            const_cast<IDirect3DDevice9Vtbl*>(static_cast<const IDirect3DDevice9Vtbl*>(originalTable_));
    recorder = nullptr;
}

void DeviceCallRecorder::Add(const char* name, std::initializer_list<uint32_t> args) {
    DeviceCall call;
    call.name = name;
    size_t i = 0;
    for (uint32_t arg : args) call.args[i++] = arg;
    calls_.push_back(call);
}

int DeviceCallRecorder::Count(const std::string& name) const {
    int count = 0;
    for (const DeviceCall& call : calls_) count += call.name == name;
    return count;
}

std::vector<DeviceCall> DeviceCallRecorder::Named(const std::string& name) const {
    std::vector<DeviceCall> named;
    for (const DeviceCall& call : calls_)
        if (call.name == name) named.push_back(call);
    return named;
}

int64_t DeviceCallRecorder::LastRenderState(uint32_t state) const {
    int64_t value = -1;
    for (const DeviceCall& call : calls_)
        if (call.name == "SetRenderState" && call.args[0] == state) value = call.args[1];
    return value;
}

int64_t DeviceCallRecorder::LastStageState(uint32_t stage, uint32_t state) const {
    int64_t value = -1;
    for (const DeviceCall& call : calls_)
        if (call.name == "SetTextureStageState" && call.args[0] == stage && call.args[1] == state)
            value = call.args[2];
    return value;
}

int64_t DeviceCallRecorder::LastSamplerState(uint32_t stage, uint32_t state) const {
    int64_t value = -1;
    for (const DeviceCall& call : calls_)
        if (call.name == "SetSamplerState" && call.args[0] == stage && call.args[1] == state) value = call.args[2];
    return value;
}

}  // namespace zel::test

namespace zel::test {

namespace {

const DeviceAnswers* answers = nullptr;
const IDirect3D9Vtbl* direct3dMethods = nullptr;
IDirect3D9Vtbl answeringDirect3dMethods;
const IDirect3DDevice9Vtbl* answeredDeviceMethods = nullptr;
IDirect3DDevice9Vtbl answeringDeviceMethods;

HRESULT STDMETHODCALLTYPE AnsweredCaps(IDirect3DDevice9* device, D3DCAPS9* caps) {
    const HRESULT result = answeredDeviceMethods->GetDeviceCaps(device, caps);
    if (FAILED(result)) return result;
    if (answers->maxPointSize > 0.0f) {
        caps->MaxPointSize = answers->maxPointSize;
        caps->FVFCaps |= D3DFVFCAPS_PSIZE;
    }
    if (answers->maxVertexIndex != 0) caps->MaxVertexIndex = answers->maxVertexIndex;
    if (answers->vertexShaderVersion != 0) caps->VertexShaderVersion = answers->vertexShaderVersion;
    if (answers->pixelShaderVersion != 0) caps->PixelShaderVersion = answers->pixelShaderVersion;
    return result;
}

HRESULT STDMETHODCALLTYPE AnsweredQuery(IDirect3DDevice9* device, D3DQUERYTYPE type, IDirect3DQuery9** query) {
    if (answers->noQueries && type == D3DQUERYTYPE_OCCLUSION) return D3DERR_NOTAVAILABLE;
    return answeredDeviceMethods->CreateQuery(device, type, query);
}

HRESULT STDMETHODCALLTYPE AnsweredCreateDevice(IDirect3D9* direct3d, UINT adapter, D3DDEVTYPE type, HWND window,
                                               DWORD flags, D3DPRESENT_PARAMETERS* present,
                                               IDirect3DDevice9** device) {
    if (answers->refuseHardwareVertexProcessing && (flags & D3DCREATE_HARDWARE_VERTEXPROCESSING) != 0)
        return D3DERR_NOTAVAILABLE;
    const HRESULT result = direct3dMethods->CreateDevice(direct3d, adapter, type, window, flags, present, device);
    if (FAILED(result) || *device == nullptr) return result;
    if (answeredDeviceMethods == nullptr) {
        answeredDeviceMethods = (*device)->lpVtbl;
        answeringDeviceMethods = *answeredDeviceMethods;
        answeringDeviceMethods.GetDeviceCaps = AnsweredCaps;
        answeringDeviceMethods.CreateQuery = AnsweredQuery;
    }
    (*device)->lpVtbl = &answeringDeviceMethods;
    return result;
}

HRESULT STDMETHODCALLTYPE AnsweredFormat(IDirect3D9* direct3d, UINT adapter, D3DDEVTYPE type, D3DFORMAT display,
                                         DWORD usage, D3DRESOURCETYPE resource, D3DFORMAT format) {
    if (answers->noDepthTextures && (usage & D3DUSAGE_DEPTHSTENCIL) != 0 && resource == D3DRTYPE_TEXTURE)
        return D3DERR_NOTAVAILABLE;
    return direct3dMethods->CheckDeviceFormat(direct3d, adapter, type, display, usage, resource, format);
}

}  // namespace

void AnswerWith(void* direct3d, const DeviceAnswers* deviceAnswers) {
    auto* d3d = static_cast<IDirect3D9*>(direct3d);
    answers = deviceAnswers;
    if (direct3dMethods == nullptr) {
        direct3dMethods = d3d->lpVtbl;
        answeringDirect3dMethods = *direct3dMethods;
        answeringDirect3dMethods.CreateDevice = AnsweredCreateDevice;
        answeringDirect3dMethods.CheckDeviceFormat = AnsweredFormat;
    }
    d3d->lpVtbl = &answeringDirect3dMethods;
}

}  // namespace zel::test
