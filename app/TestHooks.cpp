#include "app/TestHooks.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/core/Log.h"

namespace zel {

namespace {

bool ParseUnsigned(const char* text, uint32_t& value) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (*end != '\0' || errno != 0 || parsed > 0xFFFFFFFFull) return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

bool ParseSeconds(const char* text, double& value) {
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (*end != '\0' || !(parsed >= 0.0) || parsed > 3600.0) return false;
    value = parsed;
    return true;
}

// "50,100" into 50 and 100; false on anything else.
bool ParseFrameList(const char* text, std::vector<uint32_t>& frames) {
    std::vector<uint32_t> parsed;
    const char* at = text;
    while (true) {
        const char* comma = at;
        while (*comma != '\0' && *comma != ',') ++comma;
        std::string item(at, comma);
        uint32_t frame = 0;
        if (!ParseUnsigned(item.c_str(), frame)) return false;
        parsed.push_back(frame);
        if (*comma == '\0') break;
        at = comma + 1;
    }
    frames = parsed;
    return true;
}

// "x,y,w,h" with a width and height of at least 1 into a rectangle; false
// on anything else.
bool ParseRectangle(const char* text, WindowRect& rect) {
    constexpr long kLimit = 32767;
    long values[4] = {};
    const char* at = text;
    for (int i = 0; i < 4; ++i) {
        if (*at != '-' && (*at < '0' || *at > '9')) return false;
        char* end = nullptr;
        errno = 0;
        values[i] = std::strtol(at, &end, 10);
        if (errno != 0 || values[i] < -kLimit || values[i] > kLimit) return false;
        if (*end != (i < 3 ? ',' : '\0')) return false;
        at = end + 1;
    }
    if (values[2] < 1 || values[3] < 1) return false;
    rect = WindowRect{int32_t(values[0]), int32_t(values[1]), int32_t(values[0] + values[2]),
                      int32_t(values[1] + values[3])};
    return true;
}

// "640x480", each side 1 to 16384, into a size; false on anything else.
bool ParseSize(const char* text, int32_t& width, int32_t& height) {
    constexpr uint32_t kLimit = 16384;
    const char* x = text;
    while (*x != '\0' && *x != 'x') ++x;
    if (*x != 'x') return false;
    uint32_t w = 0, h = 0;
    if (!ParseUnsigned(std::string(text, x).c_str(), w) || !ParseUnsigned(x + 1, h)) return false;
    if (w < 1 || h < 1 || w > kLimit || h > kLimit) return false;
    width = int32_t(w);
    height = int32_t(h);
    return true;
}

void Ignored(const char* name, const char* value) { LogWarning("%s=%s не понят и не учтён.", name, value); }

}  // namespace

TestHooks TestHooks::Read(const std::function<const char*(const char*)>& lookup) {
    TestHooks hooks;
    if (const char* value = lookup("ZEL_FIXED_STEP")) {
        hooks.hasFixedStep = ParseSeconds(value, hooks.fixedStep);
        if (!hooks.hasFixedStep) Ignored("ZEL_FIXED_STEP", value);
    }
    if (const char* value = lookup("ZEL_SEED")) {
        hooks.hasSeed = ParseUnsigned(value, hooks.seed);
        if (!hooks.hasSeed) Ignored("ZEL_SEED", value);
    }
    if (const char* value = lookup("ZEL_FRAMES")) {
        hooks.hasFrameLimit = ParseUnsigned(value, hooks.frameLimit);
        if (!hooks.hasFrameLimit) Ignored("ZEL_FRAMES", value);
    }
    if (const char* value = lookup("ZEL_CAPTURE_DIR")) hooks.captureDirectory = String(value);
    if (const char* value = lookup("ZEL_CAPTURE_FRAMES")) {
        if (!ParseFrameList(value, hooks.captureFrames)) Ignored("ZEL_CAPTURE_FRAMES", value);
    }
    if (hooks.captureDirectory.IsEmpty()) hooks.captureFrames.clear();
    if (const char* value = lookup("ZEL_PREVIEW_HOST")) {
        hooks.hasPreviewHost = ParseRectangle(value, hooks.previewHost);
        if (!hooks.hasPreviewHost) Ignored("ZEL_PREVIEW_HOST", value);
    }
    if (const char* value = lookup("ZEL_WINDOWED")) {
        hooks.hasWindowed = ParseSize(value, hooks.windowedWidth, hooks.windowedHeight);
        if (!hooks.hasWindowed) Ignored("ZEL_WINDOWED", value);
    }
    return hooks;
}

TestHooks TestHooks::FromEnvironment() {
    return Read([](const char* name) -> const char* { return std::getenv(name); });
}

bool TestHooks::Captures(uint32_t frame) const {
    return std::find(captureFrames.begin(), captureFrames.end(), frame) != captureFrames.end();
}

String TestHooks::CapturePath(uint32_t frame) const {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05u.bmp", static_cast<unsigned>(frame));
    const char last = captureDirectory.IsEmpty() ? '\\' : captureDirectory[captureDirectory.Length() - 1];
    const bool separated = last == '\\' || last == '/';
    std::string path = std::string(captureDirectory.CStr()) + (separated ? "" : "\\") + name;
    return String(path.c_str());
}

}  // namespace zel
