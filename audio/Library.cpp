// The exported functions over one mixer and at most one output. Every call
// and every block the output thread mixes take the same lock. BASS_Init
// only finds the output; it is opened when a stream is first heard and
// closes itself once nothing has been heard for kIdleSeconds, so a program
// that plays nothing holds no device. While it is closed (or there is none)
// the streams still advance with the wall clock, mixed into nothing, so a
// program behaves the same with or without a sound card.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <vector>

#include "audio/AudioApi.h"
#include "audio/ErrorCode.h"
#include "audio/Mixer.h"
#include "audio/Output.h"

namespace zel::audio {
namespace {

constexpr uint32_t kVersion = 0x20002;
constexpr int32_t kDefaultRate = 44100;
constexpr int32_t kDeviceDefault = -1;
constexpr int32_t kDeviceNone = 0;
constexpr int32_t kDeviceOutput = 1;
constexpr uint32_t kConfigStreamVolume = 5;
constexpr uint32_t kFlagLoop = 4;
// The silent clock catches up at most this much at a time, so a long pause
// between calls does not decode minutes of sound at once.
constexpr double kMaxCatchUpSeconds = 1.0;
constexpr int32_t kScratchFrames = 1024;
// How long the output stays open with nothing heard.
constexpr int32_t kIdleSeconds = 5;
// How long an output that refused to open is left alone.
constexpr auto kRetryAfter = std::chrono::seconds(1);

using Clock = std::chrono::steady_clock;

struct State {
    std::mutex mutex;
    Mixer* mixer = nullptr;                 // created on first use
    std::unique_ptr<Output> output;         // found by BASS_Init, kept until BASS_Free
    bool outputOpen = false;                // playing the mix
    int64_t idleFrames = 0;                 // mixed since something was last heard
    Clock::time_point nextOpen{};           // no opening before this
    int32_t device = -1;                    // -1 until BASS_Init succeeds
    Clock::time_point silentSince{};        // where the silent clock stands
    bool silentClockRunning = false;
    float scratch[2 * kScratchFrames] = {};
};

// Never destroyed: an output thread must be joined by BASS_Free, not by a
// static destructor running while the system unloads the library.
State& GetState() {
    static State* state = new State;
    return *state;
}

std::atomic<int32_t> gError{kErrorOk};

template <class T>
T Fail(int32_t error, T result) {
    gError = error;
    return result;
}

template <class T>
T Succeed(T result) {
    gError = kErrorOk;
    return result;
}

// Lock held. Creates the mixer on first use.
Mixer* GetMixer(State& state, int32_t rate = kDefaultRate) {
    if (state.mixer == nullptr) state.mixer = new (std::nothrow) Mixer(rate);
    return state.mixer;
}

// Lock held. Mixes the time that passed since the last call into nothing
// when no output consumes the mix.
void AdvanceSilently(State& state) {
    const Clock::time_point now = Clock::now();
    if (state.outputOpen || state.mixer == nullptr) {
        state.silentClockRunning = false;
        return;
    }
    if (!state.silentClockRunning) {
        state.silentSince = now;
        state.silentClockRunning = true;
        return;
    }
    const double seconds = std::min(std::chrono::duration<double>(now - state.silentSince).count(), kMaxCatchUpSeconds);
    int64_t frames = static_cast<int64_t>(seconds * state.mixer->GetRate());
    // Only whole frames move the clock, so nothing is lost to rounding.
    state.silentSince += std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(frames) / state.mixer->GetRate()));
    if (seconds >= kMaxCatchUpSeconds) state.silentSince = now;
    while (frames > 0) {
        const int32_t chunk = static_cast<int32_t>(std::min<int64_t>(frames, kScratchFrames));
        state.mixer->Render(state.scratch, chunk);
        frames -= chunk;
    }
}

// The output thread's block, under the lock: the mix, and the end of the
// start once nothing has been heard for kIdleSeconds. The silent clock then
// takes over from this moment.
bool RenderBlock(State& state, int16_t* out, int32_t frames) {
    float scratch[2 * kScratchFrames];
    std::lock_guard<std::mutex> lock(state.mutex);
    for (int32_t done = 0; done < frames;) {
        const int32_t chunk = std::min(frames - done, kScratchFrames);
        state.mixer->Render(out + 2 * done, scratch, chunk);
        done += chunk;
    }
    state.idleFrames = state.mixer->IsAudible() ? 0 : state.idleFrames + frames;
    if (state.idleFrames < int64_t(kIdleSeconds) * state.mixer->GetRate()) return true;
    state.outputOpen = false;
    state.silentSince = Clock::now();
    state.silentClockRunning = true;
    return false;
}

