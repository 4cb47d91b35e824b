// The sound manager: at engine initialisation it writes the sound library
// the program carries (resource 108 of type "BASS") to a temporary file,
// loads it, binds the call table by name, checks the version and opens the
// default output with 3D; at termination it frees the output, unloads the
// library and deletes the file. A temporary folder that refuses the library
// sends it to "Velkor Studio" under the user's local application-data
// folder; when neither place takes it, the program runs without sound: the
// call table stays empty and every sound node is silent. While loaded it
// makes the camera the library's listener every frame.
#pragma once

#include <cstdint>

namespace zel {

struct Vector3;

class SoundManager {
public:
    static constexpr int32_t kResourceId = 108;
    static constexpr const char* kResourceType = "BASS";
    static constexpr int32_t kOutputRate = 44100;
    // Global 3D factors: distance, roll-off, Doppler.
    static constexpr float kDistanceFactor = 1.0f;
    static constexpr float kRolloffFactor = 7.0f;
    static constexpr float kDopplerFactor = 1.0f;


    // 0 when the library is loaded (also when the output could not be
    // opened), and when no folder lets it be written or loaded: the program
    // then runs silent. 1 when the resource is missing or empty, or the
    // library is the wrong version or lacks a function of the table. Every
    // failure is logged.
    [[nodiscard]] static int32_t Initialize();
    // For programs that only read or make content (the tools): called
    // before the engine starts, Initialize then loads no library, logs that
    // the program runs without sound and gives 0. Sound nodes stay silent.
    static void DisableSound();
    // BASS_Init on the default device at the output rate with 3D, for
    // `window` (null: none), logging the device opened or the library's
    // reason and the current device. False when it fails or no library is
    // loaded (then nothing is logged).
    static bool InitializeDevice(void* window);
    // Always 0.
    static int32_t Terminate();

    static bool IsLoaded();
    // The temporary file's path; empty when not loaded.
    static const char* GetLibraryPath();

    // The global stream volume, at most 100.
    static void SetMasterVolume(uint32_t percent);

    // The listener hook: the camera's direction and up vector orient the
    // library's listener (sources are already given relative to the camera).
    static void UpdateListener(const Vector3& position, const Vector3& direction, const Vector3& up);
};

}  // namespace zel
