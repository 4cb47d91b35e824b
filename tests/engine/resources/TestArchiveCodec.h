// A trivial file codec for tests: the "archive" becomes a directory named
// after the archive file holding one memory file, "payload.bin", with the
// archive's bytes. It can also be told to fail with a given status.
#pragma once

#include <cstring>
#include <new>

#include "engine/core/Status.h"
#include "engine/resources/Codec.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/MemoryFile.h"

namespace zel::test {

class TestArchiveCodec : public FileCodec {
public:
    TestArchiveCodec(const char* name, const char* extension) : FileCodec(String(name)) {
        // Out of memory only: the codec then claims no file and the test fails.
        (void)AddExtension(String(extension));
    }

    [[nodiscard]] int32_t Load(File* archive, Directory** directory, const String& password) override {
        lastPassword = password;
        if (archive == nullptr || directory == nullptr) return kInvalidArgument;
        if (failWith != kOk) return failWith;
        if (archive->Open(File::kModeRead) != kOk) return kFailed;
        int32_t size = archive->GetSize();
        uint8_t* bytes = new (std::nothrow) uint8_t[static_cast<size_t>(size)];
        if (bytes == nullptr || archive->Read(bytes, size) != 0) {
            delete[] bytes;
            archive->Close();
            return kFailed;
        }
        Directory* top = new Directory(archive->GetName(), nullptr);
        MemoryFile* payload = new MemoryFile(String("payload.bin"));
        payload->SetSourceData(bytes, static_cast<uint32_t>(size));
        payload->SetOwnerModule(GetModule());
        top->AttachFile(payload);
        if (archive->Close() != kOk) {
            delete top;
            return kFailed;
        }
        *directory = top;
        return kOk;
    }

    [[nodiscard]] int32_t Save(File*, Directory*) override { return kFailed; }

    int32_t failWith = kOk;
    String lastPassword;
};

}  // namespace zel::test
