#include "tools/content/sound/HarbourMusic.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/content/sound/Synth.h"

namespace zel {

namespace {

using namespace synth;

constexpr int kBars = 32;
constexpr int kBeatsPerBar = 4;
constexpr double kSecondsPerBeat = 60.0 / 72.0;
constexpr size_t kFramesPerBeat = 36750;  // 72 beats a minute at 44.1 kHz, exactly
constexpr size_t kFrames = kBars * kBeatsPerBar * kFramesPerBeat;

// Two bars a chord mostly, the dominant split into sus4 and its resolution.
// MIDI notes: the bass between B1 and A2, the pad voiced close around D4.
struct Chord {
    int bar;
    int bars;
    int bass;
    int pad[4];
};
constexpr Chord kChords[] = {
    {0, 2, 38, {57, 61, 64, 66}},   // Dmaj7
    {2, 2, 35, {57, 59, 62, 66}},   // Bm7
    {4, 2, 43, {55, 59, 62, 66}},   // Gmaj7
    {6, 1, 45, {55, 57, 62, 64}},   // A7sus4
    {7, 1, 45, {55, 57, 61, 64}},   // A7
    {8, 2, 38, {54, 57, 62, 64}},   // Dadd9
    {10, 2, 42, {54, 57, 61, 64}},  // F#m7
    {12, 2, 43, {55, 59, 62, 66}},  // Gmaj7
    {14, 1, 40, {55, 59, 62, 64}},  // Em7
    {15, 1, 45, {55, 57, 61, 64}},  // A7
    {16, 2, 35, {57, 59, 62, 66}},  // Bm7
    {18, 2, 43, {55, 59, 62, 66}},  // Gmaj7
    {20, 2, 42, {57, 61, 64, 66}},  // Dmaj7 over F#
    {22, 1, 45, {57, 62, 64, 69}},  // Asus4
    {23, 1, 45, {57, 61, 64, 69}},  // A
    {24, 2, 40, {54, 59, 62, 67}},  // Em9
    {26, 2, 42, {57, 61, 64, 66}},  // F#m7
    {28, 2, 43, {55, 59, 62, 66}},  // Gmaj7
    {30, 1, 45, {57, 62, 64, 67}},  // A7sus4
    {31, 1, 45, {57, 61, 64, 67}},  // A7, back to Dmaj7 at the top
};

// The bell melody: bar, beat, MIDI note, length in beats. Chord tones on
// the strong beats, passing notes between; the last phrase falls to C#
// so the loop's first note (A over Dmaj7) resolves it.
struct MelodyNote {
    int bar;
    double beat;
    int pitch;
    double beats;
};
constexpr MelodyNote kMelody[] = {
    {0, 0, 81, 3},  {0, 3, 78, 1},  {1, 0, 76, 2},  {1, 2, 73, 2},                   //
    {2, 0, 74, 2},  {2, 2, 78, 1},  {2, 3, 81, 1},  {3, 0, 83, 3},  {3, 3, 81, 1},   //
    {4, 0, 79, 2},  {4, 2, 78, 2},  {5, 0, 74, 4},                                   //
    {6, 0, 76, 2},  {6, 2, 74, 1},  {6, 3, 76, 1},  {7, 0, 73, 4},                   //
    {8, 0, 78, 2},  {8, 2, 81, 2},  {9, 0, 86, 3},  {9, 3, 85, 1},                   //
    {10, 0, 81, 2}, {10, 2, 78, 1}, {10, 3, 76, 1}, {11, 0, 73, 4},                  //
    {12, 0, 71, 2}, {12, 2, 74, 2}, {13, 0, 78, 2}, {13, 2, 79, 2},                  //
    {14, 0, 76, 2}, {14, 2, 79, 2}, {15, 0, 81, 2}, {15, 2, 76, 1}, {15, 3, 73, 1},  //
    {16, 0, 78, 3}, {16, 3, 74, 1}, {17, 0, 83, 4},                                  //
    {18, 0, 81, 2}, {18, 2, 79, 2}, {19, 0, 78, 4},                                  //
    {20, 0, 76, 2}, {20, 2, 78, 1}, {20, 3, 81, 1}, {21, 0, 85, 3}, {21, 3, 81, 1},  //
    {22, 0, 79, 2}, {22, 2, 76, 2}, {23, 0, 73, 4},                                  //
    {24, 0, 78, 2}, {24, 2, 79, 1}, {24, 3, 83, 1}, {25, 0, 74, 4},                  //
    {26, 0, 76, 2}, {26, 2, 81, 2}, {27, 0, 85, 3}, {27, 3, 81, 1},                  //
    {28, 0, 83, 2}, {28, 2, 81, 1}, {28, 3, 79, 1}, {29, 0, 78, 4},                  //
    {30, 0, 76, 2}, {30, 2, 74, 2}, {31, 0, 76, 2}, {31, 2, 73, 2},
};

// Left and right channels of the whole loop. Notes are added from any
// frame and fold back onto the start where they run past the end.
struct Stereo {
    std::vector<float> left = std::vector<float>(kFrames, 0.0f);
    std::vector<float> right = std::vector<float>(kFrames, 0.0f);

