// The director of the show: keeps one camera set (shot) current, points the
// current renderer at its camera, lets it run for its duration and then
// picks another set at random, avoiding the sets chosen most recently. The
// application reads the current set and the elapsed time to fade to and
// from black around each change.
#pragma once

#include <cstdint>

#include "engine/core/Controller.h"
#include "engine/animation/ScreensaverSet.h"
#include "engine/core/GrowableArray.h"

namespace zel {

class ScreensaverController : public Controller {
    ZEL_DECLARE_RTTI

public:
    ScreensaverController() = default;
    ~ScreensaverController() override;

    // Parent data, then the sets (count; camera link, fade-in time and
    // duration each). current, elapsed and the history are not stored.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    // Ends with ChooseNextSet, so a loaded scene already has a current set
    // whose camera the renderer looks through.
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // The controller's links, then each set's camera and animations.
    void VisitLinks(LinkVisitor& visitor) override;

    // Nothing unless active with a current set. Adds dt; once the set's
    // duration is reached, carries the overshoot into a newly chosen set
    // (one switch per call) and sets its animations back by the part of dt
    // that belongs to the old set, so their own update this frame puts
    // them exactly the overshoot into their tracks.
    void Update(double dt) override;
    // ChooseNextSet, then elapsed = 0.
    void Reset() override;

    // Picks a set at random that is not among the last n / 2 chosen (any
    // set with fewer than four sets), resets its camera and target
    // animations, takes its duration from their track periods (the target's
    // only when shorter) and makes its camera the current renderer's
    // camera. Nothing without sets.
    void ChooseNextSet();

    // Appends a set for `camera`, deriving its animation controllers as a
    // load does. 2 out of memory.
    [[nodiscard]] int32_t AddSet(Camera* camera, double fadeInTime, double duration);
    int32_t GetSetCount() const { return sets_.Count(); }
    // Index must be in 0..GetSetCount() − 1.
    const ScreensaverSet& GetSet(int32_t index) const { return sets_[index]; }
    // −1 before the first choice.
    int32_t GetCurrent() const { return current_; }
    double GetElapsed() const { return elapsed_; }
    // The recent choices, oldest first; −1 before the history is built.
    int32_t GetHistorySize() const { return historySize_; }
    int32_t GetHistoryEntry(int32_t index) const { return history_ != nullptr ? history_[index] : -1; }

private:
    // Discards and rebuilds the history when the set count asks for another
    // length. False when it cannot be allocated (then nothing is avoided).
    bool PrepareHistory(int32_t setCount);
    bool InHistory(int32_t index) const;
    void Remember(int32_t index);
    void StartSet(ScreensaverSet& set);
    int32_t LoadSets(Stream& stream);

    GrowableArray<ScreensaverSet> sets_{1, 1};
    int32_t current_ = -1;
    double elapsed_ = 0.0;
    int32_t* history_ = nullptr;  // owned, historySize_ entries
    int32_t historySize_ = -1;
};
ZEL_REGISTER_CLASS(ScreensaverController)

}  // namespace zel
