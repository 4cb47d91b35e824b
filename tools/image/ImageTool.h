// The commands of zel-image, run through the engine's own image codecs and
// virtual file system (the engine must be initialised and the codecs
// loaded). Each returns the process exit status: 0 success, 1 failure
// (reported on standard error).
#pragma once

#include <string>

namespace zel {

class ImageTool {
public:
    // Loads the four image codecs, as the application does. 0; 1.
    static int LoadCodecs();
    // Prints "codec width height format" for the image file.
    static int Info(const std::string& path);
    // Loads `input` and saves it as `output`, each through the codec of its
    // extension. An RGBA image goes to a codec without alpha (BMP, JPEG) as
    // RGB; a cube map converts only to a cube map.
    static int Convert(const std::string& input, const std::string& output);
};

}  // namespace zel
