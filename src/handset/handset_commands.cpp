#include "handset/handset_commands.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/log.h"

namespace handset {

using platform::LogW;

namespace {
constexpr uint8_t kReportPrefix[8] = {0x00, 0x08, 0x20, 0x00, 0x40, 0xF1, 0xF2, 0xF3};
constexpr uint8_t kScreenDataCode = 0xA0;
constexpr uint8_t kFirstPageCode = 0xB8;
constexpr size_t kColumnsPerDataReport = 32;

// Writes one report with the output length the interface declares: bytes
// beyond the built report go out as zero, and an interface too short for a
// whole report gets nothing.
bool WriteReport(CHandsetDevice& device, const uint8_t* report, size_t builtLength, uint32_t& error) {
    const size_t length = device.OutputCaps().outputReportByteLength;
    if (length < kCommandReportLength) {
        LogW(L"Write USB skipped: output report length %u is shorter than %u", static_cast<unsigned>(length),
             static_cast<unsigned>(kCommandReportLength));
        error = 0;
        return false;
    }
    std::vector<uint8_t> buffer(length, 0);
    std::memcpy(buffer.data(), report, std::min(builtLength, length));
    return platform::CurrentHidHost().Write(device.m_WriteHandle, buffer.data(), buffer.size(), error);
}

// True when the command repeats what the handset was last sent and may be
// dropped; otherwise remembers it.
bool SuppressRepeat(CHandsetDevice& device, uint8_t cmd, uint8_t wp1, uint8_t wp2, uint8_t wp3) {
    if (cmd == CMD_LIGHT_ON || cmd == CMD_LIGHT_OFF) {
        if (device.m_LastLight == cmd) return true;
        device.m_LastLight = cmd;
        return false;
    }
    if (cmd == CMD_CONTRAST) {
        if (device.m_LastContrast[0] == wp1 && device.m_LastContrast[1] == wp2 && device.m_LastContrast[2] == wp3) {
            return true;
        }
        device.m_LastContrast[0] = wp1;
        device.m_LastContrast[1] = wp2;
        device.m_LastContrast[2] = wp3;
    }
    return false;
}
}  // namespace

void BuildCommandReport(uint8_t cmd, uint8_t wp1, uint8_t wp2, uint8_t wp3, uint8_t out[kCommandReportLength]) {
    std::memset(out, 0, kCommandReportLength);
    std::memcpy(out, kReportPrefix, sizeof(kReportPrefix));
    out[8] = cmd;
    out[10] = wp1;
    out[11] = wp2;
    out[12] = wp3;
}

void BuildScreenHeaderReport(int page, uint8_t out[kCommandReportLength]) {
    std::memset(out, 0, kCommandReportLength);
    std::memcpy(out, kReportPrefix, sizeof(kReportPrefix));
    out[2] = kScreenDataCode;
    out[3] = static_cast<uint8_t>(kFirstPageCode + page);
    out[8] = 0x01;
}

void NewWriteCmd(CHandsetDevice& device, uint8_t cmd, uint8_t wp1, uint8_t wp2, uint8_t wp3) {
    if (!device.m_WriteHandle.load().IsValid()) {
        LogW(L"NewWriteCmd:Write USB failed: m_WriteHandle is not valid");
        return;
    }
    if (SuppressRepeat(device, cmd, wp1, wp2, wp3)) return;
    platform::Guard guard(g_WriteDevice.m_Lock);
    uint8_t report[kCommandReportLength];
    BuildCommandReport(cmd, wp1, wp2, wp3, report);
    LogW(L"*** NewWriteCmd: cmd=0x%x, wp1=%d,wp2=%d,wp3=%d,  Write USB start...", static_cast<unsigned>(cmd),
         static_cast<int>(wp1), static_cast<int>(wp2), static_cast<int>(wp3));
    uint32_t error = 0;
    const bool ok = WriteReport(device, report, sizeof(report), error);
    LogW(L"*** NewWriteCmd: Write USB end...");
    if (!ok) LogW(L"Write USB Failed 3,error=%ld", static_cast<long>(error));
}

namespace {
void WritePage(int page, const uint8_t columns[kScreenPageColumns]) {
    uint8_t report[kCommandReportLength];
    uint32_t error = 0;
    BuildScreenHeaderReport(page, report);
    if (!WriteReport(g_WriteDevice, report, sizeof(report), error)) {
        LogW(L"Write USB Failed 1,error=%ld", static_cast<long>(error));
    }
    for (size_t j = 0; j < kScreenPageColumns / kColumnsPerDataReport; ++j) {
        std::memset(report, 0, sizeof(report));
        std::memcpy(report + 1, columns + j * kColumnsPerDataReport, kColumnsPerDataReport);
        if (!WriteReport(g_WriteDevice, report, sizeof(report), error)) {
            LogW(L"Write USB Failed 2,error=%ld", static_cast<long>(error));
        }
    }
}
}  // namespace

void NewWriteDevice(int line, const uint8_t upper[kScreenPageColumns], const uint8_t lower[kScreenPageColumns]) {
    if (line < 0 || line >= kScreenLines) {
        LogW(L"NewWriteDevice: line %d out of range", line);
        return;
    }
    platform::Guard guard(g_WriteDevice.m_Lock);
    WritePage(2 * line, upper);
    WritePage(2 * line + 1, lower);
}

}  // namespace handset
