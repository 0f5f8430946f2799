#include "main/sim/sheet_commands.h"

#include <climits>

#include "main/sim/script.h"

namespace sim {

namespace {

constexpr char kUsage[] =
    "usage: sheet tab <page index> | slide <control id> <position> | choose <control id> <index> | "
    "check <control id> on|off | click <control id> | ok | apply | cancel";

bool Int(const std::string& word, int& value) {
    long long v = 0;
    if (!ParseNumber(word, v) || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

// The commands without arguments.
bool Button(SimWorld& world, const std::string& what) {
    auto& sheet = world.Sheet();
    if (what == "ok") {
        world.Deliver([&sheet] { sheet.UserPressOk(); });
    } else if (what == "apply") {
        world.Deliver([&sheet] { sheet.UserPressApply(); });
    } else if (what == "cancel") {
        world.Deliver([&sheet] { sheet.UserPressCancel(); });
    } else {
        return false;
    }
    return true;
}

// The commands on one control or tab, with one or two numbers.
bool OnControl(SimWorld& world, const std::vector<std::string>& w) {
    auto& sheet = world.Sheet();
    const std::string& what = w[1];
    int a = 0;
    int b = 0;
    if (w.size() < 3 || !Int(w[2], a)) return false;
    if (what == "tab" && w.size() == 3) {
        world.Deliver([&sheet, a] { sheet.UserSelectTab(a); });
    } else if (what == "click" && w.size() == 3) {
        world.Deliver([&sheet, a] { sheet.UserClick(a); });
    } else if (what == "check" && w.size() == 4 && (w[3] == "on" || w[3] == "off")) {
        const bool on = w[3] == "on";
        world.Deliver([&sheet, a, on] { sheet.UserCheck(a, on); });
    } else if (w.size() == 4 && Int(w[3], b) && what == "slide") {
        world.Deliver([&sheet, a, b] { sheet.UserSlide(a, b); });
    } else if (w.size() == 4 && Int(w[3], b) && what == "choose") {
        world.Deliver([&sheet, a, b] { sheet.UserChoose(a, b); });
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool SheetCommand(SimWorld& world, const std::vector<std::string>& w, std::string& error) {
    const bool done = w.size() == 2 ? Button(world, w[1]) : w.size() > 2 && OnControl(world, w);
    if (!done) error = kUsage;
    return done;
}

}  // namespace sim
