#include "platform/win32/win32_wave_devices.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <thread>

#include "platform/log.h"
#include "platform/win32/fixed_field_text.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

static_assert(kMmNoError == MMSYSERR_NOERROR && kMmError == MMSYSERR_ERROR && kMmBadDeviceId == MMSYSERR_BADDEVICEID &&
              kMmInvalidHandle == MMSYSERR_INVALHANDLE && kMmInvalidParam == MMSYSERR_INVALPARAM);
static_assert(kWaveStillPlaying == WAVERR_STILLPLAYING && kWaveUnprepared == WAVERR_UNPREPARED);
static_assert(kWaveOutOpen == WOM_OPEN && kWaveOutClose == WOM_CLOSE && kWaveOutDone == WOM_DONE);
static_assert(kWaveMapper == WAVE_MAPPER);
static_assert(kWaveHeaderDone == WHDR_DONE && kWaveHeaderPrepared == WHDR_PREPARED &&
              kWaveHeaderInQueue == WHDR_INQUEUE);

namespace {

// Generous: a reset returns every buffer at once, even on a loaded machine.
constexpr auto kResetDrainLimit = std::chrono::seconds(10);

void MarkDone(WaveHeader& header) {
    header.flags = (header.flags.load() & ~kWaveHeaderInQueue) | kWaveHeaderDone;
}

}  // namespace

struct Win32WaveDevices::OpenDevice {
    WaveOutHandle handle;
    HWAVEOUT system = nullptr;
    WaveOutCallback callback = nullptr;
    uintptr_t instance = 0;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<WaveHeader*> done;  // returned by the system, not yet handed on
    size_t written = 0;            // written and not yet handed on
    bool stopping = false;
    std::thread delivery;

    bool OnDeliveryThread() const { return std::this_thread::get_id() == delivery.get_id(); }

    void Deliver() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stopping || !done.empty(); });
            if (done.empty()) return;
            WaveHeader* header = done.front();
            done.pop_front();
            MarkDone(*header);
            lock.unlock();
            callback(handle, kWaveOutDone, instance, header, 0);
            lock.lock();
            --written;
            changed.notify_all();
        }
    }

    // On the system's thread: only queued for our own.
    static void CALLBACK SystemDone(HWAVEOUT, UINT message, DWORD_PTR self, DWORD_PTR param1, DWORD_PTR) {
        if (message != WOM_DONE) return;
        auto* device = reinterpret_cast<OpenDevice*>(self);
        auto* system = reinterpret_cast<WAVEHDR*>(param1);
        std::lock_guard<std::mutex> lock(device->mutex);
        device->done.push_back(reinterpret_cast<WaveHeader*>(system->dwUser));
        device->changed.notify_all();
    }

    void StopDelivery() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
            changed.notify_all();
        }
        if (OnDeliveryThread()) {
            delivery.detach();
        } else if (delivery.joinable()) {
            delivery.join();
        }
    }
};

uint32_t Win32WaveDevices::OutGetNumDevs() { return ::waveOutGetNumDevs(); }

uint32_t Win32WaveDevices::InGetNumDevs() { return ::waveInGetNumDevs(); }

uint32_t Win32WaveDevices::OutGetDevCaps(uint32_t id, std::wstring& productName) {
    WAVEOUTCAPSW caps{};
    const MMRESULT result = ::waveOutGetDevCapsW(id, &caps, sizeof(caps));
    if (result != MMSYSERR_NOERROR) {
        LogA("Wave devices: no caps of wave-out device %u (result %u)\n", id, result);
        return result;
    }
    productName = BoundedText(caps.szPname, kProductNameChars);
    return result;
}

uint32_t Win32WaveDevices::InGetDevCaps(uint32_t id, std::wstring& productName) {
    WAVEINCAPSW caps{};
    const MMRESULT result = ::waveInGetDevCapsW(id, &caps, sizeof(caps));
    if (result != MMSYSERR_NOERROR) {
        LogA("Wave devices: no caps of wave-in device %u (result %u)\n", id, result);
        return result;
    }
    productName = BoundedText(caps.szPname, kProductNameChars);
    return result;
}

