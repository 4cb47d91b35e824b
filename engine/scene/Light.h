// A light source placed in the scene: its world transform gives position
// and direction, its fields the colours and attenuation the renderer hands
// to the device when a pass enables it.
#pragma once

#include "engine/scene/Node.h"
#include "engine/math/Color.h"

namespace zel {

class Light : public Node {
    ZEL_DECLARE_RTTI

public:
    // Light kinds. Loaded values outside 0..3 are kept as they are.
    static constexpr int32_t kFixedDirectional = 0;  // along (0, 0, 1) always
    static constexpr int32_t kDirectional = 1;       // along the node's direction axis
    static constexpr int32_t kPoint = 2;
    static constexpr int32_t kSpot = 3;

    // The stream factory's light is of kind 0.
    Light();
    explicit Light(int32_t lightType, const String& name = String());

    // Parent data, then the kind, the three colours, the attenuations, the
    // attenuation flag, the falloff and the spot angle.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // Column 2 of the world rotation's matrix, and the world translation.
    Vector3 GetDirection() const;
    // The direction the device light shines along: (0, 0, 1) for kind 0
    // whatever the node's rotation, else GetDirection().
    Vector3 GetShiningDirection() const;
    Vector3 GetPosition() const { return GetWorld().translation; }
    // The attenuation factors the device gets: the stored ones when
    // attenuation is used, else (1, 0, 0).
    Vector3 GetEffectiveAttenuation() const;

    int32_t GetLightType() const { return lightType_; }
    void SetLightType(int32_t type) { lightType_ = type; }
    const ColorRGBA& GetAmbient() const { return ambient_; }
    void SetAmbient(const ColorRGBA& color) { ambient_ = color; }
    const ColorRGBA& GetDiffuse() const { return diffuse_; }
    void SetDiffuse(const ColorRGBA& color) { diffuse_ = color; }
    const ColorRGBA& GetSpecular() const { return specular_; }
    void SetSpecular(const ColorRGBA& color) { specular_ = color; }
    float GetAttenuation0() const { return attenuation0_; }
    float GetAttenuation1() const { return attenuation1_; }
    float GetAttenuation2() const { return attenuation2_; }
    void SetAttenuation(float constant, float linear, float quadratic) {
        attenuation0_ = constant;
        attenuation1_ = linear;
        attenuation2_ = quadratic;
    }
    bool GetUseAttenuation() const { return useAttenuation_; }
    void SetUseAttenuation(bool on) { useAttenuation_ = on; }
    float GetFalloff() const { return falloff_; }
    void SetFalloff(float falloff) { falloff_ = falloff; }
    // Radians; the device cone is 2 × and 2.1 × this angle.
    float GetSpotAngle() const { return spotAngle_; }
    void SetSpotAngle(float angle) { spotAngle_ = angle; }

private:
    int32_t lightType_;
    ColorRGBA ambient_;
    ColorRGBA diffuse_;
    ColorRGBA specular_;
    float attenuation0_ = 1.0f;
    float attenuation1_ = 0.0f;
    float attenuation2_ = 0.0f;
    bool useAttenuation_ = false;
    float falloff_ = 1.0f;
    float spotAngle_ = 0.7853982f;
};
ZEL_REGISTER_CLASS(Light)

}  // namespace zel
