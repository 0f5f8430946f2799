// Parsing throughput: notifications per second for a typical mix of call
// properties, contact updates and profile texts (no call changes state, so
// no mode switches or batch threads take part).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/corvane_app.h"
#include "skype/skype_parser.h"

namespace {

void BM_ParseTypicalMix(benchmark::State& state) {
    app::ResetProcessState();
    std::vector<std::string> mix;
    for (int i = 0; i < 50; ++i) {
        const std::string id = std::to_string(1000 + i);
        const std::string handle = "contact" + std::to_string(i);
        mix.push_back("CALL " + id + " TIMESTAMP 1700000000");
        mix.push_back("CALL " + id + " PARTNER_HANDLE " + handle);
        mix.push_back("CALL " + id + " PARTNER_DISPNAME Contact Number " + std::to_string(i));
        mix.push_back("CALL " + id + " TYPE INCOMING_P2P");
        mix.push_back("CALL " + id + " DURATION 42");
        mix.push_back("USER " + handle + " ONLINESTATUS " + (i % 3 ? "ONLINE" : "OFFLINE"));
        mix.push_back("USER " + handle + " DISPLAYNAME Contact " + std::to_string(i));
        mix.push_back("PROFILE PSTN_BALANCE_CURRENCY EUR");
        mix.push_back("CONNSTATUS ONLINE");
    }
    size_t parsed = 0;
    for (auto _ : state) {
        for (const std::string& text : mix) skype::ProcessSkypeMessage(text);
        parsed += mix.size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(parsed));
    app::ResetProcessState();
}
BENCHMARK(BM_ParseTypicalMix)->Unit(benchmark::kMicrosecond);

}  // namespace