// Lock held, after a call that may have made a stream heard: opens the
// output found by BASS_Init when one is. An output that refuses to open
// leaves the mix silent and is tried again a second later, not on every
// call of every frame.
void OpenOutputIfHeard(State& state) {
    if (state.outputOpen || state.output == nullptr || state.mixer == nullptr || !state.mixer->IsAudible()) return;
    const Clock::time_point now = Clock::now();
    if (now < state.nextOpen) return;
    State* target = &state;
    state.idleFrames = 0;
    state.outputOpen = state.output->Start(
        state.mixer->GetRate(), [target](int16_t* out, int32_t frames) { return RenderBlock(*target, out, frames); });
    if (!state.outputOpen) state.nextOpen = now + kRetryAfter;
}

// Runs `body` on the stream `handle` with the lock held.
template <class T, class Body>
T WithChannel(uint32_t handle, T failure, Body body) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    AdvanceSilently(state);
    Channel* channel = state.mixer != nullptr ? state.mixer->Find(handle) : nullptr;
    if (channel == nullptr) return Fail(kErrorHandle, failure);
    const T result = body(*channel);
    OpenOutputIfHeard(state);
    return result;
}

Vec3 ToVec3(const AudioVector& v) { return Vec3{v.x, v.y, v.z}; }

}  // namespace
}  // namespace zel::audio

using namespace zel::audio;

extern "C" {

uint32_t ZEL_AUDIO_CALL BASS_GetVersion() { return kVersion; }

int32_t ZEL_AUDIO_CALL BASS_Init(int32_t device, uint32_t frequency, uint32_t, void*, const void*) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    AdvanceSilently(state);
    // The application initialises again once its window exists: the output,
    // the streams and the file keep running.
    if (state.device >= 0) return Succeed(1);
    if (device == kDeviceDefault) device = kDeviceOutput;
    if (device != kDeviceNone && device != kDeviceOutput) return Fail(kErrorDevice, 0);
    const int32_t rate = frequency >= 8000 && frequency <= 192000 ? static_cast<int32_t>(frequency) : kDefaultRate;
    Mixer* mixer = GetMixer(state, rate);
    if (mixer == nullptr) return Fail(kErrorMemory, 0);
    if (device == kDeviceOutput) {
        // Found, not opened: that waits for the first stream heard.
        std::unique_ptr<Output> output = CreateOutput();
        if (output == nullptr || !output->Probe(mixer->GetRate())) return Fail(kErrorDriver, 0);
        state.output = std::move(output);
        state.outputOpen = false;
        state.nextOpen = Clock::time_point{};
    }
    state.device = device;
    OpenOutputIfHeard(state);
    return Succeed(1);
}

uint32_t ZEL_AUDIO_CALL BASS_GetDevice() {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.device < 0) return Fail(kErrorInit, 0xFFFFFFFFu);
    return Succeed(static_cast<uint32_t>(state.device));
}

const char* ZEL_AUDIO_CALL BASS_GetDeviceDescription(uint32_t device) {
    if (device == kDeviceNone) return Succeed("No sound");
    if (device == kDeviceOutput && HasOutput()) return Succeed(GetOutputDescription());
    return Fail(kErrorDevice, static_cast<const char*>(nullptr));
}

int32_t ZEL_AUDIO_CALL BASS_ErrorGetCode() { return gError; }

int32_t ZEL_AUDIO_CALL BASS_Free() {
    State& state = GetState();
    std::unique_ptr<Output> output;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (state.device < 0) return Fail(kErrorInit, 0);
        output = std::move(state.output);
        state.outputOpen = false;
        state.device = -1;
    }
    // Joined without the lock: the output thread takes it to mix.
    if (output != nullptr) output->Stop();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.mixer != nullptr) state.mixer->FreeAll();
    state.silentClockRunning = false;
    return Succeed(1);
}

uint32_t ZEL_AUDIO_CALL BASS_SetConfig(uint32_t option, uint32_t value) {
    if (option != kConfigStreamVolume || value > 100) return Fail(kErrorParameter, 0xFFFFFFFFu);
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    AdvanceSilently(state);
    Mixer* mixer = GetMixer(state);
    if (mixer == nullptr) return Fail(kErrorMemory, 0xFFFFFFFFu);
    mixer->SetStreamVolume(static_cast<int32_t>(value));
    OpenOutputIfHeard(state);
    return Succeed(value);
}

int32_t ZEL_AUDIO_CALL BASS_Set3DFactors(float distance, float rolloff, float doppler) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    AdvanceSilently(state);
    Mixer* mixer = GetMixer(state);
    if (mixer == nullptr) return Fail(kErrorMemory, 0);
    mixer->SetFactors(distance, rolloff, doppler);
    return Succeed(1);
}

