// zel-scene: inspects scene files with the engine's own loader.
//   zel-scene dump FILE.STR           prints the object graph of the file,
//                                     whose folder holds the files it names
//   zel-scene dump ARCHIVE ENTRY.STR  the same for a scene in an archive
//   zel-scene sample FILE.STR         writes a small scene built in code
// The engine's warnings and errors go to standard error, in UTF-8.
#include <cstdio>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectGraph.h"
#include "engine/core/Pointer.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/sound/SoundManager.h"
#include "tools/common/StderrMessageOutput.h"
#include "tools/scene/SampleScene.h"
#include "tools/scene/SceneDumper.h"
#include "tools/scene/SceneSource.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zel-scene dump FILE.STR\n"
                 "       zel-scene dump ARCHIVE ENTRY.STR\n"
                 "       zel-scene sample FILE.STR\n");
    return 2;
}

// Loads the scene `entry` from what is mounted and prints it.
int Dump(const std::string& entry) {
    zel::File* file = zel::FindMountedFile(zel::String(entry.c_str()));
    zel::Pointer<zel::Object> root;
    if (file == nullptr || zel::LoadScene(file, &root) != zel::kOk) {
        std::fprintf(stderr, "zel-scene: cannot load %s\n", entry.c_str());
        return 1;
    }
    zel::SceneDumper(stdout).Dump(root);
    // Scenes link back to their own nodes (cameras, water, controllers).
    zel::BreakObjectLinks(root);
    return 0;
}

int DumpFile(const std::string& path) {
    if (zel::MountFolderOf(path) != 0) {
        std::fprintf(stderr, "zel-scene: cannot read the folder of %s\n", path.c_str());
        return 1;
    }
    const size_t slash = path.find_last_of('/');
    return Dump(slash == std::string::npos ? path : path.substr(slash + 1));
}

int DumpFromArchive(const std::string& archive, const std::string& entry) {
    if (zel::MountArchiveAt(archive) != 0) {
        std::fprintf(stderr, "zel-scene: cannot mount %s\n", archive.c_str());
        return 1;
    }
    return Dump(entry);
}

int Sample(zel::Codec* codec, const char* path) {
    zel::SceneCodec* scenes = zel::CodecAs<zel::SceneCodec>(codec);
    zel::Pointer<zel::SceneNode> scene = zel::BuildSampleScene();
    zel::File file{zel::String(path)};
    if (scenes == nullptr || scene == nullptr || scenes->Save(&file, scene) != zel::kOk) {
        std::fprintf(stderr, "zel-scene: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

int Run(int argc, char** argv) {
    const std::string command = argv[1];
    if (command == "sample" && argc == 3) {
        zel::Pointer<zel::Codec> codec;
        zel::LoadCodec(zel::String("STRSceneCodec"), &codec);
        return Sample(codec, argv[2]);
    }
    if (command != "dump") return Usage();
    zel::LoadSceneCodecs();
    return argc == 3 ? DumpFile(argv[2]) : DumpFromArchive(argv[2], argv[3]);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) return Usage();
    zel::Pointer<zel::MessageOutput> output(new zel::StderrMessageOutput("zel-scene"));
    zel::RegisterMessageOutput(output);
    int status = 1;
    zel::SoundManager::DisableSound();
    if (zel::EngineInitialize() == zel::kOk)
        status = Run(argc, argv);
    else
        std::fprintf(stderr, "zel-scene: the engine did not start\n");
    zel::EngineTerminate();
    zel::UnregisterMessageOutput(output);
    return status;
}
