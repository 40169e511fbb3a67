// The debugger tests' programs and folders: the real DOS tools run in-process, the programs
// nasm and as31 built at build time.
#include "DebuggerTestSupport.h"

#include "debug/DosTarget.h"
#include "debug/SourceMapLoader.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace mcs51;

using namespace dos;

void PrintTo(const SourceLine& line, std::ostream* out)
{
    *out << line.file << "(" << line.line << ")";
}

namespace DebuggerTest {

namespace {

std::wstring Widen(const std::string& text)
{
    return std::filesystem::path(text).wstring();
}

// Takes the tools' output; they read no input.
class CToolHost : public IDosHost {
public:
    void Write(DosStream, const uint8_t* bytes, size_t count) override { output.append(reinterpret_cast<const char*>(bytes), count); }
    InputState ReadInput(uint8_t*, size_t, size_t& count) override
    {
        count = 0;
        return InputState::End;
    }
    InputState PeekInput() override { return InputState::End; }
    void OnUnsupported(const std::string& what) override { output += "[unsupported " + what + "]"; }

    std::string output;
};

}

CScratchFolder::CScratchFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int s_nCount = 0;
    m_path = std::wstring(temp) + L"kdbg" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++s_nCount);
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

CScratchFolder::~CScratchFolder()
{
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

std::wstring CScratchFolder::File(const std::string& name) const
{
    return m_path + L"\\" + Widen(name);
}

int RunDosTool(const std::string& tool, const std::string& tail, const std::wstring& folder, std::string& output)
{
    CToolHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), DosMachineSettings{});
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring previous(length, L'\0');
    previous.resize(GetCurrentDirectoryW(length, previous.data()));
    SetCurrentDirectoryW(folder.c_str());
    const LoadError error = machine.Load(Widen(std::string(KORVANE_DOS_TOOLS) + "\\" + tool), tail);
    SetCurrentDirectoryW(previous.c_str());
    if (error != LoadError::None)
        return -1;
    MachineState state = MachineState::Running;
    for (int slices = 0; slices < 2000 && state != MachineState::Ended && state != MachineState::Faulted; ++slices)
        state = machine.Run(10'000'000);
    output = host.output;
    return state == MachineState::Ended ? machine.ExitCode() : -2;
}

void CopySources(const std::vector<std::string>& names, const std::wstring& folder)
{
    for (const std::string& name : names) {
        std::ifstream in(std::filesystem::path(KORVANE_DEBUGGER_SOURCES) / name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string dos;
        for (const char c : text) {
            if (c == '\n' && (dos.empty() || dos.back() != '\r'))
                dos += '\r';
            dos += c;
        }
        std::ofstream out(std::filesystem::path(folder) / name, std::ios::binary);
        out << dos;
    }
}

void BuildMasm(const std::string& name, const std::wstring& folder)
{
    std::string output;
    ASSERT_EQ(RunDosTool("MASM.EXE", name + "," + name + "," + name + ";", folder, output), 0) << output;
    ASSERT_EQ(RunDosTool("LINK.EXE", name + "," + name + "," + name + "/MAP;", folder, output), 0) << output;
}

std::wstring Built(const std::string& name)
{
    return Widen(std::string(KORVANE_DEBUGGER_PROGRAMS) + "\\" + name);
}

DebugLaunch Launch(const std::wstring& program, const std::wstring& source, std::vector<SourceLine> breakpoints)
{
    DebugLaunch launch;
    launch.program = program;
    launch.folder = std::filesystem::path(source).parent_path().wstring();
    launch.sourceMap = CSourceMapLoader::Load(program, source);
    launch.breakpoints = std::move(breakpoints);
    return launch;
}

SourceLine LineOf(const std::wstring& source, const std::string& file, const std::string& text)
{
    const std::vector<std::string> lines =
        CSourceMapLoader::ReadLines(std::filesystem::path(source).parent_path() / Widen(file));
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos)
            return {file, static_cast<int>(i + 1)};
    ADD_FAILURE() << "no line with " << text << " in " << file;
    return {file, 0};
}

std::string ScreenText(CDebugSession& session)
{
    const ScreenCells screen = session.Screen();
    std::string text;
    for (int row = 0; row < ScreenCells::kRows; ++row) {
        std::string line;
        for (int column = 0; column < ScreenCells::kColumns; ++column) {
            const char c = static_cast<char>(screen.cells[row * ScreenCells::kColumns + column] & 0xFF);
            line += c == '\0' ? ' ' : c;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}

void SumSession::SetUp()
{
    CopySources({"SUM.ASM", "PRINT.INC"}, m_folder.Path());
    BuildMasm("SUM", m_folder.Path());
    m_source = m_folder.File("SUM.ASM");
    ASSERT_EQ(m_session.Start(Launch(m_folder.File("SUM.EXE"), m_source)).cause, StopCause::Started);
}

CpuState& SumSession::Registers()
{
    return m_session.Target()->Dos()->Registers();
}

std::string SumSession::Expand(std::string text)
{
    const auto replace = [&](const std::string& name, const std::string& digits) {
        for (size_t at; (at = text.find(name)) != std::string::npos;)
            text.replace(at, name.size(), digits);
    };
    const auto hex = [](unsigned value, const char* format) {
        char digits[5];
        snprintf(digits, sizeof digits, format, value);
        return std::string(digits);
    };
    const uint16_t psp = m_session.Target()->Dos()->PspSegment();
    // The data segment follows the PSP's 10h paragraphs and the code's 20h.
    const uint16_t data = static_cast<uint16_t>(psp + 0x10 + 0x20);
    replace("{CS}", hex(Registers().cs(), "%04X"));
    replace("{SS}", hex(Registers().ss(), "%04X"));
    replace("{PSP}", hex(psp, "%04X"));
    replace("{DSB}", hex(data & 0xFF, "%02X") + hex(data >> 8u, "%02X"));
    replace("{DS}", hex(data, "%04X"));
    return text;
}

}
