#include "platform/text_codec.h"

namespace platform {

std::string WideToUtf8(std::wstring_view text) {
    return CurrentTextCodec().FromWide(CodePage::Utf8, text, kNoByteLimit).bytes;
}

std::wstring Utf8ToWide(std::string_view text) { return CurrentTextCodec().ToWide(CodePage::Utf8, text).text; }

}  // namespace platform
