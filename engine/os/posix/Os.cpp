// Native side of the resource and dynamic-library seam.
#include "engine/os/Os.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "engine/os/posix/LinkedLibrary.h"
#include "engine/os/posix/ResourceTable.h"

namespace zel::os {

ResourceLookup FindResourceBytes(int32_t id, const char* type, const uint8_t** data, uint32_t* size) {
    return ResourceTable::Find(id, type, data, size) ? ResourceLookup::kFound : ResourceLookup::kNotFound;
}

namespace {

// Whether the file at `path` holds exactly the linked-library signature.
bool HoldsLinkedLibrary(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    char bytes[sizeof kLinkedLibrarySignature] = {};
    const size_t length = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    return length == sizeof kLinkedLibrarySignature - 1 && std::memcmp(bytes, kLinkedLibrarySignature, length) == 0;
}

}  // namespace

// dlopen and dlsym give null arguments special meanings (the program
// itself, the default search), which the Win32 calls do not: refuse them.
void* LoadDynamicLibrary(const char* path) {
    if (path == nullptr) return nullptr;
    if (HoldsLinkedLibrary(path)) return dlopen(nullptr, RTLD_NOW);
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

LibrarySymbol FindLibrarySymbol(void* library, const char* name) {
    if (library == nullptr || name == nullptr) return nullptr;
    return reinterpret_cast<LibrarySymbol>(dlsym(library, name));
}

bool FreeDynamicLibrary(void* library) { return library != nullptr && dlclose(library) == 0; }

}  // namespace zel::os
