#include "support/TestObjects.h"

#include "engine/core/Stream.h"

namespace zel::test {

ZEL_DEFINE_RTTI(TestObject, Object)
ZEL_DEFINE_RTTI(TestController, Controller)

int32_t TestObject::Save(Stream& stream) {
    if (Object::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(link) != 0 || stream.WriteInt32(value) != 0) return 1;
    return 0;
}

int32_t TestObject::Load(Stream& stream) {
    if (Object::Load(stream) != 0) return LoadParentFailed();
    if (stream.ReadLink(link) != 0 || stream.ReadInt32(value) != 0) return 1;
    return 0;
}

}  // namespace zel::test
