#include "tools/content/sound/OggVorbisWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>

namespace zel {

namespace {

// The libvorbis and libogg states of one encoding, released together.
struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool analysing = false;

    Encoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder() {
        if (analysing) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

bool WritePage(std::FILE* file, const ogg_page& page) {
    return std::fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
}

bool Encode(std::FILE* file, const PcmSound& sound, float quality, int serial) {
    Encoder e;
    if (vorbis_encode_init_vbr(&e.info, sound.channels, sound.rate, quality) != 0) return false;
    vorbis_comment_add_tag(&e.comment, "ENCODER", "zel-content");
    if (vorbis_analysis_init(&e.dsp, &e.info) != 0) return false;
    vorbis_block_init(&e.dsp, &e.block);
    ogg_stream_init(&e.stream, serial);
    e.analysing = true;

    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&e.dsp, &e.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&e.stream, &identification);
    ogg_stream_packetin(&e.stream, &comments);
    ogg_stream_packetin(&e.stream, &codebooks);
    ogg_page page;
    // The headers end on a page of their own, as decoders expect.
    while (ogg_stream_flush(&e.stream, &page) != 0)
        if (!WritePage(file, page)) return false;

    const size_t frames = sound.samples.size() / sound.channels;
    constexpr size_t kChunk = 4096;
    for (size_t at = 0;; at += kChunk) {
        const size_t count = std::min(kChunk, frames - std::min(frames, at));
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&e.dsp, static_cast<int>(count));
            for (size_t i = 0; i < count; ++i)
                for (int c = 0; c < sound.channels; ++c) buffer[c][i] = sound.samples[(at + i) * sound.channels + c];
        }
        vorbis_analysis_wrote(&e.dsp, static_cast<int>(count));  // 0 marks the end of the stream
        while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
            vorbis_analysis(&e.block, nullptr);
            vorbis_bitrate_addblock(&e.block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&e.dsp, &packet) == 1) {
                ogg_stream_packetin(&e.stream, &packet);
                while (ogg_stream_pageout(&e.stream, &page) != 0)
                    if (!WritePage(file, page)) return false;
            }
        }
        if (count == 0) break;
    }
    while (ogg_stream_flush(&e.stream, &page) != 0)
        if (!WritePage(file, page)) return false;
    return true;
}

}  // namespace

int WriteOggVorbis(const std::string& path, const PcmSound& sound, float quality, int serial) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file != nullptr && sound.channels > 0 && Encode(file, sound, quality, serial);
    if (file != nullptr && std::fclose(file) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "zel-content: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

}  // namespace zel
