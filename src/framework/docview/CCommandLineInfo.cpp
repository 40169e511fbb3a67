// Command-line parsing.
#include "framework/docview/CCommandLineInfo.h"

#include "framework/Unicode.h"

void CCommandLineInfo::ParseParam(const std::string& param, bool flag, bool)
{
    if (flag) {
        if (EqualsIgnoringCase(param, "pt")) {
            m_nShellCommand = FilePrintTo;
            m_nPrintToArgs = 3;
        } else if (EqualsIgnoringCase(param, "p")) {
            m_nShellCommand = FilePrint;
        } else if (EqualsIgnoringCase(param, "dde")) {
            m_nShellCommand = FileDDE;
        } else if (EqualsIgnoringCase(param, "Unregister") || EqualsIgnoringCase(param, "Unregserver")) {
            m_nShellCommand = AppUnregister;
        }
        return;
    }
    if (m_strFileName.empty()) {
        m_strFileName = param;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
        return;
    }
    if (m_nShellCommand == FilePrintTo && m_nPrintToArgs > 0) {
        std::string* fields[] = {&m_strPrinterName, &m_strDriverName, &m_strPortName};
        *fields[3 - m_nPrintToArgs--] = param;
    }
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> words;
    size_t i = 0;
    const size_t n = commandLine.size();
    bool first = true;
    while (true) {
        while (i < n && (commandLine[i] == ' ' || commandLine[i] == '\t'))
            ++i;
        if (i >= n)
            break;
        std::string word;
        bool quoted = false;
        while (i < n && (quoted || (commandLine[i] != ' ' && commandLine[i] != '\t'))) {
            char c = commandLine[i];
            if (first) {
                // The program name: quotes group, backslashes are plain characters.
                if (c == '"')
                    quoted = !quoted;
                else
                    word += c;
                ++i;
                continue;
            }
            if (c == '\\') {
                size_t slashes = 0;
                while (i < n && commandLine[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && commandLine[i] == '"') {
                    word.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        word += '"';
                        ++i;
                    }
                } else {
                    word.append(slashes, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && commandLine[i + 1] == '"') {
                    word += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            word += c;
            ++i;
        }
        if (!first)
            words.push_back(word);
        first = false;
    }
    return words;
}
