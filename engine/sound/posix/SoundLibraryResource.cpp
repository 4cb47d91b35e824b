// Natively the sound library is linked into every program that starts the
// engine; its resource holds the linked-library signature, so the sound
// manager writes, loads and binds it exactly as on Windows.
#include "engine/os/posix/LinkedLibrary.h"
#include "engine/os/posix/ResourceTable.h"
#include "engine/sound/SoundManager.h"

namespace zel {

namespace {

bool AddSoundLibraryResource() {
    return os::ResourceTable::Add(SoundManager::kResourceId, SoundManager::kResourceType,
                                  os::kLinkedLibrarySignature, sizeof os::kLinkedLibrarySignature - 1);
}

[[maybe_unused]] const bool gSoundLibraryResourceAdded = AddSoundLibraryResource();

}  // namespace

}  // namespace zel
