// The wave-out devices of the simulated sound cards: each open device plays
// on a program thread of its own, at the format's byte rate in virtual time.

#include <deque>

#include "platform/sim/sim_sound_system.h"
#include "platform/text_codec.h"

namespace platform::sim {

std::string QuotedName(const std::wstring& name);

struct SimSoundSystem::OpenWaveOut {
    WaveOutHandle handle;
    std::string name;  // quoted, for the events
    PcmFormat format;
    WaveOutCallback callback = nullptr;
    uintptr_t instance = 0;
    EventListener listener;
    Clock* clock = nullptr;
    // Guarded by the clock's state mutex.
    std::deque<WaveHeader*> queue;
    uint64_t generation = 0;  // moves on at every reset
    bool closing = false;
    Thread thread;

    void Emit(const std::string& text) const {
        if (listener) listener("wave-out", name + " " + text);
    }
};

namespace {

// Whole milliseconds the device needs for `bytes`, rounded up; a format
// without a byte rate plays at once.
uint32_t PlayingTimeMs(uint32_t bytes, const PcmFormat& format) {
    if (format.avgBytesPerSec == 0) return 0;
    const uint64_t ms = (static_cast<uint64_t>(bytes) * 1000 + format.avgBytesPerSec - 1) / format.avgBytesPerSec;
    return static_cast<uint32_t>(ms);
}

void MarkDone(WaveHeader& header) {
    header.flags = (header.flags.load() & ~kWaveHeaderInQueue) | kWaveHeaderDone;
}

}  // namespace

uint32_t SimSoundSystem::OutGetNumDevs() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<uint32_t>(CardsWith(true).size());
}

uint32_t SimSoundSystem::InGetNumDevs() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<uint32_t>(CardsWith(false).size());
}

uint32_t SimSoundSystem::InGetDevCaps(uint32_t id, std::wstring& productName) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<size_t> ins = CardsWith(false);
    if (id >= ins.size()) return kMmBadDeviceId;
    productName = cards_[ins[id]].name.substr(0, 31);
    return kMmNoError;
}

uint32_t SimSoundSystem::OutGetDevCaps(uint32_t id, std::wstring& productName) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<size_t> outs = CardsWith(true);
    if (id >= outs.size()) return kMmBadDeviceId;
    productName = cards_[outs[id]].name.substr(0, 31);
    return kMmNoError;
}

uint32_t SimSoundSystem::OutOpen(WaveOutHandle& handle, uint32_t id, const PcmFormat& format,
                                 WaveOutCallback callback, uintptr_t instance) {
    auto device = std::make_shared<OpenWaveOut>();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handle = kInvalidWaveOutHandle;
        const std::vector<size_t> outs = CardsWith(true);
        if (outs.empty()) return kMmBadDeviceId;
        // The default device is the first one.
        const size_t card = id == kWaveMapper ? outs.front() : (id < outs.size() ? outs[id] : cards_.size());
        if (card >= cards_.size()) return kMmBadDeviceId;
        if (format.formatTag != 1 || format.channels == 0 || format.blockAlign == 0) return kMmInvalidParam;
        handle = WaveOutHandle{nextHandle_++};
        device->handle = handle;
        device->name = QuotedName(cards_[card].name);
        device->format = format;
        device->callback = callback;
        device->instance = instance;
        device->listener = listener_;
        device->clock = &CurrentClock();
        waveOuts_[handle.value] = device;
    }
    device->Emit("open " + std::to_string(format.samplesPerSec) + " Hz " + std::to_string(format.bitsPerSample) +
                 " bit " + std::to_string(format.channels) + " ch");
    OpenWaveOut* raw = device.get();
    device->thread.Start("wave-out", [this, raw] { PlayDevice(raw); });
    return kMmNoError;
}

std::shared_ptr<SimSoundSystem::OpenWaveOut> SimSoundSystem::WaveOutOf(WaveOutHandle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = waveOuts_.find(handle.value);
    return it == waveOuts_.end() ? nullptr : it->second;
}

