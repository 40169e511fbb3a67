// The assemblers' reserved words, as sorted tables looked up by halving.
#include "text/AsmKeywords.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {
constexpr size_t kLongestWord = 16;

const char kX86Instructions[] =
    "AAA AAD AAM AAS ADC ADD AND ARPL BOUND BSF BSR BSWAP BT BTC BTR BTS CALL CBW CDQ CLC CLD CLI CLTS CMC CMP "
    "CMPS CMPSB CMPSD CMPSW CMPXCHG CPUID CWD CWDE DAA DAS DEC DIV ENTER ESC HLT IDIV IMUL IN INC INS INSB INSD "
    "INSW INT INTO INVD INVLPG IRET IRETD JA JAE JB JBE JC JCXZ JE JECXZ JG JGE JL JLE JMP JNA JNAE JNB JNBE JNC "
    "JNE JNG JNGE JNL JNLE JNO JNP JNS JNZ JO JP JPE JPO JS JZ LAHF LAR LDS LEA LEAVE LES LFS LGDT LGS LIDT LLDT "
    "LMSW LOCK LODS LODSB LODSD LODSW LOOP LOOPE LOOPNE LOOPNZ LOOPZ LSL LSS LTR MOV MOVS MOVSB MOVSD MOVSW MOVSX "
    "MOVZX MUL NEG NOP NOT OR OUT OUTS OUTSB OUTSD OUTSW POP POPA POPAD POPF POPFD PUSH PUSHA PUSHAD PUSHF PUSHFD "
    "RCL RCR REP REPE REPNE REPNZ REPZ RET RETF RETN ROL ROR SAHF SAL SAR SBB SCAS SCASB SCASD SCASW SETA SETAE "
    "SETB SETBE SETC SETE SETG SETGE SETL SETLE SETNA SETNAE SETNB SETNBE SETNC SETNE SETNG SETNGE SETNL SETNLE "
    "SETNO SETNP SETNS SETNZ SETO SETP SETPE SETPO SETS SETZ SGDT SHL SHLD SHR SHRD SIDT SLDT SMSW STC STD STI "
    "STOS STOSB STOSD STOSW STR SUB TEST VERR VERW WAIT WBINVD XADD XCHG XLAT XLATB XOR "
    "F2XM1 FABS FADD FADDP FBLD FBSTP FCHS FCLEX FCOM FCOMP FCOMPP FCOS FDECSTP FDIV FDIVP FDIVR FDIVRP FFREE "
    "FIADD FICOM FICOMP FIDIV FIDIVR FILD FIMUL FINCSTP FINIT FIST FISTP FISUB FISUBR FLD FLD1 FLDCW FLDENV FLDL2E "
    "FLDL2T FLDLG2 FLDLN2 FLDPI FLDZ FMUL FMULP FNCLEX FNINIT FNOP FNSAVE FNSTCW FNSTENV FNSTSW FPATAN FPREM "
    "FPREM1 FPTAN FRNDINT FRSTOR FSAVE FSCALE FSIN FSINCOS FSQRT FST FSTCW FSTENV FSTP FSTSW FSUB FSUBP FSUBR "
    "FSUBRP FTST FUCOM FUCOMP FUCOMPP FWAIT FXAM FXCH FXTRACT FYL2X FYL2XP1";

const char kX86Registers[] =
    "AH AL AX BH BL BP BX CH CL CR0 CR2 CR3 CR4 CS CX DH DI DL DR0 DR1 DR2 DR3 DR6 DR7 DS DX EAX EBP EBX ECX EDI "
    "EDX ES ESI ESP FS GS SI SP SS ST";

const char kMasmDirectives[] =
    ".186 .286 .286P .386 .386P .486 .486P .8086 .8087 .287 .387 .ALPHA .BREAK .CODE .CONST .CONTINUE .DATA .DATA? "
    ".DOSSEG .ELSE .ELSEIF .ENDIF .ENDW .ERR .EXIT .FARDATA .FARDATA? .IF .LIST .MODEL .NOLIST .RADIX .REPEAT .SEQ "
    ".STACK .STARTUP .UNTIL .WHILE .XLIST ALIAS ALIGN ASSUME AT BYTE CATSTR CODESEG COMM COMMENT COMMON DATASEG DB "
    "DD DF DOSSEG DP DQ DT DUP DW DWORD ELSE ELSEIF END ENDIF ENDM ENDP ENDS EQ EQU EVEN EXITM EXTERN EXTERNDEF "
    "EXTRN FAR FARDATA FLAT FWORD GE GLOBAL GROUP GT HIGH HUGE IDEAL IF IF1 IF2 IFB IFDEF IFDIF IFE IFIDN IFNB "
    "IFNDEF INCLUDE INCLUDELIB INSTR INVOKE IRP IRPC JUMPS LABEL LARGE LE LENGTH LOCAL LOCALS LOW LT MACRO MASM "
    "MEDIUM MEMORY MOD MODEL NAME NE NEAR NOJUMPS OFFSET OPTION ORG PAGE PARA PRIVATE PROC PROTO PTR PUBLIC PURGE "
    "QWORD REAL4 REAL8 REAL10 RECORD REPT SBYTE SDWORD SEG SEGMENT SHORT SIZE SIZESTR SMALL STACK STACKSEG STRUC "
    "STRUCT SUBSTR SUBTTL SWORD TBYTE TEXTEQU THIS TINY TITLE TYPE UDATASEG UNION USE16 USE32 USES WIDTH WORD";

