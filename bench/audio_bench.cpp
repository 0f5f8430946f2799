// Audio costs: reading a long wave file into memory, and the way from a key
// report to its key tone being handed to the handset's sound device.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio/wave.h"
#include "main/sim/sim_world.h"
#include "platform/sim/unique_folder.h"
#include "platform/text_codec.h"

namespace {

void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// One minute of 44.1 kHz 16-bit stereo: about 10.6 MB of samples.
std::filesystem::path WriteMinuteFile(const std::filesystem::path& folder) {
    constexpr uint32_t kRate = 44100, kAlign = 4, kBytes = kRate * kAlign * 60;
    std::string file = "RIFF";
    Put32(file, 36 + kBytes);
    file += "WAVEfmt ";
    Put32(file, 16);
    Put16(file, 1);
    Put16(file, 2);
    Put32(file, kRate);
    Put32(file, kRate * kAlign);
    Put16(file, kAlign);
    Put16(file, 16);
    file += "data";
    Put32(file, kBytes);
    file.resize(file.size() + kBytes, '\x11');
    const auto path = folder / "minute.wav";
    std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
    return path;
}

void BM_LoadOneMinuteStereoFile(benchmark::State& state) {
    const auto folder = platform::sim::MakeUniqueFolder("corvane-bench-").value();
    const std::wstring path = platform::Utf8ToWide(WriteMinuteFile(folder).string());
    size_t bytes = 0;
    for (auto _ : state) {
        audio::CWave wave;
        if (wave.Load(path) != audio::WaveLoadResult::Ok) state.SkipWithError("the file was not read");
        bytes += wave.DataBytes();
        benchmark::DoNotOptimize(wave.m_Buffer.Samples());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_LoadOneMinuteStereoFile)->Unit(benchmark::kMillisecond);

// A key's release report until its tone's first chunk is queued on the
// handset's device (RT_PlayWave has been called and has returned).
void BM_KeyReportToPlayWave(benchmark::State& state) {
    sim::SimWorld world(sim::SimWorld::Options{});
    world.Handset().Plug(world.Bus());
    world.Start();
    world.Handset().Press(240);
    world.Advance(100);
    world.Handset().Release();
    world.Advance(100);
    uint64_t virtualMs = 0, keys = 0;
    auto queued = [&world] {
        size_t n = 0;
        for (const std::string& e : world.Log().Channel("wave-out")) n += e.find(" queue ") != std::string::npos;
        return n;
    };
    for (auto _ : state) {
        world.Handset().Press(8);  // KEY_5
        world.Advance(100);
        const size_t before = queued();
        const uint64_t releasedAt = world.Clock().GetTickCount64();
        world.Handset().Release();
        world.Settle();
        while (queued() == before) world.Advance(1);
        virtualMs += world.Clock().GetTickCount64() - releasedAt;
        world.Advance(200);
        ++keys;
    }
    state.counters["virtual_ms_release_to_tone"] = static_cast<double>(virtualMs) / static_cast<double>(keys);
    world.Stop();
}
BENCHMARK(BM_KeyReportToPlayWave)->Unit(benchmark::kMicrosecond);

}  // namespace
