#include "tools/content/ContentArchives.h"

#include <cstdio>
#include <filesystem>

#include "engine/core/ObjectGraph.h"
#include "engine/core/Pointer.h"
#include "engine/resources/CodecManager.h"
#include "engine/scene/SceneNode.h"
#include "tools/common/DiskPath.h"
#include "tools/content/picture/ContentPictures.h"
#include "tools/content/picture/ShowTextures.h"
#include "tools/content/show/ShowAssets.h"
#include "tools/content/show/ShowScene.h"
#include "tools/content/sound/ShowSounds.h"
#include "tools/rar2/Rar2Tool.h"

namespace zel {

namespace {

// 1 January 2026, 12:00, as a DOS date and time.
constexpr uint32_t kContentTime = ((2026u - 1980u) << 25) | (1u << 21) | (1u << 16) | (12u << 11);

// The show's pictures, sounds and scene. The scene reads some pictures
// back (the ground's colour map is painted from them), so they come first.
int WriteShow(const std::string& directory) {
    if (WriteShowTextures(directory) != 0 || WriteShowSounds(directory) != 0) return 1;
    ShowAssets assets(directory);
    Pointer<SceneNode> scene = BuildShowScene(assets);
    SceneCodec* scenes = CodecAs<SceneCodec>(FindCodec(String("STRSceneCodec")));
    DiskPath disk(directory + "/Main.STR");
    const bool saved =
        !assets.HasFailed() && scenes != nullptr && scene != nullptr && scenes->Save(disk.GetFile(), scene) == kOk;
    // The water's images and their nodes hold each other: cut the links so
    // the scene goes with its last reference.
    BreakObjectLinks(scene);
    if (!saved) {
        std::fprintf(stderr, "zel-content: cannot write the show's scene\n");
        return 1;
    }
    return 0;
}

}  // namespace

void LoadContentCodecs() {
    for (const char* codec : {"BMPImageCodec", "JPGImageCodec", "TGAImageCodec", "STRSceneCodec", "RAR2FileCodec"})
        LoadCodec(String(codec), nullptr);
}

int MakeContentArchive(const std::string& what, const std::string& archive) {
    if (what != "custom" && what != "media") return 2;
    const std::string directory = archive + ".d";
    std::error_code error;
    std::filesystem::remove_all(directory, error);
    if (!std::filesystem::create_directories(directory, error)) {
        std::fprintf(stderr, "zel-content: cannot create %s\n", directory.c_str());
        return 1;
    }
    const int status = what == "custom" ? WriteCustomPictures(directory) : WriteShow(directory);
    if (status != 0) return 1;
    Rar2Tool::PackOptions options;
    options.storeSuffixes = {".jpg", ".ogg"};
    options.fixedDosTime = kContentTime;
    return Rar2Tool::Pack(archive, {directory + "/"}, options) == 0 ? 0 : 1;
}

}  // namespace zel
