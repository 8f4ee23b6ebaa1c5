// Background playback of in-memory RIFF/WAVE clips through waveOut.
//
// Each call opens its own output on WAVE_MAPPER, so clips overlap. The driver signals one
// shared event (CALLBACK_EVENT) as buffers finish; a reaper thread then unprepares and closes
// the finished outputs. waveOut functions must not be called from a driver callback, which is
// why no callback function is used at all.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "watcher/riff.h"

namespace {

struct Clip {
    HWAVEOUT out = nullptr;
    WAVEHDR header{};
    std::vector<uint8_t> samples;   // our own copy: the caller's bytes are only read
};

class WavePlayer {
public:
    bool Play(const uint8_t* bytes, uint32_t length, bool loop);
    void StopAll();

private:
    void EnsureReaper();
    void Reap();
    void ReapFinishedLocked();

    std::mutex mutex_;
    std::vector<std::unique_ptr<Clip>> clips_;
    HANDLE done_ = nullptr;         // auto-reset; set by the driver for any of our outputs
    std::thread reaper_;
    bool stopping_ = false;
};

WavePlayer player;

bool WavePlayer::Play(const uint8_t* bytes, uint32_t length, bool loop)
{
    std::optional<WaveChunks> chunks = FindWaveChunks(bytes, length);
    if (!chunks || waveOutGetNumDevs() == 0)
        return false;

    WAVEFORMATEX format{};
    std::memcpy(&format, chunks->format, 16);
    format.cbSize = 0;

    std::lock_guard lock(mutex_);
    if (stopping_)
        return false;
    EnsureReaper();
    if (done_ == nullptr)
        return false;

    auto clip = std::make_unique<Clip>();
    clip->samples.assign(chunks->data, chunks->data + chunks->dataSize);
    if (waveOutOpen(&clip->out, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done_), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR)
        return false;

    WAVEHDR& header = clip->header;
    header.lpData = reinterpret_cast<LPSTR>(clip->samples.data());
    header.dwBufferLength = static_cast<DWORD>(clip->samples.size());
    if (loop) {
        header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
        header.dwLoops = 0xFFFFFFFF;
    }
    if (waveOutPrepareHeader(clip->out, &header, sizeof(header)) != MMSYSERR_NOERROR) {
        waveOutClose(clip->out);
        return false;
    }
    if (waveOutWrite(clip->out, &header, sizeof(header)) != MMSYSERR_NOERROR) {
        waveOutUnprepareHeader(clip->out, &header, sizeof(header));
        waveOutClose(clip->out);
        return false;
    }
    clips_.push_back(std::move(clip));
    return true;
}

void WavePlayer::EnsureReaper()
{
    if (reaper_.joinable())
        return;
    done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (done_ != nullptr)
        reaper_ = std::thread([this] { Reap(); });
}

void WavePlayer::ReapFinishedLocked()
{
    for (size_t i = 0; i < clips_.size();) {
        Clip& clip = *clips_[i];
        if (clip.header.dwFlags & WHDR_DONE) {
            waveOutUnprepareHeader(clip.out, &clip.header, sizeof(clip.header));
            waveOutClose(clip.out);
            clips_.erase(clips_.begin() + static_cast<ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void WavePlayer::Reap()
{
    for (;;) {
        WaitForSingleObject(done_, INFINITE);
        std::lock_guard lock(mutex_);
        ReapFinishedLocked();
        if (stopping_ && clips_.empty())
            return;
    }
}

void WavePlayer::StopAll()
{
    {
        std::lock_guard lock(mutex_);
        if (!reaper_.joinable())
            return;
        stopping_ = true;
        // waveOutReset marks every buffer done; the reaper then closes the outputs.
        for (auto& clip : clips_)
            waveOutReset(clip->out);
    }
    SetEvent(done_);
    reaper_.join();
    CloseHandle(done_);
    done_ = nullptr;
}

}  // namespace

bool PlayWaveFromMemory(const uint8_t* bytes, uint32_t length, bool loop)
{
    return player.Play(bytes, length, loop);
}

void StopAllWaves()
{
    player.StopAll();
}
