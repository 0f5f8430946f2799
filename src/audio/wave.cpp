#include "audio/wave.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/log.h"
#include "platform/text_codec.h"

namespace audio {

namespace {

constexpr size_t kRiffHeaderBytes = 12;
constexpr size_t kChunkHeaderBytes = 8;
constexpr size_t kFmtBytes = 16;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
bool Is(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

struct Chunks {
    const uint8_t* fmt = nullptr;
    size_t fmtSize = 0;
    const uint8_t* data = nullptr;
    size_t declared = 0;  // the data chunk's own length
    size_t present = 0;   // what the file holds of it
};

// Walks the chunks after the RIFF header, so that chunks before the data
// and a longer format chunk are read right. Chunks are padded to even sizes.
Chunks FindChunks(const uint8_t* bytes, size_t size) {
    Chunks c;
    size_t at = kRiffHeaderBytes;
    while (at + kChunkHeaderBytes <= size && !c.data) {
        const uint8_t* header = bytes + at;
        const size_t length = U32(header + 4);
        const size_t body = at + kChunkHeaderBytes;
        const size_t available = size - body;
        if (Is(header, "fmt ") && !c.fmt) {
            c.fmt = header + kChunkHeaderBytes;
            c.fmtSize = length < available ? length : available;
        } else if (Is(header, "data")) {
            c.data = header + kChunkHeaderBytes;
            c.declared = length;
            c.present = length < available ? length : available;
        }
        if (length >= available) break;
        at = body + length + (length & 1);
    }
    return c;
}

WaveLoadResult Invalid(const std::wstring& source, const wchar_t* reason) {
    platform::LogW(L"CWave::Load: %ls: %ls", source.c_str(), reason);
    return WaveLoadResult::InvalidFile;
}

// The whole file; false when it is no regular file or cannot be read.
bool ReadFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
    const std::string utf8 = platform::WideToUtf8(path);
    const std::filesystem::path file(std::u8string(utf8.begin(), utf8.end()));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    try {
        std::ifstream in(file, std::ios::binary);
        const uintmax_t size = std::filesystem::file_size(file, ec);
        if (!in || ec) return false;
        bytes.resize(static_cast<size_t>(size));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
        bytes.resize(static_cast<size_t>(in.gcount()));  // a file that shrank meanwhile
        return !in.bad();
    } catch (const std::ios_base::failure&) {
        return false;
    }
}

}  // namespace

void CWaveBuffer::SetSamples(const uint8_t* bytes, uint32_t frameSize, uint32_t count) {
    m_pSamples.assign(bytes, bytes + static_cast<size_t>(frameSize) * count);
    m_nSampleSize = frameSize;
    m_nNumSamples = count;
}

WaveLoadResult CWave::Parse(const uint8_t* bytes, size_t size, const std::wstring& source) {
    if (size < kRiffHeaderBytes || !Is(bytes, "RIFF") || !Is(bytes + 8, "WAVE")) {
        return Invalid(source, L"not a RIFF WAVE file");
    }
    const Chunks c = FindChunks(bytes, size);
    if (!c.fmt || c.fmtSize < kFmtBytes) return Invalid(source, L"no format chunk");
    if (!c.data) return Invalid(source, L"no data chunk");
    platform::PcmFormat format;
    format.formatTag = 1;  // played as PCM whatever the file says
    format.channels = U16(c.fmt + 2);
    format.samplesPerSec = U32(c.fmt + 4);
    format.avgBytesPerSec = U32(c.fmt + 8);
    format.blockAlign = U16(c.fmt + 12);
    format.bitsPerSample = U16(c.fmt + 14);
    format.extraSize = 0;
    if (format.blockAlign == 0) return Invalid(source, L"block align 0");
    if (c.present < c.declared) {
        platform::LogW(L"CWave::Load: %ls: the data ends after %lu of %lu bytes", source.c_str(),
                       static_cast<unsigned long>(c.present), static_cast<unsigned long>(c.declared));
    }
    const size_t frames = c.present / format.blockAlign;
    m_Format = format;
    m_Buffer.SetSamples(c.data, format.blockAlign, static_cast<uint32_t>(frames));
    return WaveLoadResult::Ok;
}

WaveLoadResult CWave::Load(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes)) {
        platform::LogW(L"CWave::Load: %ls: cannot be opened", path.c_str());
        return WaveLoadResult::CannotOpen;
    }
    return Parse(bytes.data(), bytes.size(), path);
}

}  // namespace audio
