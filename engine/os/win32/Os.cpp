// Win32 side of the resource and dynamic-library seam.
#include "engine/os/Os.h"

#include "engine/os/win32/Windows.h"

namespace zel::os {

ResourceLookup FindResourceBytes(int32_t id, const char* type, const uint8_t** data, uint32_t* size) {
    // Resource ids are 16-bit; anything else would alias a smaller id.
    if (id <= 0 || id > 0xFFFF) return ResourceLookup::kNotFound;
    HMODULE self = GetModuleHandleA(nullptr);
    // The version in the user's interface language, else the neutral one
    // (the plain lookup would not prefer the user's language everywhere).
    const LPCSTR name = MAKEINTRESOURCEA(static_cast<WORD>(id));
    HRSRC found = FindResourceExA(self, type, name, GetUserDefaultUILanguage());
    if (found == nullptr) found = FindResourceExA(self, type, name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (found == nullptr) found = FindResourceA(self, name, type);
    if (found == nullptr) return ResourceLookup::kNotFound;
    HGLOBAL loaded = LoadResource(self, found);
    if (loaded == nullptr) return ResourceLookup::kNotLoaded;
    *size = static_cast<uint32_t>(SizeofResource(self, found));
    *data = static_cast<const uint8_t*>(LockResource(loaded));
    return ResourceLookup::kFound;
}

void* LoadDynamicLibrary(const char* path) { return reinterpret_cast<void*>(LoadLibraryA(path)); }

LibrarySymbol FindLibrarySymbol(void* library, const char* name) {
    return reinterpret_cast<LibrarySymbol>(GetProcAddress(static_cast<HMODULE>(library), name));
}

bool FreeDynamicLibrary(void* library) { return FreeLibrary(static_cast<HMODULE>(library)) != 0; }

}  // namespace zel::os
