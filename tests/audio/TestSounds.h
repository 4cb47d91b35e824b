// Sound files made in memory for the library's tests: PCM WAV of any layout
// and Ogg Vorbis encoded with libvorbisenc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::audio::test {

// A WAV file of `samples` (interleaved, within [-1, 1]) in `bits`-bit PCM,
// or 32-bit floats when `isFloat`.
std::string MakeWav(const std::vector<float>& samples, int channels, int rate, int bits = 16, bool isFloat = false);

// `seconds` of a sine at `frequency` Hz and `amplitude`, interleaved over
// `channels` identical channels.
std::vector<float> Sine(double frequency, double seconds, int rate, int channels = 1, float amplitude = 0.5f);
// `frames` frames of one constant value.
std::vector<float> Constant(float value, int frames, int channels = 1);

// An Ogg Vorbis file of `samples` (quality 0.4).
std::string MakeOgg(const std::vector<float>& samples, int channels, int rate);

}  // namespace zel::audio::test
