// Key path costs in the simulated world: the real time a key takes from the
// handset's report to its mode's handler, and how often an idle companion
// wakes up.

#include <benchmark/benchmark.h>

#include "main/sim/sim_world.h"

namespace {

// A started program with a started handset.
struct RunningProgram {
    RunningProgram() : world(sim::SimWorld::Options{}) {
        world.Handset().Plug(world.Bus());
        world.Start();
        world.Handset().Press(240);
        world.Advance(100);
    }
    ~RunningProgram() { world.Stop(); }
    sim::SimWorld world;
};

// One short press: press, 100 ms hold, release, until the key id reached
// the mode. Virtual time is paced by the program's own pauses; what is
// measured is the real time the threads need on top of them.
void BM_ShortPressToMode(benchmark::State& state) {
    RunningProgram program;
    auto& world = program.world;
    size_t keys = 0;
    uint64_t virtualMs = 0;
    for (auto _ : state) {
        world.Handset().Press(2);
        world.Advance(100);
        const uint64_t releasedAt = world.Clock().GetTickCount64();
        const size_t before = world.Log().Channel("key").size();
        world.Handset().Release();
        world.Settle();
        while (world.Log().Channel("key").size() == before) world.Advance(1);
        virtualMs += world.Clock().GetTickCount64() - releasedAt;
        world.Advance(100);
        ++keys;
    }
    state.counters["virtual_ms_release_to_mode"] = static_cast<double>(virtualMs) / static_cast<double>(keys);
}
BENCHMARK(BM_ShortPressToMode)->Unit(benchmark::kMicrosecond);

// One idle minute of program time; the counter tells how many times a
// program thread was woken per second.
void BM_IdleMinute(benchmark::State& state) {
    RunningProgram program;
    auto& world = program.world;
    world.Advance(15000);  // the key light's period after the start report ends
    uint64_t turns = 0;
    uint64_t seconds = 0;
    for (auto _ : state) {
        const uint64_t before = world.Clock().TurnCount();
        world.Advance(60000);
        turns += world.Clock().TurnCount() - before;
        seconds += 60;
    }
    state.counters["wakeups_per_second"] = static_cast<double>(turns) / static_cast<double>(seconds);
}
BENCHMARK(BM_IdleMinute)->Unit(benchmark::kMillisecond);

}  // namespace
