// Codecs read and write one family of files, chosen for a file by its
// extension (exact bytes, so each codec lists the letter-case variants it
// takes). A codec is created by the "CreateCodec" entry point of the module
// of the same name and holds a reference to that module.
//
// The family: Codec (kind 3, no file operations) and the three kinds that
// concrete codecs derive from, each fixing GetKind and declaring its own
// Load and Save: ImageCodec (0), SceneCodec (1), FileCodec (2). A caller
// that found a codec with FindCodecForFile reaches its operations through
// CodecAs<Kind>, which refuses a codec of another kind.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/core/GrowableArray.h"
#include "engine/core/Named.h"
#include "engine/core/Pointer.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"
#include "engine/resources/Module.h"

namespace zel {

class Directory;
class File;
class Image;
class Object;

class Codec : public RefCounted, public Named {
public:
    static constexpr int32_t kImageKind = 0;
    static constexpr int32_t kSceneKind = 1;
    static constexpr int32_t kFileKind = 2;
    static constexpr int32_t kPlainKind = 3;

    explicit Codec(const String& name);
    ~Codec() override = default;

    Codec(const Codec&) = delete;
    Codec& operator=(const Codec&) = delete;

    virtual int32_t GetKind() const { return kPlainKind; }

    // 0 when the file's extension equals one of the codec's extensions
    // (exact bytes; an empty extension matches an empty entry), else 1;
    // 3 (logged) for a null file.
    int32_t AcceptsFile(File* file) const;

    // Appends an accepted extension (without the dot). kOk; kOutOfMemory.
    [[nodiscard]] int32_t AddExtension(const String& extension);
    // Adds each extension; a failure leaves the list incomplete.
    void AddExtensions(std::initializer_list<const char*> extensions);
    // False when an extension could not be added (memory ran out).
    bool HasAllExtensions() const { return extensionsComplete_; }
    int32_t GetExtensionCount() const { return extensions_.Count(); }
    const String& GetExtension(int32_t index) const { return extensions_[index]; }

    // The module that created the codec (kept alive by this reference), or
    // null for a codec made outside any module.
    Module* GetModule() const { return module_; }
    void SetModule(Module* module) { module_ = module; }

private:
    Pointer<Module> module_;
    GrowableArray<String> extensions_{1, 1};
    bool extensionsComplete_ = true;
};

// The codec as kind K (ImageCodec, SceneCodec, FileCodec), or null when it
// is null or of another kind.
template <class K>
K* CodecAs(Codec* codec) {
    return codec != nullptr && codec->GetKind() == K::kKind ? static_cast<K*>(codec) : nullptr;
}

// Reads and writes images (the target is an Image, or a VolumeImage for
// cube maps). Both operations open and close the file themselves; 0 ok,
// 1 failed (also a failing close), 2 out of memory, 3 null argument or an
// unsupported image.
class ImageCodec : public Codec {
public:
    static constexpr int32_t kKind = kImageKind;
    using Codec::Codec;
    int32_t GetKind() const final { return kKind; }

    // Fills `image` from the file.
    [[nodiscard]] virtual int32_t Load(File* file, Image* image) = 0;
    // Writes `image` to the file.
    [[nodiscard]] virtual int32_t Save(File* file, Image* image) = 0;
};

// Reads and writes scene files: one object graph under a root object.
class SceneCodec : public Codec {
public:
    static constexpr int32_t kKind = kSceneKind;
    using Codec::Codec;
    int32_t GetKind() const final { return kKind; }

    // Reads the graph; on success *root holds its root (possibly null).
    // 0 ok; 1 failed; 3 null file or output.
    [[nodiscard]] virtual int32_t Load(File* file, Pointer<Object>* root) = 0;
    // Writes the graph under `root`. 0 ok; 1 failed (null arguments too).
    [[nodiscard]] virtual int32_t Save(File* file, Object* root) = 0;
};

// Reads archives into directory trees of memory files.
class FileCodec : public Codec {
public:
    static constexpr int32_t kKind = kFileKind;
    using Codec::Codec;
    int32_t GetKind() const final { return kKind; }

    // Builds a new directory (named after the archive file, no parent)
    // holding the archive's entries and stores it in *directory; the caller
    // owns it. The archive file is not referred to afterwards. 0 ok;
    // 1 failed; 2 out of memory; 3 null file or output.
    [[nodiscard]] virtual int32_t Load(File* archive, Directory** directory, const String& password) = 0;
    // Writes `directory` as an archive. 0 ok; 1 failed.
    [[nodiscard]] virtual int32_t Save(File* archive, Directory* directory) = 0;
};

}  // namespace zel
