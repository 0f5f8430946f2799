// Skype's audio set-up: device names on newer systems, the fixed name on
// older ones, the ring tone's path, and commands cut safely.

#include "skype/skype_audio_config.h"

#include <gtest/gtest.h>

#include "common/device_names.h"
#include "common/settings.h"
#include "platform/system_info.h"
#include "support/program_fixture.h"

namespace {

class SkypeAudioConfigTest : public testing_support::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        World().Skype().Start();
        StartWithStartedHandset();
    }
    // The audio commands a new incoming call makes the program send, exactly
    // as Skype receives them, with the program's folder shown as $PROGRAM/.
    std::vector<std::string> Configure() {
        const size_t before = World().Skype().Commands().size();
        World().Skype().Notify("CALL 90 STATUS RINGING");
        World().Advance(100);
        const std::string folder = (World().ProgramFolder() / "").string();
        std::vector<std::string> out;
        auto all = World().Skype().Commands();
        for (size_t i = before; i < all.size(); ++i) {
            std::string c = all[i];
            if (c.rfind("SET AUDIO", 0) != 0 && c.rfind("SET RING", 0) != 0) continue;
            if (c.find(folder) != std::string::npos) c.replace(c.find(folder), folder.size(), "$PROGRAM/");
            out.push_back(c);
        }
        return out;
    }
};

TEST_F(SkypeAudioConfigTest, NewerSystemsGetTheHandsetsDeviceNames) {
    common::g_OutDeviceName.Set(L"Lautsprecher (USB Phone \u00E9)");
    common::g_InDeviceName.Set(L"Mikrofon (USB Phone)");
    common::g_Settings.VAL_RINGTONE = L"ring\u4E00.wav";
    EXPECT_EQ(Configure(), (std::vector<std::string>{"SET AUDIO_IN Mikrofon (USB Phone)",
                                                     "SET AUDIO_OUT Lautsprecher (USB Phone \xC3\xA9)",
                                                     "SET RINGER Lautsprecher (USB Phone \xC3\xA9)",
                                                     "SET RINGTONE 1 $PROGRAM/RingTone/ring\xE4\xB8\x80.wav"}));
}

TEST_F(SkypeAudioConfigTest, OlderSystemsGetTheFixedDeviceName) {
    World().System().SetVistaOrLater(false);
    common::g_OutDeviceName.Set(L"Speakers");
    EXPECT_EQ(Configure(), (std::vector<std::string>{"SET AUDIO_IN USB PHONE", "SET AUDIO_OUT USB PHONE",
                                                     "SET RINGER USB PHONE", "SET RINGTONE 1 $PROGRAM/RingTone/"}));
}

TEST_F(SkypeAudioConfigTest, LongRingTonePathIsCutAt254BytesOnACharacterBoundary) {
    common::g_Settings.VAL_RINGTONE = std::wstring(300, L'\u4E00');  // three bytes each in UTF-8
    Configure();
    std::string ring;
    for (const std::string& c : World().Skype().Commands()) {
        if (c.rfind("SET RINGTONE 1 ", 0) == 0) ring = c;
    }
    ASSERT_FALSE(ring.empty());
    EXPECT_LE(ring.size(), 254u);
    EXPECT_GE(ring.size(), 252u);
    EXPECT_EQ(ring.substr(ring.size() - 3), "\xE4\xB8\x80") << "ends with a whole character";
}

}  // namespace
