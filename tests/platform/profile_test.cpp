#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/log.h"
#include "support/temp_folder.h"

namespace {

using platform::GetPrivateProfileInt;
using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

class ProfileTest : public ::testing::Test {
protected:
    std::wstring ReadString(const std::wstring& section, const std::wstring& key, size_t bufferChars = 256) {
        std::wstring out = L"stale";
        GetPrivateProfileString(section, key, L"<default>", out, bufferChars, File());
        return out;
    }
    std::wstring File() const { return folder_.File("test.ini"); }
    void WriteFile(const std::string& bytes) const { folder_.Write("test.ini", bytes); }
    std::string FileBytes() const { return folder_.Read("test.ini"); }
    // Every name in the folder, to see that no temporary file is left behind.
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    testing_support::TempFolder folder_;
};

// ---------------------------------------------------------------- reading

const char kSampleFile[] =
    "; leading comment\n"
    "outside=before any section\n"
    "[Main]\n"
    "  Name   =   Alice  \n"
    "quoted=\"  padded  \"\n"
    "single='x'\n"
    "mismatched=\"abc'\n"
    "lonequote=\"\n"
    "number=12abc\n"
    "negative=-5\n"
    "plus=+7\n"
    "letters=abc\n"
    "signonly=-\n"
    "empty=\n"
    "blankfirst=   42   \n"
    "quotednumber=\" 13\"\n"
    "huge=99999999999\n"
    "tiny=-99999999999\n"
    "enormous=123456789012345678901234567890\n"
    "minusenormous=-123456789012345678901234567890\n"
    "maxint=2147483647\n"
    "minint=-2147483648\n"
    "dup=first\n"
    "DUP=second\n"
    "garbage line without equals\n"
    ";commented=3\n"
    "=novalue\n"
    "spaced key = 9\n"
    "[ Other ]\n"
    "name=Bob\n"
    "[MAIN]\n"
    "later=only in the second Main\n";

struct ReadCase {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* text;  // what GetPrivateProfileString gives, default "<default>"
    int number;           // what GetPrivateProfileInt gives, default -77
};

TEST_F(ProfileTest, ReadsValuesByTheParseRules) {
    const ReadCase cases[] = {
        {L"main", L"NAME", L"Alice", 0},
        {L"Main", L"quoted", L"  padded  ", 0},
        {L"Main", L"single", L"x", 0},
        {L"Main", L"mismatched", L"\"abc'", 0},
        {L"Main", L"lonequote", L"\"", 0},
        {L"Main", L"number", L"12abc", 12},
        {L"Main", L"negative", L"-5", -5},
        {L"Main", L"plus", L"+7", 7},
        {L"Main", L"letters", L"abc", 0},
        {L"Main", L"signonly", L"-", 0},
        {L"Main", L"empty", L"", 0},
        {L"Main", L"blankfirst", L"42", 42},
        {L"Main", L"quotednumber", L" 13", 13},
        {L"Main", L"huge", L"99999999999", INT_MAX},
        {L"Main", L"tiny", L"-99999999999", INT_MIN},
        {L"Main", L"enormous", L"123456789012345678901234567890", INT_MAX},
        {L"Main", L"minusenormous", L"-123456789012345678901234567890", INT_MIN},
        {L"Main", L"maxint", L"2147483647", INT_MAX},
        {L"Main", L"minint", L"-2147483648", INT_MIN},
        {L"Main", L"Dup", L"first", 0},
        {L"Main", L"spaced key", L"9", 9},
        {L"OTHER", L"Name", L"Bob", 0},
        // Only the first matching section is searched.
        {L"Main", L"later", L"<default>", -77},
        {L"Main", L"commented", L"<default>", -77},
        {L"Main", L";commented", L"<default>", -77},
        {L"Main", L"garbage line without equals", L"<default>", -77},
        {L"Main", L"", L"<default>", -77},
        {L"", L"outside", L"<default>", -77},
        {L"Missing", L"Name", L"<default>", -77},
        {L"Main", L"missing", L"<default>", -77},
    };
    WriteFile(kSampleFile);
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(std::wstring(c.section) + L"/" + c.key));
        EXPECT_EQ(ReadString(c.section, c.key), c.text);
        EXPECT_EQ(GetPrivateProfileInt(c.section, c.key, -77, File()), c.number);
    }
}

