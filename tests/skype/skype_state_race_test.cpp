// Notifications parsed on one real thread while another reads the Skype
// state and dispatches keys, on real threads, so ThreadSanitizer sees true
// concurrency (the simulated world runs one thread at a time). The clock
// lets the handlers' pauses pass at once.

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "platform/backends.h"
#include "app/corvane_app.h"
#include "modes/mode_machine.h"
#include "platform/sync.h"
#include "skype/skype_monitor.h"
#include "skype/skype_parser.h"
#include "support/instant_clock.h"

namespace {

TEST(SkypeStateRace, ParserAndKeyHandlersShareTheStateSafely) {
    testsupport::InstantClock clock;
    platform::ScopedBackends backends({.clock = &clock});
    app::ResetProcessState();
    modes::SwitchMode(modes::MODE_MAIN);
    std::atomic<bool> done{false};
    platform::Thread parser;
    parser.Start("parser", [&] {
        for (int i = 0; i < 300; ++i) {
            const std::string id = std::to_string(i % 5);
            skype::ProcessSkypeMessage("CALL " + id + " STATUS RINGING");
            skype::ProcessSkypeMessage("CALL " + id + " PARTNER_DISPNAME Caller " + id);
            skype::ProcessSkypeMessage("USER u" + id + " ONLINESTATUS " + (i % 2 ? "ONLINE" : "OFFLINE"));
            skype::ProcessSkypeMessage("CONTACTS FOCUSED u" + id);
            skype::ProcessSkypeMessage("CALL " + id + " STATUS INPROGRESS");
            skype::ProcessSkypeMessage("MUTE " + std::string(i % 2 ? "ON" : "OFF"));
            skype::ProcessSkypeMessage("CALL " + id + " STATUS FINISHED");
        }
        done = true;
    });
    size_t reads = 0;
    while (!done) {
        modes::DispatchModeKey(static_cast<unsigned>(reads % 25));
        auto& link = skype::g_SkypeMonitor;
        reads += link.FocusedContact().size() + link.m_Contacts.Snapshot().size() + link.m_CallList.Snapshot().size();
        if (auto last = link.m_CurrCallList.GetLastCall()) reads += last->m_nTimestamp >= 0 ? 1 : 0;
        reads += static_cast<size_t>(link.m_bMute.load());
        ++reads;
    }
    parser.Join();
    skype::g_SkypeMonitor.StopSkypeLink();  // joins the batch threads the parser started
    EXPECT_EQ(skype::g_SkypeMonitor.m_CurrCallList.Count(), 0u) << "every call ended";
    EXPECT_EQ(skype::g_SkypeMonitor.m_Contacts.Count(), 5u);
    EXPECT_GT(reads, 0u);
    app::ResetProcessState();
}

}  // namespace
