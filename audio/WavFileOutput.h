// Writes the mix to a 16-bit stereo WAV file at the wall-clock rate, as a
// device would consume it: tests listen through this.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "audio/Output.h"

namespace zel::audio {

class WavFileOutput final : public Output {
public:
    explicit WavFileOutput(std::string path) : path_(std::move(path)) {}
    ~WavFileOutput() override { Stop(); }

    bool Start(int32_t rate, RenderFunction render) override;
    void Stop() override;

private:
    void Run();
    void WriteHeader(uint32_t dataBytes);

    std::string path_;
    std::FILE* file_ = nullptr;
    int32_t rate_ = 0;
    RenderFunction render_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    uint64_t framesWritten_ = 0;
};

}  // namespace zel::audio
