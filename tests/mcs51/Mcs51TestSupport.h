// Helpers of the 8051 tests: programs given as bytes, Intel HEX made from them, files in the
// temporary folder, and korvane-51.exe run as a process with its output captured.
#pragma once

#include "mcs51/Machine51.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mcs51 {

using Bytes51 = std::vector<uint8_t>;

// Intel HEX records of code at origin, 16 bytes a record, and the end record.
std::string HexOf(const Bytes51& code, uint16_t origin = 0);
// A machine with the code loaded at 0 and reset.
std::unique_ptr<CMachine51> MachineWith(const Bytes51& code, Mcs51Variant variant = Mcs51Variant::k8051);
// Runs to the next instruction at address (at most limit cycles); false when not reached.
bool RunTo(CMachine51& machine, uint16_t address, uint64_t limit = 100000);

// A file of the given bytes in the temporary folder; removed by the destructor.
class CTempFile51 {
public:
    CTempFile51(const std::wstring& name, const std::string& bytes);
    ~CTempFile51();
    CTempFile51(const CTempFile51&) = delete;
    CTempFile51& operator=(const CTempFile51&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

struct RunnerResult51 {
    unsigned long exitCode = 0;
    std::string out;
    std::string err;
};

// Starts korvane-51.exe (beside the test) with the arguments, writes input to its standard
// input and closes it, and waits for its end.
RunnerResult51 RunRunner(const std::wstring& arguments, const std::string& input = {});

}  // namespace mcs51
