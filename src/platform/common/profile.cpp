#include "platform/profile.h"

#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/log.h"

namespace platform {

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// The file as lines, with what is needed to write it back unchanged.
struct ProfileText {
    bool exists = false;
    bool bom = false;
    bool crlf = false;
    bool finalNewline = true;
    std::vector<std::string> lines;  // UTF-8, without line ends
};

std::string PathBytes(const std::wstring& path) { return WideToUtf8(path); }

ProfileText ReadProfile(const std::wstring& path) {
    ProfileText text;
    std::ifstream in(PathBytes(path), std::ios::binary);
    if (!in) return text;
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string data = buffer.str();
    text.exists = true;
    if (data.compare(0, 3, kUtf8Bom) == 0) {
        text.bom = true;
        data.erase(0, 3);
    }
    text.finalNewline = data.empty() || data.back() == '\n';
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find('\n', start);
        if (end == std::string::npos) end = data.size();
        std::string line = data.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            text.crlf = true;
            line.pop_back();
        }
        text.lines.push_back(line);
        start = end + 1;
    }
    return text;
}

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::iswspace(static_cast<wint_t>(s[b]))) ++b;
    while (e > b && std::iswspace(static_cast<wint_t>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
    }
    return true;
}

// "[name]" gives name; anything else is not a section line.
bool SectionName(const std::wstring& line, std::wstring& name) {
    const std::wstring t = Trim(line);
    if (t.size() < 2 || t.front() != L'[') return false;
    const size_t close = t.find(L']');
    if (close == std::wstring::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool KeyLine(const std::wstring& line, std::wstring& key, std::wstring& value) {
    const size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) return false;
    key = Trim(line.substr(0, eq));
    if (key.empty() || key[0] == L';') return false;
    value = Trim(line.substr(eq + 1));
    return true;
}

std::wstring Unquote(const std::wstring& v) {
    if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

// Where a key lives in the lines: its section header, its own line.
struct Location {
    long section = -1;  // index of the section header line
    long sectionEnd = -1;  // one past the section's last non-blank line
    long key = -1;
};

Location Locate(const ProfileText& text, const std::wstring& section, const std::wstring& key,
                std::wstring* value) {
    Location loc;
    bool inSection = false;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        const std::wstring line = Utf8ToWide(text.lines[i]);
        std::wstring name, k, v;
        if (SectionName(line, name)) {
            if (inSection) break;  // the first matching section ends here
            if (SameName(name, section)) {
                inSection = true;
                loc.section = static_cast<long>(i);
                loc.sectionEnd = static_cast<long>(i) + 1;
            }
            continue;
        }
        if (!inSection) continue;
        if (!Trim(line).empty()) loc.sectionEnd = static_cast<long>(i) + 1;
        if (loc.key < 0 && KeyLine(line, k, v) && SameName(k, key)) {
            loc.key = static_cast<long>(i);
            if (value) *value = Unquote(v);
        }
    }
    return loc;
}

bool Lookup(const std::wstring& section, const std::wstring& key, const std::wstring& path, std::wstring& value) {
    const ProfileText text = ReadProfile(path);
    if (!text.exists) return false;
    return Locate(text, section, key, &value).key >= 0;
}

bool WriteAtomically(const std::wstring& path, const std::string& data) {
    namespace fs = std::filesystem;
    const fs::path target(PathBytes(path));
    fs::path temp = target;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

std::string Serialise(const ProfileText& text) {
    const char* eol = text.crlf ? "\r\n" : "\n";
    std::string data = text.bom ? kUtf8Bom : "";
    for (size_t i = 0; i < text.lines.size(); ++i) {
        data += text.lines[i];
        if (i + 1 < text.lines.size() || text.finalNewline) data += eol;
    }
    return data;
}

}  // namespace

int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key, int defaultValue,
                         const std::wstring& path) {
    std::wstring value;
    if (!Lookup(section, key, path, value)) return defaultValue;
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) negative = value[i++] == L'-';
    long long n = 0;
    for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i) {
        n = n * 10 + (value[i] - L'0');
        if (n > 0x7FFFFFFFLL) n = 0x80000000LL;  // saturate; keeps going without overflow
    }
    if (negative) n = -n;
    if (n > 0x7FFFFFFFLL) n = 0x7FFFFFFFLL;
    return static_cast<int>(n);
}

size_t GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                               const std::wstring& defaultValue, std::wstring& out, size_t bufferChars,
                               const std::wstring& path) {
    std::wstring value;
    if (!Lookup(section, key, path, value)) value = defaultValue;
    out = bufferChars == 0 ? std::wstring() : value.substr(0, bufferChars - 1);
    return out.size();
}

bool WritePrivateProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                               const std::wstring& path) {
    ProfileText text = ReadProfile(path);
    const std::string line = WideToUtf8(key) + "=" + WideToUtf8(value);
    const Location loc = Locate(text, section, key, nullptr);
    if (loc.key >= 0) {
        text.lines[static_cast<size_t>(loc.key)] = line;
    } else if (loc.section >= 0) {
        text.lines.insert(text.lines.begin() + loc.sectionEnd, line);
    } else {
        if (!text.finalNewline) text.finalNewline = true;
        text.lines.push_back("[" + WideToUtf8(section) + "]");
        text.lines.push_back(line);
    }
    if (!WriteAtomically(path, Serialise(text))) {
        LogW(L"WritePrivateProfileString: cannot write %ls", path.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
