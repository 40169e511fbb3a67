// What the DOS machine's tests share: where the test programs and korvane-dos.exe are, a host
// that records what the machine tells it, and korvane-dos.exe run as a process.
#pragma once

#include "dos/DosHost.h"
#include "dos/MachineBus.h"

#include <windows.h>

#include <string>
#include <vector>

namespace dos {

namespace DosTest {

// A test program built by nasm from tests/dos/programs ("SCREEN.COM").
std::wstring Program(const std::wstring& name);
std::wstring Runner();
// Writes a file of these bytes (a host path, any name).
void WriteHostFile(const std::wstring& path, const std::string& bytes);
// The whole file's bytes (none when it cannot be read).
std::string ReadHostFile(const std::wstring& path);
// A bus of nothing: a device tested on its own, on a machine that has only it and its clock.
class CNoBus final : public IMachineBus {
public:
    uint8_t In(uint16_t) override { return 0xFF; }
    void Out(uint16_t, uint8_t) override {}
    uint8_t AcknowledgeInterrupt() override { return 0; }
    ServiceResult Service(uint8_t, CCpu8086&) override { return ServiceResult::Done; }
};

// A scratch folder of its own, emptied and removed when the object goes.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// Records output, input asked for, events and unsupported functions; input comes from a
// string and ends when it is used up (or stays pending while `pending` is set).
class CRecordingHost : public IDosHost {
public:
    void Write(DosStream stream, const uint8_t* bytes, size_t count) override;
    InputState ReadInput(uint8_t* bytes, size_t capacity, size_t& count) override;
    InputState PeekInput() override;
    void OnKeyWanted() override { ++keyWanted; }
    void OnExternalEvent(ExternalEvent event) override { events.push_back(event); }
    void OnUnsupported(const std::string& what) override { unsupported.push_back(what); }

    std::string output;
    std::string error;
    std::string input;
    size_t inputAt = 0;
    bool pending = false;
    int keyWanted = 0;
    std::vector<ExternalEvent> events;
    std::vector<std::string> unsupported;
};

struct ProcessResult {
    DWORD exitCode = 0;
    std::string output;
    std::string error;
    bool ended = false;
};
// Runs korvane-dos.exe with these arguments in `folder`, standard output and error through
// pipes and standard input empty; gives up (and ends it) after `timeoutMs`.
ProcessResult RunRunner(const std::wstring& arguments, const std::wstring& folder, DWORD timeoutMs = 60000);

}

}  // namespace dos
