// The Direct3D 9 headers, included through the engine's one way to the
// Win32 headers, and the check every device call goes through.
#pragma once

#include "engine/os/win32/Windows.h"

#include <d3d9.h>

#include <bit>

namespace zel {

// True when `result` is a success; otherwise logs the failed call by name
// with its HRESULT. Probes and calls whose failure is an answer do not come
// here.
bool D3DSucceeded(HRESULT result, const char* call);

// Releases a COM object and nulls the pointer.
template <class T>
void ReleaseCom(T*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}

}  // namespace zel

#include "engine/math/Color.h"

namespace zel {

// A float colour as a device ARGB word: each channel × 255, truncated
// (clamped to 0..255 first, so out-of-range colours saturate).
inline D3DCOLOR PackColor(const ColorRGBA& color) {
    auto channel = [](float value) -> DWORD {
        const float scaled = value * 255.0f;
        return scaled <= 0.0f ? 0 : scaled >= 255.0f ? 255 : static_cast<DWORD>(scaled);
    };
    return (channel(color.a) << 24) | (channel(color.r) << 16) | (channel(color.g) << 8) | channel(color.b);
}

// A float render state's value: its bits as the DWORD the device takes.
inline DWORD FloatBits(float value) { return std::bit_cast<DWORD>(value); }

}  // namespace zel
