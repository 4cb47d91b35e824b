#include "engine/resources/image/BufferedImageCodec.h"

#include "engine/core/Status.h"
#include "engine/resources/File.h"
#include "engine/resources/Image.h"
#include "engine/resources/image/ByteBlock.h"

namespace zel {

int32_t BufferedImageCodec::Load(File* file, Image* image) {
    if (file == nullptr) return kInvalidArgument;
    if (file->Open(File::kModeRead) != kOk) return kFailed;
    // In read mode the stream buffer holds exactly the file's content.
    int32_t status = image != nullptr ? Decode(file->GetBuffer(), file->GetCapacity(), *image) : kInvalidArgument;
    if (file->Close() != kOk && status == kOk) return kFailed;
    return status;
}

int32_t BufferedImageCodec::Save(File* file, Image* image) {
    if (file == nullptr || image == nullptr) return kInvalidArgument;
    ByteBlock encoded;
    int32_t status = Encode(*image, encoded);
    if (status != kOk) return status;
    if (file->Open(File::kModeWrite) != kOk) return kFailed;
    bool written = file->Write(encoded.Data(), encoded.Size()) == 0;
    if (file->Close() != kOk || !written) return kFailed;
    return kOk;
}

}  // namespace zel
