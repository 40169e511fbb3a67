// The wiring table's text and its cables.
#include "labbox/LabWiring.h"

#include <cctype>

namespace labbox {

namespace {
struct PinName {
    const char* name;
    PinKind kind;
    unsigned count;
    bool sink;
    bool source;
};

// Names of a single pin have a count of 1 and no number.
const PinName kPinNames[] = {
    {"led", PinKind::Led, 8, true, false},       {"seg", PinKind::Segment, 8, true, false},
    {"digit", PinKind::Digit, 2, true, false},   {"light", PinKind::Light, 6, true, false},
    {"speaker", PinKind::Speaker, 1, true, false}, {"phase", PinKind::Phase, 4, true, false},
    {"pa", PinKind::PortA, 8, true, true},       {"pb", PinKind::PortB, 8, true, true},
    {"pc", PinKind::PortC, 8, true, true},       {"clk", PinKind::Clk, 3, true, false},
    {"gate", PinKind::Gate, 3, true, false},     {"ir", PinKind::Ir, 8, true, false},
    {"irq", PinKind::Irq, 16, true, false},      {"out", PinKind::Out, 3, false, true},
    {"int", PinKind::Int, 1, false, true},       {"eoc", PinKind::Eoc, 1, false, true},
    {"switch", PinKind::Switch, 8, false, true},
    {"pulse", PinKind::Pulse, 1, false, true},   {"1mhz", PinKind::Clock1Mhz, 1, false, true},
    {"high", PinKind::High, 1, false, true},     {"low", PinKind::Low, 1, false, true},
};

const PinName& NameOf(PinKind kind)
{
    for (const PinName& name : kPinNames)
        if (name.kind == kind)
            return name;
    return kPinNames[0];
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool Number(std::string_view text, unsigned& value)
{
    if (text.empty() || text.size() > 2)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}
}

const char* const CLabWiring::kDefault =
    "led0-7 = pa0-7\n"
    "seg0-7 = pa0-7\n"
    "digit0 = pc6\n"
    "digit1 = pc7\n"
    "pb0-7 = switch0-7\n"
    "light0-5 = pc0-5\n"
    "clk0-2 = 1mhz\n"
    "gate0-2 = high\n"
    "speaker = out0\n"
    "ir0 = pulse\n"
    "irq3 = int\n";

bool CLabWiring::ParseRange(std::string_view text, PinKind& kind, unsigned& first, unsigned& last)
{
    text = Trim(text);
    for (const PinName& name : kPinNames) {
        const std::string_view prefix = name.name;
        if (text.substr(0, prefix.size()) != prefix)
            continue;
        const std::string_view rest = text.substr(prefix.size());
        kind = name.kind;
        if (name.count == 1) {
            if (!rest.empty())
                continue;
            first = last = 0;
            return true;
        }
        const size_t dash = rest.find('-');
        if (!Number(rest.substr(0, dash), first))
            continue;
        last = first;
        if (dash != std::string_view::npos && !Number(rest.substr(dash + 1), last))
            return false;
        return first <= last && last < name.count;
    }
    return false;
}

bool CLabWiring::ParseLine(std::string_view line, std::vector<LabCable>& cables)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    PinKind sink{}, source{};
    unsigned sinkFirst = 0, sinkLast = 0, sourceFirst = 0, sourceLast = 0;
    if (!ParseRange(line.substr(0, equals), sink, sinkFirst, sinkLast) ||
        !ParseRange(line.substr(equals + 1), source, sourceFirst, sourceLast))
        return false;
    const bool one = sourceFirst == sourceLast;
    if (!NameOf(sink).sink || !NameOf(source).source || (!one && sourceLast - sourceFirst != sinkLast - sinkFirst))
        return false;
    // One source may drive a row of sinks ("gate0-2 = high").
    for (unsigned i = 0; i <= sinkLast - sinkFirst; ++i)
        cables.push_back({{sink, static_cast<uint8_t>(sinkFirst + i)}, {source, static_cast<uint8_t>(one ? sourceFirst : sourceFirst + i)}});
    return true;
}

std::optional<CLabWiring> CLabWiring::Parse(std::string_view text, int& badLine)
{
    CLabWiring wiring;
    badLine = 0;
    for (int number = 1; !text.empty(); ++number) {
        const size_t end = text.find_first_of("\n;");
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        if (!ParseLine(line, wiring.m_cables)) {
            badLine = number;
            return std::nullopt;
        }
    }
    return wiring;
}

std::optional<LabPin> CLabWiring::SourceOf(LabPin sink) const
{
    // A later cable to the same sink takes its place.
    std::optional<LabPin> source;
    for (const LabCable& cable : m_cables)
        if (cable.sink == sink)
            source = cable.source;
    return source;
}

bool CLabWiring::Drives(LabPin source, PinKind sinkKind) const
{
    for (const LabCable& cable : m_cables)
        if (cable.source == source && cable.sink.kind == sinkKind)
            return true;
    return false;
}

}  // namespace labbox
