// A key of a node animation: the local pose (translation, rotation, scale)
// at the key's time.
#pragma once

#include "engine/animation/Keyframe.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vector3.h"

namespace zel {

class NodeKeyframe : public Keyframe {
public:
    // After the time: translation (12 bytes), rotation (16), scale (12).
    // 0 or 1; failures are logged.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    Vector3 translation;
    Quaternion rotation;
    Vector3 scale{1.0f, 1.0f, 1.0f};
};

}  // namespace zel
