#include "tools/content/sound/ShowSounds.h"

#include <functional>

#include "tools/content/sound/HarbourMusic.h"
#include "tools/content/sound/OggVorbisWriter.h"
#include "tools/content/sound/SoundEffects.h"

namespace zel {

namespace {

// Low VBR qualities keep the six files together near a megabyte; each
// file's Ogg stream has its own fixed serial number.
struct ShowSound {
    const char* name;
    std::function<PcmSound()> make;
    float quality;
    int serial;
};

}  // namespace

int WriteShowSounds(const std::string& directory) {
    const ShowSound sounds[] = {
        {"music.ogg", MakeHarbourMusic, 0.2f, 0x5A454C01},
        {"car.ogg", MakeCarHum, 0.2f, 0x5A454C02},
        {"sea.ogg", MakeSurf, 0.1f, 0x5A454C03},
        {"gull1.ogg", [] { return MakeGullCall(0); }, 0.2f, 0x5A454C04},
        {"gull2.ogg", [] { return MakeGullCall(1); }, 0.2f, 0x5A454C05},
        {"bell.ogg", MakeBuoyBell, 0.2f, 0x5A454C06},
    };
    int status = 0;
    for (const ShowSound& sound : sounds)
        status |= WriteOggVorbis(directory + "/" + sound.name, sound.make(), sound.quality, sound.serial);
    return status;
}

}  // namespace zel
