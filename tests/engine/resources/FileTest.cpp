// Disk-backed File: the open/close state rules, buffering until Close, the
// mode checks and the refusals of files that cannot be read whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "engine/core/Log.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "support/RecordingOutput.h"
#include "TempDirectory.h"

namespace zel {
namespace {

using test::LogCapture;
using test::TempDirectory;

class DiskFileTest : public ::testing::Test {
protected:
    File* NewFile(const char* name) {
        File* file = new File(String(name));
        folder.AttachFile(file);
        return file;
    }
    void WriteDisk(const char* name, const std::string& bytes) {
        std::ofstream(temp / name, std::ios::binary) << bytes;
    }
    std::string ReadDisk(const char* name) {
        std::ifstream in(temp / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string FullPath(const char* name) { return temp.Text() + "/" + name; }

    TempDirectory temp;
    Directory folder{String(temp.Text().c_str()), nullptr};
};

TEST_F(DiskFileTest, WritesReachTheDiskOnlyAtClose) {
    File* file = NewFile("out.bin");
    ASSERT_EQ(file->Open(File::kModeWrite), kOk);
    EXPECT_EQ(file->Write("hello", 5), 0);
    EXPECT_EQ(file->GetSize(), 5);
    EXPECT_EQ(std::filesystem::file_size(temp / "out.bin"), 0u);
    EXPECT_EQ(file->Close(), kOk);
    EXPECT_FALSE(file->IsOpen());
    EXPECT_EQ(file->GetCapacity(), 0);
    EXPECT_EQ(ReadDisk("out.bin"), "hello");

    ASSERT_EQ(file->Open(File::kModeAppend), kOk);
    file->Write("!", 1);
    EXPECT_EQ(file->GetSize(), 1);  // bytes written since the open
    ASSERT_EQ(file->Close(), kOk);
    EXPECT_EQ(ReadDisk("out.bin"), "hello!");
}

TEST_F(DiskFileTest, ReadModeHoldsTheWholeFileAndReopeningResets) {
    WriteDisk("in.bin", std::string("\x01\x00\x00\x00\x02\x00", 6));
    File* file = NewFile("in.bin");
    ASSERT_EQ(file->Open(File::kModeRead), kOk);
    EXPECT_EQ(file->GetSize(), 6);
    int32_t value = 0;
    EXPECT_EQ(file->ReadInt32(value), 0);
    EXPECT_EQ(value, 1);
    EXPECT_NE(file->ReadInt32(value), 0);  // past the end
    EXPECT_EQ(file->GetErrorState(), 1);
    ASSERT_EQ(file->Open(File::kModeRead), kOk);
    EXPECT_EQ(file->GetErrorState(), 0);
    EXPECT_EQ(file->GetPosition(), 0);
    EXPECT_EQ(file->ReadInt32(value), 0);
    EXPECT_EQ(value, 1);
}

TEST_F(DiskFileTest, GetSizeOfAClosedFileOpensAndClosesIt) {
    WriteDisk("ten.bin", "0123456789");
    File* file = NewFile("ten.bin");
    EXPECT_EQ(file->GetSize(), 10);
    EXPECT_FALSE(file->IsOpen());
}

TEST_F(DiskFileTest, AMissingFileStaysClosed) {
    File* file = NewFile("missing.bin");
    LogCapture capture;
    EXPECT_EQ(file->Open(File::kModeRead), kFailed);
    EXPECT_FALSE(file->IsOpen());
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно открыть файл [" + FullPath("missing.bin") + "]."));
    EXPECT_EQ(file->GetSize(), 0);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Файл [missing.bin] не может быть открыть для чтения."));
}

TEST_F(DiskFileTest, ReadsAndWritesInTheWrongStateFail) {
    WriteDisk("f.bin", "abcd");
    File* file = NewFile("f.bin");
    char buffer[4];
    struct Case {
        int32_t openMode;  // -1: closed
        bool write;
        const char* message;
    };
    const Case cases[] = {
        {-1, true, "Запись в закрытый файл ["},
        {-1, false, "Чтение из закрытого файла ["},
        {File::kModeRead, true, "Запись в файл ["},
        {File::kModeWrite, false, "Чтение из файла ["},
        {File::kModeAppend, false, "Чтение из файла ["},
    };
    for (const Case& c : cases) {
        file->Close();
        if (c.openMode >= 0) {
            ASSERT_EQ(file->Open(c.openMode), kOk);
        }
        LogCapture capture;
        int32_t result = c.write ? file->Write("x", 1) : file->Read(buffer, 1);
        EXPECT_EQ(result, kFailed) << c.message;
        EXPECT_TRUE(capture->Contains(kLogWarning, c.message + FullPath("f.bin") + "]")) << c.message;
    }
    file->Close();
}

TEST_F(DiskFileTest, ReopeningClosesFirstAndUnknownModesRead) {
    File* file = NewFile("f.bin");
    ASSERT_EQ(file->Open(File::kModeWrite), kOk);
    file->Write("xyz", 3);
    ASSERT_EQ(file->Open(7), kOk);
    EXPECT_EQ(file->GetMode(), 7);
    EXPECT_EQ(file->GetSize(), 3);
}

TEST_F(DiskFileTest, ADirectoryIsNoFile) {
    std::filesystem::create_directory(temp / "sub");
    File* file = NewFile("sub");
    EXPECT_NE(file->Open(File::kModeRead), kOk);
    EXPECT_FALSE(file->IsOpen());
}

TEST_F(DiskFileTest, FilesBeyondInt32AreRefused) {
    std::error_code error;
    { std::ofstream(temp / "huge.bin"); }
    std::filesystem::resize_file(temp / "huge.bin", 3'000'000'000ull, error);  // sparse
    if (error) GTEST_SKIP() << "cannot make a sparse file here";
    File* file = NewFile("huge.bin");
    EXPECT_EQ(file->Open(File::kModeRead), kOutOfMemory);
    EXPECT_FALSE(file->IsOpen());
    EXPECT_EQ(file->GetCapacity(), 0);
}

#if !defined(_WIN32)
// /dev/full accepts the open and refuses every byte: the close fails and
// must leave the file open with its buffer for a retry.
TEST(FailingDiskTest, AFailedCloseKeepsTheBuffer) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    Directory dev(String("/dev"), nullptr);
    File* full = new File(String("full"));
    dev.AttachFile(full);
    ASSERT_EQ(full->Open(File::kModeWrite), kOk);
    full->Write("0123456789", 10);
    LogCapture capture;
    EXPECT_EQ(full->Close(), kFailed);
    EXPECT_TRUE(capture->Contains(kLogWarning, "В файл [/dev/full] записаны не все данные."));
    EXPECT_TRUE(full->IsOpen());
    EXPECT_EQ(full->GetSize(), 10);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(full->GetBuffer()), 10), "0123456789");
    EXPECT_EQ(full->Close(), kFailed);  // a retry fails the same way
    EXPECT_EQ(full->Write("ab", 2), 0);  // still open for writing
    EXPECT_EQ(full->GetSize(), 12);

    // Reopening gives up the unwritten bytes after a warning.
    EXPECT_EQ(full->Open(File::kModeWrite), kOk);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно закрыть файл [/dev/full]."));
    EXPECT_EQ(full->GetSize(), 0);
    full->Write("x", 1);  // left pending: the destructor must not leak it
}
#endif

// --- Names -------------------------------------------------------------------

TEST(FileNameTest, ExtensionIsTheTextAfterTheLastDot) {
    const std::pair<const char*, const char*> cases[] = {
        {"Main.STR", "STR"}, {"mill.TGA", "TGA"}, {"a.b.jpg", "jpg"}, {"noext", ""},
        {"trailing.", ""},   {".hidden", "hidden"}, {"", ""},
    };
    for (const auto& [name, extension] : cases) {
        File file{String(name)};
        EXPECT_STREQ(file.GetExtension().CStr(), extension) << name;
    }
}

TEST(FileNameTest, WithoutAParentThePathIsTheName) {
    File file{String("bag_01.jpg")};
    EXPECT_STREQ(file.GetFullPath().CStr(), "bag_01.jpg");
}

}  // namespace
}  // namespace zel
