// A clean start and stop of the engine in a process of its own: the log
// file holds the lifecycle lines in order, in Windows-1251.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/core/Buffer.h"
#include "engine/core/Engine.h"
#include "engine/core/FileMessageOutput.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"

namespace zel {
namespace {

std::vector<std::string> ReadLines(const char* path) {
    std::ifstream file(path);  // text mode: CR LF on Windows reads as LF
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

// Index of the first line at or after `from` equal to `expected`, or -1.
int FindLine(const std::vector<std::string>& lines, const std::string& expected, int from) {
    for (int i = from; i < static_cast<int>(lines.size()); ++i)
        if (lines[i] == expected) return i;
    return -1;
}

// Runs first in a fresh process: object IDs start at 0 and grow by one
// whatever the class.
TEST(EngineBoot, ObjectIdsOfAFreshRunStartAtZero) {
    Pointer<Vector3Buffer> first = new Vector3Buffer;
    Pointer<IntBuffer> second = new IntBuffer;
    EXPECT_EQ(first->GetId(), 0);
    EXPECT_EQ(second->GetId(), 1);
}

TEST(EngineBoot, LogFileHoldsTheLifecycleInOrder) {
    const char* path = "zel_boot_test_log.txt";
    {
        Pointer<FileMessageOutput> output = new FileMessageOutput(String(path), String());
        ASSERT_TRUE(output->IsOpen());
        ASSERT_EQ(RegisterMessageOutput(output), 0);
        EXPECT_EQ(EngineInitialize(), 0);
        EXPECT_EQ(EngineTerminate(), 0);
        ASSERT_EQ(UnregisterMessageOutput(output), 0);
    }  // the last reference closes the file

    std::vector<std::string> lines = ReadLines(path);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), std::string("INFO. Объект вывода сообщений зарегестрирован. [") + path + "]");
    EXPECT_EQ(lines.back(), std::string("INFO. Объект вывода сообщений разрегестрирован. [") + path + "]");

    const char* expectedInOrder[] = {
        "INFO. Инициализация движка v.0.1.2:",
        "INFO. Инициализация класса [Object] прошла удачно.",
        "INFO. Инициализация менеджера звука.",
        "INFO. Менеджер звука инициализирован.",
        "INFO. Инициализация движка завершилась удачно.",
        "INFO. Постинициализация движка:",
        "INFO. Постинициализация движка завершилась удачно.",
        "INFO. Завершение работы движка:",
        "INFO. Завершение работы класса [Object] прошло удачно.",
        "INFO. Завершение работы менеджера звука.",
        "INFO. Менеджер звука завершил работу.",
        "INFO. Завершение работы движка завершилось удачно.",
    };
    int at = 0;
    for (const char* expected : expectedInOrder) {
        at = FindLine(lines, expected, at);
        ASSERT_GE(at, 0) << "missing or out of order: " << expected;
    }

    // The managers start and stop in their fixed order, each between the
    // engine's opening and closing lines.
    const char* managersInOrder[] = {
        "INFO. Инициализация движка v.0.1.2:",
        "INFO. Инициализация менеджера кодеков.",
        "INFO. Менеджер кодеков инициализирован.",
        "INFO. Инициализация менеджера ввода.",
        "INFO. Менеджер ввода инициализирован.",
        "INFO. Инициализация менеджера шрифтов.",
        "INFO. Менеджер шрифтов инициализирован.",
        "INFO. Инициализация движка завершилась удачно.",
        "INFO. Завершение работы движка:",
        "INFO. Менеджер кодеков завершил работу.",
        "INFO. Завершение работы менеджера ввода.",
        "INFO. Менеджер ввода завершил работу.",
        "INFO. Завершение работы менеджера шрифтов.",
        "INFO. Менеджер шрифтов завершил работу.",
        "INFO. Завершение работы движка завершилось удачно.",
    };
    at = 0;
    for (const char* expected : managersInOrder) {
        at = FindLine(lines, expected, at);
        ASSERT_GE(at, 0) << "missing or out of order: " << expected;
    }

    // The texts are Windows-1251 bytes: "Инициализация движка" spelled out.
    const std::string cp1251 =
        "INFO. \xC8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xFF \xE4\xE2\xE8\xE6\xEA\xE0 v.0.1.2:";
    EXPECT_GE(FindLine(lines, cp1251, 0), 0);
}

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
