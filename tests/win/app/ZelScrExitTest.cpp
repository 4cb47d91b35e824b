// zel.scr /s ended from outside the way a user ends it: another program
// taking the foreground, system keys, a wheel turn, an X button, and real
// mouse movement when the setting asks for it, while moves that stay in
// one place do not end it. Every run ends on the normal path: exit code 0
// within six seconds (Wine's own teardown takes 2.3-3 s), its log closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "SaverProcess.h"
#include "engine/os/win32/Windows.h"

#include <shlobj.h>

namespace {

using zel::test::SaverProcess;
using zel::test::WaitFor;

const char kKey[] = "Software\\Velkor Studio\\Zel";
constexpr DWORD kExitLimitMs = 6000;
constexpr DWORD kStartLimitMs = 90000;
// How far behind the times this test reads may be.
constexpr double kPollMs = 50.0;

std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        size_t read = 0;
        while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, read);
        std::fclose(file);
    }
    return bytes;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string LogPath() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, folder);
    return std::string(folder) + "\\Velkor Studio\\ZelLog.txt";
}

// The 16-bit stereo samples of a WAV file written by the sound library.
struct Wav {
    explicit Wav(const std::string& bytes) {
        if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0) return;
        rate = *reinterpret_cast<const uint32_t*>(bytes.data() + 24);
        samples.resize((bytes.size() - 44) / 2);
        std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
    }
    // The loudest sample of the frames from `fromMs` to `toMs` after the
    // file's start.
    int Peak(double fromMs, double toMs) const {
        int peak = 0;
        const size_t first = static_cast<size_t>(fromMs * rate / 1000.0) * 2;
        const size_t last = std::min(samples.size(), static_cast<size_t>(toMs * rate / 1000.0) * 2);
        for (size_t i = first; i < last; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        return peak;
    }
    double DurationMs() const { return rate == 0 ? 0.0 : samples.size() / 2 * 1000.0 / rate; }

    uint32_t rate = 0;
    std::vector<int16_t> samples;
};

void SendInputs(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT Mouse(DWORD flags, DWORD data = 0, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    input.mi.dx = dx;
    input.mi.dy = dy;
    return input;
}

// Returns once the show's thread has taken every message queued for
// `window` before the call: a message sent to the window is handled at the
// thread's next look at its queue (once a frame), so after two in turn one
// whole look has passed. A window gone, or a frame longer than the limit,
// returns earlier.
void WaitUntilTaken(HWND window) {
    for (int i = 0; i < 2; ++i) SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kStartLimitMs, nullptr);
}

class ZelScrExitTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof current, current);
        work_ = std::string(current) + "\\zel-scr-exit";
        CreateDirectoryA(work_.c_str(), nullptr);
        // The second frame is captured before it is presented: the first is
        // on screen by then.
        SetEnvironmentVariableA("ZEL_CAPTURE_DIR", work_.c_str());
        SetEnvironmentVariableA("ZEL_CAPTURE_FRAMES", "2");
        SetEnvironmentVariableA("ZEL_AUDIO_WAV", WavPath().c_str());
    }
    void TearDown() override {
        saver_.reset();
        if (ownWindow_ != nullptr) DestroyWindow(ownWindow_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }

    std::string FirstFrameMark() const { return work_ + "\\frame-00002.bmp"; }
    std::string WavPath() const { return work_ + "\\show.wav"; }

    // Starts /s and waits until its first frame is on screen.
    void StartShow() {
        DeleteFileA(FirstFrameMark().c_str());
        DeleteFileA(WavPath().c_str());
        saver_ = std::make_unique<SaverProcess>("/s");
        ASSERT_TRUE(saver_->Started());
        // The mix is written from the moment its file is made.
        WaitFor([this] { return FileExists(WavPath()) || saver_->HasExited(); }, kStartLimitMs);
        mixStartTick_ = GetTickCount();
        ASSERT_TRUE(WaitFor([this] { return FileExists(FirstFrameMark()) || saver_->HasExited(); }, kStartLimitMs));
        ASSERT_FALSE(saver_->HasExited()) << "the show ended by itself";
        show_ = saver_->MainWindow();
        ASSERT_NE(show_, nullptr);
    }

    // The show ended on the normal path within the limit of the input given
    // at `inputTick`.
    void ExpectNormalEnd(DWORD inputTick) {
        const DWORD spent = GetTickCount() - inputTick;
        const DWORD left = spent < kExitLimitMs ? kExitLimitMs - spent : 0;
        EXPECT_EQ(saver_->Finish(left), 0) << "no end within " << kExitLimitMs << " ms";
        const std::string log = ReadFile(LogPath());
        const std::string tail = log.substr(log.size() > 800 ? log.size() - 800 : 0);
        EXPECT_NE(log.find("Работа скринсейвера завершена корректно."), std::string::npos) << tail;
        EXPECT_EQ(log.find("ERROR. Неудач"), std::string::npos) << tail;
        const std::string last = "Конец лога.";
        const size_t end = log.find_last_not_of("\r\n") + 1;
        EXPECT_TRUE(end >= last.size() && log.compare(end - last.size(), last.size(), last) == 0) << tail;
    }

    // Where the mix stands now, in milliseconds (at most a polling step
    // behind).
    double MixTime() const { return static_cast<double>(GetTickCount() - mixStartTick_); }

    std::string work_;
    std::unique_ptr<SaverProcess> saver_;
    HWND show_ = nullptr;
    HWND ownWindow_ = nullptr;
    DWORD mixStartTick_ = 0;
};

