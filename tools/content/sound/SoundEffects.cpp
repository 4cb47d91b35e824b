#include "tools/content/sound/SoundEffects.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/content/sound/Synth.h"

namespace zel {

namespace {

using namespace synth;

PcmSound Mono(std::vector<float> samples) {
    PcmSound sound;
    sound.samples = std::move(samples);
    return sound;
}

std::vector<float> Noise(size_t frames, Random& random) {
    std::vector<float> noise(frames);
    for (float& v : noise) v = random.Bipolar();
    return noise;
}

// The distance in seconds from `event` to `t` on a loop of `period`
// seconds, in [−before, period − before).
double LoopDistance(double t, double event, double period, double before) {
    return std::fmod(t - event + before + 2 * period, period) - before;
}

}  // namespace

PcmSound MakeCarHum() {
    constexpr size_t kFrames = 2 * kRate;
    constexpr double kTurn = 20.0;   // crank turns a second (1200 rpm), 40 in the loop
    constexpr int kFirings = 80;     // two a turn, as in a four-cylinder engine
    constexpr int kHarmonics = 45;
    Random random(2);

    // Even multiples of the turn are the firing rate's harmonics and carry
    // most of the sound; the odd ones are the small imbalance between
    // cylinders. A low-pass slope with bumps for the block's and the
    // exhaust's resonances shapes them.
    double amplitude[kHarmonics], phase[kHarmonics];
    for (int n = 1; n <= kHarmonics; ++n) {
        const double f = n * kTurn;
        const double shape = 1.0 / (1.0 + (f / 160) * (f / 160)) + 0.5 * std::exp(-std::pow((f - 110) / 45, 2)) +
                             0.25 * std::exp(-std::pow((f - 380) / 90, 2));
        amplitude[n - 1] = (n % 2 == 0 ? 1.0 : 0.25) * shape;
        phase[n - 1] = random.Uniform();
    }
    // Each firing a little stronger or weaker than the last.
    double firing[kFirings];
    for (double& g : firing) g = 1.0 + 0.12 * random.Bipolar();

    const std::vector<float> exhaust = Noise(kFrames, random);
    const std::vector<float> road = Noise(kFrames, random);
    StateVariableFilter exhaustBand, roadLow;
    exhaustBand.Set(600, 0.8);
    roadLow.Set(250, 0.5);
    OnePole muffle;
    muffle.Set(2000);
    const Wavetable& sine = Wavetable::Sine();
    std::vector<float> out(kFrames);
    ProcessLoop(kFrames, [&](size_t i, bool keep) {
        const double t = static_cast<double>(i) / kRate;
        double tone = 0;
        for (int n = 0; n < kHarmonics; ++n) tone += amplitude[n] * sine.At((n + 1) * kTurn * t + phase[n]);
        const double position = t * 2 * kTurn;
        const int k = static_cast<int>(position);
        const double unevenness =
            firing[k % kFirings] + (firing[(k + 1) % kFirings] - firing[k % kFirings]) * SmoothStep(position - k, 1.0);
        const double pulse = std::pow(0.5 + 0.5 * sine.At(position + 0.25), 2);
        const double noise = 0.6 * exhaustBand.Process(exhaust[i]).band * pulse + 0.2 * roadLow.Process(road[i]).low;
        const float sample = muffle.Process(static_cast<float>(tone * unevenness + noise));
        if (keep) out[i] = sample;
    });
    Normalise(out, 0.7f);
    return Mono(std::move(out));
}

PcmSound MakeSurf() {
    constexpr double kSeconds = 12.0;
    constexpr size_t kFrames = static_cast<size_t>(kSeconds * kRate);
    struct Wave {
        double at, strength;
    };
    constexpr Wave kWaves[] = {{0.8, 1.0}, {4.9, 0.7}, {8.6, 0.85}};
    constexpr double kBefore = 3.0;  // a wave is heard from 3 s before it breaks to 9 s after

    Random random(3);
    const std::vector<float> waterNoise = Noise(kFrames, random);
    const std::vector<float> foamNoise = Noise(kFrames, random);
    const std::vector<float> rumbleNoise = Noise(kFrames, random);
    StateVariableFilter water, foam, rumble;
    foam.Set(3500, 0.7);
    rumble.Set(300, 0.5);
    OnePole air;  // the sound of a shore heard from a little way off: no sharp top
    air.Set(6000);
    std::vector<float> out(kFrames);
    ProcessLoop(kFrames, [&](size_t i, bool keep) {
        const double t = static_cast<double>(i) / kRate;
        double body = 0, hiss = 0;
        for (const Wave& wave : kWaves) {
            const double d = LoopDistance(t, wave.at, kSeconds, kBefore);
            const double fade = 1.0 - SmoothStep(d - 6.0, 3.0);
            // The swell gathers, breaks within 0.15 s and falls back;
            // the foam follows the break and fizzles out more slowly.
            const double swell = d < 0 ? 0.3 * SmoothStep(d + 2.5, 2.5)
                                       : 0.3 * std::exp(-d / 2.0) + 0.7 * SmoothStep(d, 0.15) * std::exp(-d / 1.0);
            body += wave.strength * swell * fade;
            hiss += wave.strength * SmoothStep(d - 0.2, 0.6) * std::exp(-std::max(0.0, d - 0.2) / 2.2) * fade;
        }
        water.Set(220 + 2600 * std::pow(std::min(body, 1.0), 1.5), 0.6);
        const double swellOfTheBay = 1.0 + 0.25 * std::cos(2 * kPi * 2 * t / kSeconds);
        const double sample = (0.12 + body) * water.Process(waterNoise[i]).low +
                              0.3 * hiss * foam.Process(foamNoise[i]).band +
                              0.5 * swellOfTheBay * rumble.Process(rumbleNoise[i]).low;
        const float heard = air.Process(static_cast<float>(sample));
        if (keep) out[i] = heard;
    });
    Normalise(out, 0.7f);
    return Mono(std::move(out));
}

PcmSound MakeGullCall(int which) {
    // A note's pitch rises from `rise` to `peak` Hz in its first 30 % and
    // falls to `end` Hz.
    struct Note {
        double start, length, rise, peak, end;
        float level;
    };
    std::vector<Note> notes;
    double seconds;
    if (which == 0) {
        notes = {{0.05, 0.55, 1050, 1500, 780, 1.0f}, {0.72, 0.2, 1100, 1350, 900, 0.75f}, {0.98, 0.2, 1050, 1300, 850, 0.7f}};
        seconds = 1.3;
    } else {
        for (int k = 0; k < 4; ++k) {
            const double scale = 1.0 - 0.04 * k;
            notes.push_back({0.05 + 0.22 * k, 0.15, 1250 * scale, 1450 * scale, 1000 * scale, 0.9f - 0.1f * k});
        }
        seconds = 1.0;
    }
    const size_t frames = static_cast<size_t>(seconds * kRate);
    Random random(4 + which);
    const Wavetable& sine = Wavetable::Sine();

    // A harsh, buzzy voice: every harmonic up to 8 kHz, a fast warble in
    // pitch and loudness, a little wavering and breath; then two throat
    // resonances and a high-pass for the thin, bright timbre.
    std::vector<float> voice(frames, 0.0f);
    OnePole waver;
    waver.Set(12);
    for (const Note& note : notes) {
        double phase = 0;
        const size_t first = static_cast<size_t>(note.start * kRate);
        const size_t length = static_cast<size_t>(note.length * kRate);
        for (size_t j = 0; j < length && first + j < frames; ++j) {
            const double t = static_cast<double>(j) / kRate;
            const double x = t / note.length;
            double f = x < 0.3 ? note.rise + (note.peak - note.rise) * SmoothStep(x, 0.3)
                               : note.peak + (note.end - note.peak) * SmoothStep(x - 0.3, 0.7);
            const double warble = sine.At(32 * t);
            f *= 1.0 + 0.025 * warble + 0.3 * waver.Process(random.Bipolar());
            phase += f / kRate;
            double tone = 0;
            const int harmonics = static_cast<int>(8000 / f);
            for (int k = 1; k <= harmonics; ++k) tone += sine.At(k * phase) / std::pow(k, 0.9);
            const double envelope = note.level * Envelope(t, 0, 0.025, note.length - 0.07, 0.07) * (1.0 + 0.2 * warble);
            voice[first + j] += static_cast<float>(envelope * (0.25 * tone + 0.2 * random.Bipolar()));
        }
    }
    StateVariableFilter throat, beak, thin;
    throat.Set(1900, 2.5);
    beak.Set(3400, 3.0);
    thin.Set(500, 0.5);
    std::vector<float> out(frames);
    for (size_t i = 0; i < frames; ++i) {
        const float dry = voice[i];
        const float shaped = 0.3f * dry + 1.5f * throat.Process(dry).band + 1.0f * beak.Process(dry).band;
        out[i] = thin.Process(shaped).high;
    }
    // Fades of 5 ms at both ends, so nothing clicks even if a tail reaches them.
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        out[i] *= SmoothStep(t, 0.005) * (1.0f - SmoothStep(t - (seconds - 0.005), 0.005));
    }
    Normalise(out, 0.7f);
    return Mono(std::move(out));
}

