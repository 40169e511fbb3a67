// DOS's programs: the loader for .COM and MZ .EXE files (the environment block with the
// program's path, the PSP with its command tail and FCBs, relocation, minimum and maximum
// allocation), EXEC (4Bh 00h, 01h, 03h), termination with its return code, and the memory
// and PSP functions (26h, 48h-4Ah, 4Dh, 50h, 51h, 58h, 62h).
#pragma once

#include "dos/CpuState.h"
#include "dos/DosFileServices.h"
#include "dos/DosFileTable.h"
#include "dos/DosState.h"
#include "dos/Drive.h"
#include "dos/MachineBus.h"
#include "dos/MemoryArena.h"
#include "dos/ProgramImage.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace dos {

// Why a program could not be loaded.
enum class LoadError : uint8_t {
    None,
    NotFound,
    Unreadable,
    WindowsProgram,
    CorruptHeader,
    ComTooLarge,
    NotEnoughMemory,
};

class CDosProcesses {
public:
    struct Context {
        CMemory& memory;
        DosState& dos;
        CMemoryArena& arena;
        CDosFileTable& files;
        CDosFileServices& fileServices;
        IDrive& drive;
    };

    explicit CDosProcesses(const Context& context) : m_c(context) {}

    // The arena up to memoryTop with the shell's PSP and its environment (the strings given,
    // "NAME=value" each, as many as fit in 32 KB) at the bottom.
    void Reset(uint16_t memoryTop, const std::vector<std::string>& environment);
    // The first program (named as the front end names it), started from the shell with the
    // command tail given (bytes, without its length or CR); on success `state` is set to its
    // first instruction.
    LoadError LoadFirst(const std::wstring& program, const std::string& tail, CpuState& state);

    ServiceResult Exec(CpuState& state);
    // Ends the current program with its code and type (0 normal, 1 Ctrl+C, 3 resident,
    // keeping `keep` paragraphs). Back in its parent, or Stop after the first program.
    ServiceResult Terminate(CpuState& state, uint8_t code, uint8_t type, int keep = -1);

    void Allocate(CpuState& state);
    void Free(CpuState& state);
    void Resize(CpuState& state);
    void Strategy(CpuState& state);
    void CreatePsp(CpuState& state);
    void ReturnCode(CpuState& state);

    // The first program's return code once Terminate returned Stop.
    uint8_t ExitCode() const { return static_cast<uint8_t>(m_c.dos.returnCode); }
    uint8_t TerminationType() const { return static_cast<uint8_t>(m_c.dos.returnCode >> 8); }

private:
    enum class Mode : uint8_t { Run, LoadOnly };
    struct Request {
        DosPath::FullPath path;
        std::string dosPath;
        std::string tail;        // the length byte, the text and its CR
        uint8_t fcb1[16] = {};
        uint8_t fcb2[16] = {};
        uint16_t environment = 0;
    };
    struct Entry {
        uint16_t psp, cs, ip, ss, sp, ax;
    };
    struct Return {
        CpuState state;
        uint16_t dtaSegment, dtaOffset;
    };

    LoadError ReadImage(const DosPath::FullPath& path, CProgramImage& image);
    LoadError Load(const Request& request, Entry& entry);
    LoadError PlaceImage(const CProgramImage& image, uint16_t& block, uint16_t& loadSegment);
    bool CopyEnvironment(uint16_t source, const std::string& dosPath, uint16_t& block);
    void BuildPsp(uint16_t psp, uint16_t memoryTop, uint16_t parent, uint16_t environment, const Request& request);
    void StartState(const Entry& entry, CpuState& state) const;
    void FillFcbs(Request& request) const;
    void Overlay(CpuState& state, const DosPath::FullPath& path);
    uint16_t FcbValidity(const Request& request) const;

    Context m_c;
    uint16_t m_nShellEnvironment = 0;
    std::map<uint16_t, Return> m_returns;
};

}  // namespace dos
