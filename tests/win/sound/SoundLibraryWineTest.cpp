// The sound library's DLL under Wine, through the sound manager: the
// program's resource 108 is written to the temporary folder, loaded and
// bound; a looping 3D sound node on the listener's left plays through the
// DLL into the WAV-file output; without an output device the start stays
// silent but running; without a temporary folder the library goes to the
// local application-data folder; termination leaves no file behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/TestSounds.h"
#include "support/CurrentRenderer.h"
#include "support/RecordingOutput.h"
#include "support/SoundTestFiles.h"
#include "engine/core/Log.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Transform.h"
#include "engine/os/Os.h"
#include "engine/scene/Camera.h"
#include "engine/sound/SoundLibrary.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundNode.h"

// Last: its macros (RegisterClass) would rename engine functions.
#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>

namespace zel {
namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kErrorDriver = 3;
constexpr int32_t kErrorFormat = 41;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string TemporaryFolder() {
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

// The DLL shares the program's C runtime, so it reads what _putenv sets.
void SetAudioWav(const std::string& path) { _putenv(("ZEL_AUDIO_WAV=" + path).c_str()); }

bool Logged(const std::vector<test::LoggedLine>& lines, int32_t level, const std::string& text) {
    for (const test::LoggedLine& line : lines)
        if (line.level == level && line.text.find(text) != std::string::npos) return true;
    return false;
}

// Whether the system's output device opens for the library's format.
bool DeviceOpens() {
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
    waveOutClose(device);
    return true;
}

// One second of a 440 Hz tone, as the scene's Ogg Vorbis file.
const std::string& ToneOgg() {
    static const std::string ogg = audio::test::MakeOgg(audio::test::Sine(440.0, 1.0, kRate), 1, kRate);
    return ogg;
}

// Root mean square of one channel of 16-bit stereo frames [from, to).
double Rms(const int16_t* frames, size_t from, size_t to, int channel) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += double(frames[2 * i + channel]) * frames[2 * i + channel];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

// Each test restarts the sound manager under its own conditions; the
// manager is started again afterwards as the engine left it: no WAV file.
class SoundDll : public ::testing::Test {
protected:
    void TearDown() override {
        SetAudioWav("");
        SoundManager::Terminate();
        EXPECT_EQ(SoundManager::Initialize(), kOk);
    }

    // Stops the manager and starts it again; the lines it logged starting.
    static std::vector<test::LoggedLine> Restart() {
        SoundManager::Terminate();
        test::LogCapture capture;
        EXPECT_EQ(SoundManager::Initialize(), kOk);
        return capture->lines;
    }
};

TEST_F(SoundDll, TheLibraryIsWrittenOutOfTheProgramsResourceLoadedAndChecked) {
    const std::vector<test::LoggedLine> lines = Restart();
    ASSERT_TRUE(SoundManager::IsLoaded());
    EXPECT_TRUE(Logged(lines, kLogInfo, "Инициализация менеджера звука."));
    EXPECT_TRUE(Logged(lines, kLogInfo, "Менеджер звука инициализирован."));
    EXPECT_FALSE(Logged(lines, kLogError, "Версия библиотеки BASS не совпадает."));

    // In the temporary folder, under the prefix "bas", the resource's bytes.
    const std::string path = SoundManager::GetLibraryPath();
    const std::string folder = TemporaryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(_strnicmp(path.c_str(), (folder + "bas").c_str(), folder.size() + 3), 0) << path;
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(os::FindResourceBytes(SoundManager::kResourceId, SoundManager::kResourceType, &data, &size),
              os::ResourceLookup::kFound);
    const std::string written = ReadFile(path);
    ASSERT_EQ(written.size(), size);
    EXPECT_EQ(std::memcmp(written.data(), data, size), 0);
    EXPECT_EQ(written.compare(0, 2, "MZ"), 0);
    // The loaded module is that file, and it is our version.
    EXPECT_NE(GetModuleHandleA(path.c_str()), nullptr);
    EXPECT_EQ(GetSoundLibrary().BASS_GetVersion(), SoundLibrary::kVersion);
}

TEST_F(SoundDll, WithoutAnOutputDeviceInitFailsCleanlyAndStreamsStillWork) {
    if (DeviceOpens()) GTEST_SKIP() << "this machine has an output device";
    const std::vector<test::LoggedLine> lines = Restart();
    ASSERT_TRUE(SoundManager::IsLoaded());
    EXPECT_TRUE(Logged(lines, kLogError, "Невозможно инициализировать звук. Причина [3]. Устройство []"));
    EXPECT_TRUE(Logged(lines, kLogInfo, "Менеджер звука инициализирован."));

    const SoundLibrary& library = GetSoundLibrary();
    EXPECT_EQ(library.BASS_Init(-1, kRate, SoundLibrary::kInitFlag3D, nullptr, nullptr), 0);
    EXPECT_EQ(library.BASS_ErrorGetCode(), kErrorDriver);
    // Silent, but streams are made and play as with a device.
    const std::string& ogg = ToneOgg();
    const uint32_t stream = library.StreamCreateFile(ogg.data(), static_cast<uint32_t>(ogg.size()), 0);
    ASSERT_NE(stream, 0u);
    library.ChannelPlay(stream, false);
    EXPECT_TRUE(library.ChannelIsPlaying(stream));
    library.StreamFree(stream);
}

TEST_F(SoundDll, ALooping3DNodeOnTheLeftPlaysThroughTheDllIntoTheWavFile) {
    const std::string wav = TemporaryFolder() + "zel-sound-" + std::to_string(GetCurrentProcessId()) + ".wav";
    SetAudioWav(wav);
    const std::vector<test::LoggedLine> lines = Restart();
    ASSERT_TRUE(Logged(lines, kLogInfo, "Звук инициализирован. Устройство [1] [WAV file]"));

    {
        test::MountedSoundFiles files;
        test::CurrentRenderer renderer;
        // The camera at the origin looks along +z: the node, at x = -2 and
        // inside its minimum distance, is on the listener's left.
        Pointer<Camera> camera = new Camera();
        camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {0, 0, 0}));
        renderer->SetCamera(camera);
        Pointer<SoundNode> node = new SoundNode();
        ASSERT_EQ(node->LoadSound(files.Add("tone.ogg", ToneOgg()), true), kOk);
        ASSERT_NE(node->GetStream(), 0u);
        node->SetLoop(true);
        node->SetMinDistance(3.0f);
        node->SetVolume(100);
        node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {-2, 0, 0}));
        // 1.5 s of frames: the 1 s tone must loop on. Halfway the program
        // initialises again, as the application does with its window: the
        // output and the file keep running.
        const DWORD start = GetTickCount();
        bool initialisedAgain = false;
        while (GetTickCount() - start < 1500) {
            renderer->BeginFrame();
            node->Update(0.02, false);
            renderer->EndFrame();
            if (!initialisedAgain && GetTickCount() - start >= 750) {
                EXPECT_NE(GetSoundLibrary().BASS_Init(-1, kRate, SoundLibrary::kInitFlag3D, nullptr, nullptr), 0);
                initialisedAgain = true;
            }
            Sleep(20);
        }
    }
    SoundManager::Terminate();  // joins the output and completes the file

    const std::string bytes = ReadFile(wav);
    DeleteFileA(wav.c_str());
    ASSERT_GE(bytes.size(), 44u);
    ASSERT_EQ(bytes.compare(0, 4, "RIFF"), 0);
    uint32_t dataBytes = 0;
    std::memcpy(&dataBytes, bytes.data() + 40, 4);
    ASSERT_EQ(dataBytes, bytes.size() - 44);
    const size_t frames = dataBytes / 4;
    // Written at the wall-clock rate: about the 1.5 s of the scene.
    ASSERT_GT(frames, size_t(kRate));
    ASSERT_LT(frames, size_t(5 * kRate));
    const int16_t* samples = reinterpret_cast<const int16_t*>(bytes.data() + 44);
    const double left = Rms(samples, 0, frames, 0);
    const double right = Rms(samples, 0, frames, 1);
    EXPECT_GT(left, 1000.0);
    EXPECT_GT(left, 2.0 * right);
    // After the tone's first second it still sounds: it loops.
    const size_t tail = frames - kRate / 20;
    EXPECT_GT(Rms(samples, tail - kRate / 4, tail, 0), 1000.0);
}