    void Add(size_t& at, float l, float r) {
        left[at] += l;
        right[at] += r;
        if (++at == kFrames) at = 0;
    }
};

size_t BeatFrame(double beat) { return static_cast<size_t>(std::lround(beat * kFramesPerBeat)) % kFrames; }

// Equal-power gains for a position from −1 (left) to 1 (right).
void Pan(double position, float& left, float& right) {
    const double angle = (position + 1.0) * kPi / 4.0;
    left = static_cast<float>(std::cos(angle));
    right = static_cast<float>(std::sin(angle));
}

// A soft saw: harmonics falling faster than 1/k, so the pad stays warm.
std::vector<double> PadHarmonics() {
    std::vector<double> harmonics;
    for (int k = 1; k <= 12; ++k) harmonics.push_back(std::exp(-(k - 1) / 5.0) / k);
    return harmonics;
}

// The pad's notes: a pitch held by consecutive chords sounds on instead of
// striking again.
struct PadNote {
    double beat;
    double beats;
    int pitch;
};
std::vector<PadNote> PadNotes() {
    std::vector<PadNote> notes;
    for (const Chord& chord : kChords) {
        const double start = chord.bar * kBeatsPerBar;
        const double length = chord.bars * kBeatsPerBar;
        for (int pitch : chord.pad) {
            auto held = std::find_if(notes.begin(), notes.end(),
                                     [&](const PadNote& n) { return n.pitch == pitch && n.beat + n.beats == start; });
            if (held != notes.end())
                held->beats += length;
            else
                notes.push_back({start, length, pitch});
        }
    }
    return notes;
}

// Three slightly detuned voices spread left, centre and right, swelling in
// and out slowly with a gentle tremolo.
void AddPad(Stereo& out, Random& random) {
    static const Wavetable wave(PadHarmonics());
    constexpr double kAttack = 1.6, kRelease = 2.4;
    constexpr double kCents[3] = {-7, 0, 7};
    constexpr double kPans[3] = {-0.6, 0, 0.6};
    for (const PadNote& note : PadNotes()) {
        const double hold = note.beats * kSecondsPerBeat;
        const size_t length = static_cast<size_t>((hold + kRelease) * kRate);
        const float level = static_cast<float>(0.085 * (1.0 - (note.pitch - 54) * 0.012));
        double step[3], phase[3];
        float gainL[3], gainR[3];
        for (int v = 0; v < 3; ++v) {
            step[v] = NoteFrequency(note.pitch + kCents[v] / 100.0) / kRate;
            phase[v] = random.Uniform();
            Pan(kPans[v], gainL[v], gainR[v]);
        }
        const double tremolo = random.Uniform() * 2 * kPi;
        size_t at = BeatFrame(note.beat);
        for (size_t j = 0; j < length; ++j) {
            const double t = static_cast<double>(j) / kRate;
            const float envelope = level * Envelope(t, 0, kAttack, hold, kRelease) *
                                   static_cast<float>(1.0 + 0.08 * std::sin(2 * kPi * 0.23 * t + tremolo));
            float l = 0, r = 0;
            for (int v = 0; v < 3; ++v) {
                const float s = wave.At(phase[v] + step[v] * j);
                l += s * gainL[v];
                r += s * gainR[v];
            }
            out.Add(at, l * envelope, r * envelope);
        }
    }
}

// A round bass, struck on every bar. Its phase follows the absolute time,
// so a note ringing into the next strike of the same pitch adds to it
// rather than cancelling it.
void AddBass(Stereo& out) {
    static const Wavetable wave({1.0, 0.3, 0.1, 0.04});
    const double barSeconds = kBeatsPerBar * kSecondsPerBeat;
    for (const Chord& chord : kChords) {
        const double frequency = NoteFrequency(chord.bass);
        for (int b = 0; b < chord.bars; ++b) {
            const size_t first = BeatFrame((chord.bar + b) * kBeatsPerBar);
            const float level = b == 0 ? 0.22f : 0.18f;
            const double hold = barSeconds - 0.45, release = 0.6;
            const size_t length = static_cast<size_t>((hold + release) * kRate);
            size_t at = first;
            for (size_t j = 0; j < length; ++j) {
                const double t = static_cast<double>(j) / kRate;
                const float envelope = level * Envelope(t, 0, 0.04, hold, release) *
                                       static_cast<float>(0.6 + 0.4 * std::exp(-t / 0.9));
                const float s = envelope * wave.At(frequency * static_cast<double>(first + j) / kRate);
                out.Add(at, s, s);
            }
        }
    }
}

// A soft bell: a strong fundamental with quickly fading upper partials, two
// of them slightly out of tune for a glassy edge. It rings for its written
// length, then dies away.
void AddMelody(Stereo& out, Random& random) {
    struct Partial {
        double ratio, amplitude, decay;
    };
    constexpr Partial kPartials[] = {{1.0, 1.0, 1.8}, {2.0, 0.3, 0.9}, {3.0, 0.1, 0.45}, {4.2, 0.05, 0.25}, {5.4, 0.03, 0.15}};
    constexpr double kFade = 1.5;
    const Wavetable& sine = Wavetable::Sine();
    for (const MelodyNote& note : kMelody) {
        const double frequency = NoteFrequency(note.pitch);
        const double hold = note.beats * kSecondsPerBeat;
        const size_t length = static_cast<size_t>((hold + kFade) * kRate);
        const double accent = note.beat == 0 ? 1.0 : 0.82;
        const float level = static_cast<float>(0.22 * accent * (0.94 + 0.12 * random.Uniform()));
        float panL, panR;
        Pan(random.Uniform() * 0.7 - 0.35, panL, panR);
        double gain[5], shrink[5];
        for (int p = 0; p < 5; ++p) {
            gain[p] = kPartials[p].amplitude;
            shrink[p] = std::exp(-1.0 / (kPartials[p].decay * kRate));
        }
        size_t at = BeatFrame(note.bar * kBeatsPerBar + note.beat);
        for (size_t j = 0; j < length; ++j) {
            const double t = static_cast<double>(j) / kRate;
            double s = 0;
            for (int p = 0; p < 5; ++p) {
                s += gain[p] * sine.At(frequency * kPartials[p].ratio * t);
                gain[p] *= shrink[p];
            }
            const float envelope = level * Envelope(t, 0, 0.004, hold, kFade);
            out.Add(at, static_cast<float>(s) * envelope * panL, static_cast<float>(s) * envelope * panR);
        }
    }
}

}  // namespace

PcmSound MakeHarbourMusic() {
    Random random(1);
    Stereo dry;
    AddPad(dry, random);
    AddBass(dry);
    Stereo bells;
    AddMelody(bells, random);

    // The bells echo from side to side a dotted eighth apart, each repeat
    // darker; everything then goes through the room. Both effects run round
    // the loop, so their tails at the end continue at the start.
    DelayLine echoLeft(static_cast<size_t>(0.75 * kFramesPerBeat));
    DelayLine echoRight(static_cast<size_t>(0.75 * kFramesPerBeat));
    OnePole darkLeft, darkRight;
    darkLeft.Set(2800);
    darkRight.Set(2800);
    Reverb room;
    PcmSound music;
    music.channels = 2;
    music.samples.assign(kFrames * 2, 0.0f);
    ProcessLoop(kFrames, [&](size_t i, bool keep) {
        const float fromLeft = darkLeft.Process(echoLeft.Read());
        const float fromRight = darkRight.Process(echoRight.Read());
        echoLeft.Write(0.5f * (bells.left[i] + bells.right[i]) + fromRight * 0.38f);
        echoRight.Write(fromLeft * 0.38f);
        const float left = dry.left[i] + bells.left[i] + fromLeft * 0.45f;
        const float right = dry.right[i] + bells.right[i] + fromRight * 0.45f;
        float wetLeft, wetRight;
        room.Process(left, right, wetLeft, wetRight);
        if (keep) {
            music.samples[2 * i] = left + 0.3f * wetLeft;
            music.samples[2 * i + 1] = right + 0.3f * wetRight;
        }
    });
    Normalise(music.samples, 0.84f);
    return music;
}

}  // namespace zel
