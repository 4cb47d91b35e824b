// zel-scene: inspects scene files with the engine's own loader.
//   zel-scene dump FILE.STR     prints the object graph of the file
//   zel-scene sample FILE.STR   writes a small scene built in code
// The engine's warnings and errors go to standard error.
#include <cstdio>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/File.h"
#include "engine/scene/SceneNode.h"
#include "tools/common/StderrMessageOutput.h"
#include "tools/scene/SampleScene.h"
#include "tools/scene/SceneDumper.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zel-scene dump FILE.STR\n"
                 "       zel-scene sample FILE.STR\n");
    return 2;
}

int Dump(const char* path) {
    zel::File file{zel::String(path)};
    zel::Pointer<zel::Object> root;
    if (zel::LoadScene(&file, &root) != zel::kOk) {
        std::fprintf(stderr, "zel-scene: cannot load %s\n", path);
        return 1;
    }
    zel::SceneDumper(stdout).Dump(root);
    return 0;
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

int Run(const std::string& command, const char* path) {
    // The scene codec is looked up by extension among the loaded codecs.
    zel::Pointer<zel::Codec> codec;
    zel::LoadCodec(zel::String("STRSceneCodec"), &codec);
    if (command == "dump") return Dump(path);
    if (command == "sample") return Sample(codec, path);
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage();
    zel::Pointer<zel::MessageOutput> output(new zel::StderrMessageOutput("zel-scene"));
    zel::RegisterMessageOutput(output);
    int status = 1;
    if (zel::EngineInitialize() == zel::kOk)
        status = Run(argv[1], argv[2]);
    else
        std::fprintf(stderr, "zel-scene: the engine did not start\n");
    zel::EngineTerminate();
    zel::UnregisterMessageOutput(output);
    return status;
}
