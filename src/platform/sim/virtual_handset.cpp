#include "platform/sim/virtual_handset.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "platform/clock.h"

namespace platform::sim {

namespace {
constexpr uint16_t kUsagePage = 0xFF00;
constexpr uint16_t kKeyUsage = 0xA5;
constexpr uint16_t kCommandUsage = 0x01;
constexpr uint8_t kPrefix[] = {0x00, 0x08};
constexpr uint8_t kTail[] = {0x40, 0xF1, 0xF2, 0xF3};
constexpr uint8_t kCommandReport = 0x20;
constexpr uint8_t kScreenReport = 0xA0;
constexpr uint8_t kFirstPage = 0xB8;
constexpr size_t kDataBytes = 32;

std::wstring MakePath(int instance, int mi) {
    wchar_t path[160];
    std::swprintf(path, 160, L"\\\\?\\HID#VID_04D9&PID_2832&MI_%02d#7&%08x&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                  mi, 0x1a2b3c00u + static_cast<unsigned>(instance));
    return path;
}

// Header of a command (0x20) or screen (0xA0) report: 00 08 kind xx 40 F1 F2 F3.
bool HasHeader(const std::vector<uint8_t>& b, uint8_t kind) {
    return b.size() >= 9 && b[0] == kPrefix[0] && b[1] == kPrefix[1] && b[2] == kind &&
           std::memcmp(&b[4], kTail, sizeof(kTail)) == 0;
}
}  // namespace

std::string CommandName(uint8_t code) {
    switch (code) {
        case 2: return "CMD_STATUS_TALK";
        case 3: return "CMD_STATUS_IDLE";
        case 4: return "CMD_DEVICE_START";
        case 5: return "CMD_RING";
        case 6: return "CMD_RING_STOP";
        case 9: return "CMD_STATUS_ALERT";
        case 12: return "CMD_LIGHT_ON";
        case 13: return "CMD_LIGHT_OFF";
        case 15: return "CMD_INIT";
        case 16: return "CMD_CONTRAST";
        default: {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "0x%x", code);
            return hex;
        }
    }
}

VirtualHandset::VirtualHandset(int instance) : instance_(instance) {}

VirtualHandset::~VirtualHandset() { Unplug(); }

void VirtualHandset::SetReportLengths(uint16_t input, uint16_t output) {
    std::lock_guard<std::mutex> lock(mutex_);
    inputLength_ = input;
    outputLength_ = output;
}

std::wstring VirtualHandset::KeyInterfacePath() const { return MakePath(instance_, 0); }
std::wstring VirtualHandset::CommandInterfacePath() const { return MakePath(instance_, 1); }

void VirtualHandset::Plug(VirtualHidBus& bus) {
    Unplug();
    HidInterfaceSpec key;
    key.path = KeyInterfacePath();
    key.vendorId = kVendorId;
    key.productId = kProductId;
    key.usagePage = kUsagePage;
    key.usage = kKeyUsage;
    HidInterfaceSpec command = key;
    command.path = CommandInterfacePath();
    command.usage = kCommandUsage;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        key.inputReportLength = inputLength_;
        command.outputReportLength = outputLength_;
        bus_ = &bus;
        page_ = -1;
        pendingLine_ = -1;
    }
    // The command interface comes up first, then the key interface, each
    // with its own arrival notification.
    const auto commandId =
        bus.AttachInterface(command, [this](const uint8_t* data, size_t length) { OnOutput(data, length); });
    const auto keyId = bus.AttachInterface(key);
    std::lock_guard<std::mutex> lock(mutex_);
    keyInterface_ = keyId;
    commandInterface_ = commandId;
}

void VirtualHandset::Unplug() {
    VirtualHidBus* bus;
    VirtualHidBus::InterfaceId key, command;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bus = bus_;
        key = keyInterface_;
        command = commandInterface_;
        bus_ = nullptr;
    }
    if (!bus) return;
    bus->DetachInterface(key);
    bus->DetachInterface(command);
}

bool VirtualHandset::IsPlugged() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bus_ != nullptr;
}

bool VirtualHandset::InjectInput(std::vector<uint8_t> report) {
    VirtualHidBus* bus;
    VirtualHidBus::InterfaceId key;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bus = bus_;
        key = keyInterface_;
    }
    return bus && bus->InjectInput(key, std::move(report));
}

bool VirtualHandset::Press(uint8_t code) {
    size_t length;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        length = std::max<size_t>(inputLength_, 2);
    }
    std::vector<uint8_t> report(length, 0);
    report[0] = 3;
    report[1] = code;
    return InjectInput(std::move(report));
}

void VirtualHandset::SetEventListener(std::function<void(const HandsetEvent&)> listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = std::move(listener);
}

std::vector<RecordedReport> VirtualHandset::Reports() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
}

std::vector<HandsetEvent> VirtualHandset::Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

std::vector<HandsetCommand> VirtualHandset::Commands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<HandsetCommand> out;
    for (const auto& e : events_) {
        if (const auto* c = std::get_if<HandsetCommand>(&e)) out.push_back(*c);
    }
    return out;
}

void VirtualHandset::ClearRecords() {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.clear();
    events_.clear();
}

void VirtualHandset::Emit(const HandsetEvent& event) {
    events_.push_back(event);
    if (listener_) listener_(events_.back());
}

void VirtualHandset::OnOutput(const uint8_t* data, size_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<uint8_t> bytes(data, data + length);
    reports_.push_back(RecordedReport{CurrentClock().GetTickCount64(), bytes});
    if (page_ < 0 && HasHeader(bytes, kCommandReport) && bytes.size() >= 13) {
        Emit(HandsetCommand{bytes[8], CommandName(bytes[8]), bytes[10], bytes[11], bytes[12]});
        return;
    }
    DecodeScreenReport(bytes);
}

void VirtualHandset::DecodeScreenReport(const std::vector<uint8_t>& bytes) {
    if (page_ < 0) {
        if (HasHeader(bytes, kScreenReport) && bytes[3] >= kFirstPage && bytes[3] < kFirstPage + 8 && bytes[8] == 1) {
            page_ = bytes[3] - kFirstPage;
            dataReports_ = 0;
            return;
        }
        pendingLine_ = -1;
        Emit(HandsetUnrecognised{bytes});
        return;
    }
    if (bytes.size() < 1 + kDataBytes || bytes[0] != 0) {
        page_ = -1;
        pendingLine_ = -1;
        Emit(HandsetUnrecognised{bytes});
        return;
    }
    std::memcpy(pageData_.data() + kDataBytes * static_cast<size_t>(dataReports_), &bytes[1], kDataBytes);
    if (++dataReports_ < 4) return;
    const int page = page_;
    page_ = -1;
    if (page % 2 == 0) {
        pendingLine_ = page / 2;
        pendingUpper_ = pageData_;
    } else if (pendingLine_ == page / 2) {
        HandsetScreenLine line;
        line.line = pendingLine_;
        line.upper = pendingUpper_;
        line.lower = pageData_;
        pendingLine_ = -1;
        Emit(line);
    } else {
        pendingLine_ = -1;
        Emit(HandsetUnrecognised{bytes});
    }
}

}  // namespace platform::sim
