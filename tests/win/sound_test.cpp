// The chime, captured through ALSA's file plugin (one capture file per output stream), and
// the silent path without any sound device. CTest runs these with their own ALSA set-up.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/frame.h"
#include "driver.h"
#include "platform/desktop.h"
#include "ui/form_window.h"
#include "ui/properties.h"
#include "ui/resources.h"
#include "watcher/riff.h"
#include "watcher/watcher.h"

using namespace std::chrono_literals;

namespace {

std::vector<uint8_t> ReadBytes(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring CaptureFile(int index)
{
    std::wstring base = driver::ToWindowsPath(std::string(CAPTURE_DIR) + "/stream_22050_2_16.raw");
    if (index == 0)
        return base;
    wchar_t suffix[16];
    wsprintfW(suffix, L".%04d", index);
    return base + suffix;
}

}  // namespace

TEST(Sound, TwoChimesCloseTogetherGiveTwoStreamsThatStartWithTheClip)
{
    std::span<const uint8_t> clip = ResourceBytes("SIGN_IN_CHIME");
    ASSERT_EQ(110698u, clip.size());
    std::optional<WaveChunks> chunks = FindWaveChunks(clip.data(), clip.size());
    ASSERT_TRUE(chunks);
    ASSERT_GT(waveOutGetNumDevs(), 0u) << "the capture device is missing";

    DWORD started = GetTickCount();
    EXPECT_TRUE(PlayWaveFromMemory(clip.data(), static_cast<uint32_t>(clip.size()), false));
    EXPECT_TRUE(PlayWaveFromMemory(clip.data(), static_cast<uint32_t>(clip.size()), false));
    EXPECT_LT(GetTickCount() - started, 1000u) << "playing must not wait for the clip";

    // The null device takes data about four times faster than real time.
    const size_t dataSize = chunks->dataSize;
    for (int stream = 0; stream < 2; ++stream) {
        std::vector<uint8_t> captured;
        EXPECT_TRUE(driver::WaitFor([&] { return (captured = ReadBytes(CaptureFile(stream))).size() >= dataSize; }, 10s))
            << "stream " << stream << " has " << captured.size() << " bytes";
        ASSERT_GE(captured.size(), dataSize);
        EXPECT_TRUE(std::equal(chunks->data, chunks->data + dataSize, captured.begin()))
            << "stream " << stream << " does not start with the clip's data";
    }
    StopAllWaves();
    EXPECT_TRUE(ReadBytes(CaptureFile(2)).empty()) << "one stream per chime";
}

TEST(SoundMissing, SignInsAreCountedAndLoggedInSilence)
{
    ASSERT_EQ(0u, waveOutGetNumDevs());
    std::span<const uint8_t> clip = ResourceBytes("SIGN_IN_CHIME");
    EXPECT_FALSE(PlayWaveFromMemory(clip.data(), static_cast<uint32_t>(clip.size()), false));

    PrepareFrame();
    ASSERT_TRUE(LoadWindow(ProgramWindow::主窗口, nullptr, false));
    WindowState& main = StateOf(ProgramWindow::主窗口);
    HWND mainHwnd = main.live->Hwnd();
    RaiseSignInCount();
    AppendSignInLog();
    PlaySignInChime();
    EXPECT_EQ(L"1", driver::Text(ControlWindow(main, "标签4")));
    EXPECT_EQ(1, SendMessageW(ControlWindow(main, "列表框1"), LB_GETCOUNT, 0, 0));

    // Nothing is shown: the only visible top-level window of the process is 主窗口.
    Sleep(300);
    int shown = 0;
    EnumWindows(
        [](HWND hwnd, LPARAM param) WINAPI -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd))
                ++*reinterpret_cast<int*>(param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(1, shown);
    DestroyWindow(mainHwnd);
    StopAllWaves();
}