int32_t ZEL_AUDIO_CALL BASS_Set3DPosition(const AudioVector* position, const AudioVector* velocity,
                                          const AudioVector* front, const AudioVector* top) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    AdvanceSilently(state);
    Mixer* mixer = GetMixer(state);
    if (mixer == nullptr) return Fail(kErrorMemory, 0);
    Vec3 values[4];
    const AudioVector* given[4] = {position, velocity, front, top};
    for (int i = 0; i < 4; ++i)
        if (given[i] != nullptr) values[i] = ToVec3(*given[i]);
    mixer->SetListener(position ? &values[0] : nullptr, velocity ? &values[1] : nullptr, front ? &values[2] : nullptr,
                       top ? &values[3] : nullptr);
    return Succeed(1);
}

void ZEL_AUDIO_CALL BASS_Apply3D() {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    AdvanceSilently(state);
    if (state.mixer != nullptr) state.mixer->Apply3D();
}

uint32_t ZEL_AUDIO_CALL BASS_StreamCreateFile(int32_t memory, const void* data, uint32_t offset, uint32_t length,
                                              uint32_t flags) {
    if (memory == 0 || data == nullptr) return Fail(kErrorParameter, 0u);
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    AdvanceSilently(state);
    Mixer* mixer = GetMixer(state);
    if (mixer == nullptr) return Fail(kErrorMemory, 0u);
    int32_t error = kErrorOk;
    const uint32_t stream = mixer->CreateStream(static_cast<const uint8_t*>(data) + offset, length, flags, &error);
    return stream != 0 ? Succeed(stream) : Fail(error, 0u);
}

void ZEL_AUDIO_CALL BASS_StreamFree(uint32_t stream) {
    State& state = GetState();
    std::lock_guard<std::mutex> lock(state.mutex);
    AdvanceSilently(state);
    if (state.mixer == nullptr || !state.mixer->FreeStream(stream)) Fail(kErrorHandle, 0);
    else Succeed(0);
}

int32_t ZEL_AUDIO_CALL BASS_ChannelSetFlags(uint32_t stream, uint32_t flags) {
    return WithChannel(stream, 0, [&](Channel& channel) {
        channel.SetLoop((flags & kFlagLoop) != 0);
        return Succeed(1);
    });
}

int32_t ZEL_AUDIO_CALL BASS_ChannelSetAttributes(uint32_t stream, int32_t frequency, int32_t volume, int32_t pan) {
    return WithChannel(stream, 0, [&](Channel& channel) {
        const bool valid = (frequency == -1 || frequency == 0 || (frequency >= 100 && frequency <= 100000)) &&
                           volume >= -1 && volume <= 100 && (pan == -101 || (pan >= -100 && pan <= 100));
        if (!valid) return Fail(kErrorParameter, 0);
        if (frequency >= 0) channel.SetFrequency(frequency);
        if (volume >= 0) channel.SetVolume(volume);
        if (pan != -101) channel.SetPan(pan);
        return Succeed(1);
    });
}

int32_t ZEL_AUDIO_CALL BASS_ChannelSet3DAttributes(uint32_t stream, int32_t mode, float minimum, float maximum,
                                                   int32_t, int32_t, int32_t) {
    return WithChannel(stream, 0, [&](Channel& channel) {
        if (!channel.Is3D()) return Fail(kErrorNo3D, 0);
        channel.Set3DAttributes(mode, minimum, maximum);
        return Succeed(1);
    });
}

int32_t ZEL_AUDIO_CALL BASS_ChannelSet3DPosition(uint32_t stream, const AudioVector* position, const AudioVector*,
                                                 const AudioVector* velocity) {
    return WithChannel(stream, 0, [&](Channel& channel) {
        if (!channel.Is3D()) return Fail(kErrorNo3D, 0);
        const Vec3 p = position != nullptr ? ToVec3(*position) : Vec3{};
        const Vec3 v = velocity != nullptr ? ToVec3(*velocity) : Vec3{};
        channel.Set3DPosition(position != nullptr ? &p : nullptr, velocity != nullptr ? &v : nullptr);
        return Succeed(1);
    });
}

int32_t ZEL_AUDIO_CALL BASS_ChannelPlay(uint32_t stream, int32_t restart) {
    return WithChannel(stream, 0, [&](Channel& channel) {
        return channel.Play(restart != 0) ? Succeed(1) : Fail(kErrorUnknown, 0);
    });
}

int32_t ZEL_AUDIO_CALL BASS_ChannelStop(uint32_t stream) {
    return WithChannel(stream, 0, [&](Channel& channel) {
        channel.Stop();
        return Succeed(1);
    });
}

uint32_t ZEL_AUDIO_CALL BASS_ChannelIsActive(uint32_t stream) {
    return WithChannel(stream, 0u, [&](Channel& channel) { return Succeed(channel.IsPlaying() ? 1u : 0u); });
}

}  // extern "C"
