#include "TestSounds.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace zel::audio::test {

namespace {

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void AppendPage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
}

}  // namespace

std::string MakeWav(const std::vector<float>& samples, int channels, int rate, int bits, bool isFloat) {
    const int bytes = bits / 8;
    std::string data;
    for (float sample : samples) {
        if (isFloat) {
            uint32_t raw;
            std::memcpy(&raw, &sample, 4);
            Put(data, raw, 4);
        } else if (bits == 8) {
            Put(data, static_cast<uint32_t>(std::lrint(sample * 127.0f) + 128), 1);
        } else {
            const double scale = std::ldexp(1.0, bits - 1) - 1.0;
            Put(data, static_cast<uint32_t>(static_cast<int64_t>(std::llrint(sample * scale))), bytes);
        }
    }
    std::string out = "RIFF";
    Put(out, static_cast<uint32_t>(36 + data.size()), 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, isFloat ? 3 : 1, 2);
    Put(out, channels, 2);
    Put(out, rate, 4);
    Put(out, rate * channels * bytes, 4);
    Put(out, channels * bytes, 2);
    Put(out, bits, 2);
    out += "data";
    Put(out, static_cast<uint32_t>(data.size()), 4);
    return out + data;
}

std::vector<float> Sine(double frequency, double seconds, int rate, int channels, float amplitude) {
    const int frames = static_cast<int>(std::lround(seconds * rate));
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples.push_back(amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * i / rate)));
    return samples;
}

std::vector<float> Constant(float value, int frames, int channels) {
    return std::vector<float>(static_cast<size_t>(frames) * channels, value);
}

std::string MakeOgg(const std::vector<float>& samples, int channels, int rate) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) std::abort();
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    std::string out;
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

    const int frames = static_cast<int>(samples.size()) / channels;
    constexpr int kChunk = 1024;
    for (int at = 0;; at += kChunk) {
        const int count = std::max(0, std::min(kChunk, frames - at));
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, count);
            for (int i = 0; i < count; ++i)
                for (int c = 0; c < channels; ++c) buffer[c][i] = samples[(at + i) * channels + c];
        }
        vorbis_analysis_wrote(&dsp, count);  // 0 marks the end
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) AppendPage(out, page);
            }
        }
        if (count == 0) break;
    }
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace zel::audio::test
