// Arbitrary bytes as a sound file for the library's stream creation. A
// stream that opens is played (looping, in 3D) for a bounded time: decoding
// damaged data must neither crash, hang nor leave the mix out of range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/Mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    zel::audio::Mixer mixer(44100);
    int32_t error = 0;
    const uint32_t stream =
        mixer.CreateStream(data, static_cast<uint32_t>(size), zel::audio::Mixer::kStreamFlag3D, &error);
    if (stream == 0) return 0;
    zel::audio::Channel* channel = mixer.Find(stream);
    channel->SetLoop(true);
    channel->Play(false);
    float mix[2 * 512];
    for (int block = 0; block < 16; ++block) {
        mixer.Render(mix, 512);
        for (float sample : mix)
            if (!(std::fabs(sample) <= 1.0f)) std::abort();
    }
    return 0;
}
