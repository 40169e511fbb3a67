// Turns the bytes a tool prints, piece by piece as the pipe delivers them, into text for a
// Unicode edit control: code page 936 whatever the system's code page, line ends the control
// breaks at, and nothing a piece boundary or a stray byte could break or hide.
#pragma once

#include <string>
#include <string_view>

class CToolOutputDecoder {
public:
    // The text of the next piece. A lead byte that ends the piece is held back until its
    // trail byte arrives; a zero byte shows as a blank; a lone LF becomes CR LF.
    std::wstring Decode(std::string_view piece);
    // The end of the output: a lead byte still held back never got its trail byte.
    std::wstring Finish();

private:
    // Appends the bytes gathered so far, each a single byte or a whole pair, as UTF-16.
    static void Flush(std::string& bytes, std::wstring& text);

    char m_chHeldLead = 0;
    bool m_bHoldingLead = false;
    bool m_bAfterCr = false;
};
