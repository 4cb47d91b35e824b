// The sound manager: started with the engine it has written, loaded and
// bound the library; every failure of the start is logged and leaves
// nothing behind; a missing output only leaves the program silent; the
// master volume is clamped; the camera orients the listener.
#include <gtest/gtest.h>

// Natively: the failures are staged through the native resource table.
#if !defined(_WIN32)

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/CurrentRenderer.h"
#include "support/FakeSoundLibrary.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"
#include "engine/core/Log.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Transform.h"
#include "engine/os/posix/LinkedLibrary.h"
#include "engine/os/posix/ResourceTable.h"
#include "engine/render/Renderer.h"
#include "engine/scene/Camera.h"
#include "engine/sound/SoundLibrary.h"
#include "engine/sound/SoundManager.h"

namespace zel {
namespace {

using test::FakeSoundLibrary;
using test::LogCapture;

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void SetResource(const std::string& bytes) {
    os::ResourceTable::Add(SoundManager::kResourceId, SoundManager::kResourceType, bytes.data(),
                           static_cast<uint32_t>(bytes.size()));
}

const std::string kLinked(os::kLinkedLibrarySignature);

// Stops the manager for a test and starts it again afterwards with the
// program's own library, as the engine left it.
class SoundManagerRestart : public ::testing::Test {
protected:
    void SetUp() override {
        SoundManager::Terminate();
        ASSERT_FALSE(SoundManager::IsLoaded());
    }
    void TearDown() override {
        unsetenv("ZEL_AUDIO_WAV");
        SetResource(kLinked);
        SoundManager::Terminate();
        EXPECT_EQ(SoundManager::Initialize(), kOk);
        EXPECT_TRUE(SoundManager::IsLoaded());
    }
};

TEST_F(SoundManagerRestart, TheStartLoadsTheLibraryFromATemporaryFile) {
    ASSERT_EQ(SoundManager::Initialize(), kOk);
    ASSERT_TRUE(SoundManager::IsLoaded());
    const std::string path = SoundManager::GetLibraryPath();
    EXPECT_NE(path.find("/bas"), std::string::npos);
    EXPECT_EQ(ReadFile(path.c_str()), kLinked);
    ASSERT_NE(GetSoundLibrary().BASS_GetVersion, nullptr);
    EXPECT_EQ(GetSoundLibrary().BASS_GetVersion(), SoundLibrary::kVersion);
    EXPECT_NE(GetSoundListenerHook(), nullptr);
}

TEST_F(SoundManagerRestart, TerminationUnloadsAndDeletesTheFile) {
    ASSERT_EQ(SoundManager::Initialize(), kOk);
    const std::string path = SoundManager::GetLibraryPath();
    ASSERT_TRUE(FileExists(path));
    LogCapture log;
    EXPECT_EQ(SoundManager::Terminate(), kOk);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(GetSoundLibrary().BASS_ChannelPlay, nullptr);
    EXPECT_EQ(GetSoundListenerHook(), nullptr);
    ASSERT_EQ(log->lines.size(), 2u);
    EXPECT_EQ(log->lines[0].text, "Завершение работы менеджера звука.");
    EXPECT_EQ(log->lines[1].text, "Менеджер звука завершил работу.");
    // Terminating again only logs the opening line.
    log.Clear();
    EXPECT_EQ(SoundManager::Terminate(), kOk);
    EXPECT_EQ(log->lines.size(), 1u);
}

TEST_F(SoundManagerRestart, AFailedStartLogsItsReasonAndLeavesNothingBehind) {
    const std::string stale = ReadFile(ZEL_STALE_SOUND_LIBRARY);
    const std::string incomplete = ReadFile(ZEL_INCOMPLETE_SOUND_LIBRARY);
    ASSERT_FALSE(stale.empty());
    ASSERT_FALSE(incomplete.empty());
    const struct {
        const char* what;
        bool present;
        std::string bytes;
        const char* temporaryFolder;
        const char* line;
    } cases[] = {
        {"missing", false, "", nullptr, "Инициализация менеджера звука. Невозможно найти ресурс [bass.dll]."},
        {"empty", true, "", nullptr, "Инициализация менеджера звука. Размер ресурса [bass.dll] равен 0."},
        {"no temporary folder", true, kLinked, "/nonexistent-zel-folder",
         "Инициализация менеджера звука. Невозможно создать временный файл [bass.dll]."},
        {"not a library", true, "MZ this is no library", nullptr,
         "Инициализация менеджера звука. Невозможно загрузить библиотеку [bass.dll]."},
        {"older version", true, stale, nullptr, "Версия библиотеки BASS не совпадает."},
        {"a function missing", true, incomplete, nullptr, "Версия библиотеки BASS не совпадает."},
    };
    const char* folder = std::getenv("TMPDIR");
    const std::string savedFolder = folder != nullptr ? folder : "";
    for (const auto& c : cases) {
        if (c.present) SetResource(c.bytes);
        else os::ResourceTable::Remove(SoundManager::kResourceId, SoundManager::kResourceType);
        if (c.temporaryFolder != nullptr) setenv("TMPDIR", c.temporaryFolder, 1);
        LogCapture log;
        EXPECT_EQ(SoundManager::Initialize(), kFailed) << c.what;
        if (folder != nullptr) setenv("TMPDIR", savedFolder.c_str(), 1);
        else unsetenv("TMPDIR");
        ASSERT_EQ(log->lines.size(), 2u) << c.what;
        EXPECT_EQ(log->lines[0].text, "Инициализация менеджера звука.");
        EXPECT_EQ(log->lines[1].level, kLogError) << c.what;
        EXPECT_EQ(log->lines[1].text, c.line) << c.what;
        EXPECT_FALSE(SoundManager::IsLoaded()) << c.what;
        EXPECT_STREQ(SoundManager::GetLibraryPath(), "") << c.what;
        EXPECT_EQ(GetSoundLibrary().BASS_GetVersion, nullptr) << c.what;
        EXPECT_EQ(GetSoundListenerHook(), nullptr) << c.what;
    }
}

TEST_F(SoundManagerRestart, WithoutAnOutputTheStartSucceedsSilently) {
    unsetenv("ZEL_AUDIO_WAV");
    LogCapture log;
    EXPECT_EQ(SoundManager::Initialize(), kOk);
    ASSERT_EQ(log->lines.size(), 3u);
    EXPECT_EQ(log->lines[1].level, kLogError);
    EXPECT_EQ(log->lines[1].text, "Невозможно инициализировать звук. Причина [3]. Устройство []");
    EXPECT_EQ(log->lines[2].text, "Менеджер звука инициализирован.");
    // A second start finds the library loaded.
    log.Clear();
    EXPECT_EQ(SoundManager::Initialize(), kOk);
    ASSERT_EQ(log->lines.size(), 1u);
}

TEST_F(SoundManagerRestart, WithAnOutputTheDeviceIsLogged) {
    const std::string path = ::testing::TempDir() + "zel_sound_manager.wav";
    setenv("ZEL_AUDIO_WAV", path.c_str(), 1);
    LogCapture log;
    EXPECT_EQ(SoundManager::Initialize(), kOk);
    ASSERT_EQ(log->lines.size(), 3u);
    EXPECT_EQ(log->lines[1].level, kLogInfo);
    EXPECT_EQ(log->lines[1].text, "Звук инициализирован. Устройство [1] [WAV file]");
    SoundManager::Terminate();
    EXPECT_TRUE(FileExists(path));
    std::remove(path.c_str());
}

TEST(SoundManager, MasterVolumeIsClampedTo100) {
    FakeSoundLibrary fake;
    for (uint32_t percent : {0u, 40u, 100u, 250u}) SoundManager::SetMasterVolume(percent);
    const std::vector<std::string> expected = {"SetConfig(5,0)", "SetConfig(5,40)", "SetConfig(5,100)",
                                               "SetConfig(5,100)"};
    EXPECT_EQ(FakeSoundLibrary::calls, expected);
}

TEST_F(SoundManagerRestart, TheCameraOrientsTheListenerEveryFrame) {
    ASSERT_EQ(SoundManager::Initialize(), kOk);
    FakeSoundLibrary fake;
    test::CurrentRenderer current;
    Pointer<Camera> camera = new Camera();
    camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({0, 1, 0}, -1.5707963f), {5, 6, 7}));
    current->SetCamera(camera);
    current->BeginFrame();
    const Vector3 front = camera->GetDirection();
    const Vector3 up = camera->GetUp();
    ASSERT_EQ(FakeSoundLibrary::calls.size(), 2u);
    char expected[160];
    std::snprintf(expected, sizeof expected, "Set3DPosition(null,null,%g %g %g,%g %g %g)", front.x, front.y, front.z,
                  up.x, up.y, up.z);
    EXPECT_EQ(FakeSoundLibrary::calls[0], expected);
    EXPECT_EQ(FakeSoundLibrary::calls[1], "Apply3D()");
}

}  // namespace
}  // namespace zel

#endif  // !defined(_WIN32)
