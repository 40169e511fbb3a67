// Assembling test sources.
#include "Asm51TestSupport.h"

namespace asm51 {

std::unique_ptr<CAssembler51> AssembleText(const std::string& source, std::map<std::string, std::string> includes)
{
    auto assembler = std::make_unique<CAssembler51>([includes](const std::string& name, std::string& text) {
        const auto found = includes.find(name);
        if (found == includes.end())
            return false;
        text = found->second;
        return true;
    });
    assembler->Assemble("test.a51", source);
    return assembler;
}

std::vector<uint8_t> BytesAt(const CAssembler51& assembler, uint16_t address, size_t count)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < count; ++i)
        bytes.push_back(assembler.Image().At(static_cast<uint32_t>(address + i)));
    return bytes;
}

std::vector<Message51> MessagesOf(const CAssembler51& assembler)
{
    std::vector<Message51> messages;
    for (const Diagnostic51& diagnostic : assembler.Diagnostics())
        messages.push_back(diagnostic.message);
    return messages;
}

}  // namespace asm51
