// Every program the engine ships has a checked-in listing of its full text
// beside the program sources (engine/render/program/listing/), so a change
// to a shared block shows in the diff of every program it reaches. The
// listings are written by the CMake target zel_program_listings.
#include <gtest/gtest.h>

#include <cstdio>
#include <dirent.h>
#include <set>
#include <string>

#include "engine/render/program/MaterialPrograms.h"
#include "tests/support/TextFile.h"

namespace zel {
namespace {

std::string ListingDirectory() {
    std::string path = __FILE__;
    path.resize(path.rfind("/tests/engine/render/program"));
    return path + "/engine/render/program/listing";
}

constexpr const char* kRegenerate = "; write the listings again: cmake --build build/native --target zel_program_listings";

TEST(ProgramListings, EveryShippedProgramMatchesItsListingAndNoListingIsLeftOver) {
    const std::string directory = ListingDirectory();
    int32_t count = 0;
    const NamedMaterialProgram* programs = GetMaterialPrograms(count);
    std::set<std::string> names;
    for (int32_t i = 0; i < count; ++i) {
        names.insert(programs[i].name);
        std::string listing;
        ASSERT_TRUE(test::ReadTextFile(directory + "/" + programs[i].name, listing)) << programs[i].name << kRegenerate;
        EXPECT_EQ(std::string(programs[i].text), listing) << programs[i].name << kRegenerate;
    }
    DIR* dir = opendir(directory.c_str());
    ASSERT_NE(dir, nullptr);
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            EXPECT_EQ(names.count(name), 1u) << name << " lists no shipped program" << kRegenerate;
        }
    }
    closedir(dir);
}

}  // namespace
}  // namespace zel
