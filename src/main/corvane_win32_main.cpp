// corvane.exe: the companion on Windows. The build's default backends are
// the Windows ones (platform::DefaultBackends of the win32 family); this
// entry point adds the debugger-output log and runs the same application
// core as the simulated program does.
//
//   corvane.exe [--log-file PATH]   also appends every log line to PATH

#include <string>

#include "app/corvane_app.h"
#include "platform/backends.h"
#include "platform/win32/debug_output_log.h"
#include "platform/win32/windows_api.h"

namespace {

std::wstring LogFileFromCommandLine() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr) return {};
    std::wstring path;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) == L"--log-file") path = argv[i + 1];
    }
    ::LocalFree(argv);
    return path;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    platform::InstallBackends(platform::DefaultBackends());
    platform::win32::DebugOutputLog log(LogFileFromCommandLine());
    platform::AddLogSink(&log);
    app::theApp.InitInstance();
    platform::RemoveLogSink(&log);
    return 0;
}
