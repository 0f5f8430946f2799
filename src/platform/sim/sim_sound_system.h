#pragma once
// The simulated world's sound system: sound cards in a fixed order, each
// with a mixer, a wave-out and a wave-in device and two endpoints.
//
// A wave-out device plays what it is given at its format's byte rate in
// virtual time, on a program thread of its own (started by the open, ended
// by the close), and calls the completion routine from there. Mixer value
// changes, the program's own and those "of the user" (UserSetControl), post
// the change notification to every window that opened the card's mixer
// with notifications.
//
// What the program sets and plays is reported as events: channel "mixer"
// (control values written), "endpoint" (levels set) and "wave-out" (open,
// queue, done, reset, close).

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/endpoint_volume.h"
#include "platform/mixer.h"
#include "platform/sim/sim_sound_card.h"
#include "platform/sync.h"
#include "platform/wave_devices.h"

namespace platform::sim {

class SimSoundSystem final : public Mixer, public WaveDevices, public EndpointVolume {
public:
    using EventListener = std::function<void(const std::string& channel, const std::string& text)>;

    SimSoundSystem();  // a built-in card, then the handset's "USB PHONE"
    ~SimSoundSystem() override;
    SimSoundSystem(const SimSoundSystem&) = delete;
    SimSoundSystem& operator=(const SimSoundSystem&) = delete;

    // Replaces the cards (only while no device is open).
    void SetCards(std::vector<SimSoundCard> cards);
    std::vector<SimSoundCard> Cards();
    void SetEventListener(EventListener listener);

    // The user changes a control in the platform's volume panel: `source` is
    // a source line's component type, or 0 for the destination itself.
    // False when the card, line or control does not exist.
    bool UserSetControl(const std::wstring& card, uint32_t destination, uint32_t source, uint32_t controlType,
                        const std::vector<uint32_t>& values);
    // The values of a control as the card holds them (empty when absent).
    std::vector<uint32_t> ControlValues(const std::wstring& card, uint32_t destination, uint32_t source,
                                        uint32_t controlType);
    float EndpointLevel(const std::wstring& card, uint32_t dataFlow);
    void SetEndpointLevel(const std::wstring& card, uint32_t dataFlow, float level);
    // Objects handed out and not released; mixers and wave-out devices open.
    size_t LiveEndpointObjects();
    size_t OpenMixerCount();
    size_t OpenWaveOutCount();

    // Mixer
    uint32_t GetNumDevs() override;
    uint32_t Open(MixerHandle& handle, uint32_t id, MixerOpenBy by, WindowHandle callback) override;
    uint32_t Close(MixerHandle handle) override;
    uint32_t GetDevCaps(MixerHandle handle, MixerCaps& caps) override;
    uint32_t GetDestinationLine(MixerHandle handle, uint32_t destination, MixerLine& line) override;
    uint32_t GetSourceLine(MixerHandle handle, uint32_t destination, uint32_t source, MixerLine& line) override;
    uint32_t GetLineControlByType(MixerHandle handle, uint32_t lineId, uint32_t controlType,
                                  MixerControl& control) override;
    uint32_t GetControlDetails(MixerHandle handle, const MixerControlDetails& details) override;
    uint32_t SetControlDetails(MixerHandle handle, const MixerControlDetails& details) override;

    // Wave devices
    uint32_t OutGetNumDevs() override;
    uint32_t OutGetDevCaps(uint32_t id, std::wstring& productName) override;
    uint32_t OutOpen(WaveOutHandle& handle, uint32_t id, const PcmFormat& format, WaveOutCallback callback,
                     uintptr_t instance) override;
    uint32_t OutPrepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutUnprepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutWrite(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutReset(WaveOutHandle handle) override;
    uint32_t OutClose(WaveOutHandle handle) override;
    uint32_t InGetNumDevs() override;
    uint32_t InGetDevCaps(uint32_t id, std::wstring& productName) override;

    // Endpoint volume
    int32_t Initialize() override { return kEndpointOk; }
    void Uninitialize() override {}
    int32_t CreateEnumerator(EndpointObject& enumerator) override;
    int32_t EnumActiveEndpoints(EndpointObject enumerator, uint32_t dataFlow, EndpointObject& collection) override;
    int32_t GetCount(EndpointObject collection, uint32_t& count) override;
    int32_t Item(EndpointObject collection, uint32_t index, EndpointObject& endpoint) override;
    int32_t OpenPropertyStore(EndpointObject endpoint, EndpointObject& store) override;
    int32_t GetInterfaceFriendlyName(EndpointObject store, std::wstring& name) override;
    int32_t ActivateVolume(EndpointObject endpoint, EndpointObject& volume) override;
    int32_t SetMasterVolumeLevelScalar(EndpointObject volume, float level) override;
    int32_t GetMasterVolumeLevelScalar(EndpointObject volume, float& level) override;
    void Release(EndpointObject object) override;

private:
    struct OpenMixer {
        size_t card = 0;
        WindowHandle callback;
    };
    struct OpenWaveOut;
    enum class ObjectKind { Enumerator, Collection, Endpoint, Store, Volume };
    struct Object {
        ObjectKind kind = ObjectKind::Enumerator;
        uint32_t dataFlow = 0;
        std::wstring card;  // of an endpoint, its store and its volume
    };
    struct ControlRef;

    // With mutex_ held.
    bool FindControl(const OpenMixer& mixer, uint32_t controlId, ControlRef& ref);
    uint32_t Locate(MixerHandle handle, const MixerControlDetails& details, ControlRef& ref);
    SimMixerLine* LineOf(size_t card, uint32_t lineId);
    SimSoundCard* CardNamed(const std::wstring& name);
    std::vector<size_t> CardsWith(bool waveOut);
    void Emit(const std::string& channel, const std::string& text);
    Object* ObjectOf(EndpointObject object, ObjectKind kind);
    EndpointObject NewObject(Object object);

    void PostChange(const std::vector<std::pair<WindowHandle, MixerHandle>>& windows, uint32_t controlId);
    std::vector<std::pair<WindowHandle, MixerHandle>> NotifiedWindows(size_t card);

    // The device thread's body and its state (the clock's state mutex guards it).
    void PlayDevice(OpenWaveOut* device);
    std::shared_ptr<OpenWaveOut> WaveOutOf(WaveOutHandle handle);

    std::mutex mutex_;
    std::vector<SimSoundCard> cards_;
    std::map<int32_t, OpenMixer> mixers_;
    std::map<int32_t, std::shared_ptr<OpenWaveOut>> waveOuts_;
    std::map<int32_t, Object> objects_;
    EventListener listener_;
    int32_t nextHandle_ = 0x10;
    int32_t nextObject_ = 0x100;
};

}  // namespace platform::sim
