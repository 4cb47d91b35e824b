// The common frame of the image codecs: loading decodes the file's whole
// content from its stream buffer (the file is read into memory on open, so
// no codec touches the disk while decoding), saving encodes the image into
// one block and writes it with a single write. Subclasses supply the two
// conversions.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/resources/Codec.h"

namespace zel {

class ByteBlock;

class BufferedImageCodec : public ImageCodec {
public:
    using ImageCodec::ImageCodec;

    // 3 for a null file; opens it for reading (1 when that fails); 3 for a
    // null image; decodes; closes. 0; the decoder's status (1 unsupported
    // or damaged data, 2 out of memory, 3 an image of the wrong kind); 1
    // when the close fails. The image is changed only on success.
    [[nodiscard]] int32_t Load(File* file, Image* image) final;
    // 3 for null arguments; encodes (the encoder's status on failure: 1,
    // 2 or 3), then opens the file for writing, writes and closes it. 0; 1
    // when opening, writing or closing fails.
    [[nodiscard]] int32_t Save(File* file, Image* image) final;

protected:
    // Fills the image from the file's bytes.
    virtual int32_t Decode(const uint8_t* data, int32_t size, Image& image) = 0;
    // The image's file.
    virtual int32_t Encode(Image& image, ByteBlock& out) = 0;
};

}  // namespace zel
