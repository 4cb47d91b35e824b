// Native side of the resource and dynamic-library seam.
#include "engine/os/Os.h"

#include <dlfcn.h>

#include "engine/os/posix/ResourceTable.h"

namespace zel::os {

ResourceLookup FindResourceBytes(int32_t id, const char* type, const uint8_t** data, uint32_t* size) {
    return ResourceTable::Find(id, type, data, size) ? ResourceLookup::kFound : ResourceLookup::kNotFound;
}

// dlopen and dlsym give null arguments special meanings (the program
// itself, the default search), which the Win32 calls do not: refuse them.
void* LoadDynamicLibrary(const char* path) { return path != nullptr ? dlopen(path, RTLD_NOW | RTLD_LOCAL) : nullptr; }

LibrarySymbol FindLibrarySymbol(void* library, const char* name) {
    if (library == nullptr || name == nullptr) return nullptr;
    return reinterpret_cast<LibrarySymbol>(dlsym(library, name));
}

bool FreeDynamicLibrary(void* library) { return library != nullptr && dlclose(library) == 0; }

}  // namespace zel::os
