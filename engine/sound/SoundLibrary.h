// The sound library's call table: one pointer per function the engine calls,
// under the names the library exports. The sound manager owns the table and
// binds it by name when it loads the library; until then every pointer is
// null, and every call made through the safe members below is skipped and
// answers 0, so sound nodes stay silent. Tests install fakes the same way.
#pragma once

#include <cstdint>

#include "engine/os/Os.h"

namespace zel {

struct Vector3;

// The library's functions use the system's standard calling convention.
#if defined(_WIN32) && !defined(_WIN64)
#define ZEL_SOUND_CALL __stdcall
#else
#define ZEL_SOUND_CALL
#endif

// A position for the library: three floats, like its 3D vector.
struct SoundVector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct SoundLibrary {
    // Values the engine passes and tests for.
    static constexpr uint32_t kVersion = 0x20002;
    static constexpr uint32_t kInitFlag3D = 4;
    static constexpr uint32_t kConfigStreamVolume = 5;
    static constexpr uint32_t kStreamFlag3D = 8;
    static constexpr uint32_t kChannelFlagLoop = 4;
    static constexpr uint32_t kActivePlaying = 1;

    uint32_t(ZEL_SOUND_CALL* BASS_GetVersion)() = nullptr;
    // device, frequency, flags, window, device GUID; non-zero on success.
    int32_t(ZEL_SOUND_CALL* BASS_Init)(int32_t, uint32_t, uint32_t, void*, const void*) = nullptr;
    uint32_t(ZEL_SOUND_CALL* BASS_GetDevice)() = nullptr;
    const char*(ZEL_SOUND_CALL* BASS_GetDeviceDescription)(uint32_t) = nullptr;
    int32_t(ZEL_SOUND_CALL* BASS_ErrorGetCode)() = nullptr;
    // distance, roll-off and Doppler factors.
    int32_t(ZEL_SOUND_CALL* BASS_Set3DFactors)(float, float, float) = nullptr;
    // The listener: position, velocity, front and top vectors; null leaves
    // one unchanged.
    int32_t(ZEL_SOUND_CALL* BASS_Set3DPosition)(const SoundVector*, const SoundVector*, const SoundVector*,
                                                const SoundVector*) = nullptr;
    void(ZEL_SOUND_CALL* BASS_Apply3D)() = nullptr;
    int32_t(ZEL_SOUND_CALL* BASS_Free)() = nullptr;
    uint32_t(ZEL_SOUND_CALL* BASS_SetConfig)(uint32_t, uint32_t) = nullptr;
    // from memory, data, offset, length, flags; the stream, 0 on failure.
    uint32_t(ZEL_SOUND_CALL* BASS_StreamCreateFile)(int32_t, const void*, uint32_t, uint32_t, uint32_t) = nullptr;
    void(ZEL_SOUND_CALL* BASS_StreamFree)(uint32_t) = nullptr;
    int32_t(ZEL_SOUND_CALL* BASS_ChannelSetFlags)(uint32_t, uint32_t) = nullptr;
    // channel, frequency, volume, pan.
    int32_t(ZEL_SOUND_CALL* BASS_ChannelSetAttributes)(uint32_t, int32_t, int32_t, int32_t) = nullptr;
    // channel, mode, minimum and maximum distance, inside and outside angle,
    // outside volume.
    int32_t(ZEL_SOUND_CALL* BASS_ChannelSet3DAttributes)(uint32_t, int32_t, float, float, int32_t, int32_t,
                                                         int32_t) = nullptr;
    // channel, position, orientation, velocity.
    int32_t(ZEL_SOUND_CALL* BASS_ChannelSet3DPosition)(uint32_t, const SoundVector*, const SoundVector*,
                                                       const SoundVector*) = nullptr;
    int32_t(ZEL_SOUND_CALL* BASS_ChannelPlay)(uint32_t, int32_t) = nullptr;
    int32_t(ZEL_SOUND_CALL* BASS_ChannelStop)(uint32_t) = nullptr;
    uint32_t(ZEL_SOUND_CALL* BASS_ChannelIsActive)(uint32_t) = nullptr;

    // Safe calls: each is skipped, answering 0, while its pointer is null.
    uint32_t StreamCreateFile(const void* data, uint32_t length, uint32_t flags) const {
        return BASS_StreamCreateFile != nullptr ? BASS_StreamCreateFile(1, data, 0, length, flags) : 0;
    }
    void StreamFree(uint32_t stream) const {
        if (BASS_StreamFree != nullptr) BASS_StreamFree(stream);
    }
    void Apply3D() const {
        if (BASS_Apply3D != nullptr) BASS_Apply3D();
    }
    void ChannelSetFlags(uint32_t channel, uint32_t flags) const {
        if (BASS_ChannelSetFlags != nullptr) BASS_ChannelSetFlags(channel, flags);
    }
    // Frequency and pan stay unchanged.
    void ChannelSetVolume(uint32_t channel, int32_t volume) const {
        if (BASS_ChannelSetAttributes != nullptr) BASS_ChannelSetAttributes(channel, -1, volume, -101);
    }
    // Normal mode; every other 3D attribute stays unchanged.
    void ChannelSetMinDistance(uint32_t channel, float distance) const {
        if (BASS_ChannelSet3DAttributes != nullptr)
            BASS_ChannelSet3DAttributes(channel, 0, distance, -1.0f, -1, -1, -1);
    }
    // No orientation, no velocity.
    void ChannelSetPosition(uint32_t channel, const SoundVector& position) const {
        if (BASS_ChannelSet3DPosition != nullptr) BASS_ChannelSet3DPosition(channel, &position, nullptr, nullptr);
    }
    void ChannelPlay(uint32_t channel, bool restart) const {
        if (BASS_ChannelPlay != nullptr) BASS_ChannelPlay(channel, restart ? 1 : 0);
    }
    void ChannelStop(uint32_t channel) const {
        if (BASS_ChannelStop != nullptr) BASS_ChannelStop(channel);
    }
    // False also when the library is not bound.
    bool ChannelIsPlaying(uint32_t channel) const {
        return BASS_ChannelIsActive != nullptr && BASS_ChannelIsActive(channel) == kActivePlaying;
    }
};

// The engine's one table.
SoundLibrary& GetSoundLibrary();

// Stores `address` in the pointer of the function exported as `name`.
// False (nothing stored) when the table has no such function.
bool BindSoundFunction(const char* name, os::LibrarySymbol address);
// Every pointer back to null.
void ClearSoundLibrary();
// Looks up every function of the table in the loaded `library`. False when
// one is missing; the table is cleared then, so nothing calls into it.
bool BindSoundLibrary(void* library);

// Places the channel at `worldPosition` relative to the current renderer's
// camera (the world origin when there is none) and applies the change.
void PlaceChannel(uint32_t channel, const Vector3& worldPosition);

}  // namespace zel
