// Ogg Vorbis through libvorbisfile, reading from memory.
#pragma once

#include <vorbis/vorbisfile.h>

#include "audio/Decoder.h"

namespace zel::audio {

class VorbisDecoder final : public Decoder {
public:
    VorbisDecoder(const uint8_t* data, uint32_t length);
    ~VorbisDecoder() override;

    VorbisDecoder(const VorbisDecoder&) = delete;
    VorbisDecoder& operator=(const VorbisDecoder&) = delete;

    // Opens the stream and decodes its first frames as a check; false (with
    // *error set) when libvorbisfile refuses it or the layout is unsupported.
    bool Open(int32_t* error);

    int32_t Read(float* out, int32_t frames) override;
    bool Rewind() override;

private:
    static size_t ReadBytes(void* destination, size_t size, size_t count, void* source);
    static int SeekBytes(void* source, ogg_int64_t offset, int whence);
    static long TellBytes(void* source);

    const uint8_t* data_;
    uint32_t length_;
    uint32_t position_ = 0;
    OggVorbis_File file_{};
    bool open_ = false;
};

}  // namespace zel::audio
