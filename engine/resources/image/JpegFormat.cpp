#include "engine/resources/image/JpegFormat.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/resources/Image.h"

static_assert(JPEG_LIB_VERSION == 62, "the IJG 6b interface is required");

namespace zel {

namespace {

// Decoded rows handed to the library per call.
constexpr int32_t kRowsPerCall = 16;
// Room for the compressed data at first: a tenth of the raw pixels, which
// quality 50 rarely exceeds; the block doubles when it does.
constexpr int64_t kInitialOutputDivisor = 10;
constexpr int64_t kMinimumOutput = 4096;

// The library's error manager followed by where to return on an error.
// Values that the abandoning code reads are volatile: they change between
// setjmp and longjmp.
struct ErrorManager {
    jpeg_error_mgr library;  // first: the library's pointer is cast back
    jmp_buf jump;
    volatile int32_t status = kFailed;
};

ErrorManager& ErrorsOf(j_common_ptr info) { return *reinterpret_cast<ErrorManager*>(info->err); }

void LogLibraryMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    LogWarning("%d %s", info->err->msg_code, text);
}

[[noreturn]] void AbandonOnError(j_common_ptr info) {
    LogLibraryMessage(info);
    longjmp(ErrorsOf(info).jump, 1);
}

void InstallErrorManager(jpeg_error_mgr* library) {
    jpeg_std_error(library);
    library->error_exit = &AbandonOnError;
    library->output_message = &LogLibraryMessage;
}

// --- Decoding: the whole file is one input buffer.

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// Past the end: the library is offered an end-of-image marker, as for any
// truncated file, after a warning.
boolean FillInput(j_decompress_ptr info) {
    static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
    WARNMS(info, JWRN_JPEG_EOF);
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* source = info->src;
    size_t skipped = static_cast<unsigned long>(count) < source->bytes_in_buffer ? static_cast<size_t>(count)
                                                                                 : source->bytes_in_buffer;
    source->next_input_byte += skipped;
    source->bytes_in_buffer -= skipped;
}

void LimitScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > JpegFormat::kMaxScans)
        longjmp(ErrorsOf(info).jump, 1);
}

struct Decompressor {
    jpeg_decompress_struct info;
    ErrorManager errors;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
};

void InstallSource(Decompressor& d, const uint8_t* data, int32_t size) {
    d.source.init_source = &InitSource;
    d.source.fill_input_buffer = &FillInput;
    d.source.skip_input_data = &SkipInput;
    d.source.resync_to_restart = &jpeg_resync_to_restart;
    d.source.term_source = &TermSource;
    d.source.next_input_byte = data;
    d.source.bytes_in_buffer = size > 0 ? static_cast<size_t>(size) : 0;
    d.info.src = &d.source;
    d.progress.progress_monitor = &LimitScans;
    d.info.progress = &d.progress;
}

// The image format for the decoded colour space, or -1 for one the engine
// has no format for.
int32_t ChooseFormat(jpeg_decompress_struct& info) {
    if (info.out_color_space == JCS_GRAYSCALE) return Image::kFormatA8;
    if (info.out_color_space == JCS_RGB && info.num_components == 3) return Image::kFormatRGB;
    return -1;
}

bool FitsExpansionLimit(const jpeg_decompress_struct& info, int32_t inputSize) {
    int64_t outputBytes = int64_t{info.output_width} * info.output_height * info.output_components;
    return outputBytes <= INT32_MAX && outputBytes <= JpegFormat::kMaxExpansion * inputSize;
}

// Scanline k of the file becomes row height-1-k: the last decoded row
// comes first, as the engine keeps rows bottom first.
void ReadRows(jpeg_decompress_struct& info, uint8_t* pixels) {
    const int64_t stride = int64_t{info.output_width} * info.output_components;
    const int64_t height = info.output_height;
    JSAMPROW rows[kRowsPerCall];
    while (info.output_scanline < info.output_height) {
        int64_t first = info.output_scanline;
        int64_t count = height - first < kRowsPerCall ? height - first : kRowsPerCall;
        for (int64_t i = 0; i < count; ++i) rows[i] = pixels + (height - 1 - first - i) * stride;
        jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count));
    }
}

// --- Encoding: into a block that doubles when full.

struct MemoryDestination {
    jpeg_destination_mgr library;  // first: the library's pointer is cast back
    uint8_t* volatile block = nullptr;
    volatile int64_t capacity = 0;
    int64_t initialCapacity = kMinimumOutput;
};

MemoryDestination& DestinationOf(j_compress_ptr info) { return *reinterpret_cast<MemoryDestination*>(info->dest); }

[[noreturn]] void AbandonOutOfMemory(j_compress_ptr info) {
    ErrorsOf(reinterpret_cast<j_common_ptr>(info)).status = kOutOfMemory;
    ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    longjmp(ErrorsOf(reinterpret_cast<j_common_ptr>(info)).jump, 1);  // not reached: error_exit jumps
}

