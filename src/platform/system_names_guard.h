// No include guard: every port header whose names the system's headers also
// define as macros includes this, so each of them checks for itself.
//
// The ports use the documented names (WM_CLOSE, NIF_TIP, DBT_DEVICEARRIVAL,
// SendMessage, GetPrivateProfileString, ...). Where the system's headers are
// seen first, those names are macros: constants would become numbers and
// methods would quietly become their ...W forms in one file only. A Win32
// backend therefore takes the system's headers through
// platform/win32/windows_api.h alone, which removes the clashing macros
// after checking that our values equal the system's.
#if defined(_WIN32) && !defined(CORVANE_WINDOWS_API_TAKEN) && \
    (defined(WM_USER) || defined(SendMessage) || defined(NIF_TIP) || defined(DBT_DEVICEARRIVAL) || \
     defined(GetPrivateProfileString) || defined(MessageBox) || defined(IDOK))
#error "take the system's headers through platform/win32/windows_api.h, not directly"
#endif
