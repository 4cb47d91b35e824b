#include "audio/Decoder.h"

#include <cstring>
#include <new>

#include "audio/ErrorCode.h"
#include "audio/VorbisDecoder.h"
#include "audio/WavDecoder.h"

namespace zel::audio {

namespace {

template <class T>
std::unique_ptr<Decoder> Open(const uint8_t* bytes, uint32_t length, int32_t* error) {
    std::unique_ptr<T> decoder(new (std::nothrow) T(bytes, length));
    if (decoder == nullptr) {
        *error = kErrorMemory;
        return nullptr;
    }
    if (!decoder->Open(error)) return nullptr;
    return decoder;
}

}  // namespace

std::unique_ptr<Decoder> CreateDecoder(const void* data, uint32_t length, int32_t* error) {
    int32_t ignored = kErrorOk;
    if (error == nullptr) error = &ignored;
    *error = kErrorFormat;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (bytes == nullptr || length < 4) return nullptr;
    if (std::memcmp(bytes, "OggS", 4) == 0) return Open<VorbisDecoder>(bytes, length, error);
    if (std::memcmp(bytes, "RIFF", 4) == 0) return Open<WavDecoder>(bytes, length, error);
    return nullptr;
}

}  // namespace zel::audio
