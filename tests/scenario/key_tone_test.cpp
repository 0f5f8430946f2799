// Key tones and volume keys: which file plays, in which modes, under the
// handset lock, and the volume steps that every mode gets.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "audio/key_tone_library.h"
#include "audio/mixer_fader.h"
#include "handset/handset_device.h"
#include "support/program_fixture.h"

namespace {

// Records the library calls and whether the handset lock was held.
class RecordingKeyTones : public audio::KeyToneLibrary {
public:
    void InitNewWave(const std::wstring&, const std::wstring& path, platform::WindowHandle) override {
        Add("init " + FileOf(path));
    }
    void PlayWave(const std::wstring&, const std::wstring& path, platform::WindowHandle) override {
        Add("play " + FileOf(path) + (handset::g_WriteDevice.m_Lock.IsHeldByCurrentThread() ? "" : " UNLOCKED"));
    }
    void StopPlayWave(const std::wstring&) override {
        Add(std::string("stop") + (handset::g_WriteDevice.m_Lock.IsHeldByCurrentThread() ? "" : " UNLOCKED"));
    }
    std::vector<std::string> Calls() {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }
    std::vector<std::string> Plays() {
        std::vector<std::string> out;
        for (const auto& c : Calls()) {
            if (c.rfind("play", 0) == 0) out.push_back(c.substr(5));
        }
        return out;
    }

private:
    static std::string FileOf(const std::wstring& path) {
        const std::string p = platform::WideToUtf8(path);
        return p.substr(p.find_last_of('/') + 1);
    }
    void Add(const std::string& c) {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(c);
    }
    std::mutex mutex_;
    std::vector<std::string> calls_;
};

class KeyToneTest : public testing_support::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        audio::InstallKeyToneLibrary(&tones_);
        audio::InstallFaderObserver([this](audio::CMixerFader& f, int value, int type) {
            std::lock_guard<std::mutex> lock(faderMutex_);
            faders_.push_back(std::string(f.Name()) + " " + std::to_string(value) + " " + std::to_string(type));
        });
    }
    void TearDown() override {
        ProgramTest::TearDown();
        audio::InstallFaderObserver(nullptr);
        audio::InstallKeyToneLibrary(nullptr);
    }
    std::vector<std::string> Faders() {
        std::lock_guard<std::mutex> lock(faderMutex_);
        return faders_;
    }
    RecordingKeyTones tones_;
    std::mutex faderMutex_;
    std::vector<std::string> faders_;
};

TEST_F(KeyToneTest, TwelveTonesAreRegisteredInOrderAtStart) {
    StartWithStartedHandset();
    const auto calls = tones_.Calls();
    ASSERT_GE(calls.size(), 12u);
    const std::vector<std::string> expected = {"init 0.wav", "init 1.wav", "init 2.wav", "init 3.wav",
                                               "init 4.wav", "init 5.wav", "init 6.wav", "init 7.wav",
                                               "init 8.wav", "init 9.wav", "init star.wav", "init sharp.wav"};
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 12), expected);
}

TEST_F(KeyToneTest, EachKeyPlaysItsFileUnderTheHandsetLock) {
    StartWithStartedHandset();
    // Codes: 8 = KEY_5, 5 = KEY_STAR, 15 = KEY_SHARP, 1 = KEY_HOOKUP, 20 = KEY_VOL_UP.
    for (uint8_t code : std::initializer_list<uint8_t>{8, 5, 15, 1, 20}) PressAndRelease(code);
    PressAndRelease(13, 1500);  // KEY_6 held: the long id plays "0.wav"
    EXPECT_EQ(tones_.Plays(),
              (std::vector<std::string>{"5.wav", "star.wav", "sharp.wav", "0.wav", "0.wav", "0.wav"}));
    for (const auto& c : tones_.Calls()) EXPECT_EQ(c.find("UNLOCKED"), std::string::npos) << c;
}

TEST_F(KeyToneTest, NoToneWhileTalkingButToneWhileRinging) {
    StartWithStartedHandset();
    SwitchModeNow(modes::MODE_TALKING);
    PressAndRelease(8);
    SwitchModeNow(modes::MODE_RINGING);
    PressAndRelease(8);  // ringing still plays
    EXPECT_EQ(tones_.Plays(), std::vector<std::string>{"5.wav"});
    EXPECT_EQ(Channel("key"), (std::vector<std::string>{"5", "5"}));
}

TEST_F(KeyToneTest, KeyTonesOffInSettingsPlayNothing) {
    World().WriteSetting("VAL_ENABLE_KEYTONE", "0");
    StartWithStartedHandset();
    PressAndRelease(8);
    EXPECT_TRUE(tones_.Plays().empty());
    EXPECT_EQ(Channel("key"), std::vector<std::string>{"5"});
}

TEST_F(KeyToneTest, VolumeKeysStepTheOutputFaderInEveryMode) {
    StartWithStartedHandset();
    PressAndRelease(20);  // KEY_VOL_UP in MODE_UNCONNECTED
    SwitchModeNow(modes::MODE_TALKING);
    PressAndRelease(25);  // KEY_VOL_DOWN while talking
    // The set-up's stored volumes first, then one step per key.
    EXPECT_EQ(Faders(), (std::vector<std::string>{"out 25 4", "in 25 4", "out 0 0", "out 0 1"}));
    EXPECT_EQ(Channel("key"), (std::vector<std::string>{"19", "20"}));
}

}  // namespace