const char kMcs51Instructions[] =
    "ACALL ADD ADDC AJMP ANL CALL CJNE CLR CPL DA DEC DIV DJNZ INC JB JBC JC JMP JNB JNC JNZ JZ LCALL LJMP MOV "
    "MOVC MOVX MUL NOP ORL POP PUSH RET RETI RL RLC RR RRC SETB SJMP SUBB SWAP XCH XCHD XRL";

// The working registers, then the special function registers of the 8051 and the 8052 and
// the names of their addressable bits, as the assemblers predefine them.
const char kMcs51Registers[] =
    "A AB B C DPTR PC R0 R1 R2 R3 R4 R5 R6 R7 "
    "ACC DPH DPL IE IP P0 P1 P2 P3 PCON PSW RCAP2H RCAP2L SBUF SCON SP T2CON T2MOD TCON TH0 TH1 TH2 TL0 TL1 TL2 "
    "TMOD "
    "AC CY EA ES ET0 ET1 ET2 EX0 EX1 EXEN2 EXF2 F0 IE0 IE1 INT0 INT1 IT0 IT1 OV P PS PT0 PT1 PT2 PX0 PX1 RB8 RCLK "
    "RD REN RI RS0 RS1 RXD SM0 SM1 SM2 T0 T1 T2 T2EX TB8 TCLK TF0 TF1 TF2 TI TR0 TR1 TR2 TXD WR";

const char kMcs51Directives[] =
    "$INCLUDE $NOLIST $NOMOD51 $MOD51 AT BIT BSEG CODE CSEG DATA DB DBIT DS DSEG DW END EQU EXTRN HIGH IDATA "
    "INCLUDE ISEG LOW NAME ORG PUBLIC RSEG SEGMENT SET USING XDATA XSEG";

// A table of words from a list separated by blanks, sorted for halving.
class WordTable {
public:
    explicit WordTable(std::string_view list)
    {
        for (size_t start = 0; start < list.size();) {
            const size_t end = std::min(list.find(' ', start), list.size());
            m_words.push_back(list.substr(start, end - start));
            start = end + 1;
        }
        std::sort(m_words.begin(), m_words.end());
    }
    bool Holds(std::string_view word) const { return std::binary_search(m_words.begin(), m_words.end(), word); }

private:
    std::vector<std::string_view> m_words;
};

struct Vocabulary {
    WordTable instructions, registers, directives;
};

const Vocabulary& VocabularyOf(SyntaxMode mode)
{
    static const Vocabulary masm{WordTable(kX86Instructions), WordTable(kX86Registers), WordTable(kMasmDirectives)};
    static const Vocabulary mcs51{WordTable(kMcs51Instructions), WordTable(kMcs51Registers),
                                  WordTable(kMcs51Directives)};
    return mode == SyntaxMode::Mcs51 ? mcs51 : masm;
}
}

WordKind KindOfWord(std::wstring_view word, SyntaxMode mode)
{
    if (word.empty() || word.size() > kLongestWord)
        return WordKind::None;
    std::array<char, kLongestWord> upper{};
    for (size_t i = 0; i < word.size(); ++i) {
        const wchar_t c = word[i];
        if (c >= 0x80)
            return WordKind::None;
        upper[i] = static_cast<char>(c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c);
    }
    const std::string_view key(upper.data(), word.size());
    const Vocabulary& vocabulary = VocabularyOf(mode);
    if (vocabulary.instructions.Holds(key))
        return WordKind::Instruction;
    if (vocabulary.registers.Holds(key))
        return WordKind::Register;
    if (vocabulary.directives.Holds(key))
        return WordKind::Directive;
    return WordKind::None;
}
