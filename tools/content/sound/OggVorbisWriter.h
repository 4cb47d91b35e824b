// Encodes float samples as an Ogg Vorbis file with libvorbisenc (VBR).
#pragma once

#include <string>
#include <vector>

namespace zel {

struct PcmSound {
    int channels = 1;
    int rate = 44100;
    std::vector<float> samples;  // interleaved, within [-1, 1]
};

// Encodes `sound` at VBR `quality` (−0.1 … 1.0) into an Ogg stream with the
// fixed serial number `serial`, so the same samples always give the same
// bytes, and writes it to `path`. 0 ok, 1 failed (reported on stderr).
int WriteOggVorbis(const std::string& path, const PcmSound& sound, float quality, int serial);

}  // namespace zel
