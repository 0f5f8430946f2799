#pragma once
// The virtual handset: its key interface and command interface on a virtual
// HID bus, input reports injected by tests, and every output report recorded
// and decoded into commands and screen lines.

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/sim/virtual_hid_bus.h"

namespace world {

// The actors speak to the program through the platform's simulated backends.
using platform::sim::VirtualHidBus;

struct HandsetCommand {
    uint8_t code = 0;
    std::string name;  // "CMD_INIT", or "0x7" for a code without a name
    uint8_t wp1 = 0, wp2 = 0, wp3 = 0;
};

struct HandsetScreenLine {
    int line = 0;  // 0 ... 3
    std::array<uint8_t, 128> upper{};
    std::array<uint8_t, 128> lower{};
};

struct HandsetUnrecognised {
    std::vector<uint8_t> bytes;
};

using HandsetEvent = std::variant<HandsetCommand, HandsetScreenLine, HandsetUnrecognised>;

struct RecordedReport {
    uint64_t tick = 0;
    std::vector<uint8_t> bytes;
};

// The command's name, or its code as "0x" hex.
std::string CommandName(uint8_t code);

class VirtualHandset {
public:
    static constexpr uint16_t kVendorId = 0x04D9;
    static constexpr uint16_t kProductId = 0x2832;

    // Handsets on one bus need different instance numbers (their paths differ).
    explicit VirtualHandset(int instance = 0);
    ~VirtualHandset();

    // Report lengths the interfaces declare (set before plugging).
    void SetReportLengths(uint16_t input, uint16_t output);

    void Plug(VirtualHidBus& bus);
    void Unplug();
    bool IsPlugged() const;

    // Any bytes, any length; false when not plugged.
    bool InjectInput(std::vector<uint8_t> report);
    // Report id 3 with the code, padded to the input report length.
    bool Press(uint8_t code);
    bool Release() { return Press(0); }

    // Called for every decoded event, in order, on the writing thread, with no
    // lock of the handset or the bus held: it may read the records, inject
    // input or write again. Returns only once no delivery to the old listener
    // runs on another thread.
    void SetEventListener(std::function<void(const HandsetEvent&)> listener);
    std::vector<RecordedReport> Reports() const;
    std::vector<HandsetEvent> Events() const;
    std::vector<HandsetCommand> Commands() const;
    void ClearRecords();

    std::wstring KeyInterfacePath() const;
    std::wstring CommandInterfacePath() const;

private:
    void OnOutput(const uint8_t* data, size_t length);
    // Decoding, with mutex_ held: at most one event per report.
    std::optional<HandsetEvent> Decode(const std::vector<uint8_t>& bytes);
    std::optional<HandsetEvent> StartPage(const std::vector<uint8_t>& header);
    std::optional<HandsetEvent> TakeDataReport(const std::vector<uint8_t>& bytes);
    std::optional<HandsetEvent> FinishPage();

    // Held from decoding a report to the end of its delivery, so that the
    // listener sees events in report order; re-entrant for a listener that
    // writes again.
    std::recursive_mutex deliveryMutex_;
    mutable std::mutex mutex_;  // the records, the decoder and the plug state
    int instance_;
    uint16_t inputLength_ = 9;
    uint16_t outputLength_ = 33;
    VirtualHidBus* bus_ = nullptr;
    VirtualHidBus::InterfaceId keyInterface_ = 0;
    VirtualHidBus::InterfaceId commandInterface_ = 0;
    std::function<void(const HandsetEvent&)> listener_;
    std::vector<RecordedReport> reports_;
    std::vector<HandsetEvent> events_;

    // Screen decoding: the page being received and how many data reports of
    // it have come; the upper page of the line waiting for its lower one.
    int page_ = -1;
    int dataReports_ = 0;
    std::array<uint8_t, 128> pageData_{};
    int pendingLine_ = -1;
    std::array<uint8_t, 128> pendingUpper_{};
};

}  // namespace world
