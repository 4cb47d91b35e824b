#include "audio/WavFileOutput.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace zel::audio {

namespace {

constexpr auto kPeriod = std::chrono::milliseconds(10);
constexpr int32_t kChunkFrames = 1024;
// A WAV file's sizes are 32-bit.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36;

void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
void Put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

void WavFileOutput::WriteHeader(uint32_t dataBytes) {
    uint8_t header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    Put32(header + 4, 36 + dataBytes);
    Put32(header + 16, 16);
    Put16(header + 20, 1);  // PCM
    Put16(header + 22, 2);
    Put32(header + 24, static_cast<uint32_t>(rate_));
    Put32(header + 28, static_cast<uint32_t>(rate_) * 4);
    Put16(header + 32, 4);
    Put16(header + 34, 16);
    header[36] = 'd';
    header[37] = 'a';
    header[38] = 't';
    header[39] = 'a';
    Put32(header + 40, dataBytes);
    std::fseek(file_, 0, SEEK_SET);
    std::fwrite(header, 1, sizeof header, file_);
}

// The first opening makes the file; later ones write on after its data.
bool WavFileOutput::Open(int32_t rate) {
    if (made_ && rate != rate_) return false;
    file_ = std::fopen(path_.c_str(), made_ ? "r+b" : "wb");
    if (file_ == nullptr) return false;
    if (!made_) {
        rate_ = rate;
        framesWritten_ = 0;
        WriteHeader(0);
        made_ = true;
    }
    std::fseek(file_, 0, SEEK_END);
    return true;
}

void WavFileOutput::Close() {
    if (file_ == nullptr) return;
    WriteHeader(static_cast<uint32_t>(std::min<uint64_t>(framesWritten_ * 4, kMaxDataBytes)));
    std::fclose(file_);
    file_ = nullptr;
}

bool WavFileOutput::Probe(int32_t rate) {
    if (thread_.joinable()) return true;
    if (!Open(rate)) return false;
    Close();
    return true;
}

bool WavFileOutput::Start(int32_t rate, RenderFunction render) {
    // A start that the render function ended has finished with the file.
    if (thread_.joinable()) thread_.join();
    if (!Open(rate)) return false;
    render_ = std::move(render);
    stopping_ = false;
    thread_ = std::thread(&WavFileOutput::Run, this);
    return true;
}

void WavFileOutput::Run() {
    std::vector<int16_t> samples(2 * kChunkFrames);
    const auto start = std::chrono::steady_clock::now();
    uint64_t framesThisStart = 0;
    bool more = true;
    std::unique_lock<std::mutex> lock(mutex_);
    while (more && !stopping_) {
        wake_.wait_for(lock, kPeriod, [this] { return stopping_; });
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const uint64_t due = static_cast<uint64_t>(elapsed * rate_);
        while (more && framesThisStart < due && framesWritten_ * 4 < kMaxDataBytes) {
            const int32_t frames = static_cast<int32_t>(std::min<uint64_t>(due - framesThisStart, kChunkFrames));
            more = render_(samples.data(), frames);
            std::fwrite(samples.data(), 4, static_cast<size_t>(frames), file_);
            framesThisStart += frames;
            framesWritten_ += frames;
        }
    }
    Close();
}

void WavFileOutput::Stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

}  // namespace zel::audio