void InitDestination(j_compress_ptr info) {
    MemoryDestination& destination = DestinationOf(info);
    uint8_t* block = new (std::nothrow) uint8_t[static_cast<size_t>(destination.initialCapacity)];
    if (block == nullptr) AbandonOutOfMemory(info);
    destination.block = block;
    destination.capacity = destination.initialCapacity;
    destination.library.next_output_byte = block;
    destination.library.free_in_buffer = static_cast<size_t>(destination.initialCapacity);
}

// Called when the block is full; the whole block holds output.
boolean EmptyOutput(j_compress_ptr info) {
    MemoryDestination& destination = DestinationOf(info);
    int64_t used = destination.capacity;
    int64_t capacity = used * 2;
    if (capacity > INT32_MAX) capacity = INT32_MAX;
    uint8_t* block = capacity > used ? new (std::nothrow) uint8_t[static_cast<size_t>(capacity)] : nullptr;
    if (block == nullptr) AbandonOutOfMemory(info);
    std::memcpy(block, destination.block, static_cast<size_t>(used));
    delete[] destination.block;
    destination.block = block;
    destination.capacity = capacity;
    destination.library.next_output_byte = block + used;
    destination.library.free_in_buffer = static_cast<size_t>(capacity - used);
    return TRUE;
}

void TermDestination(j_compress_ptr) {}

struct Compressor {
    jpeg_compress_struct info;
    ErrorManager errors;
    MemoryDestination destination;
};

void InstallDestination(Compressor& c, int64_t rawBytes) {
    int64_t initial = rawBytes / kInitialOutputDivisor;
    c.destination.initialCapacity = initial < kMinimumOutput ? kMinimumOutput : initial;
    c.destination.library.init_destination = &InitDestination;
    c.destination.library.empty_output_buffer = &EmptyOutput;
    c.destination.library.term_destination = &TermDestination;
    c.info.dest = &c.destination.library;
}

// Feeds the rows top first: the engine's last row is the picture's top.
void WriteRows(jpeg_compress_struct& info, const uint8_t* pixels) {
    const int64_t stride = int64_t{info.image_width} * info.input_components;
    const int64_t height = info.image_height;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(pixels) + (height - 1 - info.next_scanline) * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
}

}  // namespace

int32_t JpegFormat::Decode(const uint8_t* data, int32_t size, ImagePixels& pixels) {
    Decompressor d;
    d.info.err = &d.errors.library;
    InstallErrorManager(&d.errors.library);
    if (setjmp(d.errors.jump) != 0) {
        jpeg_destroy_decompress(&d.info);
        return d.errors.status;
    }
    jpeg_create_decompress(&d.info);
    InstallSource(d, data, size);
    jpeg_read_header(&d.info, TRUE);
    jpeg_calc_output_dimensions(&d.info);
    int32_t format = ChooseFormat(d.info);
    int32_t status = kFailed;
    if (format >= 0 && FitsExpansionLimit(d.info, size)) {
        status = pixels.Allocate(static_cast<int32_t>(d.info.output_width), static_cast<int32_t>(d.info.output_height),
                                 1, format);
    }
    if (status == kOk) {
        jpeg_start_decompress(&d.info);
        ReadRows(d.info, pixels.GetData());
        jpeg_finish_decompress(&d.info);
    }
    jpeg_destroy_decompress(&d.info);
    return status;
}

int32_t JpegFormat::Encode(const uint8_t* pixels, int32_t width, int32_t height, int32_t format, ByteBlock& out) {
    if ((format != Image::kFormatRGB && format != Image::kFormatA8) || width < 1 || height < 1 || pixels == nullptr)
        return kInvalidArgument;
    const int32_t components = Image::GetBytesPerPixel(format);
    Compressor c;
    c.info.err = &c.errors.library;
    InstallErrorManager(&c.errors.library);
    if (setjmp(c.errors.jump) != 0) {
        jpeg_destroy_compress(&c.info);
        delete[] c.destination.block;
        return c.errors.status;
    }
    jpeg_create_compress(&c.info);
    InstallDestination(c, int64_t{width} * height * components);
    c.info.image_width = static_cast<JDIMENSION>(width);
    c.info.image_height = static_cast<JDIMENSION>(height);
    c.info.input_components = components;
    c.info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, kQuality, TRUE);
    jpeg_start_compress(&c.info, TRUE);
    WriteRows(c.info, pixels);
    jpeg_finish_compress(&c.info);
    int64_t written = c.destination.capacity - static_cast<int64_t>(c.destination.library.free_in_buffer);
    jpeg_destroy_compress(&c.info);
    out.Adopt(c.destination.block, static_cast<int32_t>(written));
    return kOk;
}

}  // namespace zel
