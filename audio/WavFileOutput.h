// Writes the mix to a 16-bit stereo WAV file at the wall-clock rate, as a
// device would consume it: tests listen through this. The probe makes the
// file (a header without data); each start appends to it, so the file holds
// everything the device would have played, the closed spans left out.
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

    bool Probe(int32_t rate) override;
    bool Start(int32_t rate, RenderFunction render) override;
    void Stop() override;

private:
    bool Open(int32_t rate);
    void Run();
    void WriteHeader(uint32_t dataBytes);
    void Close();

    std::string path_;
    std::FILE* file_ = nullptr;
    bool made_ = false;  // the file exists with a header of this output's
    int32_t rate_ = 0;
    RenderFunction render_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    uint64_t framesWritten_ = 0;  // over every start
};

}  // namespace zel::audio
