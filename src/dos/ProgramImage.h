// A DOS program file as the loader sees it: a .COM image, or an MZ .EXE's load module with its
// relocations and allocation, and the ways a file is not a DOS program.
#pragma once

#include <cstdint>
#include <vector>

namespace dos {

enum class ImageError : uint8_t {
    None,
    // An MZ file whose new header is PE, NE, LE or LX.
    WindowsProgram,
    // An MZ header that ends early, or whose fields point outside the file.
    CorruptHeader,
    // A .COM image that does not fit its segment with the PSP and a stack word.
    ComTooLarge,
};

struct Relocation {
    uint16_t offset;
    uint16_t segment;
};

class CProgramImage {
public:
    static constexpr size_t kComLimit = 0xFF00;

    ImageError Parse(std::vector<uint8_t> file);

    bool IsExe() const { return m_bExe; }
    const std::vector<uint8_t>& Module() const { return m_module; }
    const std::vector<Relocation>& Relocations() const { return m_relocations; }
    // The load module's size in paragraphs.
    uint32_t Paragraphs() const { return static_cast<uint32_t>((m_module.size() + 15) / 16); }
    uint16_t MinExtra() const { return m_nMinExtra; }
    uint16_t MaxExtra() const { return m_nMaxExtra; }
    uint16_t InitialCs() const { return m_nCs; }
    uint16_t InitialIp() const { return m_nIp; }
    uint16_t InitialSs() const { return m_nSs; }
    uint16_t InitialSp() const { return m_nSp; }

private:
    ImageError ParseExe(const std::vector<uint8_t>& file);
    static bool IsWindowsProgram(const std::vector<uint8_t>& file);

    bool m_bExe = false;
    std::vector<uint8_t> m_module;
    std::vector<Relocation> m_relocations;
    uint16_t m_nMinExtra = 0;
    uint16_t m_nMaxExtra = 0xFFFF;
    uint16_t m_nCs = 0;
    uint16_t m_nIp = 0x100;
    uint16_t m_nSs = 0;
    uint16_t m_nSp = 0xFFFE;
};

}  // namespace dos
