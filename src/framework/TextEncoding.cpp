// Detecting, decoding and encoding document text.
#include "framework/TextEncoding.h"

#include "framework/GbkDecoder.h"
#include "framework/Unicode.h"

#include <windows.h>

#include <mutex>

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool HasNonAscii(std::string_view bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}
}

unsigned CodePageOf(const TextEncoding& encoding)
{
    return encoding.kind == TextEncoding::Kind::Utf8 ? CP_UTF8 : kGbkCodePage;
}

TextEncoding DetectEncoding(std::string_view bytes)
{
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        return TextEncoding{TextEncoding::Kind::Utf8, true};
    if (HasNonAscii(bytes) && IsValidUtf8(bytes))
        return TextEncoding{TextEncoding::Kind::Utf8, false};
    return TextEncoding{};
}

std::wstring DecodeText(std::string_view bytes, const TextEncoding& encoding)
{
    if (encoding.bom && encoding.kind == TextEncoding::Kind::Utf8 && bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        bytes.remove_prefix(kUtf8Bom.size());
    return DecodeCodePage(bytes, CodePageOf(encoding));
}

std::optional<std::wstring> DecodeExactly(std::string_view bytes, const TextEncoding& encoding)
{
    if (encoding.kind == TextEncoding::Kind::Gbk) {
        // One table for the program, filled and checked as files need it, on any thread.
        static std::mutex mutex;
        static CGbkDecoder decoder;
        std::lock_guard lock(mutex);
        return decoder.DecodeExactly(bytes);
    }
    // Well-formed UTF-8 comes back byte for byte, its mark included; a zero byte would not.
    if (bytes.find('\0') != std::string_view::npos || !IsValidUtf8(bytes))
        return std::nullopt;
    return DecodeText(bytes, encoding);
}

std::string EncodeText(std::wstring_view text, const TextEncoding& encoding)
{
    std::string bytes = EncodeCodePage(text, CodePageOf(encoding));
    bool mark = encoding.bom && encoding.kind == TextEncoding::Kind::Utf8;
    return mark ? std::string(kUtf8Bom) + bytes : bytes;
}
