// Display costs: drawing a full screen into the image and packing its four
// lines, and the one-second redraw of the display modes.

#include <benchmark/benchmark.h>

#include "app/corvane_app.h"
#include "common/settings.h"
#include "modes/icon_strip.h"
#include "modes/mode_machine.h"
#include "modes/virtual_display.h"
#include "skype/skype_parser.h"

namespace {

using namespace modes;

// Clear, icons, four text rows, then the pages of all four lines.
void BM_FullScreenDrawAndPack(benchmark::State& state) {
    app::ResetProcessState();
    CVirtualDisplay display;
    Page upper, lower;
    for (auto _ : state) {
        display.ClearScreen();
        display.DrawRowIcon(0, kIconStatus, 0);
        display.DrawRowIcon(0, kIconRinging1, 18);
        display.DrawTextRow(0, 0, "12:34", kAlignRight);
        display.DrawTextRow(0, 1, "Alice Liddell", kAlignLeft);
        display.DrawTextRow(0, 2, "2026/12/11", kAlignCentre);
        display.DrawTextRow(0, 3, "Answer", kAlignLeft);
        display.DrawTextRow(0, 3, "Refuse", kAlignRight);
        for (int row = 0; row < kTextRows; ++row) {
            display.PackRow(row, upper, lower);
            benchmark::DoNotOptimize(upper);
            benchmark::DoNotOptimize(lower);
        }
    }
    app::ResetProcessState();
}
BENCHMARK(BM_FullScreenDrawAndPack)->Unit(benchmark::kMicrosecond);

// What the mode timer does each second: the display operation of the mode.
void BM_OneSecondRedraw(benchmark::State& state) {
    app::ResetProcessState();
    skype::ProcessSkypeMessage("CALL 7 STATUS RINGING");
    skype::ProcessSkypeMessage("CALL 7 PARTNER_DISPNAME Alice Liddell");
    skype::ProcessSkypeMessage("CALL 7 TYPE INCOMING_P2P");
    g_ModeState.m_CurrMode = static_cast<int>(state.range(0));
    for (auto _ : state) RefreshModeDisplay();
    app::ResetProcessState();
}
BENCHMARK(BM_OneSecondRedraw)->Arg(MODE_MAIN)->Arg(MODE_RINGING)->Arg(MODE_TALKING)->Unit(benchmark::kMicrosecond);

}  // namespace
