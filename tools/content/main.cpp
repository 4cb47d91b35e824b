// zel-content: makes the screensaver's own archives.
//   zel-content custom ARCHIVE   the pictures the application shows
//   zel-content media ARCHIVE    the show: "Main.STR" with its pictures,
//                                music and sounds
// The files are written into ARCHIVE + ".d/" and packed from there.
#include <cstdio>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/sound/SoundManager.h"
#include "tools/common/StderrMessageOutput.h"
#include "tools/content/ContentArchives.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zel-content custom|media ARCHIVE\n");
        return 2;
    }
    zel::Pointer<zel::MessageOutput> output(new zel::StderrMessageOutput("zel-content"));
    zel::RegisterMessageOutput(output);
    int status = 1;
    zel::SoundManager::DisableSound();
    if (zel::EngineInitialize() == zel::kOk) {
        zel::LoadContentCodecs();
        status = zel::MakeContentArchive(argv[1], argv[2]);
        if (status == 2) std::fprintf(stderr, "usage: zel-content custom|media ARCHIVE\n");
    } else {
        std::fprintf(stderr, "zel-content: the engine did not start\n");
    }
    zel::EngineTerminate();
    zel::UnregisterMessageOutput(output);
    return status;
}
