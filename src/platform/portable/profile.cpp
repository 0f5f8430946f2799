#include "platform/portable/portable_profile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/log.h"
#include "platform/portable/file_replace.h"
#include "platform/text_codec.h"

namespace platform {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8BomBytes = 3;

// One line as stored: its bytes and its own line end ("\r\n", "\n", or ""
// for a last line without one). Lines other than the written key go back
// out exactly as they came in, whatever their encoding or line end.
struct RawLine {
    std::string text;
    std::string end;
};

struct ProfileFile {
    bool bom = false;
    bool utf16 = false;  // UTF-16LE with its byte-order mark on disk
    std::vector<RawLine> lines;
};

constexpr char kUtf16LeBom[] = "\xFF\xFE";
constexpr size_t kUtf16LeBomBytes = 2;

// UTF-16LE (after its mark) to UTF-8; unpaired surrogates become U+FFFD and
// an odd last byte is dropped.
std::string Utf16LeToUtf8(const std::string& bytes) {
    const std::string_view wholeUnits(bytes.data(), bytes.size() & ~size_t{1});
    return WideToUtf8(CurrentTextCodec().ToWide(CodePage::Utf16Le, wholeUnits).text);
}

std::string Utf8ToUtf16Le(const std::string& text) {
    return CurrentTextCodec().FromWide(CodePage::Utf16Le, Utf8ToWide(text), kNoByteLimit).bytes;
}

enum class LineKind { Other, Section, Key };

// What a line means: a section header with its name, a key line with its
// name and value, or anything else (comments, blank lines, garbage).
struct ParsedLine {
    LineKind kind = LineKind::Other;
    bool blank = true;
    std::wstring name;
    std::wstring value;
};

// Where a key lives: the first matching section's header, the first
// matching key line in it, and one past the section's last non-blank line.
struct KeyPosition {
    std::optional<size_t> section;
    std::optional<size_t> key;
    size_t sectionEnd = 0;
};

enum class ReadStatus { Read, Missing, Failed };

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f'; }

std::wstring Trim(const std::wstring& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameName(const std::wstring& a, const std::wstring& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return AsciiLower(x) == AsciiLower(y); });
}

std::wstring Unquote(const std::wstring& value) {
    const bool quoted =
        value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

ParsedLine ParseLine(const std::string& bytes) {
    const std::wstring line = Trim(Utf8ToWide(bytes));
    ParsedLine parsed;
    parsed.blank = line.empty();
    if (line.empty() || line.front() == L';') return parsed;
    if (line.front() == L'[') {
        const size_t close = line.find(L']');
        if (close == std::wstring::npos) return parsed;
        parsed.kind = LineKind::Section;
        parsed.name = Trim(line.substr(1, close - 1));
        return parsed;
    }
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return parsed;
    parsed.name = Trim(line.substr(0, equals));
    if (parsed.name.empty()) return parsed;
    parsed.kind = LineKind::Key;
    parsed.value = Unquote(Trim(line.substr(equals + 1)));
    return parsed;
}

std::vector<ParsedLine> ParseLines(const ProfileFile& file) {
    std::vector<ParsedLine> parsed;
    parsed.reserve(file.lines.size());
    for (const RawLine& line : file.lines) parsed.push_back(ParseLine(line.text));
    return parsed;
}

KeyPosition FindKey(const std::vector<ParsedLine>& lines, const std::wstring& section, const std::wstring& key) {
    const std::wstring keyName = Trim(key);
    KeyPosition pos;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine& line = lines[i];
        if (line.kind == LineKind::Section) {
            if (pos.section) break;  // only the first matching section counts
            if (SameName(line.name, section)) {
                pos.section = i;
                pos.sectionEnd = i + 1;
            }
            continue;
        }
        if (!pos.section) continue;
        if (line.kind == LineKind::Key && !pos.key && SameName(line.name, keyName)) pos.key = i;
        if (!line.blank) pos.sectionEnd = i + 1;
    }
    return pos;
}

