#include "engine/sound/SoundLibrary.h"

#include <cstring>

#include "engine/render/Renderer.h"
#include "engine/scene/Camera.h"

namespace zel {

namespace {

SoundLibrary gSoundLibrary;

struct SoundFunctionSlot {
    const char* name;
    void (*bind)(SoundLibrary& library, os::LibrarySymbol address);
};

#define ZEL_SOUND_SLOT(function)                                                   \
    {#function, [](SoundLibrary& library, os::LibrarySymbol address) {             \
         library.function = reinterpret_cast<decltype(library.function)>(address); \
     }}

const SoundFunctionSlot kSlots[] = {
    ZEL_SOUND_SLOT(BASS_GetVersion),
    ZEL_SOUND_SLOT(BASS_Init),
    ZEL_SOUND_SLOT(BASS_GetDevice),
    ZEL_SOUND_SLOT(BASS_GetDeviceDescription),
    ZEL_SOUND_SLOT(BASS_ErrorGetCode),
    ZEL_SOUND_SLOT(BASS_Set3DFactors),
    ZEL_SOUND_SLOT(BASS_Set3DPosition),
    ZEL_SOUND_SLOT(BASS_Apply3D),
    ZEL_SOUND_SLOT(BASS_Free),
    ZEL_SOUND_SLOT(BASS_SetConfig),
    ZEL_SOUND_SLOT(BASS_StreamCreateFile),
    ZEL_SOUND_SLOT(BASS_StreamFree),
    ZEL_SOUND_SLOT(BASS_ChannelSetFlags),
    ZEL_SOUND_SLOT(BASS_ChannelSetAttributes),
    ZEL_SOUND_SLOT(BASS_ChannelSet3DAttributes),
    ZEL_SOUND_SLOT(BASS_ChannelSet3DPosition),
    ZEL_SOUND_SLOT(BASS_ChannelPlay),
    ZEL_SOUND_SLOT(BASS_ChannelStop),
    ZEL_SOUND_SLOT(BASS_ChannelIsActive),
};

#undef ZEL_SOUND_SLOT

}  // namespace

SoundLibrary& GetSoundLibrary() { return gSoundLibrary; }

bool BindSoundFunction(const char* name, os::LibrarySymbol address) {
    if (name == nullptr) return false;
    for (const SoundFunctionSlot& slot : kSlots) {
        if (std::strcmp(slot.name, name) == 0) {
            slot.bind(gSoundLibrary, address);
            return true;
        }
    }
    return false;
}

void ClearSoundLibrary() { gSoundLibrary = SoundLibrary(); }

bool BindSoundLibrary(void* library) {
    for (const SoundFunctionSlot& slot : kSlots) {
        os::LibrarySymbol address = os::FindLibrarySymbol(library, slot.name);
        if (address == nullptr) {
            ClearSoundLibrary();
            return false;
        }
        slot.bind(gSoundLibrary, address);
    }
    return true;
}

void PlaceChannel(uint32_t channel, const Vector3& worldPosition) {
    Vector3 relative = worldPosition;
    Renderer* renderer = GetCurrentRenderer();
    if (Camera* camera = renderer != nullptr ? renderer->GetCamera() : nullptr) relative -= camera->GetPosition();
    gSoundLibrary.ChannelSetPosition(channel, SoundVector{relative.x, relative.y, relative.z});
    gSoundLibrary.Apply3D();
}

}  // namespace zel
