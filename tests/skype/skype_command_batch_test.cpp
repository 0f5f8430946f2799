// The follow-up queries a ringing call starts go out as one batch, on a
// thread of its own, or on the parser's thread when batches run inline (the
// fuzz targets run single-threaded so). Inline, every query is sent, in
// order, before the parser returns, also after the program state has been
// reset.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/corvane_app.h"
#include "platform/backends.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"
#include "skype/skype_parser.h"
#include "support/instant_clock.h"

namespace {

class SkypeCommandBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        backends_.emplace(platform::Backends{.clock = &clock_});
        app::ResetProcessState();
    }
    void TearDown() override {
        app::ResetProcessState();
        backends_.reset();
    }

    // The commands logged as sent so far, in order.
    std::vector<std::string> SentCommands() const {
        static const std::string kSent = "SendMessageToSkype:  ";
        std::vector<std::string> out;
        for (const std::string& text : log_.Texts()) {
            if (text.rfind(kSent, 0) != 0) continue;
            const size_t end = text.find_last_not_of('\n');
            out.push_back(text.substr(kSent.size(), end + 1 - kSent.size()));
        }
        return out;
    }

    testsupport::InstantClock clock_;
    std::optional<platform::ScopedBackends> backends_;
    platform::LogCapture log_;
};

TEST_F(SkypeCommandBatchTest, InlineBatchIsSentWholeAndInOrderBeforeTheParserReturns) {
    skype::g_SkypeMonitor.SetInlineBatches(true);
    skype::ProcessSkypeMessage("CALL 7 STATUS RINGING");
    const std::vector<std::string> queries = {
        "GET CALL 7 TIMESTAMP", "GET CALL 7 PARTNER_HANDLE", "GET CALL 7 PARTNER_DISPNAME",
        "GET CALL 7 CONF_ID",   "GET CALL 7 TYPE",           "GET CALL 7 STATUS",
        "SET WINDOWSTATE NORMAL"};
    std::vector<std::string> sent = SentCommands();
    // Before them, the ringing call has set Skype's audio devices.
    ASSERT_GE(sent.size(), queries.size());
    sent.erase(sent.begin(), sent.end() - static_cast<std::ptrdiff_t>(queries.size()));
    EXPECT_EQ(sent, queries);
    EXPECT_EQ(clock_.ThreadsStarted(), 0);
}

TEST_F(SkypeCommandBatchTest, ResetGivesBatchesTheirOwnThreadAgain) {
    skype::g_SkypeMonitor.SetInlineBatches(true);
    app::ResetProcessState();
    skype::ProcessSkypeMessage("USERS alice");
    skype::g_SkypeMonitor.StopSkypeLink();
    EXPECT_EQ(clock_.ThreadsStarted(), 1);
}

}  // namespace
