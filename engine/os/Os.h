// The operating-system seam: the few services the engine takes from the
// system. Engine code calls only these; engine/os/win32/ implements
// them with the Win32 calls, engine/os/posix/ with native stand-ins
// (resources come from a table that tests and tools fill, see
// posix/ResourceTable.h). Each area of the seam may live in its own source.
#pragma once

#include <cstdint>

namespace zel::os {

// Type name of the engine's resources.
constexpr const char* kMediaResourceType = "MEDIADATA";

enum class ResourceLookup {
    kFound,
    kNotFound,   // no resource with that id and type
    kNotLoaded,  // it exists but the system could not load it
};

// Finds resource `id` of `type` in the program's own module. On kFound,
// *data and *size describe bytes owned by the system: they stay valid for
// the life of the process (natively: until the resource is removed from the
// table). Both outputs must be non-null; they are left unchanged otherwise.
ResourceLookup FindResourceBytes(int32_t id, const char* type, const uint8_t** data, uint32_t* size);

// Address of a function exported by a dynamic library.
using LibrarySymbol = void (*)();

// Loads the dynamic library at `path`; its handle, or null on failure.
void* LoadDynamicLibrary(const char* path);
// The exported function `name` of the library, or null.
LibrarySymbol FindLibrarySymbol(void* library, const char* name);
// Unloads a library loaded above; false when the system refuses.
bool FreeDynamicLibrary(void* library);

// Size of a path buffer, terminating zero included.
constexpr uint32_t kMaxPath = 260;

// Writes `size` bytes to a new file in the system's temporary folder whose
// name starts with `prefix`, and stores its path in `path` (kMaxPath
// bytes). False when the file cannot be created or written; nothing is left
// behind then.
bool WriteTemporaryFile(const char* prefix, const void* bytes, uint32_t size, char* path);
// The same in the existing folder `folder` instead of the temporary one.
bool WriteUniqueFile(const char* folder, const char* prefix, const void* bytes, uint32_t size, char* path);
// Deletes a file written above; false when the system refuses.
bool DeleteTemporaryFile(const char* path);

// The user's local (not roaming) application-data folder, ending in the
// path separator, in `path` (kMaxPath bytes); natively the XDG data folder.
// False when the system names none or it does not fit.
bool GetLocalAppDataFolder(char* path);
// Creates the folder `path` unless it exists; its parent must exist. True
// when a folder of that name exists afterwards (not a file).
[[nodiscard]] bool CreateFolder(const char* path);

// Shows `text` to the user in a modal box with an empty caption and an OK
// button (natively: on stderr). A hook set with SetMessageBoxHook takes the
// text instead, so tests see it without a box blocking them.
void ShowMessageBox(const char* text);
using MessageBoxHook = void (*)(const char* text);
// Null restores the system's box.
void SetMessageBoxHook(MessageBoxHook hook);
// The system's box itself, without the hook.
void ShowSystemMessageBox(const char* text);

}  // namespace zel::os
