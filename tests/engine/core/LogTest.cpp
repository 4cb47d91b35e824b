#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/FileMessageOutput.h"
#include "engine/core/Log.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::LogCapture;
using test::RecordingOutput;

std::string ReadLogFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(Log, OutputsReceiveEveryLevelInRegistrationOrder) {
    Pointer<RecordingOutput> first = new RecordingOutput("first");
    Pointer<RecordingOutput> second = new RecordingOutput("second");
    ASSERT_EQ(RegisterMessageOutput(first), kOk);
    ASSERT_EQ(RegisterMessageOutput(second), kOk);
    // Each output's first line announces its own registration.
    ASSERT_EQ(first->lines.size(), 2u);
    EXPECT_EQ(first->lines[0].text, "Объект вывода сообщений зарегестрирован. [first]");
    EXPECT_EQ(second->lines.size(), 1u);
    EXPECT_EQ(second->lines[0].text, "Объект вывода сообщений зарегестрирован. [second]");

    LogInfo("i%d", 0);
    LogWarning("w%s", "1");
    LogError("e%c", '2');
    LogCritical("c%d", 3);
    for (RecordingOutput* output : {first.Get(), second.Get()}) {
        size_t n = output->lines.size();
        ASSERT_GE(n, 4u);
        for (int level = 0; level < 4; ++level) EXPECT_EQ(output->lines[n - 4 + level].level, level);
        EXPECT_EQ(output->lines[n - 1].text, "c3");
    }

    // The leaving output receives its own unregistration as its last line.
    ASSERT_EQ(UnregisterMessageOutput(second), kOk);
    EXPECT_EQ(second->lines.back().text, "Объект вывода сообщений разрегестрирован. [second]");
    EXPECT_EQ(UnregisterMessageOutput(second), kInvalidArgument);
    ASSERT_EQ(UnregisterMessageOutput(first), kOk);
}

TEST(Log, RegisteringTwiceKeepsOneEntryAndWarns) {
    LogCapture capture;
    int32_t count = GetMessageOutputCount();
    Pointer<RecordingOutput> output = new RecordingOutput("twice");
    EXPECT_EQ(RegisterMessageOutput(nullptr), kInvalidArgument);
    EXPECT_EQ(RegisterMessageOutput(output), kOk);
    EXPECT_EQ(RegisterMessageOutput(output), kOk);
    EXPECT_EQ(GetMessageOutputCount(), count + 1);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Объект вывода сообщений уже зарегестрирован. [twice]"));
    EXPECT_EQ(output->lines.back().level, kLogWarning);
    UnregisterMessageOutput(output);
}

TEST(Log, LongMessagesAreCutToTheBuffer) {
    LogCapture capture;
    std::string huge(3 * kLogBufferSize, 'x');
    LogInfo("%s%s", huge.c_str(), "tail");
    ASSERT_EQ(capture->lines.size(), 1u);
    EXPECT_EQ(capture->lines[0].text.size(), static_cast<size_t>(kLogBufferSize - 1));
}

TEST(FileMessageOutput, WritesPrefixedLinesAndUnknownLevels) {
    const char* path = "zel_log_test.txt";
    {
        FileMessageOutput output{String(path), String()};
        EXPECT_EQ(output.GetName(), String(path));
        output.Output(0, String("a"));
        output.Output(1, String("b"));
        output.Output(2, String("c"));
        output.Output(3, String("d"));
        output.Output(7, String("e"));
        output.Output(-1, String("Лог"));
    }
    std::string text = ReadLogFile(path);
    std::remove(path);
    // Normalise CR LF (Windows text mode) before comparing.
    std::string lines;
    for (char c : text)
        if (c != '\r') lines += c;
    EXPECT_EQ(lines, "INFO. a\nWARNING. b\nERROR. c\nCRITICAL ERROR. d\nUNKNOWN. e\nUNKNOWN. \xCB\xEE\xE3\n");
}

// The file's lines without CR (Windows text mode writes CR LF).
std::vector<std::string> FileLines(const char* path) {
    std::vector<std::string> lines(1);
    for (char c : ReadLogFile(path)) {
        if (c == '\n') lines.emplace_back();
        else if (c != '\r') lines.back() += c;
    }
    lines.pop_back();
    return lines;
}

// Warnings and errors repeat at most 20 times, then a note follows once;
// other levels are never held back, and each text keeps its own count.
TEST(FileMessageOutput, RepeatedWarningsAndErrorsStopAfterTwentyCopies) {
    const char* path = "zel_log_repeat_test.txt";
    const struct {
        int32_t level;
        const char* text;
        const char* line;
        size_t copies;
    } cases[] = {
        {kLogError, "e", "ERROR. e", 20},
        {kLogWarning, "w", "WARNING. w", 20},
        {kLogWarning, "w2", "WARNING. w2", 20},
        {kLogInfo, "i", "INFO. i", 30},
        {kLogCritical, "c", "CRITICAL ERROR. c", 30},
    };
    {
        FileMessageOutput output{String(path), String()};
        for (int round = 0; round < 30; ++round)
            for (const auto& c : cases) output.Output(c.level, String(c.text));
    }
    const std::vector<std::string> lines = FileLines(path);
    std::remove(path);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        size_t copies = 0, notes = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] != c.line) continue;
            ++copies;
            if (copies == 20 && c.copies == 20) {
                ASSERT_LT(i + 1, lines.size());
                EXPECT_EQ(lines[i + 1], std::string(c.line).substr(0, std::string(c.line).find(". ") + 2) +
                                            FileMessageOutput::kRepeatNote);
                ++notes;
            }
        }
        EXPECT_EQ(copies, c.copies);
        EXPECT_EQ(notes, c.copies == 20 ? 1u : 0u);
    }
}

TEST(FileMessageOutput, TheFileIsCutAtSixteenMebibytesWithALastLine) {
    const char* path = "zel_log_cap_test.txt";
    const String longLine(std::string(4000, 'x').c_str());
    bool cut = false;
    {
        FileMessageOutput output{String(path), String()};
        for (int i = 0; i < 4400; ++i) output.Output(kLogInfo, longLine);
        cut = output.IsCut();
        output.Output(kLogError, String("after the cut"));
    }
    const std::vector<std::string> lines = FileLines(path);
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const int64_t size = file.tellg();
    file.close();
    std::remove(path);
    EXPECT_TRUE(cut);
    EXPECT_LE(size, FileMessageOutput::kMaxFileBytes);
    EXPECT_GT(size, FileMessageOutput::kMaxFileBytes - 2 * 4100);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), std::string("WARNING. ") + FileMessageOutput::kCutLine);
    EXPECT_EQ(lines[lines.size() - 2].size(), 4006u);
}

TEST(FileMessageOutput, EmptyFileNameAndNameGiveASilentUnnamedOutput) {
    FileMessageOutput output{String(), String()};
    EXPECT_TRUE(output.GetName().IsEmpty());
    EXPECT_FALSE(output.IsOpen());
    output.Output(0, String("nothing"));  // must not crash
    FileMessageOutput named{String(), String("named")};
    EXPECT_EQ(named.GetName(), String("named"));
}

}  // namespace
}  // namespace zel
