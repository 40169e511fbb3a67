// A runner for the frame's build steps that remembers the command line of every step it
// starts and, when asked, the batch file that command line names, as it was at the start.
#pragma once

#include "build/PipeProcess.h"
#include "framework/Unicode.h"
#include "support/TestSupport.h"

#include <string>
#include <vector>

class RecordingProcess : public CPipeProcess {
public:
    explicit RecordingProcess(std::vector<std::string>& commands, std::vector<std::string>* batches = nullptr)
        : m_commands(commands), m_batches(batches)
    {
    }
    Result<void> Start(const std::wstring& commandLine) override
    {
        const std::string command = Narrow(commandLine);
        m_commands.push_back(command);
        if (m_batches) {
            const bool quoted = command.size() > 1 && command.front() == '"';
            m_batches->push_back(ReadFileBytes(quoted ? command.substr(1, command.size() - 2) : command));
        }
        return CPipeProcess::Start(commandLine);
    }

private:
    std::vector<std::string>& m_commands;
    std::vector<std::string>* m_batches;
};
