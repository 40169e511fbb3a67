// nasm's listing rows: "    6 00000000 BA[1000]                start: mov dx, msg", with
// "<1>" before the text of a row one %include or macro deeper; a macro's rows carry the
// numbers of its definition, so their bytes belong to the row that called it.
#include "debug/NasmListing.h"

#include "debug/ListingText.h"

#include <map>
#include <optional>

namespace {
constexpr size_t kDepthColumn = 36;
constexpr size_t kTextColumn = 40;

struct NasmRow {
    int line = 0;
    std::optional<uint32_t> offset;
    uint32_t size = 0;
    int depth = 0;
    std::string_view text;
};

uint32_t CountNasmBytes(std::string_view bytes)
{
    uint32_t count = 0;
    for (char c : bytes)
        count += (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') ? 1 : 0;
    const size_t repeat = bytes.find("<rep ");
    if (repeat != std::string_view::npos) {
        const size_t end = bytes.find("h>", repeat);
        const auto times = end == std::string_view::npos ? std::nullopt : ParseHex(bytes.substr(repeat + 5, end - repeat - 5));
        return times ? CountNasmBytes(bytes.substr(0, repeat)) * *times : count / 2;
    }
    return count / 2;
}

std::optional<NasmRow> ParseNasmRow(std::string_view row)
{
    if (row.size() < 6)
        return std::nullopt;
    NasmRow parsed;
    const auto number = Words(row.substr(0, 6));
    if (number.size() != 1)
        return std::nullopt;
    parsed.line = std::stoi(std::string(number[0]));
    if (row.size() > 15)
        parsed.offset = ParseHex(Trim(row.substr(7, 8)), 8);
    std::string_view rest = row.size() > kTextColumn ? row.substr(kTextColumn) : std::string_view();
    if (row.size() > kDepthColumn && row[kDepthColumn] == '<') {
        const size_t close = row.find('>', kDepthColumn);
        parsed.depth = std::stoi(std::string(row.substr(kDepthColumn + 1, close - kDepthColumn - 1)));
        rest = row.substr(close + 1);
    }
    if (parsed.offset)
        parsed.size = CountNasmBytes(row.substr(16, kDepthColumn - 16));
    parsed.text = Trim(rest);
    return parsed;
}

// nasm's ways of writing a number: 100h, 0x100, 256.
std::optional<uint32_t> ParseNasmNumber(std::string_view text)
{
    const std::string upper = Upper(text);
    if (upper.ends_with('H'))
        return ParseHex(std::string_view(upper).substr(0, upper.size() - 1));
    if (upper.starts_with("0X"))
        return ParseHex(std::string_view(upper).substr(2));
    if (upper.empty() || upper.find_first_not_of("0123456789") != std::string::npos || upper.size() > 9)
        return std::nullopt;
    return static_cast<uint32_t>(std::stoul(upper));
}

std::optional<std::string> NasmInclude(std::string_view text)
{
    const auto words = Words(StripComment(text));
    if (words.size() != 2 || !EqualsNoCase(words[0], "%include"))
        return std::nullopt;
    std::string_view name = words[1];
    if (name.size() >= 2 && (name.front() == '"' || name.front() == '\''))
        name = name.substr(1, name.size() - 2);
    return std::string(name);
}

// "msg db 'Hi$'" or "count: dw 0": a label and the kind of data it names.
std::optional<DataSymbol> NasmDataLabel(std::string_view text, uint32_t offset, uint32_t size)
{
    static const std::map<std::string, std::string> kTypes = {
        {"DB", "BYTE"}, {"DW", "WORD"}, {"DD", "DWORD"}, {"DQ", "QWORD"}, {"DT", "TBYTE"},
        {"RESB", "BYTE"}, {"RESW", "WORD"}, {"RESD", "DWORD"}, {"TIMES", "BYTE"}};
    const auto words = Words(StripComment(text));
    if (words.size() < 2)
        return std::nullopt;
    std::string_view name = words[0];
    if (name.ends_with(':'))
        name.remove_suffix(1);
    const auto type = kTypes.find(Upper(words[1]));
    if (type == kTypes.end() || name.empty())
        return std::nullopt;
    return DataSymbol{std::string(name), type->second, offset, size, std::nullopt};
}
}

CSourceMap SourceMapFromNasm(std::string_view listing, const std::string& mainFile)
{
    std::vector<PlacedLine> lines;
    std::vector<DataSymbol> symbols;
    uint32_t origin = 0;
    // What each depth is: the file whose rows it holds (none inside a macro), and its last line
    // (inside a macro, the line that called it).
    std::vector<std::string> files{mainFile};
    std::vector<SourceLine> lastLines{{}};
    std::optional<std::string> pendingInclude;
    for (std::string_view raw : SplitRows(listing)) {
        const auto row = ParseNasmRow(raw);
        if (!row)
            continue;
        const size_t depth = static_cast<size_t>(row->depth);
        if (depth >= files.size()) {
            files.resize(depth + 1, pendingInclude.value_or(std::string()));
            lastLines.resize(depth + 1, pendingInclude ? SourceLine{} : lastLines[depth - 1]);
        } else {
            files.resize(depth + 1);
            lastLines.resize(depth + 1);
        }
        pendingInclude.reset();
        const bool bMacro = files[depth].empty();
        const SourceLine here = bMacro ? lastLines[depth] : SourceLine{files[depth], row->line};
        const auto words = Words(StripComment(row->text));
        if (words.size() == 2 && EqualsNoCase(words[0], "org"))
            origin = ParseNasmNumber(words[1]).value_or(origin);
        if (auto included = NasmInclude(row->text))
            pendingInclude = included;
        if (!bMacro)
            lastLines.back() = here;
        if (!row->offset)
            continue;
        lines.push_back({here, origin + *row->offset, row->size});
        if (auto label = NasmDataLabel(row->text, origin + *row->offset, row->size))
            symbols.push_back(std::move(*label));
    }
    return CSourceMap(std::move(lines), std::move(symbols));
}