TEST_F(ZelScrExitTest, AnotherProgramTakingTheForegroundEndsTheShowAndItsSound) {
    StartShow();
    WaitFor([] { return false; }, 1000);  // some music before
    const double changedAt = MixTime();
    const DWORD changeTick = GetTickCount();
    ownWindow_ = CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(ownWindow_, nullptr);
    SetForegroundWindow(ownWindow_);
    WaitUntilTaken(show_);
    const double takenAt = MixTime();
    ExpectNormalEnd(changeTick);

    const Wav wav(ReadFile(WavPath()));
    ASSERT_GT(wav.rate, 0u) << "no mix written";
    EXPECT_GT(wav.Peak(0.0, changedAt), 0) << "the show was silent before";
    // Silent from the pass of the frame loop that took the change on.
    EXPECT_EQ(wav.Peak(takenAt + kPollMs, wav.DurationMs()), 0)
        << "sound " << takenAt - changedAt << " ms after the focus change";
}

struct InputCase {
    const char* what;
    std::vector<INPUT> inputs;
};

TEST_F(ZelScrExitTest, SystemKeysWheelsAndXButtonsEndTheShow) {
    const InputCase cases[] = {
        {"Alt", {Key(VK_MENU, false), Key(VK_MENU, true)}},
        {"Alt+F4", {Key(VK_MENU, false), Key(VK_F4, false), Key(VK_F4, true), Key(VK_MENU, true)}},
        {"wheel", {Mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA))}},
        {"X button", {Mouse(MOUSEEVENTF_XDOWN, XBUTTON1), Mouse(MOUSEEVENTF_XUP, XBUTTON1)}},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(c.what);
        StartShow();
        const DWORD inputTick = GetTickCount();
        SendInputs(c.inputs);
        ExpectNormalEnd(inputTick);
    }
}

TEST_F(ZelScrExitTest, OnlyRealMouseMovementEndsTheShow) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    const DWORD on = 1;
    RegSetValueExA(key, "ExitOnMouseMove", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(key);
    StartShow();

    // Messages, not the pointer: the system merges real moves that wait in
    // the queue, so only posted ones arrive one by one.
    for (int i = 0; i < 30; ++i) PostMessageA(show_, WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
    EXPECT_EQ(saver_->Finish(kExitLimitMs), -1) << "moves without movement ended the show";
    ASSERT_FALSE(saver_->HasExited());

    const DWORD moveTick = GetTickCount();
    for (int i = 1; i <= 30; ++i) PostMessageA(show_, WM_MOUSEMOVE, 0, MAKELPARAM(200 + 5 * i, 150 + 3 * i));
    ExpectNormalEnd(moveTick);
}

}  // namespace