uint32_t Win32WaveDevices::OutOpen(WaveOutHandle& handle, uint32_t id, const PcmFormat& format,
                                   WaveOutCallback callback, uintptr_t instance) {
    handle = kInvalidWaveOutHandle;
    if (!callback) {
        LogA("Wave devices: wave-out device %u opened without a completion routine\n", id);
        return kMmInvalidParam;
    }
    WAVEFORMATEX system{};
    system.wFormatTag = format.formatTag;
    system.nChannels = format.channels;
    system.nSamplesPerSec = format.samplesPerSec;
    system.nAvgBytesPerSec = format.avgBytesPerSec;
    system.nBlockAlign = format.blockAlign;
    system.wBitsPerSample = format.bitsPerSample;
    system.cbSize = format.extraSize;
    auto device = std::make_shared<OpenDevice>();
    device->callback = callback;
    device->instance = instance;
    const MMRESULT result =
        ::waveOutOpen(&device->system, id, &system, reinterpret_cast<DWORD_PTR>(&OpenDevice::SystemDone),
                      reinterpret_cast<DWORD_PTR>(device.get()), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) {
        LogA("Wave devices: cannot open wave-out device %u at %lu Hz, %u bit, %u ch (result %u)\n", id,
             static_cast<unsigned long>(format.samplesPerSec), format.bitsPerSample, format.channels, result);
        return result;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    device->handle = WaveOutHandle{nextHandle_++};
    device->delivery = std::thread([raw = device.get()] { raw->Deliver(); });
    devices_[device->handle.value] = device;
    handle = device->handle;
    return kMmNoError;
}

std::shared_ptr<Win32WaveDevices::OpenDevice> Win32WaveDevices::DeviceOf(WaveOutHandle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = devices_.find(handle.value);
    if (it != devices_.end()) return it->second;
    LogA("Wave devices: wave-out handle %d is not open\n", handle.value);
    return nullptr;
}

// A device the program left open still has our thread; the system's
// buffers go back first, so that closing cannot fail for them.
Win32WaveDevices::~Win32WaveDevices() {
    for (auto& [value, device] : devices_) {
        ::waveOutReset(device->system);
        ::waveOutClose(device->system);
        device->StopDelivery();
    }
}

// The system's header lives in `reserved` while prepared and carries ours
// in its user field, so that a completion finds its way back.
uint32_t Win32WaveDevices::OutPrepareHeader(WaveOutHandle handle, WaveHeader& header) {
    auto device = DeviceOf(handle);
    if (!device) return kMmInvalidHandle;
    if (!header.data && header.bufferLength > 0) return kMmInvalidParam;
    if (header.flags.load() & kWaveHeaderPrepared) return kMmNoError;
    auto system = std::make_unique<WAVEHDR>();
    // The system's field is not const, though playing only reads it.
    system->lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(header.data));
    system->dwBufferLength = header.bufferLength;
    system->dwUser = reinterpret_cast<DWORD_PTR>(&header);
    const MMRESULT result = ::waveOutPrepareHeader(device->system, system.get(), sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) {
        LogA("Wave devices: cannot prepare a buffer of %u bytes (result %u)\n", header.bufferLength, result);
        return result;
    }
    header.reserved = reinterpret_cast<uintptr_t>(system.release());
    header.flags = header.flags.load() | kWaveHeaderPrepared;
    return kMmNoError;
}

uint32_t Win32WaveDevices::OutUnprepareHeader(WaveOutHandle handle, WaveHeader& header) {
    auto device = DeviceOf(handle);
    if (!device) return kMmInvalidHandle;
    if (header.flags.load() & kWaveHeaderInQueue) return kWaveStillPlaying;
    auto* system = reinterpret_cast<WAVEHDR*>(header.reserved);
    if (!system) {
        header.flags = header.flags.load() & ~kWaveHeaderPrepared;
        return kMmNoError;
    }
    const MMRESULT result = ::waveOutUnprepareHeader(device->system, system, sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) {
        LogA("Wave devices: cannot unprepare a buffer (result %u)\n", result);
        return result;
    }
    delete system;
    header.reserved = 0;
    header.flags = header.flags.load() & ~kWaveHeaderPrepared;
    return kMmNoError;
}

uint32_t Win32WaveDevices::OutWrite(WaveOutHandle handle, WaveHeader& header) {
    auto device = DeviceOf(handle);
    if (!device) return kMmInvalidHandle;
    auto* system = reinterpret_cast<WAVEHDR*>(header.reserved);
    if (!(header.flags.load() & kWaveHeaderPrepared) || !system) return kWaveUnprepared;
    {
        std::lock_guard<std::mutex> lock(device->mutex);
        ++device->written;
    }
    header.flags = (header.flags.load() & ~kWaveHeaderDone) | kWaveHeaderInQueue;
    const MMRESULT result = ::waveOutWrite(device->system, system, sizeof(WAVEHDR));
    if (result == MMSYSERR_NOERROR) return result;
    LogA("Wave devices: cannot write a buffer of %u bytes (result %u)\n", header.bufferLength, result);
    header.flags = header.flags.load() & ~kWaveHeaderInQueue;
    std::lock_guard<std::mutex> lock(device->mutex);
    --device->written;
    device->changed.notify_all();
    return result;
}

// The system returns every buffer through the completion routine; we wait
// until ours has handed them on, so that the caller may close at once. From
// inside the routine itself there is nobody else to hand them on, so no wait.
uint32_t Win32WaveDevices::OutReset(WaveOutHandle handle) {
    auto device = DeviceOf(handle);
    if (!device) return kMmInvalidHandle;
    const MMRESULT result = ::waveOutReset(device->system);
    if (result != MMSYSERR_NOERROR) {
        LogA("Wave devices: cannot reset a wave-out device (result %u)\n", result);
        return result;
    }
    if (device->OnDeliveryThread()) return result;
    std::unique_lock<std::mutex> lock(device->mutex);
    if (!device->changed.wait_for(lock, kResetDrainLimit, [&] { return device->written == 0; })) {
        LogA("Wave devices: %lu buffers still not returned after a reset\n",
             static_cast<unsigned long>(device->written));
    }
    return result;
}

uint32_t Win32WaveDevices::OutClose(WaveOutHandle handle) {
    auto device = DeviceOf(handle);
    if (!device) return kMmInvalidHandle;
    {
        std::lock_guard<std::mutex> lock(device->mutex);
        if (device->written > 0) return kWaveStillPlaying;
    }
    const MMRESULT result = ::waveOutClose(device->system);
    if (result != MMSYSERR_NOERROR) {
        LogA("Wave devices: cannot close a wave-out device (result %u)\n", result);
        return result;
    }
    device->StopDelivery();
    std::lock_guard<std::mutex> lock(mutex_);
    devices_.erase(handle.value);
    return kMmNoError;
}

}  // namespace platform::win32
