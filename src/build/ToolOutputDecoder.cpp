// Decoding the tools' output.
#include "build/ToolOutputDecoder.h"

#include <windows.h>

namespace {
// The tools print GBK, also on a system whose ANSI code page is another one.
constexpr UINT kToolCodePage = 936;
// Shown for a lead byte that no valid trail byte follows.
constexpr wchar_t kReplacement = L'\xFFFD';

bool IsLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool IsTrail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}
}

void CToolOutputDecoder::Flush(std::string& bytes, std::wstring& text)
{
    if (bytes.empty())
        return;
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(kToolCodePage, 0, bytes.data(), size, nullptr, 0);
    const size_t start = text.size();
    text.resize(start + static_cast<size_t>(length));
    ::MultiByteToWideChar(kToolCodePage, 0, bytes.data(), size, text.data() + start, length);
    bytes.clear();
}

std::wstring CToolOutputDecoder::Decode(std::string_view piece)
{
    std::wstring text;
    if (piece.empty())
        return text;
    // Only single bytes and whole, valid pairs go to the system's conversion, which would
    // otherwise take any byte after a lead byte as its trail, a line end included.
    std::string bytes;
    bytes.reserve(piece.size() + piece.size() / 8 + 2);
    size_t i = 0;
    if (m_bHoldingLead) {
        m_bHoldingLead = false;
        if (IsTrail(static_cast<unsigned char>(piece[0]))) {
            bytes += m_chHeldLead;
            bytes += piece[0];
            i = 1;
        } else {
            text += kReplacement;
        }
    }
    for (; i < piece.size(); ++i) {
        const auto c = static_cast<unsigned char>(piece[i]);
        if (IsLead(c)) {
            m_bAfterCr = false;
            if (i + 1 == piece.size()) {
                m_chHeldLead = piece[i];
                m_bHoldingLead = true;
            } else if (IsTrail(static_cast<unsigned char>(piece[i + 1]))) {
                bytes += piece[i];
                bytes += piece[++i];
            } else {
                Flush(bytes, text);
                text += kReplacement;
            }
            continue;
        }
        // The edit control breaks lines at CR LF only.
        if (c == '\n' && !m_bAfterCr)
            bytes += '\r';
        bytes += c == '\0' ? ' ' : piece[i];
        m_bAfterCr = c == '\r';
    }
    Flush(bytes, text);
    return text;
}

std::wstring CToolOutputDecoder::Finish()
{
    std::wstring text;
    if (m_bHoldingLead)
        text += kReplacement;
    *this = CToolOutputDecoder();
    return text;
}
