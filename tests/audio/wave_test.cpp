// The wave reader on well-formed and odd files, and the streaming player on
// a simulated wave-out device in virtual time: chunking, stop, replay, the
// device choice, the ring-tone folder and the preview.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/ring_tones.h"
#include "audio/wave.h"
#include "audio/wave_out.h"
#include "common/device_names.h"
#include "platform/backends.h"
#include "platform/log.h"
#include "platform/sim/sim_sound_system.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/virtual_clock.h"
#include "support/temp_folder.h"

namespace {

void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

struct Fmt {
    uint16_t tag = 1;
    uint16_t channels = 2;
    uint32_t rate = 8000;
    uint16_t blockAlign = 4;
    uint16_t bits = 16;
    uint32_t extraBytes = 0;  // a longer format chunk
};

std::string FmtChunk(const Fmt& f) {
    std::string s = "fmt ";
    Put32(s, 16 + f.extraBytes);
    Put16(s, f.tag);
    Put16(s, f.channels);
    Put32(s, f.rate);
    Put32(s, f.rate * f.blockAlign);
    Put16(s, f.blockAlign);
    Put16(s, f.bits);
    s.append(f.extraBytes, '\0');
    return s;
}

std::string Chunk(const std::string& id, const std::string& body, uint32_t declared) {
    std::string s = id;
    Put32(s, declared);
    return s + body + (body.size() % 2 ? std::string(1, '\0') : std::string());
}

std::string Bytes(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + 1);
    return s;
}

std::string Riff(const std::string& chunks) {
    std::string s = "RIFF";
    Put32(s, static_cast<uint32_t>(4 + chunks.size()));
    return s + "WAVE" + chunks;
}

// A canonical file: "fmt " then "data" at byte 36.
std::string Canonical(size_t dataBytes, const Fmt& f = Fmt{}) {
    return Riff(FmtChunk(f) + Chunk("data", Bytes(dataBytes), static_cast<uint32_t>(dataBytes)));
}

audio::WaveLoadResult Parse(audio::CWave& wave, const std::string& bytes) {
    return wave.Parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), L"test.wav");
}

