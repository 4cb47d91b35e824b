#include "app/FrameLoop.h"

#include <chrono>
#include <thread>

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/platform/InputManager.h"
#include "engine/render/Renderer.h"

namespace zel {

namespace {

void SleepFor(uint32_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

int32_t Fail(const char* text) {
    LogError("%s", text);
    return kFailed;
}

}  // namespace

FrameLoop::FrameLoop(Renderer& renderer, Show& show, Timer::TickSource ticks, Pause pause)
    : renderer_(renderer),
      show_(show),
      ticks_(ticks != nullptr ? ticks : &SystemTickMilliseconds),
      pause_(pause != nullptr ? pause : &SleepFor),
      timer_(ticks_) {}

int32_t FrameLoop::RunFrame() {
    if (ProcessInput() != kOk) return Fail("Неудачна обработка ввода.");
    if (!show_.IsRunning()) return kOk;
    if (!lost_ && Advance() != kOk) return kFailed;
    return Draw();
}

int32_t FrameLoop::Advance() {
    const double measured = timer_.Delta();
    const double dt = hasFixedStep_ ? fixedStep_ : measured;
    fps_.AddFrame(dt);
    runTime_ += dt;
    if (show_.Update(dt) != kOk) return Fail("Неудачно обновление сцены.");
    return kOk;
}

int32_t FrameLoop::Draw() {
    renderer_.Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
    const int32_t begun = renderer_.BeginFrame();
    if (begun == kFailed) {
        HoldLostDevice();
        return kOk;
    }
    if (begun != kOk) return Fail("Неудачно начало рендеринга.");
    if (lost_) Resume();
    if (show_.Render() != kOk) return Fail("Неудачен рендеринг.");
    show_.DrawOverlay(fps_.GetFps());
    ++frame_;
    show_.OnFrameDrawn(frame_);
    renderer_.EndFrame();
    show_.OnFramePresented(frame_);
    return kOk;
}

void FrameLoop::HoldLostDevice() {
    if (!lost_) {
        lost_ = true;
        lostSince_ = Now();
        show_.SetSilent(true);
        LogWarning("Устройство потеряно: показ остановлен.");
    } else if (Now() - lostSince_ >= kLostDeviceLimitMs) {
        LogWarning("Устройство не восстановлено за %d с: показ завершается.",
                   static_cast<int>(kLostDeviceLimitMs / 1000.0));
        show_.Stop();
        return;
    }
    pause_(kLostDevicePauseMs);
}

// The recovered frame shows the scene as it stood; the next step counts
// from now, so the time the device was lost is not played through at once.
void FrameLoop::Resume() {
    lost_ = false;
    timer_.Start();
    show_.SetSilent(false);
    LogInfo("Устройство восстановлено: показ продолжается.");
}

}  // namespace zel
