// The show's frame rate, shot by shot, and the time its scene takes to load
// from the media archive, drawn through the screensaver's own frame path
// (the scene, its fade and the clock) in a window of 640 × 480 or the size
// given.
//
//   zel-bench-show.exe CUSTOM.rar2 MEDIA.rar2 [frames per shot [WIDTHxHEIGHT]]
//   (default 90 frames, 640x480)
//
// Every shot is made current in turn and drawn for the given number of
// frames at a fixed 1/30 s step after a few unmeasured ones; the wall time
// of those frames gives the shot's rate.
#include "engine/os/win32/Windows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Overlay.h"
#include "app/SceneShow.h"
#include "app/Settings.h"
#include "engine/animation/ScreensaverController.h"
#include "engine/core/Engine.h"
#include "engine/render/d3d9/D3D9Renderer.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/FileManager.h"
#include "engine/scene/Camera.h"
#include "tools/common/DiskPath.h"
#include "BenchWindow.h"

namespace zel {
namespace {

constexpr double kStep = 1.0 / 30.0;
constexpr int kWarmUpFrames = 5;

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

bool Mount(const char* path) {
    DiskPath disk(path);
    return MountArchive(disk.GetFile(), String()) == kOk;
}

void DrawFrame(SceneShow& show, Overlay& overlay, Renderer& renderer) {
    show.Update(kStep, renderer);
    renderer.Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
    if (renderer.BeginFrame() != kOk) return;
    show.Render(renderer, overlay);
    renderer.EndFrame();
}

// Makes set `index` the current shot: the director picks at random, so it
// is asked until it picks that one.
bool MakeCurrent(ScreensaverController& director, int32_t index) {
    for (int attempt = 0; attempt < 100000 && director.GetCurrent() != index; ++attempt) director.Reset();
    return director.GetCurrent() == index;
}

struct ShotRate {
    std::string camera;
    double fps;
};

int Measure(SceneShow& show, Overlay& overlay, Renderer& renderer, int frames) {
    ScreensaverController* director = show.GetController();
    if (director == nullptr) {
        std::fprintf(stderr, "show bench: the scene has no director\n");
        return 1;
    }
    std::vector<ShotRate> rates;
    for (int32_t i = 0; i < director->GetSetCount(); ++i) {
        if (!MakeCurrent(*director, i)) continue;
        for (int f = 0; f < kWarmUpFrames; ++f) DrawFrame(show, overlay, renderer);
        const double start = Now();
        for (int f = 0; f < frames; ++f) DrawFrame(show, overlay, renderer);
        const double seconds = Now() - start;
        rates.push_back({director->GetSet(i).camera->GetName().CStr(), seconds > 0 ? frames / seconds : 0.0});
    }
    std::sort(rates.begin(), rates.end(), [](const ShotRate& a, const ShotRate& b) { return a.camera < b.camera; });
    double sum = 0.0;
    const ShotRate* slowest = nullptr;
    for (const ShotRate& rate : rates) {
        std::printf("%-10s %7.2f fps\n", rate.camera.c_str(), rate.fps);
        sum += rate.fps;
        if (slowest == nullptr || rate.fps < slowest->fps) slowest = &rate;
    }
    if (slowest != nullptr)
        std::printf("mean %.2f fps over %zu shots; slowest %s at %.2f fps\n", sum / rates.size(), rates.size(),
                    slowest->camera.c_str(), slowest->fps);
    return 0;
}

int Run(const char* custom, const char* media, int frames, int width, int height) {
    for (const char* codec :
         {"BMPImageCodec", "JPGImageCodec", "TGAImageCodec", "CUBEImageCodec", "STRSceneCodec", "RAR2FileCodec"})
        LoadCodec(String(codec), nullptr);
    if (!Mount(custom) || !Mount(media)) {
        std::fprintf(stderr, "show bench: cannot mount %s and %s\n", custom, media);
        return 1;
    }
    BenchWindowSystem windows;
    SetWindowSystem(&windows);
    Pointer<D3D9Renderer> renderer = new D3D9Renderer();
    const int32_t mode = WindowedMode(*renderer);
    if (mode < 0 || renderer->OpenWindow(mode, "Zel show bench", nullptr, 0, 0, width, height) != 0) {
        std::fprintf(stderr, "show bench: no device\n");
        return 1;
    }
    SetCurrentRenderer(renderer);
    int status = 1;
    {
        SceneShow show;
        Overlay overlay;
        const double start = Now();
        if (overlay.Create() == 0 && show.CreateRenderData() == kOk &&
            show.CreateData(Settings(), *renderer) == kOk) {
            std::printf("scene loaded in %.0f ms\n", (Now() - start) * 1e3);
            show.Cache(*renderer, false);
            std::printf("textures cached after %.0f ms\n", (Now() - start) * 1e3);
            status = Measure(show, overlay, *renderer, frames);
        } else {
            std::fprintf(stderr, "show bench: the scene did not load\n");
        }
        show.DeleteData();
        show.DeleteRenderData();
        overlay.Release();
    }
    SetCurrentRenderer(nullptr);
    renderer->CloseWindow();
    SetWindowSystem(nullptr);
    return status;
}

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zel-bench-show CUSTOM.rar2 MEDIA.rar2 [frames per shot [WIDTHxHEIGHT]]\n");
        return 2;
    }
    const int frames = argc > 3 ? std::atoi(argv[3]) : 90;
    int width = 640, height = 480;
    if (argc > 4 && (std::sscanf(argv[4], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0)) {
        std::fprintf(stderr, "zel-bench-show: the window size is WIDTHxHEIGHT, not %s\n", argv[4]);
        return 2;
    }
    if (zel::EngineInitialize() != 0) return 1;
    const int status = zel::Run(argv[1], argv[2], frames > 0 ? frames : 1, width, height);
    zel::EngineTerminate();
    return status;
}
