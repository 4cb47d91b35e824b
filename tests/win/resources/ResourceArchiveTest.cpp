// Resources compiled into this executable are found through the seam, read
// and mounted through MountResourceArchive with a trivial archive codec.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/TestArchiveCodec.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::LogCapture;
using test::TestArchiveCodec;

constexpr int32_t kPayloadId = 31500;
constexpr int32_t kOtherTypeId = 31501;
constexpr uint32_t kPayloadSize = 512;

// payload.bin holds byte i = (7i + 3) mod 256.
bool IsPayload(const uint8_t* bytes, uint32_t size) {
    if (size != kPayloadSize) return false;
    for (uint32_t i = 0; i < size; ++i)
        if (bytes[i] != static_cast<uint8_t>(i * 7 + 3)) return false;
    return true;
}

TEST(WinResourceTest, MediaDataIsFoundAndRead) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(LoadResourceData(kPayloadId, &data, &size), kOk);
    EXPECT_TRUE(IsPayload(data, size));
}

TEST(WinResourceTest, OtherTypesAndMissingIdsAreNotFound) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    LogCapture capture;
    EXPECT_EQ(LoadResourceData(kOtherTypeId, &data, &size), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно найти ресурс ID[31501]."));
    EXPECT_EQ(LoadResourceData(31999, &data, &size), kFailed);
    EXPECT_EQ(LoadResourceData(65536 + kPayloadId, &data, &size), kFailed);  // ids are 16-bit
    EXPECT_EQ(MountResourceArchive(31999, String("Missing.wintest"), String()), kFailed);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно прочитать ресурс ID[31999] Имя[Missing.wintest]."));
}

TEST(WinResourceTest, AResourceIsMountedAsAnArchive) {
    auto* codec = new TestArchiveCodec("WinResourceTestCodec", "wintest");
    ASSERT_EQ(RegisterCodec(codec), kOk);
    ASSERT_EQ(MountResourceArchive(kPayloadId, String("Media.wintest"), String("pw")), kOk);
    EXPECT_STREQ(codec->lastPassword.CStr(), "pw");

    Directory* mounted = GetRootDirectory()->FindDirectory(String("Media.wintest"));
    ASSERT_NE(mounted, nullptr);
    File* payload = FindMountedFile(String("payload.bin"));
    ASSERT_NE(payload, nullptr);
    EXPECT_STREQ(payload->GetFullPath().CStr(), "Media.wintest/payload.bin");
    ASSERT_EQ(payload->Open(File::kModeRead), kOk);
    EXPECT_TRUE(IsPayload(payload->GetBuffer(), static_cast<uint32_t>(payload->GetSize())));
    EXPECT_EQ(payload->Close(), kOk);
    delete mounted;
}

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(EngineInitialize(), 0); }
    void TearDown() override { EXPECT_EQ(EngineTerminate(), 0); }
};

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new zel::EngineEnvironment);
    return RUN_ALL_TESTS();
}
