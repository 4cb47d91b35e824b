// The sound manager: started with the engine it has written, loaded and
// bound the library; every failure of the start is logged and leaves
// nothing behind; a library that cannot be written or loaded anywhere, or a
// missing output, only leaves the program silent; the master volume is
// clamped; the camera orients the listener.
#include <gtest/gtest.h>

// Natively: the failures are staged through the native resource table.
#if !defined(_WIN32)

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
    EXPECT_TRUE(os::ResourceTable::Add(SoundManager::kResourceId, SoundManager::kResourceType, bytes.data(),
                           static_cast<uint32_t>(bytes.size())));
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

// Sets an environment variable for a scope, then puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (had_) setenv(name_, old_.c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

const char kWrite[] = "Инициализация менеджера звука. Невозможно создать временный файл [bass.dll].";
const char kLoad[] = "Инициализация менеджера звука. Невозможно загрузить библиотеку [bass.dll].";
const char kSilent[] =
    "Инициализация менеджера звука. Библиотека [bass.dll] не загружена, работа продолжается без звука.";
const char kStarted[] = "Менеджер звука инициализирован.";

// Without a resource or with a broken library the engine cannot start; a
// library that no folder lets be written or loaded leaves it silent. The
// temporary folder comes first, "Velkor Studio" under the local data folder
// second; nothing is left in either.
TEST_F(SoundManagerRestart, AFailedStartLogsItsReasonAndLeavesNothingBehind) {
    const std::string stale = ReadFile(ZEL_STALE_SOUND_LIBRARY);
    const std::string incomplete = ReadFile(ZEL_INCOMPLETE_SOUND_LIBRARY);
    ASSERT_FALSE(stale.empty());
    ASSERT_FALSE(incomplete.empty());
    const std::string dataHome = ::testing::TempDir() + "zel-sound-data-" + std::to_string(getpid());
    const std::string fallback = dataHome + "/Velkor Studio";
    ASSERT_EQ(mkdir(dataHome.c_str(), 0700), 0);
    const char* nowhere = "/nonexistent-zel-folder";
    const struct {
        const char* what;
        bool present;
        std::string bytes;
        const char* temporaryFolder;
        std::string dataFolder;
        int32_t status;
        std::vector<std::string> lines;  // after the opening line
    } cases[] = {
        {"missing", false, "", nullptr, dataHome, kFailed,
         {"Инициализация менеджера звука. Невозможно найти ресурс [bass.dll]."}},
        {"empty", true, "", nullptr, dataHome, kFailed,
         {"Инициализация менеджера звука. Размер ресурса [bass.dll] равен 0."}},
        {"no folder to write to", true, kLinked, nowhere, nowhere, kOk, {kWrite, kWrite, kSilent, kStarted}},
        {"no folder to load from", true, "MZ this is no library", nullptr, dataHome, kOk,
         {kLoad, kLoad, kSilent, kStarted}},
        {"older version", true, stale, nullptr, dataHome, kFailed, {"Версия библиотеки BASS не совпадает."}},
        {"a function missing", true, incomplete, nullptr, dataHome, kFailed,
         {"Версия библиотеки BASS не совпадает."}},
    };
    for (const auto& c : cases) {
        if (c.present) SetResource(c.bytes);
        else os::ResourceTable::Remove(SoundManager::kResourceId, SoundManager::kResourceType);
        std::vector<test::LoggedLine> lines;
        {
            ScopedVariable data("XDG_DATA_HOME", c.dataFolder);
            ScopedVariable temporary("TMPDIR", c.temporaryFolder != nullptr ? c.temporaryFolder : "/tmp");
            LogCapture log;
            EXPECT_EQ(SoundManager::Initialize(), c.status) << c.what;
            lines = log->lines;
        }
        ASSERT_EQ(lines.size(), c.lines.size() + 1) << c.what;
        EXPECT_EQ(lines[0].text, "Инициализация менеджера звука.");
        for (size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(lines[i + 1].text, c.lines[i]) << c.what;
            const bool info = c.lines[i] == kSilent || c.lines[i] == kStarted;
            EXPECT_EQ(lines[i + 1].level, info ? kLogInfo : kLogError) << c.what << " " << i;
        }
        EXPECT_FALSE(SoundManager::IsLoaded()) << c.what;
        EXPECT_STREQ(SoundManager::GetLibraryPath(), "") << c.what;
        EXPECT_EQ(GetSoundLibrary().BASS_GetVersion, nullptr) << c.what;
        EXPECT_EQ(GetSoundListenerHook(), nullptr) << c.what;
        SoundManager::Terminate();
    }
    // The fallback folder was made and is empty again.
    EXPECT_EQ(rmdir(fallback.c_str()), 0);
    EXPECT_EQ(rmdir(dataHome.c_str()), 0);
}

TEST_F(SoundManagerRestart, ALockedTemporaryFolderSendsTheLibraryToTheLocalDataFolder) {
    const std::string dataHome = ::testing::TempDir() + "zel-sound-fallback-" + std::to_string(getpid());
    ASSERT_EQ(mkdir(dataHome.c_str(), 0700), 0);
    std::string path;
    {
        ScopedVariable data("XDG_DATA_HOME", dataHome);
        ScopedVariable temporary("TMPDIR", "/nonexistent-zel-folder");
        LogCapture log;
        ASSERT_EQ(SoundManager::Initialize(), kOk);
        ASSERT_TRUE(SoundManager::IsLoaded());
        // The temporary folder's failure is logged; the start goes on with sound.
        ASSERT_GE(log->lines.size(), 2u);
        EXPECT_EQ(log->lines[1].text, kWrite);
        EXPECT_FALSE(log->Contains(kLogInfo, kSilent));
        path = SoundManager::GetLibraryPath();
    }
    EXPECT_EQ(path.rfind(dataHome + "/Velkor Studio/bas", 0), 0u) << path;
    EXPECT_EQ(ReadFile(path.c_str()), kLinked);
    EXPECT_NE(GetSoundLibrary().BASS_ChannelPlay, nullptr);
    SoundManager::Terminate();
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(rmdir((dataHome + "/Velkor Studio").c_str()), 0);
    EXPECT_EQ(rmdir(dataHome.c_str()), 0);
}

TEST_F(SoundManagerRestart, WithoutAnOutputTheStartSucceedsSilently) {
    unsetenv("ZEL_AUDIO_WAV");
    LogCapture log;
    EXPECT_EQ(SoundManager::Initialize(), kOk);
    ASSERT_EQ(log->lines.size(), 3u);
    EXPECT_EQ(log->lines[1].level, kLogError);
    EXPECT_EQ(log->lines[1].text, "Невозможно инициализировать звук. Причина [3]. Устройство []");
    EXPECT_EQ(log->lines[2].text, "Менеджер звука инициализирован.");
    // The application's own start with its window tells the same reason.
    log.Clear();
    int window = 0;
    EXPECT_FALSE(SoundManager::InitializeDevice(&window));
    ASSERT_EQ(log->lines.size(), 1u);
    EXPECT_EQ(log->lines[0].text, "Невозможно инициализировать звук. Причина [3]. Устройство []");
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
    // The application's start with its window names the device in use.
    log.Clear();
    int window = 0;
    EXPECT_TRUE(SoundManager::InitializeDevice(&window));
    ASSERT_EQ(log->lines.size(), 1u);
    EXPECT_EQ(log->lines[0].text, "Звук инициализирован. Устройство [1] [WAV file]");
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
