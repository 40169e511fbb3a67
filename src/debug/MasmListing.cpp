// MASM 5's listing: a page header before each page, then one row per source line (the offset
// in columns 1-4, the bytes made from column 7, 'C' in column 29 for a line of an INCLUDE file
// or a digit for a line of a macro's expansion, the source text from column 32), rows that
// only continue the bytes of the row before, rows that continue a source text too long for
// the listing's width, and a symbol table after the last page of code.
#include "debug/MasmListing.h"

#include "debug/ListingText.h"

#include <map>

namespace {
constexpr size_t kTextColumn = 32;
constexpr size_t kMarkColumn = 29;
// MASM cuts a row here and puts the rest of its source text on the rows after it.
constexpr size_t kRowWidth = 79;

struct ListingRow {
    std::optional<uint16_t> offset;
    std::string bytes;
    char mark = ' ';
    std::string_view text;
    // The row reaches the listing's width: its source line may go on in the rows after it.
    bool cut = false;
};

// The columns a row takes with its tabs expanded.
size_t ExpandedWidth(std::string_view row)
{
    size_t width = 0;
    for (const char c : row)
        width = c == '\t' ? width + 8 - width % 8 : width + 1;
    return width;
}

// Splits a row at the column where the source text starts, expanding the tabs before it.
ListingRow ParseRow(std::string_view row)
{
    std::string prefix;
    size_t i = 0;
    for (; i < row.size() && prefix.size() < kTextColumn; ++i) {
        if (row[i] == '\t')
            prefix.append(8 - prefix.size() % 8, ' ');
        else
            prefix.push_back(row[i]);
    }
    ListingRow parsed;
    parsed.text = Trim(row.substr(i));
    parsed.cut = ExpandedWidth(row) >= kRowWidth;
    if (prefix.size() >= 6 && prefix[0] == ' ' && prefix[5] == ' ')
        if (auto offset = ParseHex(prefix.substr(1, 4), 4))
            parsed.offset = static_cast<uint16_t>(*offset);
    if (prefix.size() > 7)
        parsed.bytes = Trim(std::string_view(prefix).substr(7, kMarkColumn - 7));
    if (prefix.size() > kMarkColumn)
        parsed.mark = prefix[kMarkColumn];
    return parsed;
}

bool IsPageHeader(std::string_view row)
{
    if (row.empty() || row[0] == '\f')
        return true;
    const auto words = Words(row);
    return words.size() == 2 && (words[0] == "Page" || words[0].starts_with("Symbols-")) && row[0] == ' ';
}

// Bytes a row's byte column stands for: two hex digits a byte, four a word, "----" a segment.
uint32_t CountBytes(std::string_view bytes)
{
    uint32_t count = 0;
    for (std::string_view word : Words(bytes)) {
        if (word == "----" || (word.size() == 4 && ParseHex(word)))
            count += 2;
        else if (word.size() == 2 && ParseHex(word))
            count += 1;
    }
    return count;
}

// Which segment the rows are in, from the directives among them.
class SegmentTracker {
public:
    explicit SegmentTracker(std::string moduleName) : m_strModule(std::move(moduleName)) {}

    void Take(std::string_view text)
    {
        const auto words = Words(StripComment(text));
        if (words.empty())
            return;
        const std::string first = Upper(words[0]);
        if (words.size() >= 2 && EqualsNoCase(words[1], "SEGMENT"))
            m_open.push_back(Upper(words[0]));
        else if (words.size() >= 2 && EqualsNoCase(words[1], "ENDS") && !m_open.empty())
            m_open.pop_back();
        else if (first == ".MODEL" && words.size() >= 2)
            m_bFarCode = IsFarCodeModel(Upper(words[1]));
        else if (first.starts_with("."))
            TakeSimplified(first, words.size() >= 2 ? Upper(words[1]) : std::string());
    }

    const std::string& Current() const
    {
        static const std::string kNone;
        return m_open.empty() ? kNone : m_open.back();
    }

private:
    static bool IsFarCodeModel(const std::string& model)
    {
        return model == "MEDIUM" || model == "LARGE" || model == "HUGE";
    }

