// Small building blocks for the show's sounds: a seeded noise source, a
// sine table, band-limited wave tables, filters, an echo and a reverb.
// Everything is plain arithmetic on floats and doubles, so the same input
// gives the same samples on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel::synth {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Frequency of a MIDI note number, A4 (69) = 440 Hz, equal temperament.
double NoteFrequency(double note);

// A fixed-seed generator (xorshift64*), so the noise is the same on every run.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Uniform in [-1, 1).
    float Bipolar() { return static_cast<float>(Uniform() * 2.0 - 1.0); }

private:
    uint64_t state_;
};

// One cycle of a periodic wave, read at any phase with linear
// interpolation. `harmonics[k]` is the amplitude of harmonic k + 1; the
// table is normalised to a peak of 1.
class Wavetable {
public:
    explicit Wavetable(const std::vector<double>& harmonics);
    static const Wavetable& Sine();

    // `phase` in cycles; only its fraction matters.
    float At(double phase) const;

private:
    static constexpr int kSize = 4096;
    std::vector<float> table_;
};

// Raised-cosine rise from 0 to 1 over [0, length]: no corner at either end.
float SmoothStep(double t, double length);

// 0 before `start`, up to 1 over `attack`, held until `start + hold`, then
// down to 0 over `release`; both ramps are raised cosines.
float Envelope(double t, double start, double attack, double hold, double release);

// Topology-preserving state-variable filter: stable while its cutoff moves.
class StateVariableFilter {
public:
    struct Output {
        float low, band, high;
    };
    // `q` 0.5 is smooth; higher values ring at the cutoff.
    void Set(double cutoff, double q);
    Output Process(float in);

private:
    double g_ = 0, k_ = 2, a1_ = 0, a2_ = 0, a3_ = 0;
    double ic1_ = 0, ic2_ = 0;
};

// One-pole lowpass, for smoothing and for damping inside feedback loops.
class OnePole {
public:
    void Set(double cutoff);
    float Process(float in) { return state_ += coefficient_ * (in - state_); }

private:
    float coefficient_ = 1;
    float state_ = 0;
};

// A fixed delay in samples.
class DelayLine {
public:
    explicit DelayLine(size_t length) : buffer_(length, 0.0f) {}
    float Read() const { return buffer_[position_]; }
    void Write(float value) {
        buffer_[position_] = value;
        if (++position_ == buffer_.size()) position_ = 0;
    }

private:
    std::vector<float> buffer_;
    size_t position_ = 0;
};

// A small room: parallel damped combs into two allpasses per channel, the
// right channel's lengths slightly longer for width.
class Reverb {
public:
    Reverb();
    // One stereo frame in, the wet signal out through `left`/`right`.
    void Process(float inLeft, float inRight, float& left, float& right);

private:
    struct Comb {
        DelayLine line;
        OnePole damping;
    };
    std::vector<Comb> combs_[2];
    std::vector<DelayLine> allpasses_[2];
};

// Runs a stateful effect over a loop twice and keeps the second lap: the
// first lap fills the filters and echoes with the loop's own end, so the
// kept lap starts exactly where it finishes and the wrap is seamless.
template <typename Step>
void ProcessLoop(size_t frames, Step step) {
    for (int lap = 0; lap < 2; ++lap)
        for (size_t i = 0; i < frames; ++i) step(i, lap == 1);
}

// Largest absolute sample.
float Peak(const std::vector<float>& samples);
// Scales the samples so their peak is `peak`.
void Normalise(std::vector<float>& samples, float peak);

}  // namespace zel::synth
