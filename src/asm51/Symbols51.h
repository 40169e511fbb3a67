// The names a source can use: its own labels and EQU/SET/BIT/DATA... names, and the 8051's and
// 8052's SFR and bit names, which are known without a definition (a source may define one
// of those names for itself, which then holds; $NOMOD51 forgets them all).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace asm51 {

enum class SymbolKind : uint8_t { kNumber, kCode, kData, kIdata, kXdata, kBit };

struct Symbol51 {
    int32_t value = 0;
    SymbolKind kind = SymbolKind::kNumber;
    // The statement that defined it first (statements count alike in both passes).
    unsigned statement = 0;
    // SET may define it again.
    bool redefinable = false;
    // Its definition has been passed in the current pass: a use before that is a forward
    // reference.
    bool seen = false;
};

class CSymbols51 {
public:
    // A new pass: every definition is yet to be passed again; the predefined names are back.
    void BeginPass();
    // $NOMOD51 turns the predefined names off.
    void UsePredefined(bool use) { m_bPredefined = use; }

    // The source's symbol, or nullptr.
    Symbol51* Find(const std::string& name);
    const std::map<std::string, Symbol51>& Defined() const { return m_symbols; }
    // An SFR or bit name of the chips, unless the source defined the name itself.
    static std::optional<int32_t> Predefined(const std::string& name);
    bool PredefinedActive() const { return m_bPredefined; }
    // Adds or updates a definition; false when the name is already defined by another
    // statement and neither definition is a SET.
    bool Define(const std::string& name, int32_t value, SymbolKind kind, unsigned statement, bool redefinable);

private:
    std::map<std::string, Symbol51> m_symbols;
    bool m_bPredefined = true;
};

}  // namespace asm51
