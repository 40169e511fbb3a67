// korvane-dos.exe's command line: [--mem KB] [--dos-version M.N] [--pause] [--pace N|max]
// [--fixed-time] [--allow-writes FOLDER]... [--observe MS[,MS...]] [--labbox NAME
// [--wiring CABLES] [--set switches=BITS@MS | --set pulse@MS | --set adc[N]=VOLTS@MS]...] [--wave FILE]
// [--floppy IMAGE] PROGRAM [TAIL], where TAIL is the rest of the line as it stands, passed on
// as the program's command tail; or the same options with --boot IMAGE and no PROGRAM; or
// --make-floppy IMAGE alone.
#pragma once

#include "dos/MachineClock.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dos {

// A hand on the lab box at a machine time: the switches set (bit 7 first in the text), the
// pulse key pressed (and let go 20 ms later), or an ADC input set.
struct BoxSetting {
    enum class Kind : uint8_t { Switches, Pulse, Analog };
    Kind kind = Kind::Switches;
    uint64_t ms = 0;
    uint8_t switches = 0;
    unsigned input = 0;
    double volts = 0;
    friend bool operator==(const BoxSetting&, const BoxSetting&) = default;
};

struct RunnerOptions {
    uint16_t memoryKb = 640;
    uint8_t versionMajor = 5;
    uint8_t versionMinor = 0;
    // At the end, say the exit code and wait for a key (a console window of its own).
    bool pause = false;
    // As fast as it can in real time unless --pace or --fixed-time says otherwise.
    MachinePace pace;
    // Machine times (ms, ascending) at which the devices' views are printed.
    std::vector<uint64_t> observe;
    // Folders where the program may change files besides its own, the current one and the
    // temporary one.
    std::vector<std::wstring> writableFolders;
    // The lab box's preset ("288", "300"), empty for none, and the hands on it in the order given.
    std::string labbox;
    // The box's wiring table in place of the preset's own (empty: the preset's).
    std::string wiring;
    std::vector<BoxSetting> settings;
    // Where what the speaker played is written as a WAV file at the end (none: it is heard).
    std::wstring wave;
    // The diskette image in A:, booted from with --boot, made anew with --make-floppy.
    std::wstring floppy;
    bool boot = false;
    bool makeFloppy = false;
    std::wstring program;
    // Everything after PROGRAM, its leading blank included, as COMMAND.COM passes it.
    std::wstring tail;
};

class CRunnerOptions {
public:
    // The whole command line, the runner's own name first. False with `bad` naming the
    // argument at fault (empty when PROGRAM is missing).
    static bool Parse(const std::wstring& commandLine, RunnerOptions& options, std::wstring& bad);

private:
    // The next argument from `at` (its quotes removed); `at` moves past it.
    static bool NextToken(const std::wstring& line, size_t& at, std::wstring& token);
    static bool ParseVersion(const std::wstring& text, RunnerOptions& options);
    static bool ParseMemory(const std::wstring& text, RunnerOptions& options);
    // "max", or instructions a millisecond from 1 to 1,000,000.
    static bool ParsePace(const std::wstring& text, RunnerOptions& options);
    // Milliseconds separated by commas.
    static bool ParseObserve(const std::wstring& text, RunnerOptions& options);
    static bool ParseLabBox(const std::wstring& text, RunnerOptions& options);
    // A wiring table, its cables separated by ';'.
    static bool ParseWiring(const std::wstring& text, RunnerOptions& options);
    // "switches=10000000@T", "pulse@T", "adc=2.5@T", "adc3=1.2@T".
    static bool ParseSetting(const std::wstring& text, RunnerOptions& options);
    // Where the option that takes a file name keeps it (and what it turns on); none for others.
    static std::wstring* FileOption(const std::wstring& token, RunnerOptions& options);
};

}  // namespace dos
