// Directory: child order, attach/detach rules, path walking and the
// depth-first file search, including hostile paths and deep trees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/MemoryFile.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::LogCapture;

std::vector<std::string> DirectoryNames(const Directory& directory) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < directory.GetDirectoryCount(); ++i)
        names.emplace_back(directory.GetDirectory(i)->GetName().CStr());
    return names;
}

// --- Child order -----------------------------------------------------------

struct OrderCase {
    std::vector<std::string> attached;
    std::vector<std::string> expected;
};

class DirectoryOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(DirectoryOrderTest, ChildrenRunInDescendingFirstByte) {
    Directory parent(String("parent"), nullptr);
    for (const std::string& name : GetParam().attached) new Directory(String(name.c_str()), &parent);
    EXPECT_EQ(DirectoryNames(parent), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DirectoryOrderTest,
    ::testing::Values(
        OrderCase{{"Sounds", "Textures"}, {"Textures", "Sounds"}},
        OrderCase{{"Sounds", "Textures", "Sky"}, {"Textures", "Sounds", "Sky"}},
        // Only the first byte counts; equal first bytes keep arrival order.
        OrderCase{{"Sb", "Sa", "Sc"}, {"Sb", "Sa", "Sc"}},
        OrderCase{{"", "a", "B"}, {"a", "B", ""}},
        OrderCase{{"a", "", ""}, {"a", "", ""}},
        // Bytes compare signed: Cyrillic letters (0xC0..0xFF) sort below ASCII.
        OrderCase{{"Бетон", "zebra", "Zebra"}, {"zebra", "Zebra", "Бетон"}},
        OrderCase{{"zebra", "Бетон", "Zebra"}, {"zebra", "Zebra", "Бетон"}}));

TEST(DirectoryTest, OnlyAnAppendedChildIsLogged) {
    Directory parent(String("parent"), nullptr);
    LogCapture capture;
    new Directory(String("Sounds"), &parent);
    new Directory(String("Textures"), &parent);  // goes before Sounds
    File* file = new MemoryFile(String("a"));
    parent.AttachFile(file);
    EXPECT_TRUE(capture->Contains(kLogInfo, "Директория [Sounds] добавлена к директории [parent]."));
    EXPECT_FALSE(capture->Contains("Директория [Textures] добавлена"));
    EXPECT_TRUE(capture->Contains(kLogInfo, "Файл [a] добавлен к директории [parent]."));
    EXPECT_EQ(file->GetParent(), &parent);
}

// --- Attach and detach -----------------------------------------------------

TEST(DirectoryTest, RefusedAttachmentsKeepOneOwner) {
    Directory parent(String("parent"), nullptr);
    Directory other(String("other"), nullptr);
    Directory* child = new Directory(String("child"), &parent);
    LogCapture capture;
    EXPECT_EQ(parent.AttachDirectory(child), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Присоединяемая директория [child] уже присоединена к директории [parent]."));
    EXPECT_EQ(other.AttachDirectory(child), kInvalidArgument);  // held by parent
    EXPECT_EQ(parent.GetDirectoryCount(), 1);
    EXPECT_EQ(other.GetDirectoryCount(), 0);
    EXPECT_EQ(parent.AttachDirectory(nullptr), kInvalidArgument);
    EXPECT_EQ(parent.AttachFile(nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Указатель на присоединяемую директорию равен 0. Корневая директория [parent]."));

    // An ancestor cannot go below its own descendant, nor a directory into itself.
    Directory* grandchild = new Directory(String("grandchild"), child);
    EXPECT_EQ(grandchild->AttachDirectory(&parent), kInvalidArgument);
    EXPECT_EQ(parent.AttachDirectory(&parent), kInvalidArgument);
    EXPECT_EQ(parent.GetParent(), nullptr);
}

TEST(DirectoryTest, DetachGivesTheChildBackInOrder) {
    Directory parent(String("parent"), nullptr);
    new Directory(String("a"), &parent);
    Directory* b = new Directory(String("b"), &parent);
    new Directory(String("c"), &parent);
    LogCapture capture;
    EXPECT_EQ(parent.DetachDirectory(b), kOk);
    EXPECT_EQ(b->GetParent(), nullptr);
    EXPECT_EQ(DirectoryNames(parent), (std::vector<std::string>{"c", "a"}));
    EXPECT_TRUE(capture->Contains(kLogInfo, "Директория [b] удалена из директории [parent]."));
    EXPECT_EQ(parent.DetachDirectory(b), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Удаляемая директория [b] не найдена в директории [parent]."));
    EXPECT_EQ(parent.DetachDirectory(nullptr), kInvalidArgument);
    delete b;
}

TEST(DirectoryTest, DeletingATreeLogsDepthFirst) {
    Directory* top = new Directory(String("top"), nullptr);
    Directory* sub = new Directory(String("sub"), top);
    new Directory(String("leaf"), sub);
    top->AttachFile(new MemoryFile(String("f")));
    LogCapture capture;
    delete top;
    std::vector<std::string> expected = {
        "Удаляется директория [top].", "Удаляется директория [sub].", "Удаляется директория [leaf].",
        "Директория удалена [leaf].",  "Директория удалена [sub].",   "Удаляется файл [f].",
        "Директория удалена [top].",
    };
    std::vector<std::string> lines;
    for (const auto& line : capture->lines) lines.push_back(line.text);
    EXPECT_EQ(lines, expected);
}

// --- Paths -------------------------------------------------------------------

TEST(DirectoryTest, FullPathsAndTheirCache) {
    Directory root{String(), nullptr};
    Directory* media = new Directory(String("Media.rar2"), &root);
    Directory* textures = new Directory(String("Textures"), media);
    File* bag = new MemoryFile(String("bag_01.jpg"));
    textures->AttachFile(bag);
    EXPECT_STREQ(root.GetFullPath().CStr(), "");
    EXPECT_STREQ(media->GetFullPath().CStr(), "Media.rar2/");
    EXPECT_STREQ(bag->GetFullPath().CStr(), "Media.rar2/Textures/bag_01.jpg");

    // The parent path is cached on first use and not refreshed by a move.
    Directory* other = new Directory(String("Other"), &root);
    media->DetachDirectory(textures);
    other->AttachDirectory(textures);
    EXPECT_STREQ(textures->GetFullPath().CStr(), "Media.rar2/Textures/");
}

// Members are public so that the case tables can name them.
class PathTest : public ::testing::Test {
public:
    void SetUp() override {
        media = new Directory(String("Media.rar2"), &root);
        textures = new Directory(String("Textures"), media);
        sub = new Directory(String("Sub"), textures);
        sounds = new Directory(String("Sounds"), media);
        sky = Add(textures, "sky.jpg");
        mill = Add(textures, "mill.TGA");
        deepSky = Add(sub, "deep.jpg");
        shadowedSky = Add(sounds, "sky.jpg");  // after Textures in the order
    }
    static File* Add(Directory* directory, const char* name) {
        File* file = new MemoryFile(String(name));
        directory->AttachFile(file);
        return file;
    }

    Directory root{String(), nullptr};
    Directory* media = nullptr;
    Directory* textures = nullptr;
    Directory* sub = nullptr;
    Directory* sounds = nullptr;
    File* sky = nullptr;
    File* mill = nullptr;
    File* deepSky = nullptr;
    File* shadowedSky = nullptr;
};

TEST_F(PathTest, FindDirectoryWalksComponents) {
    struct Case {
        const char* path;
        Directory* PathTest::*expected;  // null member: not found
    };
    const Case cases[] = {
        {"", &PathTest::media},
        {".", &PathTest::media},
        {"Media.rar2", &PathTest::media},  // its own name
        {"Textures", &PathTest::textures},
        {"Textures/", &PathTest::textures},
        {"/Textures", &PathTest::textures},  // leading separator: same directory
        {"\\Textures", &PathTest::textures},
        {"./Textures/./Sub", &PathTest::sub},
        {"Textures//Sub", &PathTest::sub},
        {"Textures/Sub/..", &PathTest::textures},
        {"Textures/Sub\\..", nullptr},  // split at '\' only: no child "Textures/Sub"
        {"Textures\\Sub/..", &PathTest::textures},  // the rest "Sub/.." has no '\'
        {"Textures\\Sub", &PathTest::sub},
        {"Textures/../Sounds", &PathTest::sounds},
        {"textures", nullptr},  // case matters
        {"Missing/Sub", nullptr},
        {"Media.rar2/Textures", nullptr},  // no child named like the archive
    };
    for (const Case& c : cases) {
        Directory* expected = c.expected != nullptr ? this->*c.expected : nullptr;
        EXPECT_EQ(media->FindDirectory(String(c.path)), expected) << c.path;
    }
    EXPECT_EQ(media->FindDirectory(String("..")), &root);
    EXPECT_EQ(root.FindDirectory(String("..")), nullptr);
}

TEST_F(PathTest, MixedSeparatorsSplitAtTheBackslashFirst) {
    Directory* b = new Directory(String("b"), textures);
    Directory* c = new Directory(String("c"), b);
    // a\b/c: head "Textures", rest "b/c", which is then split at '/'.
    EXPECT_EQ(media->FindDirectory(String("Textures\\b/c")), c);
}

TEST_F(PathTest, FindFileResolvesBareAndDirectoryNames) {
    struct Case {
        const char* path;
        File* PathTest::*expected;
    };
    const Case cases[] = {
        {"sky.jpg", &PathTest::sky},  // Textures comes before Sounds
        {"Textures\\sky.jpg", &PathTest::sky},
        {"Textures/sky.jpg", &PathTest::sky},
        {"Sounds/sky.jpg", &PathTest::shadowedSky},
        {"deep.jpg", &PathTest::deepSky},
        {"Textures/deep.jpg", &PathTest::deepSky},  // anywhere below the directory part
        {"Sounds/deep.jpg", nullptr},
        {"mill.TGA", &PathTest::mill},
        {"mill.tga", nullptr},
        {"Media.rar2/Textures/sky.jpg", nullptr},  // a full path does not resolve
        {"", nullptr},
        {"Textures/", nullptr},
    };
    for (const Case& c : cases) {
        File* expected = c.expected != nullptr ? this->*c.expected : nullptr;
        EXPECT_EQ(media->FindFile(String(c.path)), expected) << c.path;
    }
}

// --- Hostile input -----------------------------------------------------------

TEST_F(PathTest, PathsOfMillionsOfSeparatorsAreWalkedLinearly) {
    std::string slashes(2'000'000, '/');
    EXPECT_EQ(media->FindFile(String((slashes + "sky.jpg").c_str())), sky);
    std::string dots;
    for (int i = 0; i < 500'000; ++i) dots += "./";
    EXPECT_EQ(media->FindDirectory(String((dots + "Textures").c_str())), textures);
    std::string ups;
    for (int i = 0; i < 500'000; ++i) ups += "../";
    EXPECT_EQ(media->FindDirectory(String(ups.c_str())), nullptr);
}

TEST(DirectoryTest, DeepTreesNeitherRecurseNorCopyQuadratically) {
    constexpr int kDepth = 200'000;
    Directory* top = new Directory(String("top"), nullptr);
    Directory* deepest = top;
    for (int i = 0; i < kDepth; ++i) deepest = new Directory(String("d"), deepest);
    File* file = new MemoryFile(String("bottom.bin"));
    deepest->AttachFile(file);

    EXPECT_EQ(top->FindFile(String("bottom.bin")), file);
    EXPECT_EQ(top->FindFile(String("missing")), nullptr);
    EXPECT_EQ(file->GetFullPath().Length(), 4 + 2 * kDepth + 10);
    delete top;
}

}  // namespace
}  // namespace zel