std::vector<RawLine> SplitLines(const std::string& bytes) {
    std::vector<RawLine> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t newline = bytes.find('\n', start);
        RawLine line;
        if (newline == std::string::npos) {
            line.text = bytes.substr(start);
            start = bytes.size();
        } else {
            const bool crlf = newline > start && bytes[newline - 1] == '\r';
            const size_t textEnd = crlf ? newline - 1 : newline;
            line.text = bytes.substr(start, textEnd - start);
            line.end = crlf ? "\r\n" : "\n";
            start = newline + 1;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// The path is UTF-8; going through a filesystem path opens it by its wide
// name on Windows, where a narrow open would take the ANSI code page and miss
// a folder with a non-ASCII name.
ReadStatus ReadBytes(const std::string& path, std::string& bytes, int& error) {
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        error = EISDIR;
        return ReadStatus::Failed;
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = errno != 0 ? errno : EIO;
        const bool missing = !std::filesystem::exists(file, ec) && !ec;
        if (missing) error = ENOENT;
        return missing ? ReadStatus::Missing : ReadStatus::Failed;
    }
    char chunk[4096];
    while (in.read(chunk, sizeof(chunk)) || in.gcount() > 0) bytes.append(chunk, static_cast<size_t>(in.gcount()));
    const bool failed = in.bad();
    error = failed ? (errno != 0 ? errno : EIO) : 0;
    return failed ? ReadStatus::Failed : ReadStatus::Read;
}

ReadStatus ReadProfile(const std::string& path, ProfileFile& file, int& error) {
    std::string bytes;
    const ReadStatus status = ReadBytes(path, bytes, error);
    if (status != ReadStatus::Read) return status;
    if (bytes.compare(0, kUtf8BomBytes, kUtf8Bom) == 0) {
        file.bom = true;
        bytes.erase(0, kUtf8BomBytes);
    } else if (bytes.compare(0, kUtf16LeBomBytes, kUtf16LeBom) == 0) {
        file.utf16 = true;
        bytes = Utf16LeToUtf8(bytes.substr(kUtf16LeBomBytes));
    }
    file.lines = SplitLines(bytes);
    return ReadStatus::Read;
}

std::optional<std::wstring> LookUp(const std::wstring& section, const std::wstring& key, const std::wstring& path) {
    ProfileFile file;
    int error = 0;
    if (ReadProfile(WideToUtf8(path), file, error) != ReadStatus::Read) return std::nullopt;
    const std::vector<ParsedLine> lines = ParseLines(file);
    const KeyPosition pos = FindKey(lines, section, key);
    if (!pos.key) return std::nullopt;
    return lines[*pos.key].value;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Leading decimal digits after blanks and an optional sign; saturates at the
// int range instead of overflowing.
int LeadingInt(const std::wstring& value) {
    size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) negative = value[i++] == L'-';
    constexpr long long kMagnitudeLimit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < value.size() && IsDigit(value[i]); ++i) {
        magnitude = std::min(magnitude * 10 + (value[i] - L'0'), kMagnitudeLimit);
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
}

// New lines follow the file's own line ends: CRLF when its first line end is.
std::string NewLineEnd(const ProfileFile& file) {
    for (const RawLine& line : file.lines) {
        if (!line.end.empty()) return line.end;
    }
    return "\n";
}

void InsertLine(ProfileFile& file, size_t at, const std::string& text) {
    const std::string end = NewLineEnd(file);
    if (at > 0 && file.lines[at - 1].end.empty()) file.lines[at - 1].end = end;
    file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at), RawLine{text, end});
}

void SetEntry(ProfileFile& file, const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    const std::string entry = WideToUtf8(key) + "=" + WideToUtf8(value);
    const KeyPosition pos = FindKey(ParseLines(file), section, key);
    if (pos.key) {
        file.lines[*pos.key].text = entry;
    } else if (pos.section) {
        InsertLine(file, pos.sectionEnd, entry);
    } else {
        InsertLine(file, file.lines.size(), "[" + WideToUtf8(section) + "]");
        InsertLine(file, file.lines.size(), entry);
    }
}

std::string Serialise(const ProfileFile& file) {
    std::string bytes = file.bom ? kUtf8Bom : "";
    for (const RawLine& line : file.lines) bytes += line.text + line.end;
    if (file.utf16) return std::string(kUtf16LeBom, kUtf16LeBomBytes) + Utf8ToUtf16Le(bytes);
    return bytes;
}

// Text that would break the line structure is refused rather than written.
const wchar_t* EntryProblem(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    const auto hasLineBreak = [](const std::wstring& s) { return s.find_first_of(L"\r\n") != std::wstring::npos; };
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) return L"line break in the text";
    if (section.find(L']') != std::wstring::npos) return L"']' in the section name";
    const std::wstring name = Trim(key);
    if (name.empty()) return L"empty key";
    if (name.find(L'=') != std::wstring::npos || name.front() == L'[' || name.front() == L';') {
        return L"the key would not read back";
    }
    return nullptr;
}

std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

void LogWriteFailure(const std::wstring& section, const std::wstring& key, const std::wstring& path,
                     const std::wstring& reason) {
    LogW(L"Profile: cannot write [%ls] %ls to \"%ls\": %ls", section.c_str(), key.c_str(), path.c_str(),
         reason.c_str());
}

std::wstring ErrorText(int error) { return Utf8ToWide(std::error_code(error, std::generic_category()).message()); }

}  // namespace

namespace portable {

int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key, int defaultValue,
                         const std::wstring& path) {
    const std::optional<std::wstring> value = LookUp(section, key, path);
    return value ? LeadingInt(*value) : defaultValue;
}

size_t GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                               const std::wstring& defaultValue, std::wstring& out, size_t bufferChars,
                               const std::wstring& path) {
    if (bufferChars == 0) {
        out.clear();
        return 0;
    }
    const std::optional<std::wstring> value = LookUp(section, key, path);
    out = (value ? *value : defaultValue).substr(0, bufferChars - 1);
    return out.size();
}

bool WritePrivateProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                               const std::wstring& path) {
    if (path.empty()) {
        LogWriteFailure(section, key, path, L"no file name");
        return false;
    }
    if (const wchar_t* problem = EntryProblem(section, key, value)) {
        LogWriteFailure(section, key, path, problem);
        return false;
    }
    const std::string target = WideToUtf8(path);
    std::lock_guard<std::mutex> lock(WriteMutex());
    ProfileFile file;
    int error = 0;
    if (ReadProfile(target, file, error) == ReadStatus::Failed) {
        LogWriteFailure(section, key, path, ErrorText(error));
        return false;
    }
    SetEntry(file, section, key, value);
    error = ReplaceFile(target, Serialise(file));
    if (error != 0) {
        LogWriteFailure(section, key, path, ErrorText(error));
        return false;
    }
    return true;
}

}  // namespace portable

}  // namespace platform
