// A read-only file whose content is a byte block in memory (an archive
// entry, or resource bytes). Each Open copies the block into the stream
// buffer, so reading never alters the source.
#pragma once

#include <cstdint>

#include "engine/core/Pointer.h"
#include "engine/resources/File.h"
#include "engine/resources/Module.h"

namespace zel {

class MemoryFile : public File {
public:
    explicit MemoryFile(const String& name);
    // Frees an owned source and drops the module reference.
    ~MemoryFile() override;

    // Mode 0 only: any other mode, or no source data, gives 1. 2 (logged)
    // when the copy cannot be allocated (or the source exceeds INT32_MAX
    // bytes).
    int32_t Open(int32_t mode) override;
    // Frees the buffer; always 0.
    int32_t Close() override;

    // Takes ownership of `data` (allocated with new[]), freeing an owned
    // source held before.
    void SetSourceData(uint8_t* data, uint32_t size);
    // Uses `data` without owning it; it must outlive the file or be
    // cleared first.
    void SetBorrowedSourceData(const uint8_t* data, uint32_t size);
    // Forgets the source without freeing it.
    void ClearSourceData();
    const uint8_t* GetSourceData() const { return source_; }
    uint32_t GetSourceSize() const { return sourceSize_; }

    // The module whose codec produced the file; kept loaded while the file
    // exists.
    Module* GetOwnerModule() const { return ownerModule_; }
    void SetOwnerModule(Module* module) { ownerModule_ = module; }

private:
    void FreeSource();

    const uint8_t* source_ = nullptr;
    uint32_t sourceSize_ = 0;
    bool ownsSource_ = false;
    Pointer<Module> ownerModule_;
};

}  // namespace zel
