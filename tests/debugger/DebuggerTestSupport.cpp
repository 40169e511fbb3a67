// The debugger tests' programs and folders: the real DOS tools run in-process, the programs
// nasm and as31 built at build time.
#include "DebuggerTestSupport.h"

#include "debug/DebugResources.h"
#include "debug/DosTarget.h"
#include "debug/Target51.h"
#include "debug/SourceMapLoader.h"
#include "doshost/HostDrive.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

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
    StopReason state = StopReason::Limit;
    for (int slices = 0; slices < 2000 && state != StopReason::Ended && state != StopReason::Faulted; ++slices)
        state = machine.Run(10'000'000);
    output = host.output;
    return state == StopReason::Ended ? machine.ExitCode() : -2;
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

DebugLaunch Launch(const std::wstring& program, const std::wstring& source, std::vector<SourceLine> breakpoints,
                   const std::vector<std::wstring>& otherModules)
{
    DebugLaunch launch;
    launch.program = program;
    launch.folder = std::filesystem::path(source).parent_path().wstring();
    launch.sourceMap = CSourceMapLoader::Load(program, source, otherModules);
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
    const std::string screen = session.Content(PaneOf(session, IDC_DEBUG_SCREEN), PaneQuery{}).image.Text();
    std::string text;
    for (size_t start = 0; start < screen.size();) {
        const size_t end = screen.find("\r\n", start);
        std::string line = screen.substr(start, end - start);
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
        start = end + 2;
    }
    return text;
}

dos::CDosTarget& DosTarget(CDebugSession& session)
{
    return *static_cast<dos::CDosTarget*>(session.Target());
}

mcs51::CTarget51& Target51(CDebugSession& session)
{
    return *static_cast<mcs51::CTarget51*>(session.Target());
}

CDebugPane& PaneOf(CDebugSession& session, uint16_t id)
{
    CDebugPane* pane = session.Pane(id);
    if (!pane)
        throw std::runtime_error("the session has no pane " + std::to_string(id));
    return *pane;
}

void SumSession::SetUp()
{
    CopySources({"SUM.ASM", "PRINT.INC"}, m_folder.Path());
    BuildMasm("SUM", m_folder.Path());
    m_source = m_folder.File("SUM.ASM");
    ASSERT_EQ(m_session.Start(Launch(m_folder.File("SUM.EXE"), m_source)).result, SessionResult::Started);
}

CpuState& SumSession::Registers()
{
    return DosTarget(m_session).Registers();
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
    const uint16_t psp = DosTarget(m_session).PspSegment();
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
