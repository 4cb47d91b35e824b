// Native stand-in for the program's own Win32 resources: tests and tools put
// byte blocks here under an id and a type name, and the seam's
// FindResourceBytes finds them.
#pragma once

#include <cstdint>

namespace zel::os {

class ResourceTable {
public:
    // Stores a copy of `size` bytes (bytes may be null only when size is 0)
    // as resource `id` of `type`, replacing an earlier one of the same id
    // and type. False for a null type or bytes, or when memory runs out.
    [[nodiscard]] static bool Add(int32_t id, const char* type, const void* bytes, uint32_t size);
    // False when there is no such resource. Bytes handed out for it become
    // invalid.
    static bool Remove(int32_t id, const char* type);
    // The stored bytes, or false.
    static bool Find(int32_t id, const char* type, const uint8_t** data, uint32_t* size);
};

}  // namespace zel::os
