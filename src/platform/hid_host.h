#pragma once
// HID host port: the operations the handset link needs from the platform's
// HID and device-setup layers. Handles are small typed values.
//
// Contract every backend keeps:
// - Device paths. The core recognises the handset's interfaces by the
//   texts "vid_04d9" and "pid_2832" inside a path, compared without regard
//   to case (device-change records carry the same paths). A backend whose
//   own paths do not contain them (hidraw nodes, for one) composes a path
//   that does, e.g. "\\?\hid#vid_04d9&pid_2832&mi_00#<its own node>", and
//   maps it back in Open.
// - Report lengths. The core reads and writes whole reports of the lengths
//   that GetCaps reports (inputReportByteLength and outputReportByteLength,
//   the report id byte included) and nothing else decides them.
// - Blocking reads end when their handle closes. Close on any thread makes a
//   Read blocked on that handle return false (kErrorOperationAborted or
//   kErrorInvalidHandle) promptly; the read thread relies on it to stop.
//   On Windows that means overlapped reads cancelled on close; with hidraw, a
//   poll on the device and on a wake-up descriptor that Close signals.
// - Device changes. After RegisterDeviceNotification(window), the window
//   gets WM_DEVICECHANGE with wParam DBT_DEVICEARRIVAL or
//   DBT_DEVICEREMOVECOMPLETE and lParam pointing at a
//   DevBroadcastDeviceInterface (platform/device_change.h) for each HID
//   interface, sent (not posted) on the window's thread, the record valid
//   only during the call.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/system_names_guard.h"
#include "platform/window_handle.h"

namespace platform {

struct HidHandle {
    int32_t value = -1;
    bool IsValid() const { return value >= 0; }
    friend bool operator==(HidHandle a, HidHandle b) { return a.value == b.value; }
};
constexpr HidHandle kInvalidHidHandle{};

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

// The top-level collection's capabilities (the fields the system looks at).
struct HidCaps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
};

enum class HidPathResult {
    Ok,        // the interface exists and its path was read
    NoMore,    // there is no interface with that index
    Failed,    // the interface exists but its detail could not be read
};

enum class HidCapsResult {
    Ok,
    NoPreparsedData,  // the preparsed data could not be obtained
    CapsFailed,       // the capabilities call did not succeed
};

enum class HidAccess {
    Query,      // no access rights: attributes and capabilities only
    ReadWrite,  // read and write, synchronous
};

// System error codes used with HID handles.
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorGenFailure = 31;
constexpr uint32_t kErrorDeviceNotConnected = 1167;
constexpr uint32_t kErrorOperationAborted = 995;

class HidHost {
public:
    virtual ~HidHost() = default;

    // Builds the list of present HID interfaces anew and reads the device
    // path of interface `index` (0-based, enumeration order).
    virtual HidPathResult InterfacePath(size_t index, std::wstring& path) = 0;

    // Opens a device path. Returns an invalid handle on failure and sets error.
    virtual HidHandle Open(const std::wstring& path, HidAccess access, uint32_t& error) = 0;

    virtual bool GetAttributes(HidHandle handle, HidAttributes& attributes) = 0;
    virtual HidCapsResult GetCaps(HidHandle handle, HidCaps& caps) = 0;

    // Blocks until one input report arrives or the read fails. Reads at most
    // `length` bytes into buffer; bytesRead tells how many were delivered.
    virtual bool Read(HidHandle handle, uint8_t* buffer, size_t length, size_t& bytesRead,
                      uint32_t& error) = 0;

    // Writes one output report of `length` bytes.
    virtual bool Write(HidHandle handle, const uint8_t* buffer, size_t length, uint32_t& error) = 0;

    // Closes the handle; a read blocked on it fails.
    virtual void Close(HidHandle handle) = 0;

    // From now on `window` receives WM_DEVICECHANGE for every HID interface
    // that arrives or is removed. Never undone.
    virtual bool RegisterDeviceNotification(WindowHandle window) = 0;
};

// The process-wide HID host (platform/backends.h installs it).
HidHost& CurrentHidHost();

}  // namespace platform
