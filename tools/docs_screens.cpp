// Writes pictures of handset screens for the documentation: the idle
// screen of a running companion (simulated world, display handset, Skype
// attached), a list screen drawn with the history menu's rows, and the idle
// and talking screens in Polish and in Chinese (Simplified), and one picture
// of every screen the display handset's keys lead to.
//   corvane-docs-screens <output folder>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "main/sim/png_writer.h"
#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"
#include "modes/screen_list.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"

namespace {

constexpr int kScale = 4;

// A language of the screens, with names written in it: the signed-in user's
// (on the idle screen) and the caller's (on the talking screen).
struct ScreenLanguage {
    const char* tag;  // in the picture's file name
    const char* languageSetting;
    const char* userName;
    const char* callerHandle;
    const char* callerName;
};

constexpr ScreenLanguage kLanguages[] = {
    {"pl", "3", "\u015awi\u0119tos\u0142aw", "lucja", "\u0141ucja \u0179dzieb\u0142o"},
    {"zh", "1", "\u738b\u5c0f\u660e", "lina", "\u674e\u5a1c"},
};

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

// The screens of one language: idle, then talking a minute into a call
// that came in and was answered by lifting the handset.
bool SaveCallScreens(const std::filesystem::path& folder, const ScreenLanguage& language) {
    sim::SimWorld world(sim::SimWorld::Options{});
    world.WriteSetting("VAL_ENABLE_LCM", "1");
    world.WriteSetting("VAL_LANGUAGE", language.languageSetting);
    world::SkypePeer& skype = world.Skype();
    world::SkypePeer::Profile profile;
    profile.fullName = language.userName;
    skype.SetProfile(profile);
    skype.Start();
    world.StartWithReadyHandset();
    world.Advance(1900);
    const std::string tag = language.tag;
    bool ok = Save(folder / ("idle-screen-" + tag + ".png"));
    world.Deliver([&] {
        skype.SetContact(language.callerHandle, "ONLINE", language.callerName);
        skype.CallIn("7", language.callerHandle, language.callerName);
    });
    world.Advance(3000);
    const int hookUp = sim::DefaultCodeForKey("KEY_HOOKUP");
    world::VirtualHandset& handset = world.Handset();
    world.Deliver([&] { handset.Press(static_cast<uint8_t>(hookUp)); });
    world.Advance(100);
    world.Deliver([&] { handset.Release(); });
    world.Advance(65000);
    std::string problem;
    ok = world.FinishDeliveries(problem) && ok;
    ok = Save(folder / ("talking-screen-" + tag + ".png")) && ok;
    world.Stop();
    if (!problem.empty()) std::fprintf(stderr, "%s\n", problem.c_str());
    return ok;
}

bool SaveEnglishScreens(const std::filesystem::path& folder) {
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
    return ok;
}

// Presses a key of the default key map and lets its mode handle it.
void Key(sim::SimWorld& world, const char* name, uint64_t afterMs = 400) {
    const auto code = static_cast<uint8_t>(sim::DefaultCodeForKey(name));
    world::VirtualHandset& handset = world.Handset();
    world.Deliver([&handset, code] { handset.Press(code); });
    world.Advance(100);
    world.Deliver([&handset] { handset.Release(); });
    world.Advance(afterMs);
}

void Keys(sim::SimWorld& world, std::initializer_list<const char*> names) {
    for (const char* name : names) Key(world, name);
}

// Skype's side of the pictures: contacts, a call history, a voicemail, a
// balance.
void FillSkype(sim::SimWorld& world) {
    world::SkypePeer& skype = world.Skype();
    const int64_t now = world::SkypePeer::Now();
    world.Deliver([&skype, now] {
        skype.SetContact("alice", "ONLINE", "Alice Liddell");
        skype.SetContact("bob", "AWAY", "Bob Dylan");
        skype.SetContact("carol", "DND", "Carol King");
        skype.SetContact("dave", "OFFLINE", "Dave Brubeck");
        skype.AddHistory({"11", "INCOMING_P2P", "FINISHED", "alice", now - 3600, 754});
        skype.AddHistory({"12", "INCOMING_PSTN", "FINISHED", "+48221234567", now - 86400, 62});
        skype.AddHistory({"13", "INCOMING_P2P", "FINISHED", "carol", now - 90000, 5});
        skype.AddHistory({"14", "OUTGOING_P2P", "FINISHED", "bob", now - 7200, 3725});
        skype.AddHistory({"15", "INCOMING_P2P", "MISSED", "dave", now - 600, 0});
        skype.AddVoicemail("41", "bob", 60);
        skype.SetBalance("1234", "EUR");
    });
    world.Advance(1000);
}

// One picture of every screen the display handset's keys lead to.
bool SaveModeScreens(const std::filesystem::path& folder) {
    sim::SimWorld world(sim::SimWorld::Options{});
    world.WriteSetting("VAL_ENABLE_LCM", "1");
    world.Skype().Start();
    world.StartWithReadyHandset();
    world.Advance(1900);
    FillSkype(world);
    bool ok = true;
    auto save = [&](const char* name) { ok = Save(folder / name) && ok; };
    Key(world, "KEY_LEFT_FUNC");
    save("settings-menu.png");
    Keys(world, {"KEY_LEFT_FUNC", "KEY_UP"});
    save("volume-screen.png");
    Keys(world, {"KEY_DOWN", "KEY_RIGHT_FUNC", "KEY_DOWN", "KEY_LEFT_FUNC", "KEY_LEFT_FUNC", "KEY_DOWN"});
    save("conference-screen.png");
    Keys(world, {"KEY_RIGHT_FUNC", "KEY_DOWN", "KEY_DOWN", "KEY_LEFT_FUNC"});
    save("balance-screen.png");
    Keys(world, {"KEY_HOOKDOWN", "KEY_RIGHT_FUNC"});
    save("history-menu.png");
    Key(world, "KEY_LEFT_FUNC");
    save("history-received.png");
    Key(world, "KEY_LEFT_FUNC", 1000);
    save("history-detail.png");
    Keys(world, {"KEY_RIGHT_FUNC", "KEY_RIGHT_FUNC", "KEY_DOWN", "KEY_LEFT_FUNC"});
    save("history-dialled.png");
    Keys(world, {"KEY_RIGHT_FUNC", "KEY_DOWN", "KEY_DOWN", "KEY_LEFT_FUNC"});
    save("history-missed.png");
    Keys(world, {"KEY_RIGHT_FUNC", "KEY_UP", "KEY_LEFT_FUNC"});
    save("history-voicemails.png");
    Keys(world, {"KEY_LEFT_FUNC", "KEY_LEFT_FUNC"});
    save("voicemail-player.png");
    Keys(world, {"KEY_LEFT_FUNC", "KEY_RIGHT_FUNC", "KEY_HOOKDOWN", "KEY_DOWN", "KEY_DOWN"});
    save("contact-list.png");
    Key(world, "KEY_LEFT_FUNC");
    save("contact-detail.png");
    Key(world, "KEY_HOOKDOWN");
    for (const char* digit : {"KEY_0", "KEY_0", "KEY_4", "KEY_8", "KEY_2", "KEY_2", "KEY_1", "KEY_2", "KEY_3",
                              "KEY_4", "KEY_5", "KEY_6", "KEY_7", "KEY_8", "KEY_9", "KEY_0", "KEY_1"}) {
        Key(world, digit, 0);
    }
    world.Advance(400);
    save("number-dial.png");
    world::SkypePeer& skype = world.Skype();
    world.Deliver([&skype] { skype.SetDialFails(true); });
    Key(world, "KEY_HOOKUP", 4000);
    save("dial-failed.png");
    Key(world, "KEY_RIGHT_FUNC");
    std::string problem;
    ok = world.FinishDeliveries(problem) && ok;
    world.Stop();
    if (!problem.empty()) std::fprintf(stderr, "%s\n", problem.c_str());
    return ok;
}

// The connection screen of a started handset while Skype is missing.
bool SaveUnconnectedScreen(const std::filesystem::path& folder) {
    sim::SimWorld world(sim::SimWorld::Options{});
    world.WriteSetting("VAL_ENABLE_LCM", "1");
    world.StartWithReadyHandset();
    world.Advance(1900);
    const bool ok = Save(folder / "unconnected-screen.png");
    world.Stop();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvane-docs-screens <output folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok = SaveEnglishScreens(folder);
    ok = SaveModeScreens(folder) && ok;
    ok = SaveUnconnectedScreen(folder) && ok;
    for (const ScreenLanguage& language : kLanguages) ok = SaveCallScreens(folder, language) && ok;
    return ok ? 0 : 1;
}
