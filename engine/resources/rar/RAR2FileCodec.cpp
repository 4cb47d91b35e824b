#include "engine/resources/rar/RAR2FileCodec.h"

#include <cstring>
#include <new>
#include <string>

#include "engine/resources/Directory.h"
#include "engine/resources/MemoryFile.h"
#include "engine/resources/rar/Rar2Archive.h"

namespace zel {

namespace {

// Entry names are relative paths with backslashes. A name that is empty or
// holds an empty, "." or ".." component has no sound place in the tree.
bool IsPlaceableName(const std::string& name) {
    size_t start = 0;
    while (true) {
        size_t end = name.find('\\', start);
        std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

// The directory that holds an entry named `path` below `top`, walking its
// directory part and making what is missing (an archive may list an entry
// before its directories). Null without memory.
Directory* PlaceFor(Directory* top, const std::string& path) {
    Directory* current = top;
    for (size_t start = 0, end; current != nullptr && (end = path.find('\\', start)) != std::string::npos;
         start = end + 1)
        current = current->FindOrMakeChildDirectory(path.data() + start, int32_t(end - start));
    return current;
}

std::string LastComponent(const std::string& path) {
    size_t last = path.rfind('\\');
    return last == std::string::npos ? path : path.substr(last + 1);
}

int32_t AddDirectory(Directory* parent, const std::string& name) {
    return parent->FindOrMakeChildDirectory(name.data(), int32_t(name.size())) != nullptr ? kOk : kOutOfMemory;
}

int32_t AddFile(Directory* parent, const std::string& name, Rar2Archive& archive, size_t index, Module* module) {
    MemoryFile* file = new (std::nothrow) MemoryFile(String(name.c_str(), int32_t(name.size())));
    if (file == nullptr) return kOutOfMemory;
    int32_t attached = parent->AttachFile(file);
    if (attached != kOk) {
        delete file;
        return attached == kInvalidArgument ? kOk : attached;
    }
    // By index rather than by name: two entries of one name each keep
    // their own bytes.
    uint8_t* data = nullptr;
    size_t size = 0;
    if (archive.Extract(index, &data, &size) == kOk) file->SetSourceData(data, static_cast<uint32_t>(size));
    file->SetOwnerModule(module);
    return kOk;
}

int32_t BuildTree(Directory* top, Rar2Archive& archive, Module* module) {
    for (size_t i = 0; i < archive.GetEntryCount(); ++i) {
        const Rar2Entry& entry = archive.GetEntry(i);
        if (!IsPlaceableName(entry.name)) continue;
        Directory* parent = PlaceFor(top, entry.name);
        if (parent == nullptr) return kOutOfMemory;
        std::string name = LastComponent(entry.name);
        int32_t result = entry.isDirectory ? AddDirectory(parent, name) : AddFile(parent, name, archive, i, module);
        if (result != kOk) return result;
    }
    return kOk;
}

}  // namespace

RAR2FileCodec::RAR2FileCodec() : FileCodec(String(kModuleName)) {
    AddExtensions({"rar2", "RAR2", "Rar2"});
}

int32_t RAR2FileCodec::Load(File* archive, Directory** directory, const String&) {
    if (archive == nullptr || directory == nullptr) return kInvalidArgument;
    if (archive->Open(File::kModeRead) != kOk) return kFailed;
    // The open file's buffer is already a copy of its own (each open makes
    // one); it lives until the Close below, and every entry is unpacked out
    // of it into a block of its own.
    Rar2Archive reader;
    Directory* top = nullptr;
    const uint8_t* bytes = archive->GetBuffer();
    const size_t size = bytes != nullptr ? static_cast<size_t>(archive->GetSize()) : 0;
    int32_t result = reader.Open(bytes, size) == kOk ? kOk : kFailed;
    if (result == kOk) {
        top = new (std::nothrow) Directory(archive->GetName(), nullptr);
        result = top == nullptr ? kOutOfMemory : BuildTree(top, reader, GetModule());
    }
    if (archive->Close() != kOk && result == kOk) result = kFailed;
    if (result != kOk) {
        delete top;
        return result;
    }
    *directory = top;
    return kOk;
}

int32_t RAR2FileCodec::Save(File* archive, Directory* directory) {
    if (archive == nullptr || directory == nullptr) return kFailed;
    if (archive->Open(File::kModeWrite) != kOk) return kFailed;
    return archive->Close() == kOk ? kOk : kFailed;
}

}  // namespace zel
