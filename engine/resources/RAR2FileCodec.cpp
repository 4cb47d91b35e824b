#include "engine/resources/RAR2FileCodec.h"

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

Directory* FindChild(Directory* parent, const std::string& name) {
    for (int32_t i = 0; i < parent->GetDirectoryCount(); ++i) {
        Directory* child = parent->GetDirectory(i);
        const String& childName = child->GetName();
        if (static_cast<size_t>(childName.Length()) == name.size() &&
            std::memcmp(childName.CStr(), name.data(), name.size()) == 0)
            return child;
    }
    return nullptr;
}

// The directory that holds an entry named `path` below `top`: the lookup of
// the path's directory part, or, when an archive lists an entry before its
// directory, a chain of newly made directories. Null without memory.
Directory* PlaceFor(Directory* top, const std::string& path) {
    size_t last = path.rfind('\\');
    if (last == std::string::npos) return top;
    std::string directoryPart = path.substr(0, last);
    if (Directory* found = top->FindDirectory(String(directoryPart.c_str(), int32_t(directoryPart.size()))))
        return found;
    Directory* current = top;
    size_t start = 0;
    while (start <= directoryPart.size()) {
        size_t end = directoryPart.find('\\', start);
        if (end == std::string::npos) end = directoryPart.size();
        std::string part = directoryPart.substr(start, end - start);
        Directory* next = FindChild(current, part);
        if (next == nullptr) {
            next = new (std::nothrow) Directory(String(part.c_str(), int32_t(part.size())), nullptr);
            if (next == nullptr) return nullptr;
            if (current->AttachDirectory(next) != kOk) {
                delete next;
                return nullptr;
            }
        }
        current = next;
        start = end + 1;
    }
    return current;
}

std::string LastComponent(const std::string& path) {
    size_t last = path.rfind('\\');
    return last == std::string::npos ? path : path.substr(last + 1);
}

int32_t AddDirectory(Directory* parent, const std::string& name) {
    // Already made for an entry listed before its directory.
    if (FindChild(parent, name) != nullptr) return kOk;
    Directory* directory = new (std::nothrow) Directory(String(name.c_str(), int32_t(name.size())), nullptr);
    if (directory == nullptr) return kOutOfMemory;
    int32_t result = parent->AttachDirectory(directory);
    if (result != kOk) delete directory;
    return result == kInvalidArgument ? kOk : result;
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
    // A copy of its own: the caller may delete the archive file afterwards.
    size_t size = static_cast<size_t>(archive->GetSize());
    uint8_t* bytes = new (std::nothrow) uint8_t[size > 0 ? size : 1];
    if (bytes == nullptr) {
        archive->Close();
        return kOutOfMemory;
    }
    if (size > 0) std::memcpy(bytes, archive->GetBuffer(), size);

    Rar2Archive reader;
    Directory* top = nullptr;
    int32_t result = reader.Open(bytes, size) == kOk ? kOk : kFailed;
    if (result == kOk) {
        top = new (std::nothrow) Directory(archive->GetName(), nullptr);
        result = top == nullptr ? kOutOfMemory : BuildTree(top, reader, GetModule());
    }
    delete[] bytes;
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
