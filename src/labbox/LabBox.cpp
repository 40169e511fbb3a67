// The box's cables between its chips and its devices, its 1 MHz clock and what it shows.
#include "labbox/LabBox.h"

#include "labbox/LabBoxPicture.h"
#include "machine/SevenSegment.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace labbox {

namespace {
constexpr uint64_t kNsPerTick = 1000;
constexpr uint64_t kNsPerUs = 1000;
// The lamps of the lit time: LEDs 0-7, digit0's segments, digit1's, the six lights.
constexpr unsigned kDigitLamps = 8;
constexpr unsigned kLightLamps = 24;
// A tone whose last rising edge is older than this has stopped.
constexpr uint64_t kSilenceNs = 100 * dos::CMachineClock::kNanosecondsPerMs;
constexpr uint64_t kTraceNs = 20 * dos::CMachineClock::kNanosecondsPerMs;
constexpr uint64_t kTraceStepNs = 100 * kNsPerUs;
// A half step of the stepper (7.5 degrees a full step, 48 a turn).
constexpr double kHalfStepDegrees = 3.75;

// The labels in code page 936.
const char kSwitchesLabel[] = "\xBF\xAA\xB9\xD8: ";
const char kDigitsLabel[] = "\xCA\xFD\xC2\xEB\xB9\xDC: ";
const char kLightsLabel[] = "\xBA\xEC\xC2\xCC\xB5\xC6: ";
const char kSouthNorth[] = "\xC4\xCF\xB1\xB1";
const char kEastWest[] = "\xB6\xAB\xCE\xF7";
const char* const kColours[] = {"\xBA\xEC", "\xBB\xC6", "\xC2\xCC"};
const char kDark[] = "\xC3\xF0";
const char kSpeakerLabel[] = "\xD1\xEF\xC9\xF9\xC6\xF7: ";
const char kSilent[] = "\xB9\xD8";
const char kStepperLabel[] = "\xB2\xBD\xBD\xF8\xB5\xE7\xBB\xFA: ";
const char kDegree[] = "\xA1\xE3";

// The rotor's place (in half steps, 0-7) that phases A-D (bits 0-3) hold it at; -1 for none.
int RotorAt(uint8_t phases)
{
    static const int kPlaces[16] = {-1, 0, 2, 1, 4, -1, 3, -1, 6, 7, -1, -1, 5, -1, -1, -1};
    return kPlaces[phases & 15];
}

std::string Bits(uint8_t value)
{
    std::string bits;
    for (int bit = 7; bit >= 0; --bit)
        bits += (value >> bit) & 1 ? '1' : '0';
    return bits;
}

std::string Number(double value, const char* format)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
}

CLabBox::CLabBox(const LabPreset& preset, const CLabWiring& wiring, const dos::CMachineClock& clock, dos::CInterruptController& pc)
    : m_preset(preset), m_wiring(wiring), m_clock(clock), m_pc(pc)
{
    for (int counter = 0; counter < CPit8254::kCounters; ++counter) {
        const LabPin out{PinKind::Out, static_cast<uint8_t>(counter)};
        const std::optional<LabPin> clk = m_wiring.SourceOf({PinKind::Clk, static_cast<uint8_t>(counter)});
        if (clk && clk->kind == PinKind::Clock1Mhz)
            m_nFastClocks = static_cast<uint8_t>(m_nFastClocks | 1u << counter);
        for (const PinKind felt : {PinKind::PortA, PinKind::PortB, PinKind::PortC, PinKind::Clk, PinKind::Gate, PinKind::Ir, PinKind::Irq})
            if (m_wiring.Drives(out, felt))
                m_nFeltOuts = static_cast<uint8_t>(m_nFeltOuts | 1u << counter);
    }
    for (const LabCable& cable : m_wiring.Cables()) {
        m_bEocWired = m_bEocWired || cable.source.kind == PinKind::Eoc;
        const int port = cable.sink.kind == PinKind::PortA ? 0 : cable.sink.kind == PinKind::PortB ? 1 : cable.sink.kind == PinKind::PortC ? 2 : -1;
        if (port >= 0)
            m_cabled[static_cast<size_t>(port)] = static_cast<uint8_t>(m_cabled[static_cast<size_t>(port)] | 1u << cable.sink.index);
    }
    Reset();
}

