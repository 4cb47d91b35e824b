#include "app/win32/ArchivePicture.h"

#include <vector>

#include "engine/os/Os.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"

namespace zel {

HBITMAP LoadArchiveBitmap(const char* fileName, int width, int height) {
    File* file = FindMountedFile(String(fileName));
    if (file == nullptr || file->Open(0) != 0) return nullptr;
    std::vector<uint8_t> bytes(static_cast<size_t>(file->GetSize()));
    const bool read = bytes.empty() || file->Read(bytes.data(), static_cast<int32_t>(bytes.size())) == 0;
    file->Close();
    char path[os::kMaxPath];
    if (!read || !os::WriteTemporaryFile("NEW", bytes.data(), static_cast<uint32_t>(bytes.size()), path)) return nullptr;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, width, height, LR_LOADFROMFILE));
    os::DeleteTemporaryFile(path);
    return bitmap;
}

void CachedPicture::Paint(const char* fileName, HWND target) {
    if (target == nullptr) return;
    RECT client{};
    GetClientRect(target, &client);
    HDC dc = GetDC(target);
    if (memory_ == nullptr) {
        bitmap_ = LoadArchiveBitmap(fileName, client.right, client.bottom);
        if (bitmap_ != nullptr) {
            memory_ = CreateCompatibleDC(dc);
            previous_ = SelectObject(memory_, bitmap_);
        }
    }
    if (memory_ != nullptr) BitBlt(dc, 0, 0, client.right, client.bottom, memory_, 0, 0, SRCCOPY);
    ReleaseDC(target, dc);
}

void CachedPicture::Free() {
    if (memory_ != nullptr) {
        SelectObject(memory_, previous_);
        DeleteDC(memory_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    memory_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
}

void PaintArchivePicture(const char* fileName, HWND window, HDC target) {
    RECT client{};
    GetClientRect(window, &client);
    HBITMAP bitmap = LoadArchiveBitmap(fileName, client.right, client.bottom);
    if (bitmap == nullptr) return;
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

}  // namespace zel
