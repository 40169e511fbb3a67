// The desktop shell's requests to the running program, sent as DDE messages to the main
// window: "[open(\"path\")]" opens a file like File Open, "[print(\"path\")]" prints one.
#pragma once

#include <windows.h>

#include <dde.h>

#include <functional>
#include <string>
#include <vector>

// One command of an execute text: its name and arguments, quotes removed.
struct DdeCommand {
    std::string name;
    std::vector<std::string> args;
};

// Splits "[open(\"a\")][print(\"b\")]" into its commands; false (and nothing) for text
// that is not a list of bracketed commands.
bool ParseDdeCommands(const std::string& text, std::vector<DdeCommand>& commands);

class ShellOpenServer {
public:
    // What the program does with a file the shell names: true when it was done.
    using FileAction = std::function<bool(const std::string& path)>;

    ShellOpenServer(const std::string& application, const std::string& topic, FileAction open, FileAction print);

    // Answers one DDE message for the window `server`; false for other messages.
    bool OnMessage(HWND server, UINT message, WPARAM wParam, LPARAM lParam);
    // Carries out an execute text; true when every command in it succeeded.
    bool Execute(const std::string& text);

    // How the main window is shown once the shell has opened a file in it (the program
    // started hidden with /dde keeps the show command it was started with here).
    void SetShowCommand(int showCmd) { m_nShowCmd = showCmd; }

private:
    bool Matches(ATOM atom, const std::string& name) const;
    void OnInitiate(HWND server, HWND client, ATOM application, ATOM topic);
    void OnExecute(HWND server, HWND client, HGLOBAL commands);
    bool OpenFile(const std::string& path);
    bool PrintFile(const std::string& path);
    void ShowMainWindow();

    std::string m_strApplication;
    std::string m_strTopic;
    FileAction m_open;
    FileAction m_print;
    int m_nShowCmd = SW_SHOWNORMAL;
};
