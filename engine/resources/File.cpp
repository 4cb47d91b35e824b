#include "engine/resources/File.h"

#include <cstdio>
#include <new>

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/resources/Directory.h"
#include "engine/resources/PathText.h"

namespace zel {

namespace {

std::FILE* AsStdFile(void* handle) { return static_cast<std::FILE*>(handle); }

// Measures an open file from the start; -1 when the system cannot tell.
int64_t MeasureFile(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    long start = std::ftell(file);
    if (start < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(file);
    if (end < start || std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return static_cast<int64_t>(end) - start;
}

}  // namespace

File::File(const String& name) : Stream(0, kGrowthIncrement), Named(name) {}

File::~File() {
    LogInfo("Удаляется файл [%s].", GetName().CStr());
    if (IsOpen() && Close() != kOk) Abandon();
    if (parent_ != nullptr && parent_->DetachFile(this) != kOk)
        LogWarning("Невозможно отсоединить файл [%s] от родительской директории.", GetName().CStr());
}

int32_t File::GetSize() {
    if (IsOpen()) return mode_ == kModeWrite || mode_ == kModeAppend ? GetPosition() : GetCapacity();
    if (Open(kModeRead) != kOk) {
        LogWarning("Файл [%s] не может быть открыть для чтения.", GetName().CStr());
        return 0;
    }
    int32_t size = GetCapacity();
    if (Close() != kOk) {
        LogWarning("Файл [%s] не может быть закрыт.", GetName().CStr());
        return 0;
    }
    return size;
}

// A read or write in the wrong state also sets the error state, so the
// typed readers built on Read see the failure too; the next Open clears it.
int32_t File::Write(const void* bytes, int32_t count) {
    if (IsOpen() && (mode_ == kModeWrite || mode_ == kModeAppend)) return Stream::Write(bytes, count);
    if (IsOpen())
        LogWarning("Запись в файл [%s], открытый для чтения.", GetFullPath().CStr());
    else
        LogWarning("Запись в закрытый файл [%s].", GetFullPath().CStr());
    SetErrorState(kFailed);
    return kFailed;
}

int32_t File::Read(void* destination, int32_t count) {
    if (IsOpen() && mode_ != kModeWrite && mode_ != kModeAppend) return Stream::Read(destination, count);
    if (IsOpen())
        LogWarning("Чтение из файла [%s], открытого для записи.", GetFullPath().CStr());
    else
        LogWarning("Чтение из закрытого файла [%s].", GetFullPath().CStr());
    SetErrorState(kFailed);
    return kFailed;
}

int32_t File::Open(int32_t mode) {
    if (IsOpen() && Close() != kOk) {
        LogWarning("Невозможно закрыть файл [%s].", GetFullPath().CStr());
        // The unwritten bytes cannot be kept once the handle is replaced.
        Abandon();
    }
    mode_ = mode;
    String path = GetFullPath();
    bool writing = mode == kModeWrite || mode == kModeAppend;
    std::FILE* file = std::fopen(path.CStr(), mode == kModeWrite ? "wb" : mode == kModeAppend ? "ab" : "rb");
    if (file == nullptr) {
        LogWarning("Невозможно открыть файл [%s].", path.CStr());
        return kFailed;
    }
    // Close hands the whole buffer over in one write; without a stdio buffer
    // a failure shows there and leaves nothing half-flushed for a retry.
    if (writing) std::setvbuf(file, nullptr, _IONBF, 0);
    handle_ = file;
    Rewind();
    FreeBuffer();
    if (writing) return kOk;
    int32_t result = ReadWholeFile();
    if (result != kOk) Abandon();
    return result;
}

int32_t File::ReadWholeFile() {
    std::FILE* file = AsStdFile(handle_);
    int64_t size = MeasureFile(file);
    if (size < 0) {
        LogWarning("Невозможно определить размер файла [%s].", GetFullPath().CStr());
        return kOutOfMemory;
    }
    uint8_t* block = size <= INT32_MAX ? new (std::nothrow) uint8_t[static_cast<size_t>(size)] : nullptr;
    if (block == nullptr) {
        LogWarning("Недостаточно памяти для открытия файла [%s].", GetFullPath().CStr());
        return kOutOfMemory;
    }
    if (std::fread(block, 1, static_cast<size_t>(size), file) != static_cast<size_t>(size)) {
        delete[] block;
        LogWarning("Невозможно прочитать файл [%s].", GetFullPath().CStr());
        return kFailed;
    }
    AdoptBuffer(block, static_cast<int32_t>(size));
    return kOk;
}

int32_t File::Close() {
    if (!IsOpen()) return kOk;
    if ((mode_ == kModeWrite || mode_ == kModeAppend) && WriteBuffer() != kOk) {
        LogWarning("В файл [%s] записаны не все данные.", GetFullPath().CStr());
        return kFailed;
    }
    std::fclose(AsStdFile(handle_));
    handle_ = nullptr;
    ResetClosed();
    return kOk;
}

int32_t File::WriteBuffer() {
    std::FILE* file = AsStdFile(handle_);
    std::clearerr(file);
    // A retry after a failed close writes the whole buffer again, from the
    // start of the truncated file (appended bytes cannot be taken back).
    if (mode_ == kModeWrite && std::fseek(file, 0, SEEK_SET) != 0) return kFailed;
    size_t count = static_cast<size_t>(GetPosition());
    if (count > 0 && std::fwrite(GetBuffer(), 1, count, file) != count) return kFailed;
    return std::fflush(file) == 0 ? kOk : kFailed;
}

void File::Abandon() {
    if (handle_ != nullptr) std::fclose(AsStdFile(handle_));
    handle_ = nullptr;
    ResetClosed();
}

void File::ResetClosed() {
    FreeBuffer();
    SetPosition(0);
    ClearLinks();
}

String File::GetFullPath() const {
    if (parent_ == nullptr) return GetName();
    return ConcatStrings(parent_->GetFullPath(), GetName());
}

String File::GetExtension() const {
    const String& name = GetName();
    for (int32_t i = name.Length() - 1; i >= 0; --i)
        if (name[i] == '.') return String(name.CStr() + i + 1, name.Length() - i - 1);
    return String();
}

}  // namespace zel
