// korvane-dos.exe's own texts: loaded from its string table and filled in with FormatMessageW's
// %1, %2 inserts.
#pragma once

#include <string>
#include <vector>

namespace dos {

namespace RunnerText {

std::wstring Load(unsigned id);
std::wstring Format(unsigned id, const std::vector<std::wstring>& inserts = {});
// Bytes in the code page `codePage`, or the wide text where it has none.
std::string Encode(const std::wstring& text, unsigned codePage);
std::wstring Decode(const std::string& bytes, unsigned codePage);

}

}  // namespace dos
