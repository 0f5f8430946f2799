#pragma once
// What every fuzz target needs around the program: the fuzz clock, a folder
// of its own for the program's files, a fresh desktop for each input, and
// every process-wide object back to its start before each input, so that an
// input behaves the same whatever ran before it and nothing grows from one
// input to the next.

#include <filesystem>
#include <string>

#include "fuzz_clock.h"
#include "platform/hid_host.h"
#include "platform/portable/local_desktop.h"

namespace fuzzing {

// Before each input: the program state reset, an empty desktop installed and
// the clock at its first tick, with the input's HID host when it has one
// (nullptr: none). The first call makes the program folder (the executable's
// folder as the program sees it; it is removed when the process ends).
void BeginInput(platform::HidHost* hidHost = nullptr);

FuzzClock& Clock();
// The desktop of the current input (after BeginInput).
platform::LocalDesktop& Desktop();
const std::filesystem::path& ProgramFolder();

// Copies the default settings file and the language files into the program
// folder, as the installation places them.
void InstallResources();

// Replaces a file with the bytes, creating its folder when missing.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace fuzzing
