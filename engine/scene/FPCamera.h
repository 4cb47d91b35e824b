// A camera with three more stored parameters, kept for the content that
// carries them; nothing in the engine reads them.
#pragma once

#include "engine/scene/Camera.h"

namespace zel {

class FPCamera : public Camera {
    ZEL_DECLARE_RTTI

public:
    explicit FPCamera(const String& name = String()) : Camera(name) {}

    // Parent data, then the two floats and the flag byte.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    float GetValue1() const { return value1_; }
    void SetValue1(float value) { value1_ = value; }
    float GetValue2() const { return value2_; }
    void SetValue2(float value) { value2_ = value; }
    bool GetFlag() const { return flag_; }
    void SetFlag(bool flag) { flag_ = flag; }

private:
    float value1_ = 1.0f;
    float value2_ = 3.0f;
    bool flag_ = false;
};
ZEL_REGISTER_CLASS(FPCamera)

}  // namespace zel
