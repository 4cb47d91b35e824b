// Mounting RAR 2.0 archives as directory trees of memory files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/MemoryFile.h"
#include "tests/engine/resources/rar/Rar2TestData.h"
#include "tools/rar2/writer/Rar2Writer.h"

namespace zel {
namespace {

using rar2test::DataPath;
using rar2test::ReadBytes;

// Mounts archive bytes under the root as `name`; unmounts on destruction.
class Mounted {
public:
    Mounted(const char* name, const std::vector<uint8_t>& bytes) {
        LoadCodec(String("RAR2FileCodec"), nullptr);  // as the application does
        MemoryFile file{String(name)};
        file.SetBorrowedSourceData(bytes.data(), static_cast<uint32_t>(bytes.size()));
        status = MountArchive(&file, String());
        file.ClearSourceData();
        Directory* root = GetRootDirectory();
        for (int32_t i = 0; i < root->GetDirectoryCount(); ++i)
            if (root->GetDirectory(i)->GetName() == String(name)) top = root->GetDirectory(i);
    }
    ~Mounted() {
        if (top != nullptr) {
            GetRootDirectory()->DetachDirectory(top);
            delete top;
        }
    }
    int32_t status;
    Directory* top = nullptr;
};

std::vector<uint8_t> ReadAll(File* file) {
    std::vector<uint8_t> bytes;
    if (file == nullptr || file->Open(File::kModeRead) != kOk) return bytes;
    bytes.resize(static_cast<size_t>(file->GetSize()));
    if (!bytes.empty()) file->Read(bytes.data(), static_cast<int32_t>(bytes.size()));
    file->Close();
    return bytes;
}

std::vector<uint8_t> Text(const std::string& text, int repeat) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < repeat; ++i) bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

TEST(RAR2FileCodec, MountsTheRealArchiveWithItsDirectories) {
    std::vector<uint8_t> archive = ReadBytes(DataPath("Rar2.rar"));
    ASSERT_FALSE(archive.empty());
    Mounted mounted("Real.rar2", archive);
    ASSERT_EQ(mounted.status, kOk);
    ASSERT_NE(mounted.top, nullptr);
    EXPECT_NE(mounted.top->FindDirectory(String("exe")), nullptr);
    EXPECT_NE(mounted.top->FindDirectory(String("jpg")), nullptr);
    EXPECT_EQ(ReadAll(FindMountedFile(String("jpg\\test.jpg"))), ReadBytes(DataPath("test.jpg")));
    // A bare name is found anywhere below the archive's top.
    EXPECT_EQ(ReadAll(FindMountedFile(String("test.exe"))).size(), 45056u);
}

TEST(RAR2FileCodec, StoredAndCompressedEntriesComeBackExactlyInTheirDirectories) {
    std::vector<uint8_t> digit = Text("digit zero ", 300);
    std::vector<uint8_t> sound = Text("sound", 1);
    Rar2Writer writer;
    Rar2Writer::FileOptions stored;
    stored.method = 0x30;
    uint32_t time = Rar2Writer::DosTime(2024, 1, 2, 3, 4, 6);
    ASSERT_EQ(writer.AddDirectory("Digits", time), kOk);
    ASSERT_EQ(writer.AddFile("Digits\\digit_0.tga", digit.data(), digit.size(), time, 0x20, {}), kOk);
    ASSERT_EQ(writer.AddDirectory("Sounds", time), kOk);
    ASSERT_EQ(writer.AddFile("Sounds\\a.ogg", sound.data(), sound.size(), time, 0x20, stored), kOk);
    ASSERT_EQ(writer.AddFile("empty.txt", nullptr, 0, time, 0x20, stored), kOk);
    ASSERT_EQ(writer.GetStatus(), kOk);
    std::vector<uint8_t> archive(writer.GetData(), writer.GetData() + writer.GetSize());

    Mounted mounted("Custom.rar2", archive);
    ASSERT_EQ(mounted.status, kOk);
    Directory* top = mounted.top;
    ASSERT_EQ(top->GetDirectoryCount(), 2);
    // Descending first bytes: Sounds before Digits.
    EXPECT_EQ(top->GetDirectory(0)->GetName(), String("Sounds"));
    Directory* digits = top->GetDirectory(1);
    ASSERT_EQ(digits->GetFileCount(), 1);
    EXPECT_EQ(digits->GetFile(0)->GetName(), String("digit_0.tga"));
    EXPECT_EQ(ReadAll(digits->GetFile(0)), digit);
    EXPECT_EQ(ReadAll(top->FindFile(String("Sounds\\a.ogg"))), sound);
    File* empty = top->FindFile(String("empty.txt"));
    ASSERT_NE(empty, nullptr);
    ASSERT_EQ(empty->Open(File::kModeRead), kOk);
    EXPECT_EQ(empty->GetSize(), 0);
    empty->Close();
}

TEST(RAR2FileCodec, EntriesBeforeTheirDirectoriesGetTheDirectoriesMade) {
    std::vector<uint8_t> data = Text("x", 10);
    Rar2Writer writer;
    ASSERT_EQ(writer.AddFile("a\\b\\c.txt", data.data(), data.size(), 0, 0x20, {}), kOk);
    ASSERT_EQ(writer.AddDirectory("a", 0), kOk);  // listed after its contents
    ASSERT_EQ(writer.AddFile("..\\evil.txt", data.data(), data.size(), 0, 0x20, {}), kOk);
    ASSERT_EQ(writer.AddFile("a\\.\\dot.txt", data.data(), data.size(), 0, 0x20, {}), kOk);
    std::vector<uint8_t> archive(writer.GetData(), writer.GetData() + writer.GetSize());

    Mounted mounted("Order.rar2", archive);
    ASSERT_EQ(mounted.status, kOk);
    ASSERT_EQ(mounted.top->GetDirectoryCount(), 1);  // "a" made once
    EXPECT_EQ(ReadAll(mounted.top->FindFile(String("a\\b\\c.txt"))), data);
    EXPECT_EQ(mounted.top->FindFile(String("evil.txt")), nullptr);
    EXPECT_EQ(mounted.top->FindFile(String("dot.txt")), nullptr);
}

TEST(RAR2FileCodec, AnEntryThatFailsToExtractIsListedButDoesNotOpen) {
    std::vector<uint8_t> good = Text("intact", 8);
    std::vector<uint8_t> bad = Text("damaged", 8);
    Rar2Writer::FileOptions stored;
    stored.method = 0x30;
    Rar2Writer writer;
    ASSERT_EQ(writer.AddFile("good.txt", good.data(), good.size(), 0, 0x20, stored), kOk);
    ASSERT_EQ(writer.AddFile("bad.txt", bad.data(), bad.size(), 0, 0x20, stored), kOk);
    std::vector<uint8_t> archive(writer.GetData(), writer.GetData() + writer.GetSize());
    // Change one byte of the stored entry's data: its CRC-32 no longer holds.
    auto at = std::search(archive.begin(), archive.end(), bad.begin(), bad.end());
    ASSERT_NE(at, archive.end());
    *at ^= 0x01;

    Mounted mounted("Damaged.rar2", archive);
    ASSERT_EQ(mounted.status, kOk);
    EXPECT_EQ(ReadAll(mounted.top->FindFile(String("good.txt"))), good);
    File* damaged = mounted.top->FindFile(String("bad.txt"));
    ASSERT_NE(damaged, nullptr);
    EXPECT_NE(damaged->Open(File::kModeRead), kOk);
}

TEST(RAR2FileCodec, AcceptsItsExtensionsAndRefusesDamagedArchives) {
    ASSERT_EQ(LoadCodec(String("RAR2FileCodec"), nullptr), kOk);
    MemoryFile upper{String("data.RAR2")};
    MemoryFile other{String("data.rar")};
    Codec* codec = FindCodecForFile(&upper);
    ASSERT_NE(codec, nullptr);
    EXPECT_EQ(codec->GetName(), String("RAR2FileCodec"));
    EXPECT_EQ(FindCodecForFile(&other), nullptr);

    std::vector<uint8_t> archive = ReadBytes(DataPath("Rar2.rar"));
    archive.resize(archive.size() / 3);  // cut inside the packed data
    Mounted truncated("Cut.rar2", archive);
    // Headers beyond the cut are gone: a failure, not a partial tree.
    EXPECT_NE(truncated.status, kOk);
    EXPECT_EQ(truncated.top, nullptr);
    std::vector<uint8_t> garbage(100, 0x52);
    Mounted junk("Junk.rar2", garbage);
    EXPECT_NE(junk.status, kOk);
}

}  // namespace
}  // namespace zel