TEST_F(ProfileTest, MissingFileGivesTheDefaults) {
    std::wstring out;
    EXPECT_EQ(GetPrivateProfileString(L"Main", L"Name", L"fallback", out, 64, File()), 8u);
    EXPECT_EQ(out, L"fallback");
    EXPECT_EQ(GetPrivateProfileInt(L"Main", L"Name", 1234, File()), 1234);
    EXPECT_EQ(GetPrivateProfileInt(L"Main", L"Name", 5, folder_.File("no/such/folder.ini")), 5);
    // A folder in place of the file reads like a missing file.
    EXPECT_EQ(GetPrivateProfileInt(L"Main", L"Name", 6, platform::Utf8ToWide(folder_.Path().string())), 6);
}

// On Windows a narrow open would take the folder's name in the ANSI code page
// and find nothing there.
TEST_F(ProfileTest, FileInAFolderWithANonAsciiNameWritesAndReadsBack) {
    const std::filesystem::path folder = folder_.Path() / std::filesystem::path(u8"\u0141\u00f3d\u017a \u8a2d\u5b9a");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::u8string name = (folder / "test.ini").u8string();
    const std::wstring file = platform::Utf8ToWide(std::string(name.begin(), name.end()));
    ASSERT_TRUE(WritePrivateProfileString(L"Main", L"Name", L"\u0141ukasz", file));
    ASSERT_TRUE(WritePrivateProfileString(L"Main", L"Count", L"7", file));
    std::wstring out;
    EXPECT_EQ(GetPrivateProfileString(L"Main", L"Name", L"", out, 64, file), 6u);
    EXPECT_EQ(out, L"\u0141ukasz");
    EXPECT_EQ(GetPrivateProfileInt(L"Main", L"Count", 0, file), 7);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "test.ini"));
}

TEST_F(ProfileTest, AcceptsLineEndsAndByteOrderMark) {
    struct Layout {
        const char* name;
        const char* bytes;
    };
    const Layout layouts[] = {
        {"LF", "[A]\nx=1\n[B]\ny=Zo\xC3\xAB \xE6\x97\xA5\n"},
        {"CRLF", "[A]\r\nx=1\r\n[B]\r\ny=Zo\xC3\xAB \xE6\x97\xA5\r\n"},
        {"BOM LF", "\xEF\xBB\xBF[A]\nx=1\n[B]\ny=Zo\xC3\xAB \xE6\x97\xA5\n"},
        {"BOM CRLF", "\xEF\xBB\xBF[A]\r\nx=1\r\n[B]\r\ny=Zo\xC3\xAB \xE6\x97\xA5\r\n"},
        {"no last line end", "[A]\r\nx=1\r\n[B]\r\ny=Zo\xC3\xAB \xE6\x97\xA5"},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        WriteFile(layout.bytes);
        EXPECT_EQ(GetPrivateProfileInt(L"a", L"X", 0, File()), 1);
        EXPECT_EQ(ReadString(L"b", L"y"), L"Zo\u00EB \u65E5");
    }
}

TEST_F(ProfileTest, CutsTheResultToTheBuffer) {
    struct CutCase {
        const wchar_t* key;
        size_t bufferChars;
        const wchar_t* text;
    };
    const CutCase cases[] = {
        {L"five", 0, L""},      {L"five", 1, L""},      {L"five", 2, L"a"},
        {L"five", 5, L"abcd"},  {L"five", 6, L"abcde"}, {L"five", 100, L"abcde"},
        {L"missing", 4, L"<de"}, {L"missing", 0, L""},
    };
    WriteFile("[S]\nfive=abcde\n");
    for (const CutCase& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.key) + " " + std::to_string(c.bufferChars));
        std::wstring out = L"stale";
        const size_t stored = GetPrivateProfileString(L"S", c.key, L"<default>", out, c.bufferChars, File());
        EXPECT_EQ(out, c.text);
        EXPECT_EQ(stored, out.size());
    }
}

TEST_F(ProfileTest, ReadsTheFileAgainOnEveryCall) {
    WriteFile("[S]\nk=1\n");
    EXPECT_EQ(GetPrivateProfileInt(L"S", L"k", 0, File()), 1);
    WriteFile("[S]\nk=2\n");
    EXPECT_EQ(GetPrivateProfileInt(L"S", L"k", 0, File()), 2);
}

// ---------------------------------------------------------------- writing

