// Arbitrary bytes as a RAR 2.0 archive: open, list, and extract every entry,
// each both alone and after the others (solid groups resume midway).
#include <cstddef>
#include <cstdint>

#include "engine/resources/rar/Rar2Archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zel::Rar2Archive archive;
    if (archive.Open(data, size) != 0) return 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < archive.GetEntryCount(); ++i) {
            size_t index = pass == 0 ? i : archive.GetEntryCount() - 1 - i;
            uint8_t* out = nullptr;
            size_t outSize = 0;
            if (archive.Extract(index, &out, &outSize) == 0) delete[] out;
        }
    }
    archive.FindEntry(archive.GetEntryCount() > 0 ? archive.GetEntry(0).name.c_str() : "");
    return 0;
}
