// The shell's DDE requests to the running program.
#include "framework/docview/ShellOpenServer.h"

#include "framework/AfxRes.h"
#include "framework/CWinThread.h"
#include "framework/CWnd.h"
#include "framework/Unicode.h"

#include <cwchar>
#include <cstring>

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsAsciiAlphaNumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The execute string of a DDE block: UTF-16 when both windows are Unicode windows, else in
// the ANSI code page of the client that wrote it. The block need not end in a zero: read no
// further than it reaches.
std::string CommandText(const void* data, size_t size, bool unicode)
{
    if (unicode) {
        const auto* chars = static_cast<const wchar_t*>(data);
        return Narrow(std::wstring_view(chars, wcsnlen(chars, size / sizeof(wchar_t))));
    }
    const auto* bytes = static_cast<const char*>(data);
    return Narrow(DecodeCodePage(std::string_view(bytes, strnlen(bytes, size)), CP_ACP));
}

void SkipBlanks(const std::string& text, size_t& pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
}

// One argument: a quoted text ("" stands for one quote) or a bare word up to ',' or ')'.
bool ParseArgument(const std::string& text, size_t& pos, std::string& arg)
{
    SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] == '"') {
        for (++pos; pos < text.size(); ++pos) {
            if (text[pos] != '"') {
                arg += text[pos];
            } else if (pos + 1 < text.size() && text[pos + 1] == '"') {
                arg += '"';
                ++pos;
            } else {
                ++pos;
                SkipBlanks(text, pos);
                return true;
            }
        }
        return false;
    }
    while (pos < text.size() && text[pos] != ',' && text[pos] != ')')
        arg += text[pos++];
    while (!arg.empty() && IsBlank(arg.back()))
        arg.pop_back();
    return true;
}

bool ParseCommand(const std::string& text, size_t& pos, DdeCommand& command)
{
    ++pos;
    SkipBlanks(text, pos);
    while (pos < text.size() && (IsAsciiAlphaNumeric(text[pos]) || text[pos] == '_'))
        command.name += text[pos++];
    if (command.name.empty())
        return false;
    SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] == '(') {
        ++pos;
        SkipBlanks(text, pos);
        if (pos < text.size() && text[pos] == ')') {
            ++pos;
        } else {
            for (;;) {
                std::string arg;
                if (!ParseArgument(text, pos, arg) || pos >= text.size())
                    return false;
                command.args.push_back(arg);
                if (text[pos] == ')') {
                    ++pos;
                    break;
                }
                if (text[pos] != ',')
                    return false;
                ++pos;
            }
        }
        SkipBlanks(text, pos);
    }
    if (pos >= text.size() || text[pos] != ']')
        return false;
    ++pos;
    return true;
}
}

bool ParseDdeCommands(const std::string& text, std::vector<DdeCommand>& commands)
{
    std::vector<DdeCommand> parsed;
    size_t pos = 0;
    for (SkipBlanks(text, pos); pos < text.size(); SkipBlanks(text, pos)) {
        DdeCommand command;
        if (text[pos] != '[' || !ParseCommand(text, pos, command))
            return false;
        parsed.push_back(command);
    }
    if (parsed.empty())
        return false;
    commands = std::move(parsed);
    return true;
}

ShellOpenServer::ShellOpenServer(const std::string& application, const std::string& topic, FileAction open,
                                 FileAction print)
    : m_strApplication(application), m_strTopic(topic), m_open(std::move(open)), m_print(std::move(print))
{
}

bool ShellOpenServer::OnMessage(HWND server, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND client = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_DDE_INITIATE:
        OnInitiate(server, client, LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_DDE_EXECUTE:
        OnExecute(server, client, reinterpret_cast<HGLOBAL>(lParam));
        return true;
    case WM_DDE_TERMINATE:
        if (::IsWindow(client))
            ::PostMessageW(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(server), 0);
        return true;
    }
    return false;
}

// An empty atom asks for any application or topic.
bool ShellOpenServer::Matches(ATOM atom, const std::string& name) const
{
    if (atom == 0)
        return true;
    wchar_t text[256] = L"";
    return ::GlobalGetAtomNameW(atom, text, static_cast<int>(std::size(text))) > 0 && EqualsIgnoringCase(Narrow(text), name);
}

void ShellOpenServer::OnInitiate(HWND server, HWND client, ATOM application, ATOM topic)
{
    if (!::IsWindow(client) || !Matches(application, m_strApplication) || !Matches(topic, m_strTopic))
        return;
    // The answer carries atoms of its own, which the client deletes.
    ATOM answerApplication = ::GlobalAddAtomW(Widen(m_strApplication).c_str());
    ATOM answerTopic = ::GlobalAddAtomW(Widen(m_strTopic).c_str());
    ::SendMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server), MAKELPARAM(answerApplication, answerTopic));
}

void ShellOpenServer::OnExecute(HWND server, HWND client, HGLOBAL commands)
{
    WORD status = 0;
    CWnd* mainWnd = AfxGetMainWnd();
    if (const void* data = commands ? ::GlobalLock(commands) : nullptr) {
        std::string text = CommandText(data, ::GlobalSize(commands), ::IsWindowUnicode(client) && ::IsWindowUnicode(server));
        ::GlobalUnlock(commands);
        // While a modal dialog runs, opening a file under it would pull the document away.
        if (mainWnd && !::IsWindowEnabled(mainWnd->GetSafeHwnd()))
            status = DDE_FBUSY;
        else if (Execute(text))
            status = DDE_FACK;
    }
    LPARAM answer = ::PackDDElParam(WM_DDE_ACK, status, reinterpret_cast<UINT_PTR>(commands));
    if (!::IsWindow(client) || !::PostMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server), answer))
        ::FreeDDElParam(WM_DDE_ACK, answer);
}

bool ShellOpenServer::Execute(const std::string& text)
{
    std::vector<DdeCommand> commands;
    if (!ParseDdeCommands(text, commands))
        return false;
    bool ok = true;
    for (const DdeCommand& command : commands) {
        if (command.args.size() != 1)
            ok = false;
        else if (EqualsIgnoringCase(command.name, "open"))
            ok = OpenFile(command.args[0]) && ok;
        else if (EqualsIgnoringCase(command.name, "print"))

            ok = PrintFile(command.args[0]) && ok;
        else
            ok = false;
    }
    return ok;
}

bool ShellOpenServer::OpenFile(const std::string& path)
{
    if (!m_open(path))
        return false;
    ShowMainWindow();
    return true;
}

bool ShellOpenServer::PrintFile(const std::string& path)
{
    return m_print(path);
}

void ShellOpenServer::ShowMainWindow()
{
    CWnd* mainWnd = AfxGetMainWnd();
    if (!mainWnd)
        return;
    HWND wnd = mainWnd->GetSafeHwnd();
    if (!::IsWindowVisible(wnd)) {
        ::ShowWindow(wnd, m_nShowCmd == SW_HIDE ? SW_SHOWNORMAL : m_nShowCmd);
        ::UpdateWindow(wnd);
    } else if (::IsIconic(wnd)) {
        ::ShowWindow(wnd, SW_RESTORE);
    }
    ::SetForegroundWindow(wnd);
}
