#include "engine/core/Log.h"
#include "engine/render/d3d9/D3D9.h"

namespace zel {

bool D3DSucceeded(HRESULT result, const char* call) {
    if (SUCCEEDED(result)) return true;
    LogError("Вызов Direct3D [%s] неудачен. HRESULT[0x%08lX]", call, static_cast<unsigned long>(result));
    return false;
}

}  // namespace zel
