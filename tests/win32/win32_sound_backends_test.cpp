// The Windows wave devices, mixers, endpoint volume and directory search
// against the system. Under Wine without a sound driver there may be no
// device at all, so the sound tests hold for any count: the names agree with
// the count, ids beyond it fail with a log line, and a device that does
// exist plays a buffer to its completion.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <limits>
#include <set>
#include <vector>

#include "platform/backends.h"
#include "platform/log.h"
#include "platform/sim/unique_folder.h"
#include "platform/text_codec.h"

namespace {

using namespace platform;

constexpr auto kGenerously = std::chrono::seconds(30);
constexpr int32_t kEndpointNotImplemented = -2147467263;  // 0x80004001

WaveDevices& Waves() { return *DefaultBackends().waveDevices; }
Directory& Dirs() { return *DefaultBackends().directory; }

// The program reaches these ports through the default set alone.
TEST(Win32WaveDevicesTest, TheDefaultSetHoldsTheSystemsSoundBackends) {
    const Backends& defaults = DefaultBackends();
    EXPECT_NE(defaults.waveDevices, nullptr);
    EXPECT_NE(defaults.mixer, nullptr);
    EXPECT_NE(defaults.endpointVolume, nullptr);
    EXPECT_NE(defaults.directory, nullptr);
}

struct DeviceKind {
    const char* name;
    uint32_t (WaveDevices::*count)();
    uint32_t (WaveDevices::*caps)(uint32_t, std::wstring&);
};
const DeviceKind kDeviceKinds[] = {
    {"wave-out", &WaveDevices::OutGetNumDevs, &WaveDevices::OutGetDevCaps},
    {"wave-in", &WaveDevices::InGetNumDevs, &WaveDevices::InGetDevCaps},
};

TEST(Win32WaveDevicesTest, EveryCountedDeviceHasANameAndNoMore) {
    for (const DeviceKind& kind : kDeviceKinds) {
        SCOPED_TRACE(kind.name);
        const uint32_t count = (Waves().*kind.count)();
        EXPECT_EQ((Waves().*kind.count)(), count) << "the count is stable";
        for (uint32_t id = 0; id < count; ++id) {
            std::wstring name = L"stale";
            EXPECT_EQ((Waves().*kind.caps)(id, name), kMmNoError) << id;
            EXPECT_LE(name.size(), 31u);
            EXPECT_NE(name, L"stale");
        }
        for (uint32_t id : {count, count + 7, 0xFFFFFFF0u}) {
            LogCapture log;
            std::wstring name = L"untouched";
            EXPECT_EQ((Waves().*kind.caps)(id, name), kMmBadDeviceId) << id;
            EXPECT_EQ(name, L"untouched");
            EXPECT_EQ(log.Texts().size(), 1u);
            EXPECT_TRUE(log.ContainsFragment(kind.name));
        }
    }
}

PcmFormat Mono16(uint32_t rate) {
    return PcmFormat{.formatTag = 1, .channels = 1, .samplesPerSec = rate, .avgBytesPerSec = rate * 2,
                     .blockAlign = 2, .bitsPerSample = 16, .extraSize = 0};
}

void RecordDone(WaveOutHandle, uint32_t message, uintptr_t instance, WaveHeader* header, uintptr_t) {
    if (message != kWaveOutDone) return;
    reinterpret_cast<std::promise<WaveHeader*>*>(instance)->set_value(header);
}

TEST(Win32WaveDevicesTest, OpeningWhatIsNotThereFailsWithALogLine) {
    const uint32_t count = Waves().OutGetNumDevs();
    std::promise<WaveHeader*> never;
    for (uint32_t id : {count, count + 3}) {
        SCOPED_TRACE(id);
        LogCapture log;
        WaveOutHandle handle{42};
        EXPECT_EQ(Waves().OutOpen(handle, id, Mono16(8000), RecordDone, reinterpret_cast<uintptr_t>(&never)),
                  kMmBadDeviceId);
        EXPECT_FALSE(handle.IsValid());
        EXPECT_EQ(log.Texts().size(), 1u);
        EXPECT_TRUE(log.ContainsFragment("cannot open wave-out device"));
    }
}

TEST(Win32WaveDevicesTest, CallsOnAHandleNeverOpenedAreRefused) {
    const WaveOutHandle never{12345};
    WaveHeader header;
    const uint8_t data[4] = {};
    header.data = data;
    header.bufferLength = sizeof(data);
    LogCapture log;
    EXPECT_EQ(Waves().OutPrepareHeader(never, header), kMmInvalidHandle);
    EXPECT_EQ(Waves().OutWrite(never, header), kMmInvalidHandle);
    EXPECT_EQ(Waves().OutUnprepareHeader(never, header), kMmInvalidHandle);
    EXPECT_EQ(Waves().OutReset(never), kMmInvalidHandle);
    EXPECT_EQ(Waves().OutClose(never), kMmInvalidHandle);
    EXPECT_EQ(header.flags.load(), 0u);
    EXPECT_EQ(log.Count("Wave devices: wave-out handle 12345 is not open\n"), 5);
}

// Only where the system has a device to play on; without one, the test above
// covers the failing open.
TEST(Win32WaveDevicesTest, AWrittenBufferComesBackDoneThroughTheCompletion) {
    if (Waves().OutGetNumDevs() == 0) GTEST_SKIP() << "no wave-out device in this session";
    std::promise<WaveHeader*> done;
    WaveOutHandle handle;
    ASSERT_EQ(Waves().OutOpen(handle, kWaveMapper, Mono16(8000), RecordDone, reinterpret_cast<uintptr_t>(&done)),
              kMmNoError);
    std::vector<uint8_t> silence(1600);  // a tenth of a second
    WaveHeader header;
    header.data = silence.data();
    header.bufferLength = static_cast<uint32_t>(silence.size());
    ASSERT_EQ(Waves().OutPrepareHeader(handle, header), kMmNoError);
    ASSERT_EQ(Waves().OutWrite(handle, header), kMmNoError);
    auto returned = done.get_future();
    ASSERT_EQ(returned.wait_for(kGenerously), std::future_status::ready);
    EXPECT_EQ(returned.get(), &header);
    EXPECT_EQ(header.flags.load() & (kWaveHeaderDone | kWaveHeaderInQueue), kWaveHeaderDone);
    EXPECT_EQ(Waves().OutUnprepareHeader(handle, header), kMmNoError);
    EXPECT_EQ(header.flags.load() & kWaveHeaderPrepared, 0u);
    EXPECT_EQ(Waves().OutClose(handle), kMmNoError);
}

Mixer& Mixers() { return *DefaultBackends().mixer; }

// Every mixer the system counts opens, names itself within the caps field
// and describes each destination it claims; the one past the end fails.
TEST(Win32MixerTest, EveryCountedMixerOpensAndDescribesItsDestinations) {
    const uint32_t count = Mixers().GetNumDevs();
    for (uint32_t id = 0; id < count; ++id) {
        SCOPED_TRACE(id);
        MixerHandle handle;
        ASSERT_EQ(Mixers().Open(handle, id, MixerOpenBy::MixerId, WindowHandle{}), kMmNoError);
        MixerCaps caps;
        EXPECT_EQ(Mixers().GetDevCaps(handle, caps), kMmNoError);
        EXPECT_LE(caps.productName.size(), 31u);
        for (uint32_t d = 0; d < caps.destinations; ++d) {
            MixerLine line;
            EXPECT_EQ(Mixers().GetDestinationLine(handle, d, line), kMmNoError);
            EXPECT_EQ(line.destination, d);
        }
        MixerLine beyond;
        EXPECT_EQ(Mixers().GetDestinationLine(handle, caps.destinations, beyond), kMixerInvalidLine);
        EXPECT_EQ(Mixers().Close(handle), kMmNoError);
        EXPECT_EQ(Mixers().Close(handle), kMmInvalidHandle) << "closed once";
    }
    const struct {
        MixerOpenBy by;
        uint32_t id;
        const char* logged;
    } missing[] = {
        {MixerOpenBy::MixerId, count, "mixer"},
        {MixerOpenBy::WaveOutId, Waves().OutGetNumDevs() + 2, "wave-out device"},
        {MixerOpenBy::WaveInId, Waves().InGetNumDevs() + 2, "wave-in device"},
    };
    for (const auto& m : missing) {
        SCOPED_TRACE(m.logged);
        LogCapture log;
        MixerHandle handle{7};
        EXPECT_NE(Mixers().Open(handle, m.id, m.by, WindowHandle{}), kMmNoError);
        EXPECT_FALSE(handle.IsValid());
        EXPECT_EQ(log.Texts().size(), 1u);
        EXPECT_TRUE(log.ContainsFragment(m.logged));
    }
}

// A destination's volume, where it has one, reads within its range and
// takes a value set back; its first value is restored after. False when the
// line has no volume.
bool CheckVolumeOf(MixerHandle handle, const MixerLine& line) {
    MixerControl volume;
    if (Mixers().GetLineControlByType(handle, line.lineId, kMixerControlVolume, volume) != kMmNoError) return false;
    EXPECT_EQ(volume.type, kMixerControlVolume);
    EXPECT_LE(volume.minimum, volume.maximum);
    const uint32_t channels = (volume.flags & kMixerControlFlagUniform) ? 1 : std::max(line.channels, 1u);
    std::vector<uint32_t> before(channels), after(channels);
    EXPECT_EQ(Mixers().GetControlDetails(handle, {volume.id, channels, 0, before.data()}), kMmNoError);
    for (uint32_t v : before) EXPECT_TRUE(v >= volume.minimum && v <= volume.maximum) << v;
    std::vector<uint32_t> middle(channels, static_cast<uint32_t>((volume.minimum + volume.maximum) / 2));
    EXPECT_EQ(Mixers().SetControlDetails(handle, {volume.id, channels, 0, middle.data()}), kMmNoError);
    EXPECT_EQ(Mixers().GetControlDetails(handle, {volume.id, channels, 0, after.data()}), kMmNoError);
    EXPECT_EQ(after, middle);
    EXPECT_EQ(Mixers().SetControlDetails(handle, {volume.id, channels, 0, before.data()}), kMmNoError);
    return true;
}

TEST(Win32MixerTest, DestinationVolumesTakeTheValuesSet) {
    const uint32_t count = Mixers().GetNumDevs();
    if (count == 0) GTEST_SKIP() << "no mixer in this session";
    int volumes = 0;
    for (uint32_t id = 0; id < count; ++id) {
        SCOPED_TRACE(id);
        MixerHandle handle;
        ASSERT_EQ(Mixers().Open(handle, id, MixerOpenBy::MixerId, WindowHandle{}), kMmNoError);
        MixerCaps caps;
        ASSERT_EQ(Mixers().GetDevCaps(handle, caps), kMmNoError);
        for (uint32_t d = 0; d < caps.destinations; ++d) {
            MixerLine line;
            ASSERT_EQ(Mixers().GetDestinationLine(handle, d, line), kMmNoError);
            if (CheckVolumeOf(handle, line)) ++volumes;
        }
        EXPECT_EQ(Mixers().Close(handle), kMmNoError);
    }
    EXPECT_GT(volumes, 0) << "mixers without a single volume";
}

TEST(Win32MixerTest, CallsOnAMixerNeverOpenedAreRefused) {
    const MixerHandle never{4321};
    MixerCaps caps;
    MixerLine line;
    MixerControl control;
    uint32_t values[2] = {7, 7};
    const MixerControlDetails details{.controlId = 1, .channels = 2, .multipleItems = 0, .values = values};
    LogCapture log;
    EXPECT_EQ(Mixers().GetDevCaps(never, caps), kMmInvalidHandle);
    EXPECT_EQ(Mixers().GetDestinationLine(never, 0, line), kMmInvalidHandle);
    EXPECT_EQ(Mixers().GetSourceLine(never, 0, 0, line), kMmInvalidHandle);
    EXPECT_EQ(Mixers().GetLineControlByType(never, 0, kMixerControlVolume, control), kMmInvalidHandle);
    EXPECT_EQ(Mixers().GetControlDetails(never, details), kMmInvalidHandle);
    EXPECT_EQ(Mixers().SetControlDetails(never, details), kMmInvalidHandle);
    EXPECT_EQ(Mixers().Close(never), kMmInvalidHandle);
    EXPECT_EQ(values[0], 7u);
    EXPECT_EQ(values[1], 7u);
    EXPECT_EQ(log.Count("Mixer: handle 4321 is not open\n"), 7);
}

EndpointVolume& Endpoints() { return *DefaultBackends().endpointVolume; }

// Pairs Initialize and Uninitialize on this thread, as the port asks.
struct EndpointSession {
    EndpointSession() { EXPECT_GE(Endpoints().Initialize(), 0); }
    ~EndpointSession() { Endpoints().Uninitialize(); }
};

// One endpoint of a flow: its interface's name reads (or fails with a
// result), and its volume reads a level in range, refuses one out of range
// leaving the level as it was, and takes its own level back.
void CheckEndpoint(EndpointObject collection, uint32_t index) {
    EndpointObject endpoint;
    ASSERT_EQ(Endpoints().Item(collection, index, endpoint), kEndpointOk);
    EndpointObject store;
    if (Endpoints().OpenPropertyStore(endpoint, store) == kEndpointOk) {
        std::wstring name;
        if (Endpoints().GetInterfaceFriendlyName(store, name) == kEndpointOk) {
            EXPECT_FALSE(name.empty());
        }
        Endpoints().Release(store);
    }
    EndpointObject volume;
    if (Endpoints().ActivateVolume(endpoint, volume) == kEndpointOk) {
        float level = -1.0f;
        ASSERT_EQ(Endpoints().GetMasterVolumeLevelScalar(volume, level), kEndpointOk);
        EXPECT_TRUE(level >= 0.0f && level <= 1.0f) << level;
        for (float bad : {-0.5f, 1.5f, std::numeric_limits<float>::quiet_NaN()}) {
            EXPECT_EQ(Endpoints().SetMasterVolumeLevelScalar(volume, bad), kEndpointInvalidArg) << bad;
        }
        float after = -1.0f;
        EXPECT_EQ(Endpoints().GetMasterVolumeLevelScalar(volume, after), kEndpointOk);
        EXPECT_EQ(after, level);
        // Wine's endpoints do not set levels; the system's answer is passed on.
        const int32_t set = Endpoints().SetMasterVolumeLevelScalar(volume, level);
        EXPECT_TRUE(set == kEndpointOk || set == kEndpointNotImplemented) << set;
        Endpoints().Release(volume);
    }
    Endpoints().Release(endpoint);
}

// Without the system's audio service the enumerator may not exist; then it
// fails with a negative result and a log line, and nothing else is needed.
TEST(Win32EndpointVolumeTest, TheEnumeratorListsConsistentEndpointsOrFailsCleanly) {
    EndpointSession session;
    LogCapture log;
    EndpointObject enumerator;
    const int32_t created = Endpoints().CreateEnumerator(enumerator);
    if (created != kEndpointOk) {
        EXPECT_LT(created, 0);
        EXPECT_FALSE(enumerator);
        EXPECT_TRUE(log.ContainsFragment("device enumerator"));
        return;
    }
    ASSERT_TRUE(enumerator);
    for (uint32_t flow : {kEndpointRender, kEndpointCapture}) {
        SCOPED_TRACE(flow);
        EndpointObject collection;
        ASSERT_EQ(Endpoints().EnumActiveEndpoints(enumerator, flow, collection), kEndpointOk);
        uint32_t count = 12345;
        ASSERT_EQ(Endpoints().GetCount(collection, count), kEndpointOk);
        ASSERT_LT(count, 64u);
        for (uint32_t i = 0; i < count; ++i) CheckEndpoint(collection, i);
        EndpointObject beyond;
        EXPECT_LT(Endpoints().Item(collection, count, beyond), 0);
        EXPECT_FALSE(beyond);
        Endpoints().Release(collection);
    }
    EndpointObject none;
    EXPECT_EQ(Endpoints().EnumActiveEndpoints(enumerator, 2, none), kEndpointInvalidArg);
    EXPECT_FALSE(none);
    Endpoints().Release(enumerator);
}

// Objects never handed out (or already released) are refused, each with a
// log line, and leave what they would fill untouched or empty.
TEST(Win32EndpointVolumeTest, ObjectsNeverHandedOutAreRefused) {
    EndpointSession session;
    const EndpointObject never{9876};
    EndpointObject out{5};
    uint32_t count = 7;
    std::wstring name = L"untouched";
    float level = 0.25f;
    LogCapture log;
    EXPECT_EQ(Endpoints().EnumActiveEndpoints(never, kEndpointRender, out), kEndpointInvalidArg);
    EXPECT_FALSE(out);
    EXPECT_EQ(Endpoints().GetCount(never, count), kEndpointInvalidArg);
    EXPECT_EQ(Endpoints().Item(never, 0, out), kEndpointInvalidArg);
    EXPECT_EQ(Endpoints().OpenPropertyStore(never, out), kEndpointInvalidArg);
    EXPECT_EQ(Endpoints().GetInterfaceFriendlyName(never, name), kEndpointInvalidArg);
    EXPECT_EQ(Endpoints().ActivateVolume(never, out), kEndpointInvalidArg);
    EXPECT_EQ(Endpoints().SetMasterVolumeLevelScalar(never, 0.5f), kEndpointFail);
    EXPECT_EQ(Endpoints().GetMasterVolumeLevelScalar(never, level), kEndpointFail);
    Endpoints().Release(never);
    EXPECT_EQ(count, 7u);
    EXPECT_EQ(name, L"untouched");
    EXPECT_EQ(level, 0.25f);
    EXPECT_EQ(log.Texts().size(), 8u);
}

// The routine writes the next buffer from inside the call, as the port
// allows; the chain plays to its end and every buffer comes back once.
struct Chain {
    WaveHeader headers[3];
    size_t written = 1;
    std::vector<WaveHeader*> returned;
    std::promise<void> finished;
};

void WriteNextFromTheRoutine(WaveOutHandle device, uint32_t message, uintptr_t instance, WaveHeader* header,
                             uintptr_t) {
    if (message != kWaveOutDone) return;
    auto* chain = reinterpret_cast<Chain*>(instance);
    chain->returned.push_back(header);
    if (chain->written < 3) {
        EXPECT_EQ(Waves().OutWrite(device, chain->headers[chain->written++]), kMmNoError);
    } else {
        chain->finished.set_value();
    }
}

TEST(Win32WaveDevicesTest, TheRoutineMayWriteTheNextBufferFromInsideTheCall) {
    if (Waves().OutGetNumDevs() == 0) GTEST_SKIP() << "no wave-out device in this session";
    Chain chain;
    WaveOutHandle handle;
    ASSERT_EQ(Waves().OutOpen(handle, 0, Mono16(8000), WriteNextFromTheRoutine, reinterpret_cast<uintptr_t>(&chain)),
              kMmNoError);
    std::vector<uint8_t> silence(800);
    for (WaveHeader& header : chain.headers) {
        header.data = silence.data();
        header.bufferLength = static_cast<uint32_t>(silence.size());
        ASSERT_EQ(Waves().OutPrepareHeader(handle, header), kMmNoError);
    }
    ASSERT_EQ(Waves().OutWrite(handle, chain.headers[0]), kMmNoError);
    ASSERT_EQ(chain.finished.get_future().wait_for(kGenerously), std::future_status::ready);
    const std::vector<WaveHeader*> inOrder = {&chain.headers[0], &chain.headers[1], &chain.headers[2]};
    EXPECT_EQ(chain.returned, inOrder);
    for (WaveHeader& header : chain.headers) EXPECT_EQ(Waves().OutUnprepareHeader(handle, header), kMmNoError);
    EXPECT_EQ(Waves().OutClose(handle), kMmNoError);
}

void CountDone(WaveOutHandle, uint32_t message, uintptr_t instance, WaveHeader*, uintptr_t) {
    if (message == kWaveOutDone) ++*reinterpret_cast<std::atomic<int>*>(instance);
}

// A buffer far longer than the test is still queued: closing is refused
// until a reset has returned it, done, through the routine.
TEST(Win32WaveDevicesTest, CloseWaitsForAResetToReturnWhatIsQueued) {
    if (Waves().OutGetNumDevs() == 0) GTEST_SKIP() << "no wave-out device in this session";
    std::atomic<int> done{0};
    WaveOutHandle handle;
    ASSERT_EQ(Waves().OutOpen(handle, 0, Mono16(8000), CountDone, reinterpret_cast<uintptr_t>(&done)), kMmNoError);
    std::vector<uint8_t> tenMinutes(8000 * 2 * 600);
    WaveHeader header;
    header.data = tenMinutes.data();
    header.bufferLength = static_cast<uint32_t>(tenMinutes.size());
    ASSERT_EQ(Waves().OutPrepareHeader(handle, header), kMmNoError);
    ASSERT_EQ(Waves().OutWrite(handle, header), kMmNoError);
    EXPECT_EQ(Waves().OutUnprepareHeader(handle, header), kWaveStillPlaying);
    EXPECT_EQ(Waves().OutClose(handle), kWaveStillPlaying);
    EXPECT_EQ(Waves().OutReset(handle), kMmNoError);
    EXPECT_EQ(done.load(), 1) << "a reset returns before every buffer is handed back";
    EXPECT_EQ(header.flags.load() & (kWaveHeaderDone | kWaveHeaderInQueue), kWaveHeaderDone);
    EXPECT_EQ(Waves().OutUnprepareHeader(handle, header), kMmNoError);
    EXPECT_EQ(Waves().OutClose(handle), kMmNoError);
}

std::set<std::wstring> FindAll(const std::wstring& pattern) {
    std::set<std::wstring> names;
    std::wstring name;
    const FindHandle handle = Dirs().FindFirst(pattern, name);
    if (!handle.IsValid()) return names;
    do {
        EXPECT_TRUE(names.insert(name).second) << WideToUtf8(name) << " twice";
    } while (Dirs().FindNext(handle, name));
    Dirs().FindClose(handle);
    return names;
}

TEST(Win32DirectoryTest, PatternsFindExactlyTheMatchingEntries) {
    const auto folder = sim::MakeUniqueFolder("corvane-dir-");
    ASSERT_TRUE(folder.has_value());
    for (const wchar_t* file : {L"Ring1.wav", L"ring2.WAV", L"notes.txt", L"\u0141\u00F3d\u017A.wav"}) {
        std::ofstream(*folder / file) << "x";
    }
    std::filesystem::create_directory(*folder / "Sub.wav");
    const std::wstring base = folder->wstring() + L"\\";
    const struct {
        const wchar_t* pattern;
        std::set<std::wstring> names;
    } cases[] = {
        {L"*.wav", {L"Ring1.wav", L"ring2.WAV", L"\u0141\u00F3d\u017A.wav", L"Sub.wav"}},
        {L"ring?.wav", {L"Ring1.wav", L"ring2.WAV"}},
        {L"*.txt", {L"notes.txt"}},
        {L"*.mid", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.pattern));
        LogCapture log;
        EXPECT_EQ(FindAll(base + c.pattern), c.names);
        EXPECT_TRUE(log.Texts().empty()) << "nothing matching is no failure";
    }
    std::filesystem::remove_all(*folder);
}

TEST(Win32DirectoryTest, AMissingFolderIsLoggedAndSearchesNothing) {
    LogCapture log;
    std::wstring name = L"untouched";
    const FindHandle handle = Dirs().FindFirst(L"C:\\corvane-no-such-folder\\RingTone\\*.wav", name);
    EXPECT_FALSE(handle.IsValid());
    EXPECT_EQ(name, L"untouched");
    EXPECT_EQ(log.Texts().size(), 1u);
    EXPECT_TRUE(log.ContainsFragment("corvane-no-such-folder"));
    EXPECT_FALSE(Dirs().FindNext(handle, name));
    EXPECT_FALSE(Dirs().FindNext(FindHandle{999}, name));
    Dirs().FindClose(FindHandle{999});
}

}  // namespace
