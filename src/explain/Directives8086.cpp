// MASM 5.x's and TASM's directives that assembly courses use.
#include "explain/WordTable.h"

namespace explain {

namespace {

const WordEntry kDirectives[] = {
    {L"SEGMENT", L"段名 SEGMENT [定位] [组合] ['类别']", L"开始一个段。定位 BYTE/WORD/PARA/PAGE，组合 PUBLIC/STACK/COMMON/AT 地址，类别如 'CODE'。以“段名 ENDS”结束。",
     nullptr, nullptr, L"DATA SEGMENT"},
    {L"ENDS", L"段名 ENDS  结构名 ENDS", L"结束一个段或结构，名字要与开头的相同。", nullptr, nullptr, L"DATA ENDS"},
    {L"ASSUME", L"ASSUME 段寄存器:段名 [, ...]", L"告诉汇编器各段寄存器将指向哪个段，以便它访问变量和标号；它不给段寄存器赋值，DS、ES 仍要在程序中设置。",
     nullptr, nullptr, L"ASSUME CS:CODE, DS:DATA"},
    {L"PROC", L"名字 PROC [NEAR|FAR]", L"开始一个过程，以“名字 ENDP”结束；FAR 过程中的 RET 汇编成远返回。", nullptr, nullptr, L"MAIN PROC FAR"},
    {L"ENDP", L"名字 ENDP", L"结束一个过程，名字要与 PROC 前的相同。", nullptr, nullptr, L"MAIN ENDP"},
    {L"END", L"END [起始标号]", L"源程序结束；标号给出程序开始执行的位置。其后的内容被忽略。", nullptr, nullptr, L"END START"},
    {L"DB", L"[名字] DB 值 [, 值 ...]", L"定义字节数据：数、字符串、? 或 n DUP (值)。", nullptr, nullptr, L"MSG DB 'Hello$'"},
    {L"DW", L"[名字] DW 值 [, 值 ...]", L"定义字（2 字节）数据，低字节在前；值可以是变量或标号的偏移。", nullptr, nullptr, L"TABLE DW 10 DUP (0)"},
    {L"DD", L"[名字] DD 值 [, 值 ...]", L"定义双字（4 字节）数据，也可存远指针（偏移在前、段在后）。", nullptr, nullptr, L"BIG DD 12345678H"},
    {L"DQ", L"[名字] DQ 值", L"定义 8 字节数据。", nullptr, nullptr, L"X DQ 0"},
    {L"DT", L"[名字] DT 值", L"定义 10 字节数据（压缩 BCD 或 8087 的扩展实数）。", nullptr, nullptr, L"X DT 0"},
    {L"DUP", L"次数 DUP (值 [, 值 ...])", L"把括号中的值重复若干次，用于数组和缓冲区。", nullptr, nullptr, L"BUF DB 80 DUP (?)"},
    {L"EQU", L"名字 EQU 表达式", L"定义符号常量（或文本），不占存储空间，不能重新定义。", nullptr, nullptr, L"CR EQU 0DH"},
    {L"=", L"名字 = 数值表达式", L"定义可以重新赋值的数值符号。", nullptr, nullptr, L"N = 10"},
    {L"ORG", L"ORG 表达式", L"把当前位置计数器（$）设为给定的偏移；.COM 程序以 ORG 100H 开始。", nullptr, nullptr, L"ORG 100H"},
    {L"EVEN", L"EVEN", L"把位置调到偶数地址，使字数据按字对齐。", nullptr, nullptr, L"EVEN"},
    {L"ALIGN", L"ALIGN 2 的幂", L"把位置调到给定数的倍数。", nullptr, nullptr, L"ALIGN 4"},
    {L"LABEL", L"名字 LABEL 类型", L"在当前位置定义一个给定类型（BYTE、WORD、NEAR、FAR）的名字，不占空间。", nullptr, nullptr, L"BYTES LABEL BYTE"},
    {L"PUBLIC", L"PUBLIC 名字 [, 名字 ...]", L"把本模块中定义的名字公开给其他模块使用（链接时）。", nullptr, nullptr, L"PUBLIC PRINT"},
    {L"EXTRN/EXTERN", L"EXTRN 名字:类型 [, ...]", L"声明在其他模块中定义的名字，类型为 BYTE、WORD、NEAR、FAR、ABS 等。", nullptr, nullptr, L"EXTRN PRINT:NEAR"},
    {L"INCLUDE", L"INCLUDE 文件名", L"把另一个源文件的内容插入到这里汇编。", nullptr, nullptr, L"INCLUDE MACROS.INC"},
    {L"GROUP", L"组名 GROUP 段名 [, 段名 ...]", L"把几个段合成一个组，使它们能用同一个段地址访问（不超过 64 KB）。", nullptr, nullptr, L"DGROUP GROUP DATA, STACK"},
    {L"MACRO", L"名字 MACRO [形参, ...]", L"定义宏，以 ENDM 结束；使用宏名时把宏体展开到那里。", nullptr, nullptr, L"PRINT MACRO MSG"},
    {L"ENDM", L"ENDM", L"结束 MACRO、REPT、IRP、IRPC 的定义。", nullptr, nullptr, L"ENDM"},
    {L"LOCAL", L"LOCAL 名字 [, ...]", L"在宏中声明局部标号，每次展开时换成唯一的名字。", nullptr, nullptr, L"LOCAL AGAIN"},
    {L"REPT", L"REPT 次数 ... ENDM", L"把其中的语句重复汇编若干次。", nullptr, nullptr, L"REPT 4 / SHL AX, 1 / ENDM"},
    {L"IRP", L"IRP 形参, <值, ...> ... ENDM", L"对尖括号中的每个值重复一次，形参依次取这些值。", nullptr, nullptr, L"IRP R, <AX, BX> / PUSH R / ENDM"},
    {L"IF/IFE/IFDEF/IFNDEF/IFB/IFNB/IFIDN/IFDIF/IF1/IF2", L"IF 表达式 ... [ELSE ...] ENDIF",
     L"条件汇编：条件成立时才汇编其中的语句（IF 非 0、IFE 为 0、IFDEF 已定义、IFB 参数为空等）。", nullptr, nullptr, L"IFDEF DEBUG / ... / ENDIF"},
    {L"ELSE", L"ELSE", L"条件汇编中条件不成立时汇编的部分。", nullptr, nullptr, L"ELSE"},
    {L"ENDIF", L"ENDIF", L"结束条件汇编块。", nullptr, nullptr, L"ENDIF"},
    {L"STRUC", L"名字 STRUC ... 名字 ENDS", L"定义结构类型，之后用“变量名 结构名 <初值>”定义结构变量。", nullptr, nullptr, L"POINT STRUC / X DW ? / Y DW ? / POINT ENDS"},
    {L"RECORD", L"名字 RECORD 字段:宽度 [, ...]", L"定义位字段组成的记录，配合 MASK 和 WIDTH 使用。", nullptr, nullptr, L"COLOR RECORD BLINK:1, BACK:3, FORE:4"},
    {L"OFFSET", L"OFFSET 变量或标号", L"取偏移地址（汇编时的常量）。", nullptr, nullptr, L"MOV DX, OFFSET MSG"},
    {L"SEG", L"SEG 变量或标号", L"取所在段的段地址。", nullptr, nullptr, L"MOV AX, SEG MSG"},
    {L"PTR", L"类型 PTR 表达式", L"指明操作数的类型：BYTE PTR、WORD PTR、DWORD PTR、NEAR PTR、FAR PTR。", nullptr, nullptr, L"MOV BYTE PTR [BX], 0"},
    {L"SHORT", L"JMP SHORT 标号", L"说明跳转目标在 -128 到 +127 字节内，使用 2 字节的短跳转。", nullptr, nullptr, L"JMP SHORT NEXT"},
    {L"TYPE/LENGTH/SIZE", L"TYPE 变量  LENGTH 变量  SIZE 变量", L"TYPE 取元素字节数，LENGTH 取 DUP 的个数，SIZE 为两者之积。", nullptr, nullptr, L"MOV CX, LENGTH BUF"},
    {L"DOSSEG", L"DOSSEG", L"按 DOS 的约定排列段的次序（代码、数据、堆栈）。", nullptr, nullptr, L"DOSSEG"},
    {L".MODEL", L".MODEL TINY|SMALL|MEDIUM|COMPACT|LARGE|HUGE", L"选择存储模式，之后可用 .CODE、.DATA、.STACK 简化段定义。", nullptr, nullptr, L".MODEL SMALL"},
    {L".CODE", L".CODE [名字]", L"开始代码段（简化段定义）。", nullptr, nullptr, L".CODE"},
    {L".DATA", L".DATA", L"开始近数据段（简化段定义）；程序开头用 MOV AX, @DATA / MOV DS, AX 设置 DS。", nullptr, nullptr, L".DATA"},
    {L".STACK", L".STACK [字节数]", L"定义堆栈段（默认 1024 字节）。", nullptr, nullptr, L".STACK 200H"},
    {L".8086/.186/.286/.386", L".8086  .186  .286", L"选择允许使用的处理器指令集。", nullptr, nullptr, L".186"},
    {L"TITLE/SUBTTL/PAGE", L"TITLE 文字  PAGE 行数,列数", L"列表文件的标题和页面格式。", nullptr, nullptr, L"TITLE HELLO"},
    {L"COMMENT", L"COMMENT 定界符 文字 定界符", L"多行注释，直到再次出现定界符。", nullptr, nullptr, L"COMMENT * 多行说明 *"},
    {L"NAME", L"NAME 模块名", L"给目标模块命名。", nullptr, nullptr, L"NAME MAIN"},
    {L"%OUT", L"%OUT 文字", L"汇编时在屏幕上显示文字。", nullptr, nullptr, L"%OUT 正在汇编"},
    {L".ERR", L".ERR  .ERRE 表达式  .ERRNZ 表达式  .ERRDEF 名字", L"汇编到这里时报告错误，常用于检查条件。", nullptr, nullptr, L".ERRNZ ($-TABLE)-10"},
};

}  // namespace

std::span<const WordEntry> Directives8086() { return kDirectives; }

}  // namespace explain
