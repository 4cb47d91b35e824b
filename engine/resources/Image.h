// The engine's in-memory picture: width, height, pixel format and one owned
// block of pixels, rows bottom first without padding (row r starts at
// r * width * bytes per pixel), optionally tied to the name of the file it
// came from. Images are read and written by the image codecs; streamed, an
// image with a file name is reloaded from that file and one without is
// recreated as an uninitialised block.
#pragma once

#include <cstdint>

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/String.h"

namespace zel {

class File;

class Image : public Object {
    ZEL_DECLARE_RTTI

public:
    // Pixel format codes.
    static constexpr int32_t kFormatRGB = 0;           // 3 bytes: R, G, B
    static constexpr int32_t kFormatRGBA = 1;          // 4 bytes: R, G, B, A
    static constexpr int32_t kFormatA8 = 2;            // 1 byte: alpha or grey
    static constexpr int32_t kFormatRGBA16F = 3;       // 8 bytes: four half floats
    static constexpr int32_t kFormatNone = 4;          // no pixels (shadow maps)
    static constexpr int32_t kFormatDepthStencil = 5;  // no pixels (render target depth)

    // Bytes per pixel of a format; 0 for the formats without pixels and for
    // unknown codes.
    static int32_t GetBytesPerPixel(int32_t format);

    // Empty: no file name, 0 x 0, format 0, no pixels.
    Image();
    // Allocates GetDataSize() bytes (contents undefined) when that is
    // positive; when it cannot (out of memory, or a size beyond int32) logs
    // the ERROR line and leaves the data null.
    Image(const String& name, int32_t format, int32_t width, int32_t height);
    // File name = the file's name, object name = `name` or, when empty, the
    // file name; then LoadFromFile. A failed load leaves the data null.
    Image(File* file, const String& name);
    ~Image() override;

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Bytes per pixel * width * height; -1 when a dimension is negative or
    // the product does not fit an int32 (no block can hold it).
    virtual int32_t GetDataSize() const;

    // Reads the image through the codec registered for the file's
    // extension. 0; 3 (WARNING) for a null file or no codec; 1 (ERROR) when
    // the codec fails or is not an image codec.
    int32_t LoadFromFile(File* file);

    // Object data, file name and, only when that is empty, the size and
    // format. 0, or 1 (ERROR) on a failed write.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    // Reloads from the mounted file named by the stream, or recreates the
    // block. 0; 1 (ERROR) on bad data or a failed reload; 2 (ERROR) when the
    // block cannot be allocated.
    [[nodiscard]] int32_t Load(Stream& stream) override;

    const String& GetFileName() const { return fileName_; }
    void SetFileName(const String& fileName) { fileName_ = fileName; }
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    int32_t GetFormat() const { return format_; }
    void SetWidth(int32_t width) { width_ = width; }
    void SetHeight(int32_t height) { height_ = height; }
    void SetFormat(int32_t format) { format_ = format; }

    // The pixel block, or null. Owned by the image.
    uint8_t* GetData() const { return data_; }
    // Takes ownership of `data` (allocated with new[]), freeing the block
    // held before. The caller keeps size and block in step.
    void SetData(uint8_t* data);
    // Replaces the block with a fresh uninitialised one of GetDataSize()
    // bytes (none when that is 0). 0; 2 when it cannot be allocated.
    int32_t AllocateData();

protected:
    // Names only; the subclass loads once it is fully constructed, so that
    // the codec sees its real type.
    Image(File* file, const String& name, bool load);

    // The streamed fields of Image and VolumeImage, after the Object data;
    // `depth` is null for a plain image. `announce` writes the INFO line
    // of a loaded image.
    int32_t SaveFields(Stream& stream, const int32_t* depth);
    int32_t LoadFields(Stream& stream, int32_t* depth, bool announce);

private:
    int32_t LoadFromMountedFile();

    String fileName_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t format_ = kFormatRGB;
    uint8_t* data_ = nullptr;  // owned
};
ZEL_REGISTER_CLASS(Image)

}  // namespace zel
