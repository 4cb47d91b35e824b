// zel-image: inspects and converts images with the engine's own codecs.
#include <cstdio>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/sound/SoundManager.h"
#include "tools/image/ImageTool.h"
#include "tools/common/StderrMessageOutput.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zel-image info FILE\n"
                 "       zel-image convert IN OUT\n"
                 "info prints the codec name, width, height and pixel format code of FILE.\n"
                 "convert reads IN and writes OUT, each in the format of its extension\n"
                 "(tga, bmp, jpg/jpeg, cube).\n");
    return 2;
}

int Run(const std::string& command, int argc, char** argv) {
    if (command == "info" && argc == 3) return zel::ImageTool::Info(argv[2]);
    if (command == "convert" && argc == 4) return zel::ImageTool::Convert(argv[2], argv[3]);
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    zel::Pointer<zel::MessageOutput> output(new zel::StderrMessageOutput("zel-image"));
    zel::RegisterMessageOutput(output);
    zel::SoundManager::DisableSound();
    if (zel::EngineInitialize() != 0) {
        std::fprintf(stderr, "zel-image: the engine did not start\n");
        return 1;
    }
    int status = zel::ImageTool::LoadCodecs();
    if (status == 0) status = Run(argv[1], argc, argv);
    if (zel::EngineTerminate() != 0 && status == 0) status = 1;
    return status;
}
