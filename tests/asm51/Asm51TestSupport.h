// Assembling a source held in the test, with its include files, for the assembler's tests.
#pragma once

#include "asm51/Assembler51.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace asm51 {

// The source assembled as "test.a51"; includes come from the given files.
std::unique_ptr<CAssembler51> AssembleText(const std::string& source, std::map<std::string, std::string> includes = {});
// The bytes the assembly put from address on.
std::vector<uint8_t> BytesAt(const CAssembler51& assembler, uint16_t address, size_t count);
// The messages' numbers in their order.
std::vector<Message51> MessagesOf(const CAssembler51& assembler);

}  // namespace asm51
