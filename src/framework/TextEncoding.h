// How a document's bytes are text: GBK, or UTF-8 with or without a byte-order mark. A file
// is read as UTF-8 when it says so with the mark or when it is well-formed UTF-8 with at
// least one byte that is not ASCII; everything else is GBK.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct TextEncoding {
    enum class Kind { Gbk, Utf8 };
    Kind kind = Kind::Gbk;
    bool bom = false;

    friend bool operator==(const TextEncoding&, const TextEncoding&) = default;
};

TextEncoding DetectEncoding(std::string_view bytes);
// The code page of the encoding's bytes: GBK's or UTF-8's.
unsigned CodePageOf(const TextEncoding& encoding);
// The text of the bytes, without the byte-order mark.
std::wstring DecodeText(std::string_view bytes, const TextEncoding& encoding);
// The text of the bytes when it is known to give the same bytes back; nothing when it may
// not (a zero byte, bytes that are no text of the encoding, GBK the fast path cannot vouch
// for), and then only encoding the text again tells.
std::optional<std::wstring> DecodeExactly(std::string_view bytes, const TextEncoding& encoding);
// The bytes of the text, with the byte-order mark where the encoding has one.
std::string EncodeText(std::wstring_view text, const TextEncoding& encoding);
