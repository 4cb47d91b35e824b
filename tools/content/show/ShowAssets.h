// The textures and the light of the show, made once each and shared by the
// parts of the scene that use them. Pictures are read from and written to
// the content folder, whose files go into the media archive.
#pragma once

#include <map>
#include <string>

#include "engine/core/Pointer.h"
#include "tools/content/picture/PictureWriter.h"

namespace zel {

class Image;
class Light;
class Texture;

// A picture read back from the content folder, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    std::string pixels;

    bool IsEmpty() const { return pixels.empty(); }
    // Channel c of pixel (x, y), the coordinates wrapped.
    uint8_t At(int x, int y, int c) const;
    // Bilinear colour at (u, v) in texels, wrapped; channels 0..2 as 0..1.
    void Sample(float u, float v, float rgb[3]) const;
};

class ShowAssets {
public:
    explicit ShowAssets(const std::string& directory);
    ~ShowAssets();

    const std::string& GetDirectory() const { return directory_; }
    // Files the archive must carry, in the order they were first used.
    const std::map<std::string, int>& GetUsedFiles() const { return used_; }
    // True once anything failed (reported on standard error).
    bool HasFailed() const { return failed_; }
    void Fail(const std::string& what);

    // The texture over the picture file `file` of the archive (one per
    // file): the scene names the file, the image is read when it loads.
    Texture* File(const std::string& file);
    // Paints `file` (TGA with alpha, JPEG or BMP by extension) and returns
    // its texture.
    Texture* Painted(const std::string& file, int width, int height, bool alpha, const Painter& paint);
    // A normal map made at load time from the grey height picture
    // `heightFile`, whose red channel replaces it as a one-channel BMP of
    // the same name (one texture per picture).
    Texture* NormalMap(const std::string& heightFile, float bump);
    // A texture whose image the engine fills at run time (render targets,
    // tables): named, sized and formatted, without a file.
    Texture* Blank(const std::string& name, int width, int height, int format);
    // The picture `file` of the content folder (empty when it cannot be read).
    Picture Read(const std::string& file);

    // The setting sun, a directional light the lit materials and the
    // shadows use.
    Light* Sun() const { return sun_; }

private:
    std::string directory_;
    std::map<std::string, Pointer<Texture>> textures_;
    std::map<std::string, int> used_;
    Pointer<Light> sun_;
    bool failed_ = false;
};

}  // namespace zel
