// Writes pictures of two handset screens for the documentation: the idle
// screen of a running companion (simulated world, display handset, Skype
// attached) and a list screen drawn with the history menu's rows.
//   corvane-docs-screens <output folder>

#include <cstdio>
#include <filesystem>
#include <string>

#include "main/sim/png_writer.h"
#include "main/sim/sim_world.h"
#include "modes/screen_list.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"

namespace {

constexpr int kScale = 4;

bool Save(const std::filesystem::path& path) {
    const modes::ScreenImage image = modes::g_VirtualDisplay.Image();
    return sim::WriteMonoPng(path.string(), modes::kScreenWidth, modes::kScreenHeight,
                             [&](int x, int y) { return image[static_cast<size_t>(y)][static_cast<size_t>(x)]; },
                             kScale);
}

// The history menu's four entries, the second one selected.
void DrawHistoryMenu() {
    using namespace modes;
    CScreenList& list = g_ScreenList;
    list.Clear();
    const unsigned texts[] = {IDS_SCREEN_INCOMING_CALL, IDS_SCREEN_OUTGOING_CALL, IDS_SCREEN_MISSED_CALL,
                              IDS_SCREEN_VOICEMAIL};
    for (int i = 0; i < 4; ++i) list.AddRow(ScreenText(texts[i]), std::to_string(i));
    list.m_pfnDrawRow = DrawHistoryMenuRow;
    list.MoveDown();
    g_VirtualDisplay.ClearScreen();
    list.Draw();
    g_VirtualDisplay.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_SELECT), kAlignLeft);
    g_VirtualDisplay.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvane-docs-screens <output folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    sim::SimWorld world(sim::SimWorld::Options{});
    world.WriteSetting("VAL_ENABLE_LCM", "1");
    world.Skype().Start();
    world.StartWithReadyHandset();
    world.Advance(1900);
    bool ok = Save(folder / "idle-screen.png");
    // Every program thread is idle now: the list is drawn from here.
    DrawHistoryMenu();
    ok = Save(folder / "list-screen.png") && ok;
    world.Stop();
    return ok ? 0 : 1;
}
