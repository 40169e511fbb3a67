// The real MASM 5.10 and LINK 3.65, run through korvane-dos.exe on the mistakes students make:
// every message line they print is explained, and each mistake gets the message expected.
#include "explain/MessageExplainer.h"

#include "DosTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace explain {

namespace {

struct Mistake {
    const char* name;
    // The body of the code segment, between the program's fixed start and end.
    const char* code;
    // The message the mistake must give: "A2009", "L4021", or the start of an unnumbered one.
    const wchar_t* expected;
    bool link;
};

// A program with a data, a stack and a code segment, the mistake in its code.
std::string Program(const Mistake& mistake)
{
    return std::string("data segment\r\nx db 1\r\nw dw 2\r\ndata ends\r\n") +
           (mistake.link && std::string(mistake.name) == "NOSTACK" ? "" : "stack segment stack\r\n dw 64 dup (?)\r\nstack ends\r\n") +
           "code segment\r\nassume cs:code, ds:data\r\nstart: mov ax, data\r\n mov ds, ax\r\n" + mistake.code +
           "\r\n mov ax, 4c00h\r\n int 21h\r\ncode ends\r\nend start\r\n";
}

const Mistake kMistakes[] = {
    {"UNDEF", " mov ax, count", L"A2009", false},
    {"SEGIMM", " mov es, data", L"A2056", false},
    {"BIGBYTE", " mov al, 300", L"A2050", false},
    {"NOSIZE", " mov [bx], 1", L"A2035", false},
    {"MISMATCH", " mov ax, bl", L"A4031", false},
    {"TWOBASE", " mov ax, [bx+bp]", L"A2046", false},
    {"AXINDEX", " mov ax, [ax]", L"A2048", false},
    {"HEXFF", " mov al, ffh", L"A2009", false},
    {"TWICE", "again: nop\r\nagain: nop", L"A2004", false},
    {"TYPO", " movv ax, 1", L"A2105", false},
    {"FARJUMP", " jz there\r\n db 200 dup (0)\r\nthere: nop", L"A2053", false},
    {"OPENPROC", "work proc\r\n ret", L"Open procedures", false},
    {"MEMMEM", " mov x, w", L"A2052", false},
    {"NOSTACK", " nop", L"L4021", true},
    {"EXTERNAL", " extrn print:near\r\n call print", L"L2029", true},
};

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring Tool(const wchar_t* name)
{
    return L"\"" + Widened(KORVANE_DOS_TOOLS) + L"\\" + name + L"\"";
}

// The keys of the message lines of the output; each line that is a message must be explained.
std::vector<MessageKey> Messages(const std::string& output)
{
    std::vector<MessageKey> keys;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::optional<MessageKey> key = MessageKeyOf(Widened(line));
        if (!key)
            continue;
        EXPECT_NE(FindMessage(*key), nullptr) << line;
        keys.push_back(*key);
    }
    return keys;
}

bool Gives(const std::vector<MessageKey>& keys, std::wstring_view expected)
{
    for (const MessageKey& key : keys) {
        const wchar_t prefix = key.tool == MessageTool::Link ? L'L' : L'A';
        if (key.nNumber != 0 ? expected == prefix + std::to_wstring(key.nNumber) : key.strText.starts_with(expected))
            return true;
    }
    return false;
}

TEST(RealToolOutput, EveryMistakeIsExplained)
{
    dos::DosTest::CScratchFolder folder;
    for (const Mistake& mistake : kMistakes) {
        const std::wstring name = Widened(mistake.name);
        dos::DosTest::WriteHostFile(folder.Path() + L"\\" + name + L".ASM", Program(mistake));
        std::string output = dos::DosTest::RunRunner(Tool(L"MASM.EXE") + L" " + name + L".ASM;", folder.Path()).output;
        if (mistake.link)
            output += dos::DosTest::RunRunner(Tool(L"LINK.EXE") + L" " + name + L";", folder.Path()).output;
        const std::vector<MessageKey> keys = Messages(output);
        EXPECT_TRUE(Gives(keys, mistake.expected)) << mistake.name << ":\n" << output;
    }
}

}  // namespace

}  // namespace explain
