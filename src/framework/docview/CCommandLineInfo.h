// The command line: at most one file and the framework's standard switches.
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing };

    // Takes one argument (already split and unquoted); flag tells whether it began with / or -.
    void ParseParam(const std::string& param, bool flag, bool last);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;

private:
    int m_nPrintToArgs = 0;
};

// Splits a command line by the system's rules (blanks separate, double quotes group,
// backslashes escape quotes); the program's own name, the first word, is dropped.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