TEST_F(ProfileTest, WriteReplacesOnlyTheFirstMatchingKeyAndKeepsEveryOtherByte) {
    // Odd spacing, comments, garbage, mixed line ends, a duplicate key and a
    // second section of the same name must all survive unchanged.
    const std::string before =
        "\xEF\xBB\xBF; settings\r\n"
        "[Main]\r\n"
        "  other =  \"kept\"  \r\n"
        "\tgarbage \xFF\xFE bytes\n"
        "  Volume = 3 ; old\r\n"
        "volume=4\r\n"
        "\r\n"
        "[main]\r\n"
        "Volume=5\r\n";
    const std::string oldLine = "  Volume = 3 ; old";
    std::string expected = before;
    expected.replace(expected.find(oldLine), oldLine.size(), "VOLUME=10");
    WriteFile(before);

    EXPECT_TRUE(WritePrivateProfileString(L"MAIN", L"VOLUME", L"10", File()));

    EXPECT_EQ(FileBytes(), expected);
    EXPECT_EQ(GetPrivateProfileInt(L"Main", L"volume", 0, File()), 10);
}

struct WriteCase {
    const char* name;
    const char* before;
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
    const char* after;
};

TEST_F(ProfileTest, WriteAddsMissingKeysSectionsAndFiles) {
    const WriteCase cases[] = {
        {"key at the end of its section, before blank lines", "[A]\nx=1\n; note\n\n\n[B]\ny=2\n", L"a", L"z", L"3",
         "[A]\nx=1\n; note\nz=3\n\n\n[B]\ny=2\n"},
        {"key in the last section", "[A]\nx=1\n[B]\ny=2\n", L"B", L"z", L"3", "[A]\nx=1\n[B]\ny=2\nz=3\n"},
        {"key after a last line without line end", "[A]\nx=1", L"A", L"z", L"3", "[A]\nx=1\nz=3\n"},
        {"key in an empty section", "[A]\n[B]\n", L"A", L"z", L"3", "[A]\nz=3\n[B]\n"},
        {"section at the end", "[A]\nx=1\n", L"New", L"k", L"v", "[A]\nx=1\n[New]\nk=v\n"},
        {"section after a last line without line end", "[A]\nx=1", L"New", L"k", L"v", "[A]\nx=1\n[New]\nk=v\n"},
        {"section in a CRLF file", "[A]\r\nx=1\r\n", L"New", L"k", L"v", "[A]\r\nx=1\r\n[New]\r\nk=v\r\n"},
        {"key in a CRLF file", "[A]\r\nx=1\r\n\r\n", L"A", L"k", L"v", "[A]\r\nx=1\r\nk=v\r\n\r\n"},
        {"BOM kept", "\xEF\xBB\xBF[A]\nx=1\n", L"A", L"x", L"2", "\xEF\xBB\xBF[A]\nx=2\n"},
        {"keys before any section are not the section's", "x=1\n", L"A", L"x", L"2", "x=1\n[A]\nx=2\n"},
        {"empty value", "[A]\nx=1\n", L"A", L"x", L"", "[A]\nx=\n"},
        {"text is stored as UTF-8", "", L"S\u00E9", L"k", L"\u65E5\u672C", "[S\xC3\xA9]\nk=\xE6\x97\xA5\xE6\x9C\xAC\n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(c.before);
        EXPECT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, File()));
        EXPECT_EQ(FileBytes(), c.after);
    }
}

TEST_F(ProfileTest, WriteCreatesTheFileWhenMissing) {
    ASSERT_TRUE(WritePrivateProfileString(L"SETTING", L"VAL_LANGUAGE", L"3", File()));
    EXPECT_EQ(FileBytes(), "[SETTING]\nVAL_LANGUAGE=3\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"test.ini"});
}

TEST_F(ProfileTest, WrittenTextReadsBack) {
    const std::wstring values[] = {L"plain", L"with = sign", L"Zo\u00EB \u65E5\u672C", L"'quoted'", L"-12"};
    for (const std::wstring& value : values) {
        SCOPED_TRACE(platform::WideToUtf8(value));
        ASSERT_TRUE(WritePrivateProfileString(L"S", L"k", value, File()));
        const std::wstring unquoted = value.front() == L'\'' ? value.substr(1, value.size() - 2) : value;
        EXPECT_EQ(ReadString(L"s", L"K"), unquoted);
    }
}

// Unix permission bits; the Windows build's read-only files are tested in
// tests/win32/profile_files_test.cpp.
#ifndef _WIN32
TEST_F(ProfileTest, WriteKeepsTheFilePermissions) {
    WriteFile("[A]\nx=1\n");
    const std::string path = platform::WideToUtf8(File());
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WritePrivateProfileString(L"A", L"x", L"2", File()));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}
#endif

