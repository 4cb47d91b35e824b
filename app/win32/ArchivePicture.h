// Pictures of the "CustomData" archive drawn into windows: the system loads
// bitmaps only from files, so the picture goes through a temporary file.
#pragma once

#include "app/win32/WindowsApp.h"

namespace zel {

// The picture `fileName` of the mounted archives as a bitmap stretched to
// width × height; null when it is missing or cannot be loaded.
HBITMAP LoadArchiveBitmap(const char* fileName, int width, int height);

// A bitmap kept in a memory device context between paints.
class CachedPicture {
public:
    CachedPicture() = default;
    ~CachedPicture() { Free(); }
    CachedPicture(const CachedPicture&) = delete;
    CachedPicture& operator=(const CachedPicture&) = delete;

    // Loads the picture at the target's client size on the first call, then
    // copies it to the top left of `target`.
    void Paint(const char* fileName, HWND target);
    void Free();

private:
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Loads, draws and frees the picture over the window's whole client area.
void PaintArchivePicture(const char* fileName, HWND window, HDC target);

}  // namespace zel
