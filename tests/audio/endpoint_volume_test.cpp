// Volume per endpoint: the platform version, the 0 ... 31 conversions on an
// endpoint that keeps levels exactly, the choice of the handset's endpoint
// by name, the volume keys' step, and the endpoints kept across set-ups.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio/endpoint_volume.h"
#include "audio/mixer_fader.h"
#include "audio/mixer_setup.h"
#include "platform/backends.h"
#include "platform/log.h"
#include "platform/sim/sim_sound_system.h"
#include "platform/sim/sim_system.h"

namespace {

using platform::sim::SimSoundCard;

class EndpointVolumeTest : public ::testing::Test {
protected:
    void TearDown() override { audio::ReleaseMixers(); }

    // Cards by device-interface name; each card is named after its interface.
    void UseInterfaces(const std::vector<std::wstring>& names) {
        std::vector<SimSoundCard> cards;
        for (const std::wstring& n : names) cards.push_back(SimSoundCard::Standard(n));
        sound_.SetCards(cards);
    }
    platform::EndpointObject Found(uint32_t flow) {
        platform::EndpointObject volume;
        audio::GetUsbPhoneVolumeCtrl(volume, flow);
        return volume;
    }

    platform::sim::SimSoundSystem sound_;
    platform::sim::SimSystem system_;
    platform::ScopedBackends backends_{{.system = &system_, .mixer = &sound_, .waveDevices = &sound_,
                                        .endpointVolume = &sound_}};
    platform::LogCapture log_;
};

TEST_F(EndpointVolumeTest, VersionAboveFiveIsVistaAndIsTraced) {
    system_.SetVistaOrLater(false);
    EXPECT_EQ(audio::CheckIsVistaOs(), 0);
    system_.SetVistaOrLater(true);
    EXPECT_EQ(audio::CheckIsVistaOs(), 1);
    EXPECT_EQ(log_.Count("Enter CheckIsVistaOs"), 2);
    EXPECT_TRUE(log_.Contains("dwMajorVersion = 6;dwMinorVersion = 1;dwBuildNumber = 7601;dwPlatformId = 2;"
                              "wServicePackMajor = 0;wServicePackMinor = 0;szCSDVersion = ;wSuiteMask = 0;"
                              "wProductType = 1;"));
}

TEST_F(EndpointVolumeTest, EveryValueReadsBackAsTheSinglePrecisionLevelGives) {
    UseInterfaces({L"USB PHONE"});
    const platform::EndpointObject volume = Found(platform::kEndpointRender);
    ASSERT_TRUE(volume);
    for (int value = 0; value <= 31; ++value) {
        audio::SetVistaVolume(volume, value);
        const bool exact = value == 0 || (value >= 17 && value % 2 == 1);
        EXPECT_EQ(audio::GetVistaVolume(volume), exact ? value : value - 1) << value;
        EXPECT_FLOAT_EQ(sound_.EndpointLevel(L"USB PHONE", platform::kEndpointRender), static_cast<float>(value) / 31.0f);
    }
    audio::SetVistaVolume(volume, 40);  // above 1.0: refused, the level stays
    EXPECT_FLOAT_EQ(sound_.EndpointLevel(L"USB PHONE", platform::kEndpointRender), 1.0f);
    sound_.Release(volume);
}

TEST_F(EndpointVolumeTest, NoEndpointReadsZeroAndStillTraces) {
    EXPECT_EQ(audio::GetVistaVolume(platform::EndpointObject{}), 0);
    EXPECT_TRUE(log_.Contains("GetVistaVolume: vol=0"));
    audio::SetVistaVolume(platform::EndpointObject{}, 20);
    EXPECT_TRUE(log_.Contains("Enter SetVistaVolume"));
    EXPECT_FALSE(log_.Contains("SetMasterVolumeLevelScalar"));
}

TEST_F(EndpointVolumeTest, TheFirstEndpointWithUsbInItsInterfaceNameIsTheHandsets) {
    struct Case {
        std::vector<std::wstring> interfaces;
        const wchar_t* chosen;  // nullptr: none
    } const cases[] = {
        {{L"High Definition Audio Device", L"USB PHONE"}, L"USB PHONE"},
        {{L"USB Headset", L"USB PHONE"}, L"USB Headset"},
        {{L"usb phone"}, nullptr},
        {{}, nullptr},
    };
    for (const Case& c : cases) {
        UseInterfaces(c.interfaces);
        for (uint32_t flow : {platform::kEndpointRender, platform::kEndpointCapture}) {
            const platform::EndpointObject volume = Found(flow);
            ASSERT_EQ(static_cast<bool>(volume), c.chosen != nullptr);
            if (volume) {
                audio::SetVistaVolume(volume, 31);
                EXPECT_FLOAT_EQ(sound_.EndpointLevel(c.chosen, flow), 1.0f);
                sound_.Release(volume);
            }
        }
        EXPECT_EQ(sound_.LiveEndpointObjects(), 0u) << "everything but the volume is released";
    }
}

TEST_F(EndpointVolumeTest, VolumeKeysMoveTheLevelByTwoOfSixteenWithinItsRange) {
    UseInterfaces({L"USB PHONE"});
    const platform::EndpointObject volume = Found(platform::kEndpointRender);
    struct Case {
        float from;
        bool up;
        float to;
    } const cases[] = {{0.5f, true, 0.625f}, {0.5f, false, 0.375f}, {0.95f, true, 1.0f}, {0.1f, false, 0.0f}};
    for (const Case& c : cases) {
        sound_.SetEndpointLevel(L"USB PHONE", platform::kEndpointRender, c.from);
        audio::StepVistaVolume(volume, c.up);
        EXPECT_FLOAT_EQ(sound_.EndpointLevel(L"USB PHONE", platform::kEndpointRender), c.to) << c.from << c.up;
    }
    sound_.Release(volume);
}

TEST_F(EndpointVolumeTest, SetUpReleasesTheEndpointsItReplacesAndDropsStaleOnes) {
    UseInterfaces({L"Onboard", L"USB PHONE"});
    audio::InitializeMixers(L"USB PHONE", platform::WindowHandle{});
    EXPECT_EQ(sound_.LiveEndpointObjects(), 2u);
    audio::InitializeMixers(L"USB PHONE", platform::WindowHandle{});
    EXPECT_EQ(sound_.LiveEndpointObjects(), 2u) << "the replaced ones are released";
    UseInterfaces({L"Onboard"});
    audio::InitializeMixers(L"", platform::WindowHandle{});
    EXPECT_EQ(sound_.LiveEndpointObjects(), 0u);
    EXPECT_FALSE(audio::g_OutFader.Endpoint());
    EXPECT_TRUE(log_.Contains("InitializeMixers: the out endpoint is gone"));
}

TEST_F(EndpointVolumeTest, SavedLevelSetAgainMovesFrom24To23And25Stays) {
    UseInterfaces({L"USB PHONE"});
    audio::InitializeMixers(L"USB PHONE", platform::WindowHandle{});
    for (const auto& [set, after] : {std::pair{24, 23}, std::pair{25, 25}}) {
        audio::SetFaderValue(audio::g_OutFader, set, audio::kFaderAbsolute);
        const int saved = audio::GetOutVolume();
        audio::SetFaderValue(audio::g_OutFader, saved, audio::kFaderAbsolute);
        EXPECT_EQ(saved, after) << set;
        EXPECT_FLOAT_EQ(sound_.EndpointLevel(L"USB PHONE", platform::kEndpointRender), static_cast<float>(after) / 31.0f);
    }
}

}  // namespace