std::unique_ptr<CLabBox> CLabBox::PlugInto(dos::CDosMachine& machine, std::string_view preset, std::string_view table)
{
    const std::optional<LabPreset> found = LabPreset::Find(preset);
    if (!found)
        return nullptr;
    int badLine = 0;
    const std::optional<CLabWiring> wiring = CLabWiring::Parse(table.empty() ? std::string_view(found->wiring) : table, badLine);
    if (!wiring)
        return nullptr;
    auto box = std::make_unique<CLabBox>(*found, *wiring, machine.Clock(), machine.Interrupts());
    box->Attach(machine.Bus());
    return box;
}

void CLabBox::Attach(dos::CDeviceBus& bus)
{
    bus.MapPorts(m_preset.ppi, static_cast<uint16_t>(m_preset.ppi + 3), *this);
    bus.MapPorts(m_preset.pit, static_cast<uint16_t>(m_preset.pit + 3), *this);
    bus.MapPorts(m_preset.pic, static_cast<uint16_t>(m_preset.pic + 1), *this);
    bus.MapPorts(m_preset.dac, m_preset.dac, *this);
    bus.MapPorts(m_preset.adc, static_cast<uint16_t>(m_preset.adc + CAdc0809::kInputs - 1), *this);
    Reset();
}

void CLabBox::Reset()
{
    m_ppi.Reset();
    m_pit.Reset();
    m_pic.Reset();
    m_dac.Reset();
    m_adc.Reset();
    m_nTicks = 0;
    m_nNow = 0;
    m_nClkLevels = 0;
    m_nIrqLevels = 0;
    m_nLamps = 0;
    m_lit.Reset(0, 0);
    m_bSpeaker = false;
    m_nLastRise = 0;
    m_nPeriod = 0;
    m_nPhases = 0;
    m_nHalfSteps = 0;
    m_dacWrites.assign(1, {0, 0});
    {
        std::lock_guard<std::mutex> lock(m_handLock);
        m_hand.changed = true;
    }
    TakeHand(0);
    Settle(0);
}

void CLabBox::SetSwitches(uint8_t up)
{
    std::lock_guard<std::mutex> lock(m_handLock);
    m_hand.switches = up;
    m_hand.changed = true;
}

void CLabBox::SetPulse(bool held)
{
    std::lock_guard<std::mutex> lock(m_handLock);
    m_hand.pulse = held;
    m_hand.changed = true;
}

void CLabBox::SetAnalog(unsigned input, double volts)
{
    std::lock_guard<std::mutex> lock(m_handLock);
    m_hand.analog[input % CAdc0809::kInputs] = volts;
    m_hand.changed = true;
}

void CLabBox::TakeHand(uint64_t now)
{
    Hand hand;
    {
        std::lock_guard<std::mutex> lock(m_handLock);
        if (!m_hand.changed)
            return;
        m_hand.changed = false;
        hand = m_hand;
    }
    m_nSwitches = hand.switches;
    m_bPulse = hand.pulse;
    for (unsigned input = 0; input < CAdc0809::kInputs; ++input)
        m_adc.SetInput(input, hand.analog[input]);
    Settle(now);
}

void CLabBox::CatchUp(uint64_t now)
{
    if (now < m_nNow)
        Reset();
    const uint64_t target = now / kNsPerTick;
    if (!m_nFastClocks)
        m_nTicks = target;
    while (m_nTicks < target) {
        ++m_nTicks;
        for (int counter = 0; counter < CPit8254::kCounters; ++counter)
            if ((m_nFastClocks >> counter) & 1)
                m_pit.Clock(counter);
        const uint8_t outs = static_cast<uint8_t>(m_pit.Out(0) | m_pit.Out(1) << 1 | m_pit.Out(2) << 2);
        if (outs != m_nOuts) {
            m_nNow = m_nTicks * kNsPerTick;
            Settle(m_nNow);
        }
    }
    m_nNow = now;
    if (m_bEocWired && m_adc.EndOfConversion(now) != m_bEoc)
        Settle(now);
    TakeHand(now);
}

