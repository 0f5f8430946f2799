// The handset's sound devices found by name, and the system default devices
// in the current user's registry.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/sound_device_names.h"
#include "platform/backends.h"
#include "platform/portable/memory_registry.h"
#include "platform/sim/sim_sound_system.h"

namespace {

using platform::sim::SimSoundCard;

class SoundDeviceNamesTest : public ::testing::Test {
protected:
    platform::sim::SimSoundSystem sound_;
    platform::MemoryRegistry registry_;
    platform::ScopedBackends backends_{{.registry = &registry_, .mixer = &sound_, .waveDevices = &sound_}};
};

TEST_F(SoundDeviceNamesTest, TheFirstOfEightDevicesWithUsbInItsNameIsTheHandsets) {
    std::vector<std::wstring> nineWithHandsetLast(8, L"Speakers");
    nineWithHandsetLast.push_back(L"USB PHONE");
    struct Case {
        std::vector<std::wstring> devices;
        std::wstring found;
    } const cases[] = {
        {{L"Onboard Audio", L"USB PHONE"}, L"USB PHONE"},
        {{L"USB Headset", L"USB PHONE"}, L"USB Headset"},
        {{L"usb phone"}, L""},
        {nineWithHandsetLast, L""},
        {{}, L""},
    };
    for (const Case& c : cases) {
        std::vector<SimSoundCard> cards;
        for (const std::wstring& n : c.devices) cards.push_back(SimSoundCard::Standard(n));
        sound_.SetCards(cards);
        std::wstring out = L"stale", in = L"stale";
        EXPECT_EQ(audio::FindUsbOutDeviceName(out), !c.found.empty());
        EXPECT_EQ(audio::FindUsbInDeviceName(in), !c.found.empty());
        EXPECT_EQ(out, c.found);
        EXPECT_EQ(in, c.found);
        EXPECT_EQ(sound_.OpenMixerCount(), 0u);
    }
}

TEST_F(SoundDeviceNamesTest, PlaybackAndRecordDevicesAreFoundApart) {
    SimSoundCard speakerOnly = SimSoundCard::Standard(L"USB Speaker");
    speakerOnly.waveIn = false;
    sound_.SetCards({speakerOnly, SimSoundCard::Standard(L"USB PHONE")});
    EXPECT_EQ(audio::FindUsbOutDeviceName(), L"USB Speaker");
    EXPECT_EQ(audio::FindUsbInDeviceName(), L"USB PHONE");
}

TEST_F(SoundDeviceNamesTest, DefaultDevicesAreReadWhenTheyAreStringsThatFit) {
    const std::wstring key = audio::kSoundMapperKey;
    struct Case {
        const char* what;
        bool keyExists;
        platform::RegistryValue playback;
        platform::RegistryValue record;
        bool result;
        std::wstring expectPlayback;
        std::wstring expectRecord;
    } const cases[] = {
        {"both", true, std::wstring(L"Onboard Audio"), std::wstring(L"USB PHONE"), true, L"Onboard Audio", L"USB PHONE"},
        {"a number", true, std::wstring(L"USB PHONE"), uint32_t{7}, true, L"USB PHONE", L""},
        {"79 characters fit", true, std::wstring(79, L'x'), std::wstring(80, L'y'), true, std::wstring(79, L'x'), L""},
        {"no key", false, std::wstring(L"a"), std::wstring(L"b"), false, L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry_.DeleteKey(key);
        if (c.keyExists) {
            registry_.CreateKey(key);
            registry_.SetValue(key, L"Playback", c.playback);
            registry_.SetValue(key, L"Record", c.record);
        }
        std::wstring playback = L"stale", record = L"stale";
        EXPECT_EQ(audio::GetDefaultSoundDevices(playback, record), c.result);
        EXPECT_EQ(playback, c.expectPlayback);
        EXPECT_EQ(record, c.expectRecord);
    }
}

TEST_F(SoundDeviceNamesTest, DefaultDevicesAreWrittenOnlyIntoAnExistingKey) {
    EXPECT_FALSE(audio::SetDefaultSoundDevices(L"USB PHONE", L"USB PHONE"));
    EXPECT_FALSE(registry_.OpenKey(audio::kSoundMapperKey));
    registry_.CreateKey(audio::kSoundMapperKey);
    EXPECT_TRUE(audio::SetDefaultSoundDevices(L"USB PHONE", L"Onboard Audio"));
    std::wstring playback, record;
    EXPECT_TRUE(audio::GetDefaultSoundDevices(playback, record));
    EXPECT_EQ(playback, L"USB PHONE");
    EXPECT_EQ(record, L"Onboard Audio");
}

}  // namespace
