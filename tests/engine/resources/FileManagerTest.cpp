// File manager: the root, mounting archives through file codecs (from files
// and from resources) and finding mounted files.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/MemoryFile.h"
#include "support/RecordingOutput.h"
#include "TestArchiveCodec.h"

#if !defined(_WIN32)
#include "engine/os/posix/ResourceTable.h"
#endif

namespace zel {
namespace {

using test::LogCapture;
using test::TestArchiveCodec;

// Registers the test archive codec once for the whole run (codecs stay
// registered until the engine stops).
TestArchiveCodec& ArchiveCodec() {
    static TestArchiveCodec* codec = [] {
        auto* created = new TestArchiveCodec("MountTestArchiveCodec", "mnttest");
        RegisterCodec(created);
        return created;
    }();
    return *codec;
}

class MountTest : public ::testing::Test {
protected:
    void SetUp() override { ArchiveCodec().failWith = kOk; }
    // Unmounts whatever the test mounted.
    void TearDown() override {
        Directory* root = GetRootDirectory();
        for (int32_t i = root->GetDirectoryCount() - 1; i >= 0; --i) {
            Directory* mounted = root->GetDirectory(i);
            if (std::strstr(mounted->GetName().CStr(), ".mnttest") != nullptr) delete mounted;
        }
    }
    static MemoryFile* Archive(const char* name, const char* content) {
        auto* file = new MemoryFile(String(name));
        size_t length = std::strlen(content);
        uint8_t* bytes = new uint8_t[length];
        std::memcpy(bytes, content, length);
        file->SetSourceData(bytes, static_cast<uint32_t>(length));
        return file;
    }
    static std::string Content(File* file) {
        if (file->Open(File::kModeRead) != kOk) return "<unreadable>";
        std::string text(reinterpret_cast<const char*>(file->GetBuffer()), static_cast<size_t>(file->GetSize()));
        file->Close();
        return text;
    }
};

TEST_F(MountTest, AnArchiveBecomesADirectoryUnderTheRoot) {
    MemoryFile* archive = Archive("One.mnttest", "first");
    ASSERT_EQ(MountArchive(archive, String("secret")), kOk);
    delete archive;  // the mounted tree does not refer to it
    EXPECT_STREQ(ArchiveCodec().lastPassword.CStr(), "secret");
    File* payload = FindMountedFile(String("payload.bin"));
    ASSERT_NE(payload, nullptr);
    EXPECT_STREQ(payload->GetFullPath().CStr(), "One.mnttest/payload.bin");
    EXPECT_EQ(Content(payload), "first");
    // A directory part equal to the mounted directory's own name names it.
    EXPECT_EQ(FindMountedFile(String("One.mnttest/payload.bin")), payload);
    EXPECT_EQ(FindMountedFile(String("Textures/payload.bin")), nullptr);
}

TEST_F(MountTest, EarlierMountsInRootOrderWin) {
    MemoryFile* zeta = Archive("Zeta.mnttest", "zeta");
    MemoryFile* alpha = Archive("Alpha.mnttest", "alpha");
    ASSERT_EQ(MountArchive(alpha, String()), kOk);
    ASSERT_EQ(MountArchive(zeta, String()), kOk);  // 'Z' sorts before 'A'
    EXPECT_EQ(Content(FindMountedFile(String("payload.bin"))), "zeta");
    delete zeta;
    delete alpha;
}

TEST_F(MountTest, TheRootsOwnFilesAreNotSearched) {
    MemoryFile* loose = Archive("loose.bin", "x");
    ASSERT_EQ(GetRootDirectory()->AttachFile(loose), kOk);
    EXPECT_EQ(FindMountedFile(String("loose.bin")), nullptr);
    delete loose;
}

TEST_F(MountTest, RefusedArchives) {
    LogCapture capture;
    EXPECT_EQ(MountArchive(nullptr, String()), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Указатель на архив равен 0."));

    MemoryFile unknown{String("data.unknownext")};
    EXPECT_EQ(MountArchive(&unknown, String()), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Не найден кодек для архива [data.unknownext]."));

    MemoryFile* failing = Archive("Bad.mnttest", "x");
    ArchiveCodec().failWith = kOutOfMemory;
    EXPECT_EQ(MountArchive(failing, String()), kOutOfMemory);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить директорию из архива [Bad.mnttest]."));
    delete failing;

    // A scene file is no archive: its codec is of another kind.
    ASSERT_EQ(LoadCodec(String("STRSceneCodec"), nullptr), kOk);
    MemoryFile scene{String("Main.STR")};
    EXPECT_EQ(MountArchive(&scene, String()), kFailed);
    EXPECT_EQ(GetRootDirectory()->FindDirectory(String("Bad.mnttest")), nullptr);
}

TEST_F(MountTest, MissingResourcesAndOutputsAreReported) {
    LogCapture capture;
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(LoadResourceData(134, nullptr, &size), kInvalidArgument);
    EXPECT_EQ(LoadResourceData(134, &data, nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogError, "Указатель на данные ресурса равен 0."));
    EXPECT_EQ(MountResourceArchive(31999, String("Missing.mnttest"), String()), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно найти ресурс ID[31999]."));
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно прочитать ресурс ID[31999] Имя[Missing.mnttest]."));
    for (int32_t id : {-1, 0, 65536 + 31999, INT32_MAX}) {
        EXPECT_EQ(LoadResourceData(id, &data, &size), kFailed) << id;
    }
}

#if !defined(_WIN32)
TEST_F(MountTest, AResourceIsMountedFromItsOwnBytes) {
    const char content[] = "resource bytes";
    ASSERT_TRUE(os::ResourceTable::Add(31001, "MEDIADATA", content, sizeof content - 1));
    ASSERT_TRUE(os::ResourceTable::Add(31002, "OTHERTYPE", content, sizeof content - 1));
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(LoadResourceData(31001, &data, &size), kOk);
    EXPECT_EQ(size, sizeof content - 1);
    EXPECT_EQ(LoadResourceData(31002, &data, &size), kFailed);  // only "MEDIADATA" counts

    ASSERT_EQ(MountResourceArchive(31001, String("Res.mnttest"), String()), kOk);
    File* payload = FindMountedFile(String("payload.bin"));
    ASSERT_NE(payload, nullptr);
    EXPECT_EQ(Content(payload), "resource bytes");
    EXPECT_NE(GetRootDirectory()->FindDirectory(String("Res.mnttest")), nullptr);
    EXPECT_TRUE(os::ResourceTable::Remove(31001, "MEDIADATA"));  // the resource bytes were not freed
    EXPECT_TRUE(os::ResourceTable::Remove(31002, "OTHERTYPE"));
    EXPECT_FALSE(os::ResourceTable::Remove(31002, "OTHERTYPE"));
}
#endif

}  // namespace
}  // namespace zel