bool CLabBox::Level(LabPin source) const
{
    switch (source.kind) {
    case PinKind::PortA:
    case PinKind::PortB:
    case PinKind::PortC: {
        // A pin neither the chip nor a cable drives lights nothing.
        const auto port = static_cast<CPpi8255::Port>(static_cast<unsigned>(source.kind) - static_cast<unsigned>(PinKind::PortA));
        const uint8_t driven = static_cast<uint8_t>(m_ppi.Outputs(port) | m_cabled[port]);
        return (m_ppi.Pins(port) & driven) >> source.index & 1;
    }
    case PinKind::Out:
        return m_pit.Out(source.index);
    case PinKind::Int:
        return m_pic.Int();
    case PinKind::Eoc:
        return m_adc.EndOfConversion(m_nNow);
    case PinKind::Switch:
        return (m_nSwitches >> source.index) & 1;
    case PinKind::Pulse:
        return m_bPulse;
    case PinKind::High:
        return true;
    default:
        // 1mhz is a clock, not a level.
        return false;
    }
}

uint32_t CLabBox::Sources() const
{
    return static_cast<uint32_t>(m_ppi.Pins(CPpi8255::kA) | m_ppi.Pins(CPpi8255::kB) << 8 | m_ppi.Pins(CPpi8255::kC) << 16) ^
           static_cast<uint32_t>(m_pit.Out(0) | m_pit.Out(1) << 1 | m_pit.Out(2) << 2 | m_pic.Int() << 3) << 24;
}

uint32_t CLabBox::DriveInputs()
{
    // Inputs no cable drives float high.
    std::array<uint8_t, 3> ports{0xFF, 0xFF, 0xFF};
    for (const LabCable& cable : m_wiring.Cables()) {
        const bool level = Level(cable.source);
        const uint8_t bit = static_cast<uint8_t>(1u << (cable.sink.index & 7));
        switch (cable.sink.kind) {
        case PinKind::PortA:
        case PinKind::PortB:
        case PinKind::PortC: {
            uint8_t& port = ports[static_cast<unsigned>(cable.sink.kind) - static_cast<unsigned>(PinKind::PortA)];
            port = static_cast<uint8_t>(level ? port | bit : port & ~bit);
            break;
        }
        case PinKind::Gate:
            m_pit.SetGate(cable.sink.index, level);
            break;
        case PinKind::Clk:
            if (cable.source.kind != PinKind::Clock1Mhz) {
                if (level && !(m_nClkLevels & bit))
                    m_pit.Clock(cable.sink.index);
                m_nClkLevels = static_cast<uint8_t>(level ? m_nClkLevels | bit : m_nClkLevels & ~bit);
            }
            break;
        case PinKind::Ir:
            m_pic.SetInput(cable.sink.index, level);
            break;
        case PinKind::Irq: {
            const auto irqBit = static_cast<uint16_t>(1u << cable.sink.index);
            if (level && !(m_nIrqLevels & irqBit))
                m_pc.Raise(cable.sink.index);
            m_nIrqLevels = static_cast<uint16_t>(level ? m_nIrqLevels | irqBit : m_nIrqLevels & ~irqBit);
            break;
        }
        default:
            break;
        }
    }
    m_ppi.Drive(CPpi8255::kA, ports[0]);
    m_ppi.Drive(CPpi8255::kB, ports[1]);
    m_ppi.Drive(CPpi8255::kC, ports[2]);
    return Sources();
}

void CLabBox::Settle(uint64_t now)
{
    // A chip's output on another's input (OUT on a GATE, INT on an IR) settles in a few rounds.
    uint32_t before = Sources();
    for (int round = 0; round < 8; ++round) {
        const uint32_t after = DriveInputs();
        if (after == before)
            break;
        before = after;
    }
    m_nOuts = static_cast<uint8_t>(m_pit.Out(0) | m_pit.Out(1) << 1 | m_pit.Out(2) << 2);
    m_bEoc = m_adc.EndOfConversion(now);
    Lamps(now);
    const std::optional<LabPin> speaker = m_wiring.SourceOf({PinKind::Speaker, 0});
    Speaker(speaker && Level(*speaker), now);
    uint8_t phases = 0;
    for (uint8_t phase = 0; phase < 4; ++phase) {
        const std::optional<LabPin> source = m_wiring.SourceOf({PinKind::Phase, phase});
        if (source && Level(*source))
            phases = static_cast<uint8_t>(phases | 1u << phase);
    }
    Stepper(phases);
}

