#pragma once
// Command and screen reports for the handset's command interface.

#include <cstddef>
#include <cstdint>

#include "handset/handset_device.h"

namespace handset {

constexpr uint8_t CMD_STATUS_TALK = 2;
constexpr uint8_t CMD_STATUS_IDLE = 3;
constexpr uint8_t CMD_DEVICE_START = 4;
constexpr uint8_t CMD_RING = 5;
constexpr uint8_t CMD_RING_STOP = 6;
constexpr uint8_t CMD_STATUS_ALERT = 9;
constexpr uint8_t CMD_LIGHT_ON = 12;
constexpr uint8_t CMD_LIGHT_OFF = 13;
constexpr uint8_t CMD_INIT = 15;
constexpr uint8_t CMD_CONTRAST = 16;

constexpr size_t kCommandReportLength = 33;  // report id and 32 bytes
constexpr size_t kScreenPageColumns = 128;
constexpr int kScreenLines = 4;

// Builds the 33-byte command report.
void BuildCommandReport(uint8_t cmd, uint8_t wp1, uint8_t wp2, uint8_t wp3, uint8_t out[kCommandReportLength]);
// Builds the header report of screen page `page` (0 ... 7).
void BuildScreenHeaderReport(int page, uint8_t out[kCommandReportLength]);

// Sends one command to the handset (all callers pass g_WriteDevice).
void NewWriteCmd(CHandsetDevice& device, uint8_t cmd, uint8_t wp1, uint8_t wp2, uint8_t wp3);
inline void NewWriteCmd(uint8_t cmd, uint8_t wp1 = 0, uint8_t wp2 = 0, uint8_t wp3 = 0) {
    NewWriteCmd(g_WriteDevice, cmd, wp1, wp2, wp3);
}

// Sends text line `line` (0 ... 3): its upper and lower page of 128 columns.
void NewWriteDevice(int line, const uint8_t upper[kScreenPageColumns], const uint8_t lower[kScreenPageColumns]);

}  // namespace handset