TEST(WaveReaderTest, FilesOfEveryShapeAreReadOrRefusedWithAReason) {
    struct Case {
        const char* what;
        std::string file;
        audio::WaveLoadResult result;
        uint32_t frames;
        const char* logged;  // a fragment of the log line, or ""
    };
    Fmt mono{.channels = 1, .blockAlign = 2};
    Fmt floats{.tag = 3, .channels = 2, .rate = 44100, .blockAlign = 8, .bits = 32};
    std::string wavefmtX = Canonical(8);
    wavefmtX[15] = 'X';
    std::string notRiff = Canonical(8);
    notRiff[3] = 'X';
    const Case cases[] = {
        {"canonical", Canonical(10000), audio::WaveLoadResult::Ok, 2500, ""},
        {"a tail shorter than a frame is dropped", Canonical(10002), audio::WaveLoadResult::Ok, 2500, ""},
        {"not RIFF", notRiff, audio::WaveLoadResult::InvalidFile, 0, "not a RIFF WAVE file"},
        {"WAVEfmt without the blank", wavefmtX, audio::WaveLoadResult::InvalidFile, 0, "no format chunk"},
        {"float samples are taken as PCM", Canonical(64, floats), audio::WaveLoadResult::Ok, 8, ""},
        {"a chunk before the data", Riff(FmtChunk(mono) + Chunk("LIST", "INFOabc", 7) + Chunk("data", Bytes(20), 20)),
         audio::WaveLoadResult::Ok, 10, ""},
        {"a longer format chunk", Riff(FmtChunk(Fmt{.extraBytes = 2}) + Chunk("data", Bytes(16), 16)),
         audio::WaveLoadResult::Ok, 4, ""},
        {"data beyond the end is cut", Riff(FmtChunk(mono) + Chunk("data", Bytes(10), 1000)), audio::WaveLoadResult::Ok,
         5, "the data ends after 10 of 1000 bytes"},
        {"block align 0", Canonical(16, Fmt{.blockAlign = 0}), audio::WaveLoadResult::InvalidFile, 0, "block align 0"},
        {"shorter than 44 bytes", Canonical(8).substr(0, 30), audio::WaveLoadResult::InvalidFile, 0, ""},
        {"12 bytes", Canonical(8).substr(0, 12), audio::WaveLoadResult::InvalidFile, 0, "no format chunk"},
        {"empty", std::string(), audio::WaveLoadResult::InvalidFile, 0, "not a RIFF WAVE file"},
        {"no data chunk", Riff(FmtChunk(mono)), audio::WaveLoadResult::InvalidFile, 0, "no data chunk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::LogCapture log;
        audio::CWave wave;
        EXPECT_EQ(Parse(wave, c.file), c.result);
        EXPECT_EQ(wave.m_Buffer.m_nNumSamples, c.frames);
        if (c.result != audio::WaveLoadResult::Ok) {
            EXPECT_TRUE(log.ContainsFragment("CWave::Load: test.wav: "));
        }
        if (*c.logged) {
            EXPECT_TRUE(log.ContainsFragment(c.logged));
        }
    }
}

TEST(WaveReaderTest, FormatAndSamplesComeFromTheirChunks) {
    audio::CWave wave;
    const std::string file = Canonical(64, Fmt{.tag = 3, .channels = 2, .rate = 44100, .blockAlign = 8, .bits = 32});
    ASSERT_EQ(Parse(wave, file), audio::WaveLoadResult::Ok);
    EXPECT_EQ(wave.m_Format.formatTag, 1);
    EXPECT_EQ(wave.m_Format.channels, 2);
    EXPECT_EQ(wave.m_Format.samplesPerSec, 44100u);
    EXPECT_EQ(wave.m_Format.avgBytesPerSec, 44100u * 8);
    EXPECT_EQ(wave.m_Format.bitsPerSample, 32);
    EXPECT_EQ(wave.m_Buffer.m_nSampleSize, 8u);
    EXPECT_EQ(std::memcmp(wave.m_Buffer.Samples(), Bytes(64).data(), 64), 0);
    audio::CWave copy;
    copy = wave;
    wave.m_Buffer.m_pSamples[0] = 0x55;
    EXPECT_NE(copy.m_Buffer.m_pSamples[0], 0x55) << "assignment copies the samples";
}

TEST(WaveReaderTest, MissingFileIsAnOpenError) {
    platform::LogCapture log;
    audio::CWave wave;
    EXPECT_EQ(wave.Load(L"/nonexistent/none.wav"), audio::WaveLoadResult::CannotOpen);
    EXPECT_TRUE(log.ContainsFragment("cannot be opened"));
}

class WavePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        sound_.SetEventListener([this](const std::string& channel, const std::string& text) {
            if (channel == "wave-out") events_.push_back(text);
        });
        system_.SetExecutablePath(platform::Utf8ToWide((folder_.Path() / "Corvane.exe").string()));
    }
    void TearDown() override { common::g_OutDeviceName.Set(L""); }

    void Load(audio::CWaveOut& player, size_t bytes) {
        ASSERT_EQ(Parse(player.m_Wave, Canonical(bytes)), audio::WaveLoadResult::Ok);
        player.m_Device.m_strName = L"USB PHONE";
    }
    std::vector<std::string> Events() {
        clock_.Settle();
        return events_;
    }

    platform::sim::VirtualClock clock_;
    platform::sim::SimSoundSystem sound_;
    platform::sim::SimSystem system_;
    testing_support::TempFolder folder_;
    platform::ScopedBackends backends_{{.clock = &clock_, .system = &system_, .mixer = &sound_,
                                        .waveDevices = &sound_, .endpointVolume = &sound_}};
    std::vector<std::string> events_;
};