void CLabBox::Lamps(uint64_t now)
{
    uint64_t leds = 0, segments = 0, digits = 0, lights = 0;
    for (const LabCable& cable : m_wiring.Cables()) {
        const uint64_t bit = uint64_t{Level(cable.source)} << cable.sink.index;
        switch (cable.sink.kind) {
        case PinKind::Led:
            leds |= bit;
            break;
        case PinKind::Segment:
            segments |= bit;
            break;
        case PinKind::Digit:
            digits |= bit;
            break;
        case PinKind::Light:
            lights |= bit;
            break;
        default:
            break;
        }
    }
    uint64_t lamps = leds | lights << kLightLamps;
    for (unsigned digit = 0; digit < 2; ++digit)
        if ((digits >> digit) & 1)
            lamps |= segments << (kDigitLamps * (digit + 1));
    if (lamps != m_nLamps) {
        m_nLamps = lamps;
        m_lit.Set(now / kNsPerUs, lamps);
    }
}

void CLabBox::Speaker(bool level, uint64_t now)
{
    if (level && !m_bSpeaker) {
        m_nPeriod = m_nLastRise ? now - m_nLastRise : 0;
        m_nLastRise = now;
    }
    m_bSpeaker = level;
}

void CLabBox::Stepper(uint8_t phases)
{
    if (phases == m_nPhases)
        return;
    m_nPhases = phases;
    const int place = RotorAt(phases);
    if (place < 0)
        return;
    // The rotor turns the short way to the phases' place; half a turn of the sequence away
    // pulls it neither way.
    int delta = ((place - m_nHalfSteps) % 8 + 8) % 8;
    if (delta == 4)
        return;
    m_nHalfSteps += delta > 4 ? delta - 8 : delta;
}

void CLabBox::Dac(uint64_t now)
{
    m_dacWrites.emplace_back(now, m_dac.Value());
    // The last write before the trace's window holds its start.
    while (m_dacWrites.size() > 1 && m_dacWrites[1].first + kTraceNs <= now)
        m_dacWrites.pop_front();
}

unsigned CLabBox::SpeakerHz(uint64_t now) const
{
    if (!m_nPeriod || now - m_nLastRise > kSilenceNs)
        return 0;
    return static_cast<unsigned>((1000000000ull + m_nPeriod / 2) / m_nPeriod);
}

uint8_t CLabBox::In(uint16_t port)
{
    const uint64_t now = m_clock.Now();
    CatchUp(now);
    uint8_t value = 0xFF;
    if (port >= m_preset.ppi && port < m_preset.ppi + 4) {
        // The pins as the cables carry them now; the read may move the handshake.
        Settle(now);
        value = m_ppi.Read(port - m_preset.ppi);
        Settle(now);
    } else if (port >= m_preset.pit && port < m_preset.pit + 4) {
        value = m_pit.Read(port - m_preset.pit);
    } else if (port >= m_preset.pic && port < m_preset.pic + 2) {
        value = m_pic.Read(port - m_preset.pic);
        Settle(now);
    } else if (port >= m_preset.adc && port < m_preset.adc + CAdc0809::kInputs) {
        value = m_adc.Read(now);
    }
    return value;
}

void CLabBox::Out(uint16_t port, uint8_t value)
{
    const uint64_t now = m_clock.Now();
    CatchUp(now);
    if (port >= m_preset.ppi && port < m_preset.ppi + 4) {
        m_ppi.Write(port - m_preset.ppi, value);
    } else if (port >= m_preset.pit && port < m_preset.pit + 4) {
        m_pit.Write(port - m_preset.pit, value);
    } else if (port >= m_preset.pic && port < m_preset.pic + 2) {
        m_pic.Write(port - m_preset.pic, value);
    } else if (port == m_preset.dac) {
        m_dac.Write(value);
        Dac(now);
    } else if (port >= m_preset.adc && port < m_preset.adc + CAdc0809::kInputs) {
        m_adc.Start(port - m_preset.adc, now);
    }
    Settle(now);
}

uint64_t CLabBox::Advance(uint64_t now)
{
    CatchUp(now);
    uint32_t quiet = ~0u;
    for (int counter = 0; counter < CPit8254::kCounters; ++counter)
        if ((m_nFeltOuts >> counter) & 1)
            quiet = std::min(quiet, m_pit.QuietClocks(counter));
    uint64_t next = quiet == ~0u || !m_nFastClocks ? kNever : (m_nTicks + quiet) * kNsPerTick;
    if (m_bEocWired && m_adc.EndsAt() && *m_adc.EndsAt() > now)
        next = std::min(next, *m_adc.EndsAt());
    return next;
}

