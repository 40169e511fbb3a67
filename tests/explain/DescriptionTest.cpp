// Every mnemonic the two disassemblers can print has its description, and the directives
// courses use theirs.
#include "explain/WordDescriber.h"
#include "explain/WordTable.h"

#include "dos/Disassembler8086.h"
#include "mcs51/Opcodes51.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace explain {

namespace {

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The words of every instruction the 8086 disassembler decodes from an opcode and the byte
// after it (a ModRM byte's reg field picks a group's member, and the 8087's instructions by
// their escape and that byte), in both its syntaxes; segment overrides ("ES:") are prefixes,
// not words.
std::set<std::string> Mnemonics8086()
{
    std::set<std::string> words;
    dos::CMemory memory;
    for (int opcode = 0; opcode < 0x100; ++opcode) {
        for (int second = 0; second < 0x100; ++second) {
            memory.Write8(0, 0, static_cast<uint8_t>(opcode));
            memory.Write8(0, 1, static_cast<uint8_t>(second));
            for (dos::DisassemblySyntax syntax : {dos::DisassemblySyntax::Debug, dos::DisassemblySyntax::Masm}) {
                std::istringstream mnemonic(dos::CDisassembler8086(memory, syntax).Decode(0, 0).mnemonic);
                for (std::string word; mnemonic >> word;)
                    if (word.back() != ':' && word != "???")
                        words.insert(word);
            }
        }
    }
    return words;
}

void ExpectInstruction(const std::string& word, Machine machine)
{
    const std::optional<Description> description = DescribeWord(Widened(word), machine);
    ASSERT_TRUE(description) << word;
    EXPECT_FALSE(description->strForms.empty()) << word;
    EXPECT_FALSE(description->strOperation.empty()) << word;
    EXPECT_FALSE(description->strExample.empty()) << word;
    // DB is what the disassemblers show for a byte that starts no instruction.
    if (word != "DB") {
        EXPECT_FALSE(description->strFlags.empty()) << word;
        EXPECT_FALSE(description->strClocks.empty()) << word;
    }
}

TEST(Descriptions, EveryMnemonicThe8086DisassemblerPrints)
{
    const std::set<std::string> words = Mnemonics8086();
    EXPECT_GT(words.size(), 100u);
    for (const std::string& word : words)
        ExpectInstruction(word, Machine::Pc8086);
}

TEST(Descriptions, EveryMnemonicThe8051OpcodeTableHolds)
{
    for (const mcs51::Opcode51& opcode : mcs51::kOpcodes51) {
        const std::string form = opcode.form;
        ExpectInstruction(form.substr(0, form.find(' ')), Machine::Mcs51);
    }
}

// A word named twice in a machine's tables would hide one of its descriptions.
TEST(Descriptions, NoWordIsListedTwice)
{
    for (auto tables : {std::array{Instructions8086(), Instructions8087(), Directives8086()},
                        std::array{Instructions51(), Directives51(), std::span<const WordEntry>()}}) {
        std::set<std::wstring> seen;
        for (std::span<const WordEntry> table : tables) {
            for (const WordEntry& entry : table) {
                std::wstring names = entry.pszWords;
                for (size_t start = 0; start <= names.size();) {
                    const size_t slash = std::min(names.find(L'/', start), names.size());
                    EXPECT_TRUE(seen.insert(names.substr(start, slash - start)).second) << names;
                    start = slash + 1;
                }
            }
        }
    }
}

struct WordCase {
    const wchar_t* word;
    Machine machine;
    bool described;
};

const WordCase kWords[] = {
    {L"SEGMENT", Machine::Pc8086, true}, {L"assume", Machine::Pc8086, true}, {L"Proc", Machine::Pc8086, true},
    {L"DB", Machine::Pc8086, true}, {L"DW", Machine::Pc8086, true}, {L"EQU", Machine::Pc8086, true},
    {L"ORG", Machine::Pc8086, true}, {L"END", Machine::Pc8086, true}, {L"INCLUDE", Machine::Pc8086, true},
    {L"PUBLIC", Machine::Pc8086, true}, {L"EXTRN", Machine::Pc8086, true}, {L"je", Machine::Pc8086, true},
    {L"ORG", Machine::Mcs51, true}, {L"DS", Machine::Mcs51, true}, {L"SET", Machine::Mcs51, true},
    {L"BIT", Machine::Mcs51, true}, {L"DATA", Machine::Mcs51, true}, {L".org", Machine::Mcs51, true},
    {L".equ", Machine::Mcs51, true}, {L".flag", Machine::Mcs51, true}, {L".skip", Machine::Mcs51, true},
    {L".end", Machine::Mcs51, true}, {L"djnz", Machine::Mcs51, true},
    {L"DJNZ", Machine::Pc8086, false}, {L"ASSUME", Machine::Mcs51, false}, {L"COUNT", Machine::Pc8086, false},
    {L"", Machine::Pc8086, false},
};

TEST(Descriptions, DirectivesAndWordsOfTheOtherMachine)
{
    for (const WordCase& c : kWords) {
        const std::optional<Description> description = DescribeWord(c.word, c.machine);
        EXPECT_EQ(description.has_value(), c.described) << c.word;
        if (description) {
            EXPECT_FALSE(description->strOperation.empty()) << c.word;
        }
    }
}

}  // namespace

}  // namespace explain
