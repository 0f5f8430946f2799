#pragma once
// The system's icon for the port's icon reference: one of this program's
// icon resources, or one of the system's standard icons. Shared icons: never
// destroyed by their users.
//
// Include after platform/win32/windows_api.h.

#include "platform/shell.h"

namespace platform::win32 {

inline HICON LoadPortIcon(const IconRef& icon) {
    switch (icon.kind) {
        case IconRef::Kind::Resource:
            return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon.id));
        case IconRef::Kind::Standard:
            return LoadIconW(nullptr, MAKEINTRESOURCEW(icon.id));
        case IconRef::Kind::None:
            break;
    }
    return nullptr;
}

}  // namespace platform::win32
