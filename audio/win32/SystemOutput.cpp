// The Windows output: waveOut (winmm), which every Windows from 7 to 11 and
// Wine provide. A ring of short buffers keeps the latency low; the output's
// thread refills each buffer in turn as the device hands it back.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "audio/Output.h"

namespace zel::audio {

namespace {

constexpr int kBuffers = 4;
// Each buffer holds 20 ms: the mix reaches the device within 80 ms.
constexpr int32_t kBuffersPerSecond = 50;
// How long the thread sleeps at most before it looks at the stop flag again.
constexpr DWORD kWaitMilliseconds = 100;

WAVEFORMATEX Format(int32_t rate) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    return format;
}

class WaveOutput final : public Output {
public:
    ~WaveOutput() override {
        Stop();
        if (event_ != nullptr) CloseHandle(event_);
    }

    // The format query asks the driver without opening the device.
    bool Probe(int32_t rate) override {
        if (rate <= 0) return false;
        WAVEFORMATEX format = Format(rate);
        return waveOutOpen(nullptr, WAVE_MAPPER, &format, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
    }

    bool Start(int32_t rate, RenderFunction render) override {
        // A start that the render function ended has closed the device.
        if (thread_.joinable()) thread_.join();
        if (device_ != nullptr || rate <= 0) return false;
        frames_ = rate / kBuffersPerSecond;
        samples_.assign(static_cast<size_t>(2 * frames_ * kBuffers), 0);
        // One event for every start; the device signals it as blocks return.
        if (event_ == nullptr) event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (event_ == nullptr) return false;
        WAVEFORMATEX format = Format(rate);
        if (waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(event_), 0, CALLBACK_EVENT) !=
            MMSYSERR_NOERROR) {
            device_ = nullptr;
            Close();
            return false;
        }
        for (int i = 0; i < kBuffers; ++i) {
            WAVEHDR& header = headers_[i];
            std::memset(&header, 0, sizeof header);
            header.lpData = reinterpret_cast<LPSTR>(samples_.data() + 2 * frames_ * i);
            header.dwBufferLength = static_cast<DWORD>(frames_ * 4);
            queued_[i] = false;
            if (waveOutPrepareHeader(device_, &header, sizeof header) != MMSYSERR_NOERROR) {
                prepared_ = i;
                Close();
                return false;
            }
        }
        prepared_ = kBuffers;
        render_ = std::move(render);
        stopping_ = false;
        // The thread mixes the first blocks: the caller may hold the lock
        // that rendering takes.
        thread_ = std::thread(&WaveOutput::Run, this);
        return true;
    }

    void Stop() override {
        if (!thread_.joinable()) return;
        stopping_ = true;
        SetEvent(event_);
        thread_.join();
    }

private:
    bool IsBusy(int index) const {
        // The driver sets the done flag from its own thread.
        const volatile DWORD& flags = headers_[index].dwFlags;
        return queued_[index] && (flags & WHDR_DONE) == 0;
    }

    // Ends when stopped or when the render function has given the last
    // block; the blocks still queued then hold only silence.
    void Run() {
        int next = 0;
        bool more = true;
        while (more && !stopping_) {
            if (IsBusy(next)) {
                WaitForSingleObject(event_, kWaitMilliseconds);
                continue;
            }
            WAVEHDR& header = headers_[next];
            more = render_(reinterpret_cast<int16_t*>(header.lpData), frames_);
            header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
            queued_[next] = waveOutWrite(device_, &header, sizeof header) == MMSYSERR_NOERROR;
            // A device that refuses blocks must not make the thread spin.
            if (!queued_[next]) WaitForSingleObject(event_, kWaitMilliseconds);
            next = (next + 1) % kBuffers;
        }
        Close();
    }

    // Returns every queued block and closes the device; called by the
    // thread as it ends, or by Start before there is one.
    void Close() {
        if (device_ != nullptr) {
            waveOutReset(device_);
            for (int i = 0; i < prepared_; ++i) waveOutUnprepareHeader(device_, &headers_[i], sizeof headers_[i]);
            waveOutClose(device_);
            device_ = nullptr;
        }
        prepared_ = 0;
    }

    HWAVEOUT device_ = nullptr;
    HANDLE event_ = nullptr;
    WAVEHDR headers_[kBuffers] = {};
    bool queued_[kBuffers] = {};
    int prepared_ = 0;
    int32_t frames_ = 0;
    std::vector<int16_t> samples_;
    RenderFunction render_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace

std::unique_ptr<Output> CreateSystemOutput() {
    if (!HasSystemOutput()) return nullptr;
    return std::unique_ptr<Output>(new (std::nothrow) WaveOutput);
}

bool HasSystemOutput() { return waveOutGetNumDevs() > 0; }

const char* GetSystemOutputDescription() {
    // The first device's name, read once.
    static char name[MAXPNAMELEN] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        WAVEOUTCAPSA caps{};
        if (waveOutGetDevCapsA(0, &caps, sizeof caps) == MMSYSERR_NOERROR && caps.szPname[0] != '\0')
            std::memcpy(name, caps.szPname, sizeof name);
        else
            std::strcpy(name, "waveOut");
        name[sizeof name - 1] = '\0';
    });
    return name;
}

}  // namespace zel::audio
