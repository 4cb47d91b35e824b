// MemoryFile: read-only opens on a fresh copy of the source, ownership of the
// source bytes and of the owner module reference.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/resources/InternalModule.h"
#include "engine/resources/MemoryFile.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::LogCapture;

uint8_t* CopyOf(const char* text, size_t length) {
    uint8_t* bytes = new uint8_t[length];
    std::memcpy(bytes, text, length);
    return bytes;
}

TEST(MemoryFileTest, OnlyReadingIsAllowed) {
    MemoryFile file{String("a.bin")};
    file.SetSourceData(CopyOf("abc", 3), 3);
    for (int32_t mode : {File::kModeWrite, File::kModeAppend, -1, 5}) {
        EXPECT_EQ(file.Open(mode), kFailed) << mode;
        EXPECT_FALSE(file.IsOpen());
    }
    EXPECT_EQ(file.Open(File::kModeRead), kOk);
    MemoryFile empty{String("b.bin")};
    EXPECT_EQ(empty.Open(File::kModeRead), kFailed);  // no source
    EXPECT_EQ(empty.GetSize(), 0);
}

TEST(MemoryFileTest, EachOpenStartsOnAFreshCopy) {
    MemoryFile file{String("a.bin")};
    file.SetSourceData(CopyOf("\x05\x00\x00\x00", 4), 4);
    const uint8_t* source = file.GetSourceData();
    ASSERT_EQ(file.Open(File::kModeRead), kOk);
    EXPECT_NE(file.GetBuffer(), source);
    int32_t value = 0;
    file.ReadInt32(value);
    EXPECT_NE(file.ReadInt32(value), 0);
    ASSERT_EQ(file.Open(File::kModeRead), kOk);
    EXPECT_EQ(file.GetErrorState(), 0);
    EXPECT_EQ(file.ReadInt32(value), 0);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(file.Close(), kOk);
    EXPECT_EQ(file.Close(), kOk);
    EXPECT_EQ(file.GetSourceData(), source);
}

TEST(MemoryFileTest, WritingIsRefusedWithTheFullPath) {
    MemoryFile file{String("a.bin")};
    file.SetSourceData(CopyOf("a", 1), 1);
    ASSERT_EQ(file.Open(File::kModeRead), kOk);
    LogCapture capture;
    EXPECT_EQ(file.Write("x", 1), kFailed);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Запись в файл [a.bin], открытый для чтения."));
}

TEST(MemoryFileTest, BorrowedBytesAreNeverFreed) {
    static const uint8_t resource[3] = {1, 2, 3};
    {
        MemoryFile file{String("a.bin")};
        file.SetBorrowedSourceData(resource, 3);
        EXPECT_EQ(file.GetSize(), 3);  // opens and closes again
        EXPECT_FALSE(file.IsOpen());
    }  // the sanitizers would catch a free of static bytes
    MemoryFile file{String("b.bin")};
    uint8_t* bytes = CopyOf("xy", 2);
    file.SetSourceData(bytes, 2);
    file.ClearSourceData();  // forgets without freeing
    EXPECT_EQ(file.GetSourceData(), nullptr);
    delete[] bytes;
}

TEST(MemoryFileTest, TheFileKeepsItsModuleAlive) {
    Pointer<InternalModule> module = new InternalModule(String("OwnerModuleTest"));
    MemoryFile* file = new MemoryFile(String("a.bin"));
    file->SetOwnerModule(module);
    EXPECT_EQ(module->GetReferenceCount(), 2);
    delete file;
    EXPECT_EQ(module->GetReferenceCount(), 1);
}

}  // namespace
}  // namespace zel
