// What the lab box costs the machine: the host's milliseconds for each second of machine time
// with its three counters clocked at 1 MHz (OUT0 a 440 Hz tone on the speaker) as the machine
// brings its devices up to time every millisecond, and with the tone at 50 kHz. Prints
// "name value" pairs a line.
#include "dos/DosMachine.h"
#include "doshost/HostDrive.h"
#include "labbox/LabBox.h"
#include "support/BenchProcess.h"
#include "support/QuietDosHost.h"

#include <cstdio>
#include <memory>

using namespace dos;

namespace {

constexpr uint64_t kSeconds = 10;

double HostMsPerMachineSecond(uint16_t count)
{
    CQuietDosHost host;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), DosMachineSettings{});
    const labbox::LabPreset preset = *labbox::LabPreset::Find("288");
    int badLine = 0;
    labbox::CLabBox box(preset, *labbox::CLabWiring::Parse(preset.wiring, badLine), machine.Clock(), machine.Interrupts());
    box.Attach(machine.Bus());
    for (const uint8_t control : {0x36, 0x74, 0xB4}) {
        box.Out(0x283, control);
        box.Out(static_cast<uint16_t>(0x280 + (control >> 6)), static_cast<uint8_t>(count));
        box.Out(static_cast<uint16_t>(0x280 + (control >> 6)), static_cast<uint8_t>(count >> 8));
    }
    const double start = Now();
    for (uint64_t ms = 1; ms <= kSeconds * 1000; ++ms)
        box.Advance(ms * CMachineClock::kNanosecondsPerMs);
    return (Now() - start) / kSeconds;
}

}

int main()
{
    std::printf("labbox_tone_440hz_host_ms_per_s %.1f\n", HostMsPerMachineSecond(2273));
    std::printf("labbox_tone_50khz_host_ms_per_s %.1f\n", HostMsPerMachineSecond(20));
    return 0;
}
