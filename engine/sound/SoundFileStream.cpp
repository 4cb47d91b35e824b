#include "engine/sound/SoundFileStream.h"

#include <cstring>
#include <new>

#include "engine/core/Status.h"
#include "engine/resources/File.h"
#include "engine/sound/SoundLibrary.h"

namespace zel {

int32_t SoundFileStream::Load(File* file, bool is3D) {
    Free();
    if (file == nullptr || file->Open(File::kModeRead) != 0) return kInvalidArgument;
    const int32_t size = file->GetCapacity();
    int32_t status = kInvalidArgument;
    if (size > 0 && file->GetBuffer() != nullptr) {
        data = new (std::nothrow) uint8_t[size];
        status = data != nullptr ? kOk : kOutOfMemory;
    }
    if (status == kOk) {
        std::memcpy(data, file->GetBuffer(), size);
        stream = GetSoundLibrary().StreamCreateFile(data, static_cast<uint32_t>(size),
                                                    is3D ? SoundLibrary::kStreamFlag3D : 0);
    }
    file->Close();
    return status;
}

void SoundFileStream::Free() {
    if (stream != 0) GetSoundLibrary().StreamFree(stream);
    stream = 0;
    delete[] data;
    data = nullptr;
}

}  // namespace zel
