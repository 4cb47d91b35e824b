// zel-content: makes the screensaver's own archives.
//   zel-content custom ARCHIVE   the pictures the application shows
//   zel-content media ARCHIVE    a small test scene as "Main.STR"
// The files are written into ARCHIVE + ".d/" and packed from there.
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/resources/CodecManager.h"
#include "engine/scene/SceneNode.h"
#include "tools/common/DiskPath.h"
#include "tools/common/StderrMessageOutput.h"
#include "tools/content/ContentPictures.h"
#include "tools/content/TestScene.h"
#include "tools/rar2/Rar2Tool.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: zel-content custom|media ARCHIVE\n");
    return 2;
}

int WriteScene(const std::string& path) {
    zel::SceneCodec* scenes = zel::CodecAs<zel::SceneCodec>(zel::FindCodec(zel::String("STRSceneCodec")));
    zel::Pointer<zel::SceneNode> scene = zel::BuildTestScene();
    zel::DiskPath disk(path);
    if (scenes == nullptr || scene == nullptr || scenes->Save(disk.GetFile(), scene) != zel::kOk) {
        std::fprintf(stderr, "zel-content: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

int Make(const std::string& what, const std::string& archive) {
    const std::string directory = archive + ".d";
    std::error_code error;
    std::filesystem::remove_all(directory, error);
    if (!std::filesystem::create_directories(directory, error)) {
        std::fprintf(stderr, "zel-content: cannot create %s\n", directory.c_str());
        return 1;
    }
    int status = 2;
    if (what == "custom") status = zel::WriteCustomPictures(directory);
    if (what == "media")
        status = WriteScene(directory + "/Main.STR") | zel::WriteChecker(directory + "/" + zel::kTestSceneTexture);
    if (status != 0) return status == 2 ? Usage() : 1;
    return zel::Rar2Tool::Pack(archive, {directory + "/"}, zel::Rar2Tool::PackOptions{});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage();
    zel::Pointer<zel::MessageOutput> output(new zel::StderrMessageOutput("zel-content"));
    zel::RegisterMessageOutput(output);
    int status = 1;
    if (zel::EngineInitialize() == zel::kOk) {
        for (const char* codec : {"BMPImageCodec", "JPGImageCodec", "TGAImageCodec", "STRSceneCodec"})
            zel::LoadCodec(zel::String(codec), nullptr);
        status = Make(argv[1], argv[2]);
    } else {
        std::fprintf(stderr, "zel-content: the engine did not start\n");
    }
    zel::EngineTerminate();
    zel::UnregisterMessageOutput(output);
    return status;
}
