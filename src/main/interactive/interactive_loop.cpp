#include "main/interactive/interactive_loop.h"

#include <chrono>
#include <ostream>

#include "main/interactive/controller.h"
#include "main/interactive/session.h"
#include "main/interactive/terminal.h"

namespace interactive {

namespace {

// How often the pane is drawn again while no key comes: often enough for
// the one-second timer and the light to look live.
constexpr int kFrameMs = 50;

// Real time in whole milliseconds; the part of a millisecond not yet given
// to the world stays for the next step.
class RealTimeFollower {
public:
    uint64_t TakeElapsedMs() {
        const auto now = std::chrono::steady_clock::now();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - last_);
        last_ += ms;
        return static_cast<uint64_t>(ms.count());
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

int RunFirstLines(Session& session, const std::vector<std::string>& lines, std::ostream& errors) {
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string error;
        if (!session.Run(lines[i], error)) {
            errors << "corvane-sim: line " << i + 1 << " (" << lines[i] << "): " << error << '\n';
            return session.Stuck() ? 3 : 2;
        }
    }
    return 0;
}

}  // namespace

int RunInteractive(sim::SimWorld& world, const std::vector<std::string>& firstLines, std::ostream& errors) {
    Session session(world);
    if (const int status = RunFirstLines(session, firstLines, errors); status != 0) return status;
    {
        Terminal terminal;
        Controller controller(world, session);
        RealTimeFollower realTime;
        for (bool going = true; going;) {
            controller.CatchUp();
            terminal.Draw(controller.Pane(terminal.Width(), terminal.Height()));
            const auto key = terminal.ReadKey(kFrameMs);
            session.Elapse(realTime.TakeElapsedMs());
            if (key) going = controller.OnKey(*key);
            if (session.Stuck()) controller.Say("the simulated world can make no progress; :quit ends");
        }
    }
    return session.Finish();
}

}  // namespace interactive
