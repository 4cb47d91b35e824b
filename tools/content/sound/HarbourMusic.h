// The show's music: a slow ambient piece in D major for a harbour at dusk,
// made to loop without a seam.
#pragma once

#include "tools/content/sound/OggVorbisWriter.h"

namespace zel {

// Stereo, 44.1 kHz, 32 bars at 72 beats a minute (106⅔ s). Warm pad chords,
// a soft bass and a bell melody with echo, all in a light reverb. Every tail
// that runs past the end is folded back onto the start and the effects run
// round the loop, so the last sample leads straight into the first.
PcmSound MakeHarbourMusic();

}  // namespace zel