TEST_F(ProfileTest, FailedWriteReturnsFalseLogsAndLeavesNoTrace) {
    std::filesystem::create_directory(folder_.Path() / "dir.ini");
    folder_.Write("dir.ini/inside", "kept");
    const std::wstring targets[] = {folder_.File("missing/test.ini"), folder_.File("dir.ini")};
    for (const std::wstring& target : targets) {
        SCOPED_TRACE(platform::WideToUtf8(target));
        platform::LogCapture log;
        EXPECT_FALSE(WritePrivateProfileString(L"S", L"k", L"v", target));
        EXPECT_EQ(log.Texts().size(), 1u);
        EXPECT_TRUE(log.ContainsFragment(platform::WideToUtf8(target)));
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"dir.ini"});
        EXPECT_EQ(folder_.Read("dir.ini/inside"), "kept");
    }
}

TEST_F(ProfileTest, RefusedTextLeavesTheOldFileIntact) {
    const std::string before = "[S]\nk=old\n";
    struct Refused {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
    };
    const Refused cases[] = {
        {L"S", L"k", L"two\nlines"}, {L"S", L"k", L"cr\rhere"}, {L"S]x", L"k", L"v"}, {L"S\n", L"k", L"v"},
        {L"S", L"", L"v"},           {L"S", L"  ", L"v"},       {L"S", L"a=b", L"v"}, {L"S", L";k", L"v"},
        {L"S", L"[k", L"v"},
    };
    WriteFile(before);
    for (const Refused& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(std::wstring(c.section) + L"/" + c.key + L"=" + c.value));
        platform::LogCapture log;
        EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, c.value, File()));
        EXPECT_EQ(log.Texts().size(), 1u);
        EXPECT_EQ(FileBytes(), before);
    }
    EXPECT_FALSE(WritePrivateProfileString(L"S", L"k", L"v", L""));
}

#ifndef _WIN32
TEST_F(ProfileTest, FileWithoutReadOrWritePermissionIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    // Write-only: replacing it would drop every key that could not be read.
    const mode_t modes[] = {0444, 0200};
    const std::string path = platform::WideToUtf8(File());
    for (const mode_t mode : modes) {
        SCOPED_TRACE(mode);
        WriteFile("[S]\nk=old\n");
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        EXPECT_FALSE(WritePrivateProfileString(L"S", L"k", L"new", File()));
        ASSERT_EQ(chmod(path.c_str(), 0600), 0);
        EXPECT_EQ(FileBytes(), "[S]\nk=old\n");
    }
}
#endif

}  // namespace

namespace {

// Files saved by Windows editors as "Unicode" are UTF-16LE with a mark.
TEST(ProfileUtf16, ReadsAndWritesUtf16LeFilesInTheirOwnEncoding) {
    testing_support::TempFolder folder;
    const std::u16string text = u"[Language]\r\nMenu_Exit=\u9000\u51FA\r\nEmoji=\U0001F600\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    folder.Write("Chs.ini", bytes);
    std::wstring out;
    platform::GetPrivateProfileString(L"Language", L"Menu_Exit", L"", out, 255, folder.File("Chs.ini"));
    EXPECT_EQ(out, L"\u9000\u51FA");
    platform::GetPrivateProfileString(L"Language", L"Emoji", L"", out, 255, folder.File("Chs.ini"));
    EXPECT_EQ(out, L"\U0001F600");
    ASSERT_TRUE(platform::WritePrivateProfileString(L"Language", L"Menu_About", L"\u5173\u4E8E", folder.File("Chs.ini")));
    const std::string written = folder.Read("Chs.ini");
    ASSERT_EQ(written.compare(0, bytes.size(), bytes), 0) << "the existing text is kept byte for byte";
    platform::GetPrivateProfileString(L"Language", L"Menu_About", L"", out, 255, folder.File("Chs.ini"));
    EXPECT_EQ(out, L"\u5173\u4E8E");
}

}  // namespace
