// A named file of the virtual file system, backed by a disk file: a Stream
// whose buffer holds the whole content while the file is open for reading,
// and what was written since the open while it is open for writing (the
// bytes reach the disk only at Close). MemoryFile serves the content from
// memory instead.
#pragma once

#include <cstdint>

#include "engine/core/Named.h"
#include "engine/core/Stream.h"
#include "engine/core/String.h"

namespace zel {

class Directory;

class File : public Stream, public Named {
public:
    static constexpr int32_t kModeRead = 0;
    static constexpr int32_t kModeWrite = 1;   // truncates
    static constexpr int32_t kModeAppend = 2;
    // Bytes added to the buffer by each growing write.
    static constexpr int32_t kGrowthIncrement = 1024;

    // `name` is the file name only; the disk file is found by GetFullPath,
    // so a file without a parent names a path relative to the working
    // directory (or an absolute one).
    explicit File(const String& name);
    // Closes the file (abandoning unwritten data if the close fails) and
    // detaches it from its parent.
    ~File() override;

    // Read mode: the file's length; write or append: the bytes written so
    // far. A closed file is opened for reading to measure it and closed
    // again; 0 (logged) when that fails.
    int32_t GetSize() override;
    // Only while open for writing or appending; else 1 (logged), and the
    // error state becomes 1 until the next Open.
    int32_t Write(const void* bytes, int32_t count) override;
    // Only while open for reading; else as Write.
    int32_t Read(void* destination, int32_t count) override;

    // Opens the disk file at the full path, closing it first if open. In
    // read mode (0, and any unknown mode) the whole file is read into the
    // buffer. Position 0, error state 0, links cleared. 0 ok; 1 the file
    // cannot be opened or read; 2 its size cannot be measured, exceeds
    // INT32_MAX or cannot be allocated. On failure the file is closed.
    virtual int32_t Open(int32_t mode);
    // Writes the buffered bytes (write and append modes), closes the handle
    // and frees the buffer. 0 ok (also when not open); 1 (logged) when not
    // all bytes reached the disk: the file then stays open with its buffer,
    // so the caller may retry.
    virtual int32_t Close();

    // The parent directory's full path followed by the name.
    String GetFullPath() const;
    // The text after the last '.' of the name ("" without a dot).
    String GetExtension() const;

    bool IsOpen() const { return handle_ != nullptr; }
    // The mode of the last Open.
    int32_t GetMode() const { return mode_; }
    // The directory holding the file, or null. Not owning: the directory
    // owns the file.
    Directory* GetParent() const { return parent_; }
    // Kept in step by Directory's attach and detach only.
    void SetParent(Directory* parent) { parent_ = parent; }

protected:
    // Open files have a non-null handle: a disk file's FILE*, anything
    // non-null for a memory file.
    void* GetHandle() const { return handle_; }
    void SetHandle(void* handle) { handle_ = handle; }
    void SetMode(int32_t mode) { mode_ = mode; }
    // Back to the closed state: no buffer, position 0, no links.
    void ResetClosed();

private:
    int32_t ReadWholeFile();
    int32_t WriteBuffer();
    // Closes the handle without writing the buffer.
    void Abandon();

    int32_t mode_ = kModeRead;
    void* handle_ = nullptr;
    Directory* parent_ = nullptr;
};

}  // namespace zel
