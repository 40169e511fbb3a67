// The interface lab box on the PC's bus: an 8255, an 8253 (an 8254), an 8259, a DAC0832 and an
// ADC0809 at a preset's ports, wired by its table to eight LEDs, eight switches, two
// multiplexed digits, the traffic lights, a speaker, a stepper motor and the single-pulse key,
// the chips' clocks from the box's 1 MHz. The 8259's INT drives an IRQ of the PC's own
// interrupt controller. One device of the bus: it catches up with machine time whenever the
// program touches a port and whenever the machine brings its devices up to time.
#pragma once

#include "dos/BusDevice.h"
#include "dos/DeviceBus.h"
#include "dos/DosMachine.h"
#include "dos/InterruptController.h"
#include "dos/MachineClock.h"
#include "labbox/Adc0809.h"
#include "labbox/Dac0832.h"
#include "labbox/LabPreset.h"
#include "labbox/LabWiring.h"
#include "labbox/Pic8259.h"
#include "labbox/Pit8254.h"
#include "labbox/Ppi8255.h"
#include "machine/LitTime.h"

#include <array>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace labbox {

// What the box shows at a moment, for its lines and its picture.
struct LabBoxState {
    // Bit 7 first: '1' lit, '0' dark, '~' flickering.
    std::string leds;
    uint8_t switches = 0;
    // The segments a person sees on each digit, the left one (digit0) first.
    std::array<uint8_t, 2> digits{};
    // South-north red, yellow, green, then east-west.
    std::array<bool, 6> lights{};
    // 0 for silent.
    unsigned speakerHz = 0;
    double dacVolts = 0;
    // The DAC's output over the last 20 ms, oldest first, one sample a 100 us.
    std::vector<uint8_t> dacTrace;
    double adcVolts = 0;
    double stepperDegrees = 0;
    bool pulseHeld = false;
};

class CLabBox final : public dos::CBusDevice {
public:
    // The wiring must be the preset's own, parsed; the clock and the controller are the PC's.
    CLabBox(const LabPreset& preset, const CLabWiring& wiring, const dos::CMachineClock& clock, dos::CInterruptController& pc);

    // A box of the preset named ("288", "300") wired by the table given (the preset's own when
    // it is empty), on the machine's bus and wired to its interrupt controller; none for a name
    // no preset has or a table that does not parse.
    static std::unique_ptr<CLabBox> PlugInto(dos::CDosMachine& machine, std::string_view preset, std::string_view wiring = {});

    // The chips' ports on the bus; the box starts afresh.
    void Attach(dos::CDeviceBus& bus);
    void Reset();

    // A person's (or the runner's) hand on the box, from any thread: taken at the machine's
    // next look at its devices.
    void SetSwitches(uint8_t up);
    void SetPulse(bool held);
    void SetAnalog(unsigned input, double volts);

    uint8_t In(uint16_t port) override;
    void Out(uint16_t port, uint8_t value) override;
    uint64_t Advance(uint64_t now) override;
    std::string_view Name() const override { return "labbox"; }
    // "LED: 00000001", "开关: 10000000", "数码管: 42", "红绿灯: 南北绿 东西红", "扬声器: 440 Hz"
    // or "扬声器: 关", "DAC: 2.50 V", "步进电机: 90°" (in code page 936), and the box's picture.
    machine::DeviceView View() const override;
    bool Input(const machine::DeviceInput& input) override;

    LabBoxState State() const;
    // The lines of the view alone.
    std::string Text() const;

    const CPic8259& Pic() const { return m_pic; }

private:
    // What the hand has set; `changed` until the machine has taken it.
    struct Hand {
        uint8_t switches = 0;
        bool pulse = false;
        std::array<double, CAdc0809::kInputs> analog{};
        bool changed = false;
    };

    // The chips and the devices to machine time now (ns): the 1 MHz clock's edges, the hand's
    // changes; a machine that started over (time went back) starts the box over.
    void CatchUp(uint64_t now);
    void TakeHand(uint64_t now);
    // Every cable carries its source's level to its sink, until nothing moves.
    void Settle(uint64_t now);
    bool Level(LabPin source) const;
    // The chip inputs' levels from their cables; the sources' levels after, as one number.
    uint32_t DriveInputs();
    uint32_t Sources() const;
    void Lamps(uint64_t now);
    void Speaker(bool level, uint64_t now);
    void Stepper(uint8_t phases);
    void Dac(uint64_t now);
    unsigned SpeakerHz(uint64_t now) const;

    LabPreset m_preset;
    CLabWiring m_wiring;
    const dos::CMachineClock& m_clock;
    dos::CInterruptController& m_pc;
    CPpi8255 m_ppi;
    CPit8254 m_pit;
    CPic8259 m_pic;
    CDac0832 m_dac;
    CAdc0809 m_adc;
    // The counters clocked by the 1 MHz, and those whose OUT the program may feel at once.
    uint8_t m_nFastClocks = 0;
    uint8_t m_nFeltOuts = 0;
    // The 1 MHz edges done since time 0.
    uint64_t m_nTicks = 0;
    uint64_t m_nNow = 0;
    // The 8255's pins a cable drives.
    std::array<uint8_t, 3> m_cabled{};
    // The sinks' last levels, to find the edges: clk0-2 and irq0-15.
    uint8_t m_nClkLevels = 0;
    uint16_t m_nIrqLevels = 0;
    uint8_t m_nOuts = 0;
    // EOC on a cable, and its level as the cables last carried it.
    bool m_bEocWired = false;
    bool m_bEoc = true;
    uint8_t m_nSwitches = 0;
    bool m_bPulse = false;
    machine::CLitTime m_lit;
    uint64_t m_nLamps = 0;
    bool m_bSpeaker = false;
    uint64_t m_nLastRise = 0;
    uint64_t m_nPeriod = 0;
    uint8_t m_nPhases = 0;
    // The stepper's rotor in half steps from where it started.
    int m_nHalfSteps = 0;
    // The DAC's writes over the last 20 ms: (time, value).
    std::deque<std::pair<uint64_t, uint8_t>> m_dacWrites;
    mutable std::mutex m_handLock;
    Hand m_hand;
};

}  // namespace labbox
