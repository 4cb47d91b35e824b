#include "engine/resources/MemoryFile.h"

#include <cstring>
#include <new>

#include "engine/core/Log.h"
#include "engine/core/Status.h"

namespace zel {

MemoryFile::MemoryFile(const String& name) : File(name) {}

// Closed here, while the memory version of Close still applies; the File
// destructor then finds the file closed.
MemoryFile::~MemoryFile() {
    Close();
    FreeSource();
    ownerModule_ = nullptr;
}

int32_t MemoryFile::Open(int32_t mode) {
    if (IsOpen() && Close() != kOk) {
        LogWarning("Невозможно закрыть файл [%s].", GetName().CStr());
        return kFailed;
    }
    SetMode(mode);
    if (mode != kModeRead || source_ == nullptr) return kFailed;
    uint8_t* block = sourceSize_ <= INT32_MAX ? new (std::nothrow) uint8_t[sourceSize_] : nullptr;
    if (block == nullptr) {
        LogWarning("Недостаточно памяти для открытия файла [%s].", GetName().CStr());
        return kOutOfMemory;
    }
    std::memcpy(block, source_, sourceSize_);
    Rewind();
    AdoptBuffer(block, static_cast<int32_t>(sourceSize_));
    SetHandle(this);
    return kOk;
}

int32_t MemoryFile::Close() {
    if (!IsOpen()) return kOk;
    SetHandle(nullptr);
    ResetClosed();
    return kOk;
}

void MemoryFile::SetSourceData(uint8_t* data, uint32_t size) {
    FreeSource();
    source_ = data;
    sourceSize_ = size;
    ownsSource_ = data != nullptr;
}

void MemoryFile::SetBorrowedSourceData(const uint8_t* data, uint32_t size) {
    FreeSource();
    source_ = data;
    sourceSize_ = size;
}

void MemoryFile::ClearSourceData() {
    source_ = nullptr;
    sourceSize_ = 0;
    ownsSource_ = false;
}

void MemoryFile::FreeSource() {
    if (ownsSource_) delete[] source_;
    ClearSourceData();
}

}  // namespace zel