// The DLL's cross-built libvorbis refuses what the native one refuses, and
// the node only warns.
TEST_F(SoundDll, DamagedOggFilesAreRefusedAndTheNodeStaysSilent) {
    const std::string& ogg = ToneOgg();
    std::string damaged = ogg;
    for (size_t i = 60; i < damaged.size(); i += 7) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    const struct {
        const char* what;
        std::string data;
    } cases[] = {
        {"signature only", "OggS"},
        {"headers cut", ogg.substr(0, 200)},
        {"damaged", damaged},
        {"cut in its audio", ogg.substr(0, ogg.size() / 2)},
    };
    const SoundLibrary& library = GetSoundLibrary();
    test::MountedSoundFiles files;
    for (const auto& c : cases) {
        EXPECT_EQ(library.StreamCreateFile(c.data.data(), static_cast<uint32_t>(c.data.size()), 0), 0u) << c.what;
        EXPECT_EQ(library.BASS_ErrorGetCode(), kErrorFormat) << c.what;
        test::LogCapture capture;
        Pointer<SoundNode> node = new SoundNode();
        EXPECT_EQ(node->LoadSound(files.Add("bad.ogg", c.data), false), kOk) << c.what;
        EXPECT_EQ(node->GetStream(), 0u) << c.what;
        EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно загрузить файл звука [bad.ogg]")) << c.what;
    }
}

