// The font registry: fonts by name, each entry holding a reference. It
// exists between the manager's initialisation and termination.
#pragma once

#include <cstdint>

namespace zel {

class Font;
class String;

class FontManager {
public:

    // Creates the registry unless it exists. 0 ok; 1 out of memory.
    [[nodiscard]] static int32_t Initialize();
    // Releases every font in the registry's order and deletes it. Returns 0.
    static int32_t Terminate();

    // The number of registered fonts; -1 while there is no registry.
    static int32_t GetFontCount();
};

}  // namespace zel