    // The simplified directives close the segment they open at the next one.
    void TakeSimplified(const std::string& directive, const std::string& name)
    {
        static const std::map<std::string, std::string> kSegments = {
            {".DATA", "_DATA"}, {".DATA?", "_BSS"}, {".CONST", "CONST"}, {".STACK", "STACK"},
            {".FARDATA", "FAR_DATA"}, {".FARDATA?", "FAR_BSS"}};
        std::string segment;
        if (directive == ".CODE")
            segment = !name.empty() ? name : m_bFarCode ? m_strModule + "_TEXT" : "_TEXT";
        else if (auto found = kSegments.find(directive); found != kSegments.end())
            segment = directive.starts_with(".FARDATA") && !name.empty() ? name : found->second;
        else
            return;
        if (directive == ".STACK")
            return;
        m_open.assign(1, segment);
    }

    std::string m_strModule;
    bool m_bFarCode = false;
    std::vector<std::string> m_open;
};

// The first row at or after `row` whose text is the heading; the end where none is.
size_t RowAfter(const std::vector<std::string_view>& rows, size_t row, std::string_view heading)
{
    while (row < rows.size() && Trim(rows[row]) != heading)
        ++row;
    return row;
}

// A row of the listing's tables: the words before its first tab (the name and its dots) and the
// fields after it; neither for a row without a tab.
std::pair<std::vector<std::string_view>, std::vector<std::string_view>> SplitTableRow(std::string_view row)
{
    const size_t tab = row.find('\t');
    if (tab == std::string_view::npos)
        return {};
    return {Words(row.substr(0, tab)), Words(row.substr(tab + 1))};
}

// The module's name as MASM makes it for .CODE in the far-code models: the file name's stem.
std::string ModuleName(const std::string& file)
{
    const size_t slash = file.find_last_of("\\/:");
    std::string name = file.substr(slash == std::string::npos ? 0 : slash + 1);
    return Upper(name.substr(0, name.find('.')));
}
}

// A source file being matched row by row: the next line a row can be.
struct CMasmListing::OpenFile {
    std::string name;
    std::vector<std::string> lines;
    size_t next = 0;

    // The 1-based number of the first line at or after `next` whose text is the row's, or
    // begins with it when the row was cut; `rest` is then what the next rows go on with.
    std::optional<int> Match(const ListingRow& row, std::string& rest)
    {
        for (size_t i = next; i < lines.size(); ++i) {
            const std::string_view line = Trim(lines[i]);
            if (line == row.text || (row.cut && line.size() > row.text.size() && line.starts_with(row.text))) {
                rest = std::string(Trim(line.substr(row.text.size())));
                next = i + 1;
                return static_cast<int>(i + 1);
            }
        }
        return std::nullopt;
    }
};

CMasmListing::CMasmListing(std::string_view listing, const std::string& mainFile, const SourceReader& read)
{
    const auto rows = SplitRows(listing);
    size_t row = 0;
    ReadBody(rows, row, mainFile, read);
    ReadSegments(rows, row);
    ReadSymbols(rows, row);
}

