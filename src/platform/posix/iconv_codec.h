#pragma once
// The text codec off Windows, on the C library's iconv. The ANSI code page
// is UTF-8 here, as on the systems this backend serves; a code page the C
// library lacks converts ASCII only (logged once).

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/text_codec.h"

namespace platform::posix {

class IconvCodec final : public TextCodec {
public:
    IconvCodec();
    ~IconvCodec() override;
    IconvCodec(const IconvCodec&) = delete;
    IconvCodec& operator=(const IconvCodec&) = delete;

    DecodedText ToWide(CodePage page, std::string_view bytes) override;
    EncodedText FromWide(CodePage page, std::wstring_view text, size_t maxBytes) override;

private:
    class Converter;
    enum class Direction { ToWide, FromWide };

    // Opened on first use and kept: opening costs more than most conversions.
    Converter& ConverterFor(CodePage page, Direction direction);

    std::mutex mutex_;
    std::map<std::pair<CodePage, Direction>, std::unique_ptr<Converter>> converters_;
};

}  // namespace platform::posix
