#include "app/CarSound.h"

#include <cstring>

namespace zel {

bool IsCarSilentUnder(const String& cameraName) {
    static const char* const kSilentCameras[] = {"Camera03", "Camera04", "Camera06",
                                                 "Camera11", "Camera17", "Camera18"};
    for (const char* name : kSilentCameras)
        if (std::strcmp(name, cameraName.CStr()) == 0) return true;
    return false;
}

}  // namespace zel
