// Conversions between UTF-8, UTF-16 and code pages.
#include "framework/Unicode.h"

#include <windows.h>

namespace {
int Length(size_t size)
{
    return static_cast<int>(size);
}
}

std::wstring DecodeCodePage(std::string_view bytes, unsigned codePage)
{
    if (bytes.empty())
        return {};
    int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), Length(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), Length(bytes.size()), text.data(), n);
    return text;
}

std::string EncodeCodePage(std::wstring_view text, unsigned codePage, bool* lossy)
{
    if (lossy)
        *lossy = false;
    if (text.empty())
        return {};
    // UTF-8 takes no default character: asking would fail the call. A look-alike character
    // ("e" for "é") would be a loss that passes unnoticed, so none is taken when it matters.
    BOOL usedDefault = FALSE;
    bool ask = lossy && codePage != CP_UTF8;
    BOOL* askDefault = ask ? &usedDefault : nullptr;
    DWORD flags = ask ? WC_NO_BEST_FIT_CHARS : 0;
    int n = ::WideCharToMultiByte(codePage, flags, text.data(), Length(text.size()), nullptr, 0, nullptr, askDefault);
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), Length(text.size()), bytes.data(), n, nullptr, askDefault);

    if (lossy)
        *lossy = usedDefault != FALSE;
    return bytes;
}

std::wstring Widen(std::string_view utf8)
{
    return DecodeCodePage(utf8, CP_UTF8);
}

std::string Narrow(std::wstring_view wide)
{
    return EncodeCodePage(wide, CP_UTF8);
}

std::string ToGbk(std::string_view utf8)
{
    return EncodeCodePage(Widen(utf8), kGbkCodePage);
}

std::string FromGbk(std::string_view gbk)
{
    return Narrow(DecodeCodePage(gbk, kGbkCodePage));
}

size_t GbkLength(std::wstring_view text)
{
    if (text.empty())
        return 0;
    return static_cast<size_t>(
        ::WideCharToMultiByte(kGbkCodePage, 0, text.data(), Length(text.size()), nullptr, 0, nullptr, nullptr));
}

size_t GbkLength(std::string_view utf8)
{
    return GbkLength(Widen(utf8));
}

bool IsGbkLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByteEx(kGbkCodePage, byte) != FALSE;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    std::wstring wideA = Widen(a), wideB = Widen(b);
    return ::CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                  static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

bool IsValidUtf8(std::string_view bytes)

{
    size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        size_t extra = 0;
        unsigned long code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (i + extra >= bytes.size())
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        // The shortest form only, no surrogate halves, nothing past the last code point.
        static const unsigned long kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += extra + 1;
    }
    return true;
}
