#include "tools/content/sound/Synth.h"

#include <algorithm>
#include <cmath>

namespace zel::synth {

double NoteFrequency(double note) { return 440.0 * std::exp2((note - 69.0) / 12.0); }

uint32_t Random::Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
}

double Random::Uniform() { return Next() / 4294967296.0; }

Wavetable::Wavetable(const std::vector<double>& harmonics) : table_(kSize + 1) {
    std::vector<double> wave(kSize, 0.0);
    for (size_t k = 0; k < harmonics.size(); ++k)
        for (int i = 0; i < kSize; ++i) wave[i] += harmonics[k] * std::sin(2.0 * kPi * (k + 1) * i / kSize);
    double peak = 0;
    for (double v : wave) peak = std::max(peak, std::fabs(v));
    for (int i = 0; i < kSize; ++i) table_[i] = static_cast<float>(peak > 0 ? wave[i] / peak : 0.0);
    table_[kSize] = table_[0];  // the guard point for interpolation
}

const Wavetable& Wavetable::Sine() {
    static const Wavetable sine({1.0});
    return sine;
}

float Wavetable::At(double phase) const {
    const double position = (phase - std::floor(phase)) * kSize;
    const int index = std::min(static_cast<int>(position), kSize - 1);
    const float fraction = static_cast<float>(position - index);
    return table_[index] + (table_[index + 1] - table_[index]) * fraction;
}

float SmoothStep(double t, double length) {
    if (t <= 0) return 0;
    if (t >= length) return 1;
    return static_cast<float>(0.5 - 0.5 * std::cos(kPi * t / length));
}

float Envelope(double t, double start, double attack, double hold, double release) {
    const double local = t - start;
    if (local <= 0 || local >= hold + release) return 0;
    return SmoothStep(local, attack) * (1.0f - SmoothStep(local - hold, release));
}

void StateVariableFilter::Set(double cutoff, double q) {
    g_ = std::tan(kPi * std::min(cutoff, kRate * 0.45) / kRate);
    k_ = 1.0 / q;
    a1_ = 1.0 / (1.0 + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

StateVariableFilter::Output StateVariableFilter::Process(float in) {
    const double v3 = in - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(in - k_ * v1 - v2)};
}

void OnePole::Set(double cutoff) { coefficient_ = static_cast<float>(1.0 - std::exp(-2.0 * kPi * cutoff / kRate)); }

namespace {

constexpr size_t kCombLengths[] = {1116, 1277, 1422, 1557};
constexpr size_t kAllpassLengths[] = {556, 341};
constexpr size_t kStereoSpread = 23;
constexpr float kCombFeedback = 0.78f;
constexpr float kAllpassFeedback = 0.5f;

}  // namespace

Reverb::Reverb() {
    for (int c = 0; c < 2; ++c) {
        const size_t spread = c == 0 ? 0 : kStereoSpread;
        for (size_t length : kCombLengths) {
            combs_[c].push_back({DelayLine(length + spread), OnePole()});
            combs_[c].back().damping.Set(4500.0);
        }
        for (size_t length : kAllpassLengths) allpasses_[c].emplace_back(length + spread);
    }
}

void Reverb::Process(float inLeft, float inRight, float& left, float& right) {
    const float in = 0.5f * (inLeft + inRight);
    float* out[2] = {&left, &right};
    for (int c = 0; c < 2; ++c) {
        float sum = 0;
        for (Comb& comb : combs_[c]) {
            const float delayed = comb.line.Read();
            sum += delayed;
            comb.line.Write(in + comb.damping.Process(delayed) * kCombFeedback);
        }
        sum *= 0.25f;
        for (DelayLine& allpass : allpasses_[c]) {
            const float delayed = allpass.Read();
            allpass.Write(sum + delayed * kAllpassFeedback);
            sum = delayed - sum;
        }
        *out[c] = sum;
    }
}

float Peak(const std::vector<float>& samples) {
    float peak = 0;
    for (float v : samples) peak = std::max(peak, std::fabs(v));
    return peak;
}

void Normalise(std::vector<float>& samples, float peak) {
    const float current = Peak(samples);
    if (current <= 0) return;
    const float scale = peak / current;
    for (float& v : samples) v *= scale;
}

}  // namespace zel::synth
