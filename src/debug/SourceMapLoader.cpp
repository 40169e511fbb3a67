// Which listing the build left, and the source map made from it.
#include "debug/SourceMapLoader.h"

#include "debug/LinkMap.h"
#include "debug/ListingText.h"
#include "debug/MasmListing.h"
#include "debug/NasmListing.h"

#include "mcs51/Listing51.h"

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace mcs51;

namespace {

bool ReadText(const std::filesystem::path& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

std::string Narrow(const std::filesystem::path& name)
{
    return name.string();
}

// A module's listing, beside its source.
std::filesystem::path ListingOf(std::filesystem::path module)
{
    return module.replace_extension(L".LST");
}

// The 8051 listings number the main source's lines; their addresses are the code's.
CSourceMap From51(std::string_view listingText, const std::string& mainFile)
{
    CListing51 listing;
    listing.Parse(listingText);
    std::vector<PlacedLine> lines;
    for (const ListingLine51& line : listing.Lines())
        lines.push_back({{mainFile, static_cast<int>(line.line)}, line.address, line.bytes});
    return CSourceMap(std::move(lines), {});
}

}

std::string CSourceMapLoader::MainFileName(const std::wstring& mainSource)
{
    return Narrow(std::filesystem::path(mainSource).filename());
}

std::vector<std::string> CSourceMapLoader::ReadLines(const std::wstring& path)
{
    std::string text;
    if (!ReadText(path, text))
        return {};
    std::vector<std::string> lines;
    for (std::string_view row : SplitRows(text))
        lines.emplace_back(row);
    return lines;
}

CSourceMap CSourceMapLoader::Load(const std::wstring& program, const std::wstring& mainSource,
                                   const std::vector<std::wstring>& otherModules)
{
    const std::filesystem::path source(mainSource);
    std::filesystem::path listingPath = source;
    listingPath.replace_extension(L".LST");
    std::string listing;
    if (!ReadText(listingPath, listing))
        return {};
    const std::string mainFile = MainFileName(mainSource);
    std::filesystem::path programPath(program);
    std::wstring extension = programPath.extension().wstring();
    for (wchar_t& c : extension)
        c = static_cast<wchar_t>(towupper(c));
    if (extension == L".HEX")
        return From51(listing, mainFile);
    if (listing.find("Microsoft (R) Macro Assembler") == std::string::npos)
        return SourceMapFromNasm(listing, mainFile);
    std::filesystem::path mapPath = programPath;
    mapPath.replace_extension(L".MAP");
    std::string map;
    if (!ReadText(mapPath, map))
        return {};
    const std::filesystem::path folder = source.parent_path();
    std::vector<CMasmListing> listings;
    listings.emplace_back(listing, mainFile, [&folder](const std::string& file) { return ReadLines(folder / file); });
    for (const std::filesystem::path module : otherModules) {
        std::string moduleListing;
        if (!ReadText(ListingOf(module), moduleListing))
            return {};
        // Its INCLUDE files lie where MASM ran, in the module's folder.
        const std::filesystem::path moduleFolder = module.parent_path();
        const std::string moduleFile = Narrow(module.lexically_relative(folder));
        listings.emplace_back(moduleListing, moduleFile, [&](const std::string& file) {
            return ReadLines(file == moduleFile ? module : moduleFolder / file);
        });
    }
    return CSourceMap::FromMasm(listings, CLinkMap(map));
}
