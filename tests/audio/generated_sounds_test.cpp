// The sounds in resources/ are what tools/sound_gen makes, and each key tone
// holds its key's two keypad frequencies and no other keypad frequency.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/wave.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kResources = fs::path(CORVANE_SOURCE_DIR) / "resources";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

audio::CWave LoadWave(const fs::path& path) {
    const std::string bytes = ReadAll(path);
    audio::CWave wave;
    EXPECT_EQ(wave.Parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), L"resource"),
              audio::WaveLoadResult::Ok)
        << path;
    return wave;
}

// The signal's strength at one frequency (the Goertzel filter).
double Strength(const audio::CWave& wave, double hz) {
    const double k = 2.0 * std::cos(2.0 * 3.14159265358979 * hz / wave.m_Format.samplesPerSec);
    double s1 = 0.0, s2 = 0.0;
    const auto* samples = reinterpret_cast<const uint8_t*>(wave.m_Buffer.Samples());
    for (uint32_t i = 0; i < wave.m_Buffer.m_nNumSamples; ++i) {
        const auto sample = static_cast<int16_t>(samples[2 * i] | samples[2 * i + 1] << 8);
        const double s0 = sample + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - k * s1 * s2);
}

TEST(GeneratedSoundsTest, CommittedFilesAreTheGeneratorsOutput) {
    testing_support::TempFolder keys, rings;
    const std::string command = std::string("'") + CORVANE_SOUND_GEN + "' '" + keys.Path().string() + "' '" +
                                rings.Path().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    size_t files = 0;
    for (const auto& [made, committed] : {std::pair{keys.Path(), kResources / "KeyTone"},
                                          std::pair{rings.Path(), kResources / "RingTone"}}) {
        for (const auto& entry : fs::directory_iterator(made)) {
            EXPECT_EQ(ReadAll(entry.path()), ReadAll(committed / entry.path().filename())) << entry.path().filename();
            ++files;
        }
    }
    EXPECT_EQ(files, 15u);
}

TEST(GeneratedSoundsTest, EachKeyToneHoldsItsKeypadPair) {
    struct Case {
        const char* file;
        double low, high;
    } const cases[] = {
        {"1.wav", 697, 1209}, {"2.wav", 697, 1336}, {"3.wav", 697, 1477},    {"4.wav", 770, 1209},
        {"5.wav", 770, 1336}, {"6.wav", 770, 1477}, {"7.wav", 852, 1209},    {"8.wav", 852, 1336},
        {"9.wav", 852, 1477}, {"0.wav", 941, 1336}, {"star.wav", 941, 1209}, {"sharp.wav", 941, 1477},
    };
    const double keypad[] = {697, 770, 852, 941, 1209, 1336, 1477, 1633};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const audio::CWave wave = LoadWave(kResources / "KeyTone" / c.file);
        EXPECT_EQ(wave.m_Format.samplesPerSec, 8000u);
        EXPECT_EQ(wave.m_Format.bitsPerSample, 16);
        EXPECT_EQ(wave.m_Format.channels, 1);
        const double weakest = std::min(Strength(wave, c.low), Strength(wave, c.high));
        for (double f : keypad) {
            if (f != c.low && f != c.high) {
                EXPECT_LT(Strength(wave, f) * 10, weakest) << f;
            }
        }
    }
}

TEST(GeneratedSoundsTest, RingTonesArePcmOfAtLeastASecond) {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(kResources / "RingTone")) {
        const audio::CWave wave = LoadWave(entry.path());
        EXPECT_GE(wave.m_Buffer.m_nNumSamples, wave.m_Format.samplesPerSec) << entry.path().filename();
        ++count;
    }
    EXPECT_GE(count, 3u);
}

}  // namespace