PcmSound MakeBuoyBell() {
    constexpr double kSeconds = 3.0;
    constexpr size_t kFrames = static_cast<size_t>(kSeconds * kRate);
    constexpr double kPrime = 587.33;  // D5
    // A bell's partials relative to its strike note: hum, prime, minor
    // third, fifth, octave and the high ones; the lower ring longest.
    struct Partial {
        double ratio, amplitude, decay;
    };
    constexpr Partial kPartials[] = {{0.5, 0.35, 1.3}, {1.0, 0.8, 1.1},   {1.19, 0.5, 0.9}, {1.5, 0.25, 0.6},
                                     {2.0, 0.6, 0.75}, {2.51, 0.3, 0.4},  {2.66, 0.2, 0.35}, {3.01, 0.15, 0.25},
                                     {4.16, 0.1, 0.18}, {5.43, 0.06, 0.12}};
    Random random(6);
    const Wavetable& sine = Wavetable::Sine();
    std::vector<float> out(kFrames, 0.0f);
    for (const Partial& partial : kPartials) {
        // Each partial is a pair a fraction of a hertz apart: the slow
        // beating of a real, slightly uneven bell.
        const double f = kPrime * partial.ratio;
        const double phase = random.Uniform();
        for (size_t i = 0; i < kFrames; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double pair = sine.At(f * 0.9994 * t + phase) + sine.At(f * 1.0006 * t + phase);
            out[i] += static_cast<float>(0.5 * partial.amplitude * std::exp(-t / partial.decay) * pair);
        }
    }
    // The clapper's knock: a few milliseconds of bright noise.
    StateVariableFilter knock;
    knock.Set(2500, 1.0);
    for (size_t i = 0; i < kFrames / 10; ++i) {
        const double t = static_cast<double>(i) / kRate;
        out[i] += static_cast<float>(0.4 * std::exp(-t / 0.002) * knock.Process(random.Bipolar()).band);
    }
    for (size_t i = 0; i < kFrames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        out[i] *= SmoothStep(t, 0.0015) * (1.0f - SmoothStep(t - (kSeconds - 0.4), 0.4));
    }
    Normalise(out, 0.8f);
    return Mono(std::move(out));
}

}  // namespace zel
