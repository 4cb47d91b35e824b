// The show's frame loop, one pass at a time: input, the time step, the
// scene's update, and the frame drawn and presented. While the device is
// lost the show stands still and is silent; once the device is back the
// frame timer restarts, so the scene goes on where it stopped. A device
// still lost after kLostDeviceLimitMs of wall-clock time ends the show.
#pragma once

#include <cstdint>

#include "app/FpsCounter.h"
#include "app/Timer.h"

namespace zel {

class Renderer;

class FrameLoop {
public:
    static constexpr double kLostDeviceLimitMs = 5000.0;
    // The pause of a pass that finds the device lost.
    static constexpr uint32_t kLostDevicePauseMs = 10;

    // What a frame runs, supplied by the application.
    class Show {
    public:
        virtual ~Show() = default;
        virtual bool IsRunning() const = 0;
        // Ends the show the way an exit rule does.
        virtual void Stop() = 0;
        virtual int32_t Update(double seconds) = 0;
        virtual int32_t Render() = 0;
        virtual void DrawOverlay(double fps) = 0;
        // Frame `frame` (from 1) is drawn and about to be presented.
        virtual void OnFrameDrawn(uint32_t frame) = 0;
        virtual void OnFramePresented(uint32_t frame) = 0;
        // Mutes all sound, or gives it back its volume.
        virtual void SetSilent(bool silent) = 0;
    };

    using Pause = void (*)(uint32_t milliseconds);

    // Not owning: the renderer and the show outlive the loop. Null ticks or
    // pause: the system's tick count, a real sleep.
    FrameLoop(Renderer& renderer, Show& show, Timer::TickSource ticks = nullptr, Pause pause = nullptr);

    // Every frame's step instead of the measured one (a test hook).
    void SetFixedStep(double seconds) {
        hasFixedStep_ = true;
        fixedStep_ = seconds;
    }

    // Call once before the first frame: the first step counts from now.
    void Start() { timer_.Start(); }
    // One pass. Input first (the handlers may stop the show; nothing is
    // drawn then). A lost device skips the update and the drawing; a show
    // the device stays lost for is stopped. 0 go on; 1 a step failed (logged).
    int32_t RunFrame();

    // The sum of the steps the scene was advanced by.
    double GetRunTime() const { return runTime_; }

private:
    int32_t Advance();
    int32_t Draw();
    void HoldLostDevice();
    void Resume();
    double Now() const { return ticks_(); }

    Renderer& renderer_;
    Show& show_;
    Timer::TickSource ticks_;
    Pause pause_;
    Timer timer_;
    FpsCounter fps_;
    bool hasFixedStep_ = false;
    double fixedStep_ = 0.0;
    double runTime_ = 0.0;
    uint32_t frame_ = 0;
    bool lost_ = false;
    double lostSince_ = 0.0;  // ms, while lost_
};

}  // namespace zel