LabBoxState CLabBox::State() const
{
    const uint64_t now = std::max(m_nNow, m_clock.Now());
    const uint64_t nowUs = now / kNsPerUs;
    LabBoxState state;
    const machine::CLitTime::Share share = m_lit.Over(nowUs);
    for (int led = 7; led >= 0; --led) {
        const auto lamp = static_cast<unsigned>(led);
        state.leds += share.AtLeast(lamp, 2, 3) ? '1' : share.AtMost(lamp, 1, 3) ? '0' : '~';
    }
    state.switches = m_nSwitches;
    const uint64_t seen = m_lit.Seen(nowUs);
    for (unsigned digit = 0; digit < 2; ++digit)
        state.digits[digit] = static_cast<uint8_t>(seen >> (kDigitLamps * (digit + 1)));
    for (unsigned light = 0; light < 6; ++light)
        state.lights[light] = share.AtLeast(kLightLamps + light, 1, 2);
    state.speakerHz = SpeakerHz(now);
    state.dacVolts = m_dac.Volts();
    size_t write = 0;
    for (uint64_t at = now > kTraceNs ? now - kTraceNs : 0; at <= now; at += kTraceStepNs) {
        while (write + 1 < m_dacWrites.size() && m_dacWrites[write + 1].first <= at)
            ++write;
        state.dacTrace.push_back(m_dacWrites[write].second);
    }
    state.adcVolts = m_adc.Input(0);
    state.stepperDegrees = std::fmod(std::fmod(m_nHalfSteps * kHalfStepDegrees, 360.0) + 360.0, 360.0);
    state.pulseHeld = m_bPulse;
    return state;
}

std::string CLabBox::Text() const
{
    const LabBoxState state = State();
    std::string digits;
    for (const uint8_t segments : state.digits) {
        digits += machine::SevenSegment::CharacterOf(segments);
        if (segments & 0x80)
            digits += '.';
    }
    const auto lights = [&state](size_t first) {
        std::string lit;
        for (size_t colour = 0; colour < 3; ++colour)
            if (state.lights[first + colour])
                lit += kColours[colour];
        return lit.empty() ? std::string(kDark) : lit;
    };
    std::string text = "LED: " + state.leds + "\r\n";
    text += kSwitchesLabel + Bits(state.switches) + "\r\n";
    text += kDigitsLabel + digits + "\r\n";
    text += kLightsLabel + std::string(kSouthNorth) + lights(0) + " " + kEastWest + lights(3) + "\r\n";
    text += kSpeakerLabel + (state.speakerHz ? std::to_string(state.speakerHz) + " Hz" : std::string(kSilent)) + "\r\n";
    text += "DAC: " + Number(state.dacVolts, "%.2f") + " V\r\n";
    text += kStepperLabel + Number(state.stepperDegrees, "%g") + kDegree + "\r\n";
    return text;
}

machine::DeviceView CLabBox::View() const
{
    return {Text(), CLabBoxPicture::Draw(State())};
}

bool CLabBox::Input(const machine::DeviceInput& input)
{
    const auto press = input.action == machine::DeviceInput::Action::Press;
    const auto toggle = input.action == machine::DeviceInput::Action::Toggle;
    std::lock_guard<std::mutex> lock(m_handLock);
    if (!input.pointer) {
        // Keys 1-8 flip switches 0-7, the space bar works the pulse key.
        if (input.key >= '1' && input.key <= '8' && !toggle && press) {
            m_hand.switches = static_cast<uint8_t>(m_hand.switches ^ 1u << (input.key - '1'));
        } else if (input.key == ' ') {
            m_hand.pulse = toggle ? !m_hand.pulse : press;
        } else {
            return false;
        }
        m_hand.changed = true;
        return true;
    }
    const CLabBoxPicture::Hit hit = CLabBoxPicture::HitAt(input.x, input.y);
    switch (hit.target) {
    case CLabBoxPicture::Target::Switch:
        if (input.action == machine::DeviceInput::Action::Release)
            return true;
        m_hand.switches = static_cast<uint8_t>(m_hand.switches ^ 1u << hit.index);
        break;
    case CLabBoxPicture::Target::Pulse:
        m_hand.pulse = toggle ? !m_hand.pulse : press;
        break;
    case CLabBoxPicture::Target::Slider:
        if (input.action == machine::DeviceInput::Action::Release)
            return true;
        m_hand.analog[0] = hit.volts;
        break;
    case CLabBoxPicture::Target::None:
        return false;
    }
    m_hand.changed = true;
    return true;
}

}  // namespace labbox
