// DOS 5's interrupts: INT 21h's dispatch to the console, file and program functions, the
// functions DOS answers from its own variables and tables (vectors, version, date and time,
// country, case tables), INT 20h, 23h-29h, 2Fh, and the answer to a function it lacks.
#pragma once

#include "dos/DosClock.h"
#include "dos/DosConsole.h"
#include "dos/DosFileServices.h"
#include "dos/DosHost.h"
#include "dos/DosProcesses.h"
#include "dos/DosState.h"
#include "dos/MachineBus.h"

#include <cstdint>
#include <set>
#include <string>

namespace dos {

class CDosKernel {
public:
    struct Context {
        CMemory& memory;
        DosState& dos;
        CDosConsole& console;
        CDosFileServices& files;
        CDosProcesses& processes;
        CDosClock& clock;
        IDosHost& host;
    };

    explicit CDosKernel(const Context& context) : m_c(context) {}

    // DOS's tables in its data segment; nothing named yet.
    void Reset();
    // One of DOS's interrupts (20h-2Fh, 33h); false when the vector is not DOS's.
    bool Handles(uint8_t vector) const;
    ServiceResult Interrupt(uint8_t vector, CpuState& state);

private:
    ServiceResult Interrupt21(CpuState& state);
    ServiceResult Character(CpuState& state, uint8_t function);
    // Ctrl+C: "^C", then the program's INT 23h (the call runs again when it returns) or the end.
    ServiceResult Break(CpuState& state);
    void Unsupported(CpuState& state, const std::string& what);
    void Version(CpuState& state);
    void BreakFlag(CpuState& state);
    void Date(CpuState& state, bool set);
    void Time(CpuState& state, bool set);
    void Country(CpuState& state);
    void WriteCountryInfo(uint16_t segment, uint16_t offset);
    void CountryTables(CpuState& state);
    void ParseName(CpuState& state);
    void CodePage(CpuState& state);
    void ExtendedError(CpuState& state);
    void WriteTables();

    Context m_c;
    std::set<std::string> m_named;
    // INT 21h 0Ch has flushed for the call that is waiting for its key.
    bool m_bFlushed = false;
};

}  // namespace dos
