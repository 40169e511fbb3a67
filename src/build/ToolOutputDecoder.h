// Turns the bytes a tool prints, piece by piece as the pipe delivers them, into text for the
// output window: GBK (code page 936, whatever the system's code page) or UTF-8, chosen line
// by line, line ends the window breaks at, and nothing a piece boundary or a stray byte could
// break or hide.
#pragma once

#include <string>
#include <string_view>

class CToolOutputDecoder {
public:
    // The text of the next piece. A character cut by the piece's end is held back until the
    // rest arrives; a zero byte shows as a blank; a lone LF becomes CR LF. A line is UTF-8
    // when all of it that has come is well-formed UTF-8 with a byte beyond ASCII (GBK text
    // hardly ever is), else GBK.
    std::wstring Decode(std::string_view piece);
    // The end of the output: a character still held back never got its rest.
    std::wstring Finish();

private:
    enum class LineCode { Undecided, Gbk, Utf8 };

    // Appends the bytes gathered so far, each a single byte or a whole character, as UTF-16.
    void Flush(std::string& bytes, std::wstring& text) const;
    // How the line whose first byte beyond ASCII is data[start] is to be read, from what of it
    // has come; undecided while that first character is cut by the data's end.
    static LineCode ChooseCode(std::string_view data, size_t start);
    // The whole character at data[i] (and where it ends), a byte that is none (0), or one cut
    // by the data's end (npos).
    size_t CharacterLength(std::string_view data, size_t i) const;

    std::string m_strHeld;
    LineCode m_code = LineCode::Undecided;
    bool m_bAfterCr = false;
};
