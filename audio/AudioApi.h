// The library's exported functions: the call table the engine's sound
// manager looks up by name, with the same argument meanings. Results:
// non-zero on success, 0 on failure with the reason in BASS_ErrorGetCode;
// streams are 32-bit handles, 0 for none.
#pragma once

#include <cstdint>

#if defined(_WIN32) && defined(ZEL_AUDIO_BUILD_DLL)
#define ZEL_AUDIO_EXPORT __declspec(dllexport)
#elif defined(_WIN32)
#define ZEL_AUDIO_EXPORT
#else
#define ZEL_AUDIO_EXPORT __attribute__((visibility("default")))
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define ZEL_AUDIO_CALL __stdcall
#else
#define ZEL_AUDIO_CALL
#endif

extern "C" {

struct AudioVector {
    float x;
    float y;
    float z;
};

// 0x20002.
ZEL_AUDIO_EXPORT uint32_t ZEL_AUDIO_CALL BASS_GetVersion();
// device: -1 the default output, 0 no sound, 1 the output. A second call
// while initialised succeeds and changes nothing. Fails with no output. The
// output is only found here: it opens when a stream is first heard (playing
// at a volume above 0 under a global volume above 0) and closes again after
// a few seconds with nothing heard.
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_Init(int32_t device, uint32_t frequency, uint32_t flags, void* window,
                                                  const void* guid);
ZEL_AUDIO_EXPORT uint32_t ZEL_AUDIO_CALL BASS_GetDevice();
// Null for a device that does not exist.
ZEL_AUDIO_EXPORT const char* ZEL_AUDIO_CALL BASS_GetDeviceDescription(uint32_t device);
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_ErrorGetCode();
// Stops and joins the output, frees every stream.
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_Free();
// Option 5: the global stream volume, 0 to 100. Returns the new value.
ZEL_AUDIO_EXPORT uint32_t ZEL_AUDIO_CALL BASS_SetConfig(uint32_t option, uint32_t value);
// Negative values leave a factor unchanged; pending until BASS_Apply3D.
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_Set3DFactors(float distance, float rolloff, float doppler);
// The listener; null vectors stay unchanged; pending until BASS_Apply3D.
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_Set3DPosition(const AudioVector* position, const AudioVector* velocity,
                                                           const AudioVector* front, const AudioVector* top);
ZEL_AUDIO_EXPORT void ZEL_AUDIO_CALL BASS_Apply3D();
// From memory only (memory TRUE); the bytes must outlive the stream.
// Flags: 8 makes a 3D stream.
ZEL_AUDIO_EXPORT uint32_t ZEL_AUDIO_CALL BASS_StreamCreateFile(int32_t memory, const void* data, uint32_t offset,
                                                               uint32_t length, uint32_t flags);
ZEL_AUDIO_EXPORT void ZEL_AUDIO_CALL BASS_StreamFree(uint32_t stream);
// Flag 4 loops.
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_ChannelSetFlags(uint32_t stream, uint32_t flags);
// frequency -1 unchanged, 0 the file's own; volume -1 unchanged, else 0-100;
// pan -101 unchanged, else -100 (left) to 100 (right).
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_ChannelSetAttributes(uint32_t stream, int32_t frequency, int32_t volume,
                                                                  int32_t pan);
// mode -1 unchanged, 0 normal, 1 relative to the listener, 2 off; distances
// of 0 or below unchanged; the cone arguments are accepted and ignored.
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_ChannelSet3DAttributes(uint32_t stream, int32_t mode, float minimum,
                                                                    float maximum, int32_t insideAngle,
                                                                    int32_t outsideAngle, int32_t outsideVolume);
// Null vectors stay unchanged; the orientation is ignored.
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_ChannelSet3DPosition(uint32_t stream, const AudioVector* position,
                                                                  const AudioVector* orientation,
                                                                  const AudioVector* velocity);
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_ChannelPlay(uint32_t stream, int32_t restart);
ZEL_AUDIO_EXPORT int32_t ZEL_AUDIO_CALL BASS_ChannelStop(uint32_t stream);
// 1 playing, 0 stopped (or not a stream).
ZEL_AUDIO_EXPORT uint32_t ZEL_AUDIO_CALL BASS_ChannelIsActive(uint32_t stream);

}  // extern "C"