void SimSoundSystem::PlayDevice(OpenWaveOut* device) {
    Clock& clock = *device->clock;
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    for (;;) {
        clock.WaitUntil(lock, [device] { return device->closing || !device->queue.empty(); }, kInfinite);
        if (device->closing) return;
        WaveHeader* header = device->queue.front();
        const uint64_t generation = device->generation;
        const uint32_t ms = PlayingTimeMs(header->bufferLength, device->format);
        clock.WaitUntil(
            lock, [device, generation] { return device->closing || device->generation != generation; }, ms);
        if (device->closing) return;
        if (device->generation != generation) continue;  // reset while it played
        device->queue.pop_front();
        MarkDone(*header);
        device->Emit("done " + std::to_string(header->bufferLength));
        lock.unlock();
        device->callback(device->handle, kWaveOutDone, device->instance, header, 0);
        lock.lock();
    }
}

uint32_t SimSoundSystem::OutPrepareHeader(WaveOutHandle handle, WaveHeader& header) {
    if (!WaveOutOf(handle)) return kMmInvalidHandle;
    if (!header.data && header.bufferLength > 0) return kMmInvalidParam;
    header.flags = header.flags.load() | kWaveHeaderPrepared;
    return kMmNoError;
}

uint32_t SimSoundSystem::OutUnprepareHeader(WaveOutHandle handle, WaveHeader& header) {
    if (!WaveOutOf(handle)) return kMmInvalidHandle;
    if (header.flags.load() & kWaveHeaderInQueue) return kWaveStillPlaying;
    header.flags = header.flags.load() & ~kWaveHeaderPrepared;
    return kMmNoError;
}

uint32_t SimSoundSystem::OutWrite(WaveOutHandle handle, WaveHeader& header) {
    auto device = WaveOutOf(handle);
    if (!device) return kMmInvalidHandle;
    if (!(header.flags.load() & kWaveHeaderPrepared)) return kWaveUnprepared;
    {
        std::unique_lock<std::mutex> lock(device->clock->StateMutex());
        header.flags = (header.flags.load() & ~kWaveHeaderDone) | kWaveHeaderInQueue;
        device->queue.push_back(&header);
        device->clock->Notify();
    }
    device->Emit("queue " + std::to_string(header.bufferLength));
    return kMmNoError;
}

// Every queued header comes back marked done, its completion called here,
// on the caller's thread; the one being played stops where it is.
uint32_t SimSoundSystem::OutReset(WaveOutHandle handle) {
    auto device = WaveOutOf(handle);
    if (!device) return kMmInvalidHandle;
    std::deque<WaveHeader*> returned;
    {
        std::unique_lock<std::mutex> lock(device->clock->StateMutex());
        returned.swap(device->queue);
        ++device->generation;
        for (WaveHeader* header : returned) MarkDone(*header);
        device->clock->Notify();
    }
    device->Emit("reset " + std::to_string(returned.size()));
    for (WaveHeader* header : returned) device->callback(handle, kWaveOutDone, device->instance, header, 0);
    return kMmNoError;
}

uint32_t SimSoundSystem::OutClose(WaveOutHandle handle) {
    auto device = WaveOutOf(handle);
    if (!device) return kMmInvalidHandle;
    {
        std::unique_lock<std::mutex> lock(device->clock->StateMutex());
        if (!device->queue.empty()) return kWaveStillPlaying;
        device->closing = true;
        device->clock->Notify();
    }
    device->thread.Join();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waveOuts_.erase(handle.value);
    }
    device->Emit("close");
    return kMmNoError;
}

SimSoundSystem::~SimSoundSystem() {
    // A device the program left open still has its thread; end it.
    std::map<int32_t, std::shared_ptr<OpenWaveOut>> open;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open.swap(waveOuts_);
    }
    for (auto& [handle, device] : open) {
        {
            std::unique_lock<std::mutex> lock(device->clock->StateMutex());
            device->queue.clear();
            device->closing = true;
            device->clock->Notify();
        }
        device->thread.Join();
    }
}

}  // namespace platform::sim
