#include "world/virtual_handset.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "platform/clock.h"

namespace world {

using namespace platform;
using namespace platform::sim;

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

// 00 08 20 00 40 F1 F2 F3 code 00 wp1 wp2 wp3.
bool IsCommandReport(const std::vector<uint8_t>& b) {
    return b.size() >= 13 && HasHeader(b, kCommandReport) && b[3] == 0 && b[9] == 0;
}

// 00 08 A0 B8+page 40 F1 F2 F3 01, page 0 ... 7.
bool IsScreenHeader(const std::vector<uint8_t>& b) {
    return HasHeader(b, kScreenReport) && b[3] >= kFirstPage && b[3] < kFirstPage + 8 && b[8] == 1;
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
    HidInterfaceDescription key;
    key.path = KeyInterfacePath();
    key.vendorId = kVendorId;
    key.productId = kProductId;
    key.usagePage = kUsagePage;
    key.usage = kKeyUsage;
    HidInterfaceDescription command = key;
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
    std::lock_guard<std::recursive_mutex> delivery(deliveryMutex_);
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

void VirtualHandset::OnOutput(const uint8_t* data, size_t length) {
    std::lock_guard<std::recursive_mutex> delivery(deliveryMutex_);
    std::optional<HandsetEvent> event;
    std::function<void(const HandsetEvent&)> listener;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<uint8_t> bytes(data, data + length);
        reports_.push_back(RecordedReport{CurrentClock().GetTickCount64(), bytes});
        event = Decode(bytes);
        if (!event) return;
        events_.push_back(*event);
        listener = listener_;
    }
    if (listener) listener(*event);
}

// While a page is being received every report is taken as its next data
// report, whatever it looks like: column bytes may spell a header. Nothing is
// logged: the debug log belongs to the program under test, and the events
// are the handset's record.
std::optional<HandsetEvent> VirtualHandset::Decode(const std::vector<uint8_t>& bytes) {
    if (page_ >= 0) return TakeDataReport(bytes);
    if (IsCommandReport(bytes)) return HandsetCommand{bytes[8], CommandName(bytes[8]), bytes[10], bytes[11], bytes[12]};
    if (IsScreenHeader(bytes)) return StartPage(bytes);
    pendingLine_ = -1;
    return HandsetUnrecognised{bytes};
}

// A header that does not continue the line in progress (an upper page whose
// lower page never came, or a lower page without its upper one) is reported
// as unrecognised; its page is still received so that the next whole line
// decodes.
std::optional<HandsetEvent> VirtualHandset::StartPage(const std::vector<uint8_t>& header) {
    page_ = header[3] - kFirstPage;
    dataReports_ = 0;
    const bool continues = page_ % 2 == 0 ? pendingLine_ < 0 : pendingLine_ == page_ / 2;
    if (continues) return std::nullopt;
    pendingLine_ = -1;
    return HandsetUnrecognised{header};
}

std::optional<HandsetEvent> VirtualHandset::TakeDataReport(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 1 + kDataBytes || bytes[0] != 0) {
        page_ = -1;
        pendingLine_ = -1;
        return HandsetUnrecognised{bytes};
    }
    std::memcpy(pageData_.data() + kDataBytes * static_cast<size_t>(dataReports_), &bytes[1], kDataBytes);
    if (++dataReports_ < 4) return std::nullopt;
    return FinishPage();
}

std::optional<HandsetEvent> VirtualHandset::FinishPage() {
    const int page = page_;
    page_ = -1;
    if (page % 2 == 0) {
        pendingLine_ = page / 2;
        pendingUpper_ = pageData_;
        return std::nullopt;
    }
    // A lower page without its upper one was reported at its header.
    if (pendingLine_ != page / 2) return std::nullopt;
    HandsetScreenLine line;
    line.line = pendingLine_;
    line.upper = pendingUpper_;
    line.lower = pageData_;
    pendingLine_ = -1;
    return line;
}

}  // namespace world
