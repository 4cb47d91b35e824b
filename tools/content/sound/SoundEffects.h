// The show's sound effects, synthesised: mono, 44.1 kHz.
#pragma once

#include "tools/content/sound/OggVorbisWriter.h"

namespace zel {

// A car engine at steady speed, 2 s: the harmonics of a 20 Hz crank turn
// (strongest at the 40 Hz firing rate and its multiples) with a little
// firing-to-firing unevenness and exhaust noise. Every component repeats a
// whole number of times in the loop, so it wraps without a seam.
PcmSound MakeCarHum();

// Surf on a shore, 12 s: a low rumble under three breaking waves, each a
// swell of noise that brightens as it breaks and hisses as it washes out.
// Envelopes and filters run round the loop, so it wraps without a seam.
PcmSound MakeSurf();

// A seagull: `which` 0 is a long rising-falling cry and two short calls
// (1.3 s), 1 a quick laughing series of four (1.0 s).
PcmSound MakeGullCall(int which);

// A buoy's bell struck once, 3 s: inharmonic partials, each a slowly
// beating pair, dying away exponentially, higher ones sooner.
PcmSound MakeBuoyBell();

}  // namespace zel
