// The Windows build's profile files through the system's own calls: the
// installed UTF-16LE settings and language files read back every text of
// their UTF-8 sources, writes keep a file in UTF-16, and bad paths and
// read-only files end in a log line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/settings.h"
#include "platform/log.h"
#include "platform/profile.h"
#include "support/executable_at.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const std::string kUtf16Mark = "\xFF\xFE";

struct Entry {
    std::wstring section;
    std::wstring key;
    std::wstring value;
};

// Every key line of a UTF-8 source file, with its section; values as the
// source writes them (the files quote nothing).
std::vector<Entry> SourceEntries(const fs::path& path) {
    std::vector<Entry> entries;
    std::istringstream lines(testing_support::FileBytes(path));
    std::wstring section;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 1 && line.front() == '[') {
            section = platform::Utf8ToWide(line.substr(1, line.find(']') - 1));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos || line.front() == ';') continue;
        entries.push_back({section, platform::Utf8ToWide(line.substr(0, equals)),
                           platform::Utf8ToWide(line.substr(equals + 1))});
    }
    return entries;
}

std::wstring Read(const std::wstring& section, const std::wstring& key, const fs::path& file) {
    std::wstring out;
    platform::GetPrivateProfileString(section, key, L"<missing>", out, 255, file.wstring());
    return out;
}

// Each installed file, UTF-16LE with its mark, answers every key of its
// UTF-8 source with the source's text: Chinese (Simplified and Traditional),
// Polish, Italian and English.
TEST(Win32ProfileFiles, InstalledFilesReadEveryTextOfTheirSources) {
    const fs::path program = CORVANE_PROGRAM_DIR;
    const fs::path sources = fs::path(CORVANE_SOURCE_DIR) / "resources";
    std::vector<fs::path> files = {"Corvane.ini"};
    for (const char* language : {"Chs", "Cht", "Eng", "Ita", "Pol"}) {
        files.push_back(fs::path("Language") / (std::string(language) + ".ini"));
    }
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        ASSERT_EQ(testing_support::FileBytes(program / file).substr(0, 2), kUtf16Mark);
        const std::vector<Entry> entries = SourceEntries(sources / file);
        ASSERT_GT(entries.size(), 10u);
        for (const Entry& entry : entries) {
            EXPECT_EQ(Read(entry.section, entry.key, program / file), entry.value)
                << platform::WideToUtf8(entry.key);
        }
    }
}

// A few texts named outright, so that a source and its copy cannot both be
// wrong in the same way.
TEST(Win32ProfileFiles, InstalledFilesHoldTheLanguagesOwnLetters) {
    const fs::path program = CORVANE_PROGRAM_DIR;
    struct Case {
        const char* file;
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"Language/Chs.ini", L"Language", L"Menu_Exit", L"\u9000\u51FA"},
        {"Language/Cht.ini", L"Language", L"Menu_Language", L"\u8A9E\u8A00"},
        {"Language/Pol.ini", L"Language", L"Menu_Exit", L"Zako\u0144cz"},
        {"Language/Pol.ini", L"Language", L"Volume_Setting", L"G\u0142o\u015Bno\u015B\u0107 s\u0142uchawki"},
        {"Language/Ita.ini", L"Language", L"Menu_Exit", L"Esci"},
        {"Language/Ita.ini", L"Language", L"Copyright_Info", L"Copyright \u00A9 2026 Corvane"},
        {"Corvane.ini", L"SETTING", L"Language_1", L"\u7B80\u4F53\u4E2D\u6587"},
        {"Corvane.ini", L"SETTING", L"Language_3", L"Polski"},
        {"Corvane.ini", L"SETTING", L"Language_4", L"Italiano"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(Read(c.section, c.key, program / c.file), c.text);
    }
}

class Win32ProfileWrites : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(fs::path(CORVANE_PROGRAM_DIR) / "Corvane.ini", Ini());
        exe_.emplace((folder_.Path() / "corvane.exe").wstring());
        common::ResetSettingsStore();
    }
    void TearDown() override {
        common::ResetSettingsStore();
        fs::permissions(Ini(), fs::perms::owner_write, fs::perm_options::add);
    }
    fs::path Ini() const { return folder_.Path() / "Corvane.ini"; }

    testing_support::TempFolder folder_;
    std::optional<testing_support::ExecutableAt> exe_;
};

// Saving the settings goes through the system's calls and leaves the file
// in UTF-16LE, with the other sections' texts unchanged.
TEST_F(Win32ProfileWrites, SavingTheSettingsKeepsTheFileInUtf16) {
    common::CAppSettings settings;
    common::LoadSettings(settings);
    settings.VAL_LANGUAGE = 3;
    settings.VAL_RINGTONE = L"C:\\Sounds\\Dzwonek \u0142\u0105ka.wav";
    common::SaveSettings(settings);

    EXPECT_EQ(testing_support::FileBytes(Ini()).substr(0, 2), kUtf16Mark);
    EXPECT_EQ(Read(L"SETTING", L"VAL_LANGUAGE", Ini()), L"3");
    EXPECT_EQ(Read(L"SETTING", L"VAL_RINGTONE", Ini()), L"C:\\Sounds\\Dzwonek \u0142\u0105ka.wav");
    EXPECT_EQ(Read(L"SETTING", L"Language_2", Ini()), L"\u7E41\u9AD4\u4E2D\u6587");
    common::CAppSettings reloaded;
    common::LoadSettings(reloaded);
    EXPECT_EQ(reloaded.VAL_LANGUAGE.load(), 3);
    EXPECT_EQ(reloaded.VAL_RINGTONE, settings.VAL_RINGTONE);
}

// A settings file the program may not write: the save fails with a log line
// naming the file, and the file is as it was.
TEST_F(Win32ProfileWrites, ReadOnlySettingsFileIsLoggedAndLeftAsItWas) {
    const std::string before = testing_support::FileBytes(Ini());
    fs::permissions(Ini(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (std::ofstream(Ini(), std::ios::app)) {
        GTEST_SKIP() << "this user may write read-only files (Wine run as root)";
    }
    platform::LogCapture log;
    EXPECT_FALSE(platform::WritePrivateProfileString(L"SETTING", L"VAL_LANGUAGE", L"4", Ini().wstring()));
    EXPECT_TRUE(log.ContainsFragment("Corvane.ini")) << "no log line names the file";
    EXPECT_EQ(testing_support::FileBytes(Ini()), before);
}

// Paths longer than any buffer of the system's calls: reads give the
// default, writes fail with a log line, nothing crashes.
TEST(Win32ProfileFiles, OverlongPathsGiveTheDefaultOrALogLine) {
    testing_support::TempFolder folder;
    for (const size_t length : {300u, 40000u}) {
        SCOPED_TRACE(length);
        const std::wstring path = folder.Path().wstring() + L"\\" + std::wstring(length, L'x') + L".ini";
        std::wstring out;
        platform::GetPrivateProfileString(L"SETTING", L"VAL_LANGUAGE", L"fallback", out, 255, path);
        EXPECT_EQ(out, L"fallback");
        EXPECT_EQ(platform::GetPrivateProfileInt(L"SETTING", L"VAL_LANGUAGE", -3, path), -3);
        platform::LogCapture log;
        EXPECT_FALSE(platform::WritePrivateProfileString(L"SETTING", L"VAL_LANGUAGE", L"1", path));
        EXPECT_EQ(log.Texts().size(), 1u);
    }
}

}  // namespace