// Points TMP and TEMP, which the system's temporary folder follows, at
// `folder` for a scope.
class ScopedTemporaryFolder {
public:
    explicit ScopedTemporaryFolder(const std::string& folder) {
        hadTmp_ = GetEnvironmentVariableA("TMP", savedTmp_, MAX_PATH) != 0;
        hadTemp_ = GetEnvironmentVariableA("TEMP", savedTemp_, MAX_PATH) != 0;
        SetEnvironmentVariableA("TMP", folder.c_str());
        SetEnvironmentVariableA("TEMP", folder.c_str());
    }
    ~ScopedTemporaryFolder() {
        SetEnvironmentVariableA("TMP", hadTmp_ ? savedTmp_ : nullptr);
        SetEnvironmentVariableA("TEMP", hadTemp_ ? savedTemp_ : nullptr);
    }

private:
    char savedTmp_[MAX_PATH] = {};
    char savedTemp_[MAX_PATH] = {};
    bool hadTmp_ = false;
    bool hadTemp_ = false;
};

TEST_F(SoundDll, TerminationLeavesNoFileInTheTemporaryFolder) {
    // A temporary folder of this test's own: the programs running beside it
    // write their libraries to the shared one.
    const std::string folder = TemporaryFolder() + "zel-sound-" + std::to_string(GetCurrentProcessId());
    ASSERT_NE(CreateDirectoryA(folder.c_str(), nullptr), 0);
    {
        ScopedTemporaryFolder temporary(folder);
        Restart();
        const std::string path = SoundManager::GetLibraryPath();
        EXPECT_EQ(_strnicmp(path.c_str(), folder.c_str(), folder.size()), 0) << path;
        EXPECT_TRUE(FileExists(path));
        SoundManager::Terminate();
        EXPECT_FALSE(FileExists(path));
        EXPECT_STREQ(SoundManager::GetLibraryPath(), "");
    }
    // Removing the folder fails unless it is empty.
    EXPECT_NE(RemoveDirectoryA(folder.c_str()), 0);
}

