#include "engine/animation/Keyframe.h"

#include "engine/core/Stream.h"

namespace zel {

Keyframe::~Keyframe() = default;

int32_t Keyframe::Save(Stream& stream) { return stream.WriteDouble(time); }

int32_t Keyframe::Load(Stream& stream) { return stream.ReadDouble(time); }

Object* Keyframe::FindByName(const String&) { return nullptr; }

void Keyframe::CollectByType(const Rtti&, ObjectArray&) {}

}  // namespace zel