TEST_F(WavePlayerTest, SoundIsHandedOverInChunksOfAtMost4096Bytes) {
    struct Case {
        size_t bytes;
        bool played;  // Play's result: three chunks queued
        std::vector<std::string> queued;
    } const cases[] = {
        {10000, true, {"queue 4096", "queue 4096", "queue 1808"}},
        {4096, false, {"queue 4096"}},
        {20000, true, {"queue 4096", "queue 4096", "queue 4096", "queue 4096", "queue 3616"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        events_.clear();
        {
            audio::CWaveOut player;
            Load(player, c.bytes);
            ASSERT_TRUE(player.Open());
            EXPECT_EQ(player.Play(), c.played);
            EXPECT_TRUE(player.IsPlaying());
            clock_.Advance(5000);  // 20,000 bytes at 32,000 bytes a second take 625 ms
            EXPECT_FALSE(player.IsPlaying());
            std::vector<std::string> queued, done;
            for (const std::string& e : Events()) {
                if (e.find("queue") != std::string::npos) queued.push_back(e.substr(e.find("queue")));
                if (e.find("done") != std::string::npos) done.push_back(e.substr(e.find("done") + 5));
            }
            EXPECT_EQ(queued, c.queued);
            EXPECT_EQ(done.size(), c.queued.size()) << "every chunk plays to its end";
        }
        EXPECT_EQ(sound_.OpenWaveOutCount(), 0u) << "destroying the player closes its device";
    }
}

TEST_F(WavePlayerTest, DevicePlaysAtTheFormatsByteRate) {
    audio::CWaveOut player;
    Load(player, 10000);  // 8000 frames a second of 4 bytes: 128 ms a chunk
    player.Open();
    player.Play();
    clock_.Advance(127);
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "\"USB PHONE\" done 4096"), 0);
    clock_.Advance(1);
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "\"USB PHONE\" done 4096"), 1);
}

TEST_F(WavePlayerTest, StopQueuesNothingMoreClosesAndIsNotPlaying) {
    audio::CWaveOut player;
    Load(player, 40000);
    player.Open();
    player.Play();
    clock_.Advance(130);  // the first chunk is done, the fourth queued
    player.Stop();
    const size_t afterStop = Events().size();
    clock_.Advance(5000);
    EXPECT_EQ(Events().size(), afterStop);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.m_hWaveOut.IsValid());
    EXPECT_EQ(sound_.OpenWaveOutCount(), 0u);
    const std::vector<std::string> tail(events_.end() - 2, events_.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"\"USB PHONE\" reset 3", "\"USB PHONE\" close"}));
}

TEST_F(WavePlayerTest, PlayAfterTheEndPlaysAgainAndReopeningClosesTheOldDevice) {
    audio::CWaveOut player;
    Load(player, 6000);
    player.Open();
    player.Play();
    clock_.Advance(1000);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(player.m_hWaveOut.IsValid()) << "a finished player keeps its device";
    player.Play();
    EXPECT_TRUE(player.IsPlaying());
    clock_.Advance(1000);
    EXPECT_TRUE(player.Open());
    EXPECT_EQ(sound_.OpenWaveOutCount(), 1u) << "the old device was closed first";
    const auto events = Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "\"USB PHONE\" done 4096"), 2);
    EXPECT_EQ(std::count(events.begin(), events.end(), "\"USB PHONE\" close"), 1);
}

TEST_F(WavePlayerTest, DeviceIsChosenByItsExactName) {
    struct Case {
        const wchar_t* name;
        uint32_t device;
    } const cases[] = {{L"", platform::kWaveMapper},
                       {L"Onboard Audio", 0},
                       {L"USB PHONE", 1},
                       {L"usb phone", platform::kWaveMapper},
                       {L"USB PHONE 2", platform::kWaveMapper}};
    for (const Case& c : cases) {
        audio::CWaveDevice device;
        device.m_strName = c.name;
        EXPECT_EQ(device.GetDevice(), c.device) << platform::WideToUtf8(c.name);
    }
}

TEST_F(WavePlayerTest, RingTonesAreListedByCodeUnitsAndPreviewedOnTheHandset) {
    namespace fs = std::filesystem;
    fs::create_directories(folder_.Path() / "RingTone" / "Folder.wav");
    for (const char* name : {"b.wav", "A.wav", "C.WAV", "notes.txt"}) {
        std::ofstream(folder_.Path() / "RingTone" / name, std::ios::binary) << Canonical(8000);
    }
    EXPECT_EQ(audio::ListRingTones(), (std::vector<std::wstring>{L"A.wav", L"C.WAV", L"Folder.wav", L"b.wav"}));

    common::g_OutDeviceName.Set(L"USB PHONE");
    audio::CWaveOut player;
    EXPECT_TRUE(audio::PreviewRingTone(player, L"b.wav"));
    ASSERT_FALSE(Events().empty());
    EXPECT_EQ(Events().front(), "\"USB PHONE\" open 8000 Hz 16 bit 2 ch");

    platform::LogCapture log;
    EXPECT_FALSE(audio::PreviewRingTone(player, L"missing.wav"));
    EXPECT_TRUE(log.Contains("PreviewRingTone: missing.wav cannot be played"));
    EXPECT_FALSE(audio::PreviewRingTone(player, L"Folder.wav"));
}

}  // namespace