// A temporary folder that does not exist sends the library to
// "Velkor Studio" under the local application-data folder, with sound.
TEST_F(SoundDll, WithoutATemporaryFolderTheLibraryGoesToTheLocalDataFolder) {
    char local[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local), S_OK);
    const std::string fallback = std::string(local) + "\\Velkor Studio\\bas";
    std::string path;
    {
        ScopedTemporaryFolder temporary(TemporaryFolder() + "zel-no-such-folder");
        const std::vector<test::LoggedLine> lines = Restart();
        EXPECT_TRUE(Logged(lines, kLogError, "Невозможно создать временный файл [bass.dll]."));
        EXPECT_FALSE(Logged(lines, kLogInfo, "работа продолжается без звука"));
        path = SoundManager::GetLibraryPath();
    }
    EXPECT_EQ(_strnicmp(path.c_str(), fallback.c_str(), fallback.size()), 0) << path;
    ASSERT_TRUE(SoundManager::IsLoaded());
    EXPECT_NE(GetModuleHandleA(path.c_str()), nullptr);
    SoundManager::Terminate();
    EXPECT_FALSE(FileExists(path));
}

// Wine's waveOut into an ALSA file device: CTest gives the run an ALSA
// configuration whose default device writes raw PCM to ZEL_ALSA_FILE.
// The engine's start opened the device; the library's output thread plays a
// tone, which arrives in the file sample for sample as 16-bit stereo at
// 44.1 kHz.
TEST(SoundDevice, WaveOutPlaysTheMixIntoTheSystemDevice) {
    const char* raw = std::getenv("ZEL_ALSA_FILE");
    if (raw == nullptr) GTEST_SKIP() << "no ALSA file device (ZEL_ALSA_FILE)";
    ASSERT_GT(waveOutGetNumDevs(), 0u);
    ASSERT_TRUE(SoundManager::IsLoaded());
    const SoundLibrary& library = GetSoundLibrary();
    ASSERT_EQ(library.BASS_GetDevice(), 1u);
    const std::string tone = audio::test::MakeWav(audio::test::Sine(440.0, 1.0, kRate, 2), 2, kRate);
    const uint32_t stream = library.StreamCreateFile(tone.data(), static_cast<uint32_t>(tone.size()), 0);
    ASSERT_NE(stream, 0u);
    library.ChannelPlay(stream, false);
    Sleep(1500);
    SoundManager::Terminate();  // closes the device

    // Wine sees the host's files on drive Z:.
    const std::string bytes = ReadFile(std::string("Z:") + raw);
    const size_t frames = bytes.size() / 4;
    ASSERT_GT(frames, size_t(kRate));
    const int16_t* played = reinterpret_cast<const int16_t*>(bytes.data());
    size_t first = 0;
    while (first < frames && played[2 * first] == 0) ++first;
    ASSERT_LT(first + kRate / 2, frames) << "no tone in the device's output";
    // From its first sound on, the device received the file's own samples:
    // at full volume and centred, only the 16-bit scale of decoding and
    // output may move a sample by one step.
    const int16_t* source = reinterpret_cast<const int16_t*>(tone.data() + 44);
    size_t sourceFirst = 0;
    while (source[2 * sourceFirst] == 0) ++sourceFirst;
    int mismatches = 0;
    for (size_t i = 0; i < size_t(kRate / 2); ++i)
        for (int c = 0; c < 2; ++c)
            if (std::abs(played[2 * (first + i) + c] - source[2 * (sourceFirst + i) + c]) > 1) ++mismatches;
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(Rms(played, first, first + kRate / 2, 0), 10000.0);
    EXPECT_EQ(SoundManager::Initialize(), kOk);
}

}  // namespace
}  // namespace zel
