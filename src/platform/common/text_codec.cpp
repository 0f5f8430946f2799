#include "platform/text_codec.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<TextCodec*> g_codec{nullptr};
}  // namespace

TextCodec& CurrentTextCodec() {
    TextCodec* codec = g_codec.load(std::memory_order_acquire);
    return codec ? *codec : DefaultTextCodec();
}

void InstallTextCodec(TextCodec* codec) { g_codec.store(codec, std::memory_order_release); }

std::string WideToUtf8(std::wstring_view text) {
    return CurrentTextCodec().FromWide(CodePage::Utf8, text, kNoByteLimit).bytes;
}

std::wstring Utf8ToWide(std::string_view text) { return CurrentTextCodec().ToWide(CodePage::Utf8, text).text; }

}  // namespace platform
