// The renderer's light stack as device lights: the light pushed n-th is
// device light n − 1. The first light switches lighting on, popping the
// last one switches it off.
#include <bit>

#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/scene/Light.h"

namespace zel {

namespace {

// The largest finite range the device accepts: the light reaches everything.
constexpr DWORD kUnlimitedRangeBits = 0x5F7FFFFF;

D3DVECTOR DeviceVector(const Vector3& v) { return D3DVECTOR{v.x, v.y, v.z}; }
D3DCOLORVALUE DeviceColor(const ColorRGBA& c) { return D3DCOLORVALUE{c.r, c.g, c.b, c.a}; }

D3DLIGHT9 DeviceLight(const Light& light) {
    D3DLIGHT9 device{};
    device.Diffuse = DeviceColor(light.GetDiffuse());
    device.Specular = DeviceColor(light.GetSpecular());
    device.Ambient = DeviceColor(light.GetAmbient());
    device.Range = std::bit_cast<float>(kUnlimitedRangeBits);
    const Vector3 attenuation = light.GetEffectiveAttenuation();
    device.Attenuation0 = attenuation.x;
    device.Attenuation1 = attenuation.y;
    device.Attenuation2 = attenuation.z;
    device.Falloff = 1.0f;
    switch (light.GetLightType()) {
    case Light::kPoint:
        device.Type = D3DLIGHT_POINT;
        device.Position = DeviceVector(light.GetPosition());
        break;
    case Light::kSpot:
        device.Type = D3DLIGHT_SPOT;
        device.Position = DeviceVector(light.GetPosition());
        device.Direction = DeviceVector(light.GetDirection());
        device.Falloff = light.GetFalloff();
        device.Theta = 2.0f * light.GetSpotAngle();
        device.Phi = 2.1f * light.GetSpotAngle();
        break;
    default:
        // Kind 0 always shines along (0, 0, 1); kind 1 along its node.
        device.Type = D3DLIGHT_DIRECTIONAL;
        device.Direction = DeviceVector(light.GetShiningDirection());
        break;
    }
    return device;
}

}  // namespace

void D3D9Renderer::SetLightingEnabled(bool on) {
    D3DSucceeded(device_->SetRenderState(D3DRS_LIGHTING, on), "SetRenderState");
    D3DSucceeded(device_->SetRenderState(D3DRS_SPECULARENABLE, on), "SetRenderState");
}

void D3D9Renderer::EnableLight(Light* light) {
    const int32_t count = GetLightCount();
    if (device_ == nullptr || count < 1) return;
    const DWORD index = static_cast<DWORD>(count - 1);
    if (light == nullptr) {
        D3DSucceeded(device_->LightEnable(index, FALSE), "LightEnable");
        return;
    }
    if (count == 1) SetLightingEnabled(true);
    D3DSucceeded(device_->LightEnable(index, TRUE), "LightEnable");
    const D3DLIGHT9 deviceLight = DeviceLight(*light);
    D3DSucceeded(device_->SetLight(index, &deviceLight), "SetLight");
}

void D3D9Renderer::DisableLight() {
    const int32_t count = GetLightCount();
    if (device_ == nullptr || count < 0) return;
    D3DSucceeded(device_->LightEnable(static_cast<DWORD>(count), FALSE), "LightEnable");
    if (count == 0) SetLightingEnabled(false);
}

}  // namespace zel
