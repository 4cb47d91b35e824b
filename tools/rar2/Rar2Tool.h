// The commands of zel-rar2. Each returns the process exit status: 0 success,
// 1 failure (reported through the log), 2 bad usage.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel {

class Rar2Tool {
public:
    struct PackOptions {
        bool store = false;    // method 0x30 for every file
        bool solid = false;
        unsigned method = 0x33;
        unsigned audioChannels = 0;
        // Files whose names end in one of these (compared without case)
        // are stored whatever the method: already compressed data.
        std::vector<std::string> storeSuffixes;
        // Non-zero: every entry gets this DOS time instead of its file's,
        // so the same files always make the same archive.
        uint32_t fixedDosTime = 0;
    };

    // Each path is stored under its last component (a directory with
    // everything below it, directory entries first); a directory path ending
    // in '/' stores its contents at the top instead.
    static int Pack(const std::string& archive, const std::vector<std::string>& paths, const PackOptions& options);
    static int List(const std::string& archive);
    // Unpacks every file in memory and checks its CRC-32.
    static int Test(const std::string& archive);
    static int Extract(const std::string& archive, const std::string& directory);
};

}  // namespace zel
