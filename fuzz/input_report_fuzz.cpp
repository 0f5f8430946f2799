// Feeds arbitrary input reports to the handset read path: a handset whose
// key interface declares an arbitrary report length delivers reports of any
// length, which the read thread's per-report step reads and hands on.
//
// Input: two bytes, the declared input report length (little-endian); then
// reports, each a length byte and that many bytes. The length 255 takes the
// rest of the input as one report, so a report can outgrow every buffer;
// the length 254 pulls the handset out, so the reads after it fail.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "support/fuzz_program.h"
#include "app/corvane_dlg.h"
#include "app/key_pipeline.h"
#include "handset/handset_device.h"
#include "world/virtual_handset.h"
#include "platform/sim/virtual_hid_bus.h"

namespace {

constexpr uint8_t kRestOfInput = 255;
constexpr uint8_t kPullHandset = 254;
// What the read thread pauses around each read.
constexpr uint32_t kReadTurnMs = 50;

// The bus of the current input. It outlives the input, because the next
// input's reset closes the handles opened on it.
std::unique_ptr<platform::sim::VirtualHidBus> g_bus;

class InputReader {
public:
    InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return at_ >= size_; }
    uint8_t Byte() { return AtEnd() ? 0 : data_[at_++]; }
    std::vector<uint8_t> Bytes(size_t count) {
        const size_t n = count < size_ - at_ ? count : size_ - at_;
        std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
        at_ += n;
        return out;
    }
    size_t Left() const { return size_ - at_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The previous input's bus stays installed until its handles are reset.
    auto bus = std::make_unique<platform::sim::VirtualHidBus>();
    fuzzing::BeginInput(bus.get());
    g_bus = std::move(bus);
    InputReader input(data, size);
    const uint8_t low = input.Byte();
    const auto declaredLength = static_cast<uint16_t>(low | (input.Byte() << 8));
    world::VirtualHandset handset;
    handset.SetReportLengths(declaredLength, 33);
    handset.Plug(*g_bus);
    handset::WriteDeviceFirst();
    handset::ReadDeviceFirst();
    app::CCorvaneDlg dlg;
    dlg.m_hWnd = fuzzing::Desktop().CreateWindow(app::kMainWindowClass, app::kMainWindowTitle, nullptr);
    while (!input.AtEnd()) {
        const uint8_t length = input.Byte();
        if (length == kPullHandset) {
            handset.Unplug();
        } else {
            handset.InjectInput(input.Bytes(length == kRestOfInput ? input.Left() : length));
        }
        app::ReadAndHandleReport(dlg);
        platform::Sleep(kReadTurnMs);
    }
    return 0;
}
