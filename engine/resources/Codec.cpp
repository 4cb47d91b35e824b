#include "engine/resources/Codec.h"

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/resources/File.h"

namespace zel {

Codec::Codec(const String& name) : Named(name) {}

int32_t Codec::AcceptsFile(File* file) const {
    if (file == nullptr) {
        LogWarning("Указатель на файл равен 0 при проверке кодеком [%s].", GetName().CStr());
        return kInvalidArgument;
    }
    String extension = file->GetExtension();
    for (const String& accepted : extensions_)
        if (accepted == extension) return kOk;
    return kFailed;
}

int32_t Codec::AddExtension(const String& extension) {
    int32_t status = extensions_.Append(extension);
    if (status != kOk) extensionsComplete_ = false;
    return status;
}

void Codec::AddExtensions(std::initializer_list<const char*> extensions) {
    for (const char* extension : extensions)
        if (AddExtension(String(extension)) != kOk) return;
}

}  // namespace zel
