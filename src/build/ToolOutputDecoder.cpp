// Decoding the tools' output.
#include "build/ToolOutputDecoder.h"

#include <windows.h>

namespace {
// The tools print GBK, also on a system whose ANSI code page is another one.
constexpr UINT kGbkCodePage = 936;
// Shown for a byte that starts no whole character.
constexpr wchar_t kReplacement = L'\xFFFD';

bool IsGbkLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool IsGbkTrail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
size_t Utf8Length(unsigned char lead)
{
    return lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

// The UTF-8 sequence at data[i]: its length, 0 when it is malformed, npos when the data end
// inside it. Overlong forms and surrogates are malformed.
size_t Utf8SequenceAt(std::string_view data, size_t i)
{
    const auto lead = static_cast<unsigned char>(data[i]);
    const size_t length = Utf8Length(lead);
    if (length == 0)
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if (i + k >= data.size())
            return std::string_view::npos;
        const auto next = static_cast<unsigned char>(data[i + k]);
        if (!IsContinuation(next))
            return 0;
        if (k == 1 && ((lead == 0xE0 && next < 0xA0) || (lead == 0xED && next > 0x9F) ||
                       (lead == 0xF0 && next < 0x90) || (lead == 0xF4 && next > 0x8F)))
            return 0;
    }
    return length;
}
}

void CToolOutputDecoder::Flush(std::string& bytes, std::wstring& text) const
{
    if (bytes.empty())
        return;
    const UINT codePage = m_code == LineCode::Utf8 ? CP_UTF8 : kGbkCodePage;
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    const size_t start = text.size();
    text.resize(start + static_cast<size_t>(length));
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data() + start, length);
    bytes.clear();
}

CToolOutputDecoder::LineCode CToolOutputDecoder::ChooseCode(std::string_view data, size_t start)
{
    bool seen = false;
    for (size_t i = start; i < data.size() && data[i] != '\n';) {
        if (static_cast<unsigned char>(data[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t length = Utf8SequenceAt(data, i);
        if (length == 0)
            return LineCode::Gbk;
        // A first character cut by the data's end tells nothing yet.
        if (length == std::string_view::npos)
            return seen ? LineCode::Utf8 : LineCode::Undecided;
        seen = true;
        i += length;
    }
    return LineCode::Utf8;
}

size_t CToolOutputDecoder::CharacterLength(std::string_view data, size_t i) const
{
    if (m_code == LineCode::Utf8)
        return Utf8SequenceAt(data, i);
    if (!IsGbkLead(static_cast<unsigned char>(data[i])))
        return 0;
    if (i + 1 == data.size())
        return std::string_view::npos;
    return IsGbkTrail(static_cast<unsigned char>(data[i + 1])) ? 2 : 0;
}

std::wstring CToolOutputDecoder::Decode(std::string_view piece)
{
    std::wstring text;
    const std::string joined = m_strHeld + std::string(piece);
    m_strHeld.clear();
    const std::string_view data(joined);
    // Only single bytes and whole, valid characters go to the system's conversion, which would
    // otherwise take any byte after a lead byte as its trail, a line end included.
    std::string bytes;
    bytes.reserve(data.size() + data.size() / 8 + 2);
    for (size_t i = 0; i < data.size();) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (c >= 0x80) {
            m_bAfterCr = false;
            if (m_code == LineCode::Undecided) {
                // What came before on this line is ASCII, the same in either code.
                Flush(bytes, text);
                m_code = ChooseCode(data, i);
                if (m_code == LineCode::Undecided) {
                    m_strHeld.assign(data.substr(i));
                    break;
                }
            }
            const size_t length = CharacterLength(data, i);
            if (length == std::string_view::npos) {
                m_strHeld.assign(data.substr(i));
                break;
            }
            if (length == 0) {
                Flush(bytes, text);
                text += kReplacement;
                ++i;
                continue;
            }
            bytes.append(data.substr(i, length));
            i += length;
            continue;
        }
        // The window breaks lines at CR LF; each line chooses its code afresh.
        if (c == '\n') {
            if (!m_bAfterCr)
                bytes += '\r';
            bytes += '\n';
            Flush(bytes, text);
            m_code = LineCode::Undecided;
        } else {
            bytes += c == '\0' ? ' ' : static_cast<char>(c);
        }
        m_bAfterCr = c == '\r';
        ++i;
    }
    Flush(bytes, text);
    return text;
}

std::wstring CToolOutputDecoder::Finish()
{
    std::wstring text(m_strHeld.size() ? 1 : 0, kReplacement);
    *this = CToolOutputDecoder();
    return text;
}