void CMasmListing::ReadBody(const std::vector<std::string_view>& rows, size_t& row, const std::string& mainFile,
                            const SourceReader& read)
{
    std::vector<OpenFile> files{{mainFile, read(mainFile)}};
    SegmentTracker segments(ModuleName(mainFile));
    SourceLine last;
    ListedLine* open = nullptr;
    // What is left of a source line whose row was cut.
    std::string rest;
    for (; row < rows.size(); ++row) {
        const std::string_view raw = rows[row];
        if (Trim(raw).starts_with("Symbols-"))
            break;
        if (IsPageHeader(raw))
            continue;
        const ListingRow parsed = ParseRow(raw);
        if (!rest.empty() && !parsed.offset && parsed.bytes.empty() && !parsed.text.empty() &&
            std::string_view(rest).starts_with(parsed.text)) {
            rest = std::string(Trim(std::string_view(rest).substr(parsed.text.size())));
            continue;
        }
        rest.clear();
        const bool bExpansion = parsed.mark >= '1' && parsed.mark <= '9';
        if (!bExpansion && parsed.text.empty() && !parsed.offset) {
            if (open)
                open->size = static_cast<uint16_t>(open->size + CountBytes(parsed.bytes));
            continue;
        }
        if (!bExpansion) {
            if (parsed.mark != 'C')
                files.resize(1);
            std::optional<int> line;
            while (!(line = files.back().Match(parsed, rest)) && files.size() > 1 && parsed.mark == 'C')
                files.pop_back();
            if (!line) {
                open = nullptr;
                continue;
            }
            last = {files.back().name, *line};
            segments.Take(parsed.text);
            if (auto included = IncludedFile(parsed.text))
                files.push_back({*included, read(*included)});
        }
        open = nullptr;
        if (parsed.offset && !last.file.empty() && !segments.Current().empty()) {
            m_lines.push_back({last, segments.Current(), *parsed.offset,
                               static_cast<uint16_t>(CountBytes(parsed.bytes))});
            open = &m_lines.back();
        }
    }
}

// "CSEG . . . . .  \t0043\tPARA\tPUBLIC\t'CODE'" between "Segments and Groups:" and
// "Symbols:"; a group's rows ("DGROUP . . .\tGROUP") have no length and are passed over.
void CMasmListing::ReadSegments(const std::vector<std::string_view>& rows, size_t row)
{
    static const std::map<std::string_view, uint32_t> kAligns = {
        {"BYTE", 1}, {"WORD", 2}, {"DWORD", 4}, {"PARA", 16}, {"PAGE", 256}};
    static const std::map<std::string_view, ListedSegment::Combine> kCombines = {
        {"NONE", ListedSegment::Combine::Private},       {"PUBLIC", ListedSegment::Combine::Concatenated},
        {"STACK", ListedSegment::Combine::Concatenated}, {"MEMORY", ListedSegment::Combine::Concatenated},
        {"COMMON", ListedSegment::Combine::Common}};
    for (row = RowAfter(rows, row, "Segments and Groups:"); row < rows.size() && Trim(rows[row]) != "Symbols:"; ++row) {
        const auto [name, fields] = SplitTableRow(rows[row]);
        // A 386 segment's size ("16 Bit", "32 Bit") may come before its length.
        size_t at = 0;
        while (at + 2 < fields.size() && !(fields[at].size() == 4 && ParseHex(fields[at], 4)))
            ++at;
        if (name.empty() || at + 2 >= fields.size())
            continue;
        const auto length = ParseHex(fields[at], 4);
        const auto align = kAligns.find(fields[at + 1]);
        const auto combine = kCombines.find(fields[at + 2]);
        if (!length || align == kAligns.end() || combine == kCombines.end())
            continue;
        m_segments.push_back({Upper(name[0]), *length, align->second, combine->second});
    }
}

// "NAME . . . . .  \tL WORD\t0010\tDSEG\tLength = 000A": the data labels among the symbols.
void CMasmListing::ReadSymbols(const std::vector<std::string_view>& rows, size_t row)
{
    for (row = RowAfter(rows, row, "Symbols:"); row < rows.size(); ++row) {
        const auto [name, fields] = SplitTableRow(rows[row]);
        if (name.empty() || fields.size() < 4 || fields[0] != "L")
            continue;
        static const std::string_view kTypes[] = {"BYTE", "WORD", "DWORD", "QWORD", "TBYTE"};
        if (std::find(std::begin(kTypes), std::end(kTypes), fields[1]) == std::end(kTypes))
            continue;
        const auto offset = ParseHex(fields[2], 4);
        if (!offset)
            continue;
        ListedSymbol symbol{std::string(name[0]), std::string(fields[1]), std::string(fields[3]),
                            static_cast<uint16_t>(*offset), 0};
        if (fields.size() >= 7 && fields[4] == "Length" && fields[5] == "=")
            symbol.length = ParseHex(fields[6], 4).value_or(0);
        m_symbols.push_back(std::move(symbol));
    }
}
