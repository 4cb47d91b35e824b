// JPEG files for the tests, compressed with libjpeg directly (not through
// the engine) from rows given top first.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace zel::imagetest {

// `components` 1 (greyscale), 3 (RGB) or 4 (CMYK). Library errors end the
// test program: these inputs are the tests' own.
inline std::vector<uint8_t> CompressJpeg(const std::vector<uint8_t>& topFirstRows, int width, int height,
                                         int components, int quality = 90, bool progressive = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : (components == 3 ? JCS_RGB : JCS_CMYK);
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(topFirstRows.data()) + size_t(info.next_scanline) * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

}  // namespace zel::imagetest
