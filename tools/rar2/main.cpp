// zel-rar2: the engine's RAR 2.0 archiver on the command line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "tools/rar2/Rar2Tool.h"
#include "tools/common/StderrMessageOutput.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zel-rar2 pack [--store] [--solid] [--fast|--best] [--audio=N] ARCHIVE PATH...\n"
                 "       zel-rar2 list ARCHIVE\n"
                 "       zel-rar2 test ARCHIVE\n"
                 "       zel-rar2 extract ARCHIVE DIR\n"
                 "PATH is stored under its last component; a directory given with a trailing '/'\n"
                 "is stored by its contents. --audio=N (1..4) packs with the multimedia mode.\n"
                 "SOURCE_DATE_EPOCH, when set, gives every entry that time.\n");
    return 2;
}

int Pack(const std::vector<std::string>& args) {
    zel::Rar2Tool::PackOptions options;
    std::vector<std::string> rest;
    for (const std::string& a : args) {
        if (a == "--store") {
            options.store = true;
        } else if (a == "--solid") {
            options.solid = true;
        } else if (a == "--fast") {
            options.method = 0x31;
        } else if (a == "--best") {
            options.method = 0x35;
        } else if (a.rfind("--audio=", 0) == 0) {
            options.audioChannels = unsigned(std::atoi(a.c_str() + 8));
            if (options.audioChannels < 1 || options.audioChannels > 4) return Usage();
        } else if (a.rfind("--", 0) == 0) {
            return Usage();
        } else {
            rest.push_back(a);
        }
    }
    if (rest.size() < 2) return Usage();
    return zel::Rar2Tool::Pack(rest[0], std::vector<std::string>(rest.begin() + 1, rest.end()), options);
}

}  // namespace

int main(int argc, char** argv) {
    zel::Pointer<zel::MessageOutput> output(new zel::StderrMessageOutput("zel-rar2"));
    zel::RegisterMessageOutput(output);
    if (argc < 3) return Usage();
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    int status;
    if (command == "pack")
        status = Pack(args);
    else if (command == "list" && args.size() == 1)
        status = zel::Rar2Tool::List(args[0]);
    else if (command == "test" && args.size() == 1)
        status = zel::Rar2Tool::Test(args[0]);
    else if (command == "extract" && args.size() == 2)
        status = zel::Rar2Tool::Extract(args[0], args[1]);
    else
        status = Usage();
    zel::UnregisterMessageOutput(output);
    return status;
}
