// ASM51's directives and as31's dot forms of them.
#include "explain/WordTable.h"

namespace explain {

namespace {

const WordEntry kDirectives[] = {
    {L"ORG/.ORG", L"ORG 地址", L"把下面的代码或数据放到给定地址；复位入口为 0000H，中断入口为 0003H、000BH、0013H、001BH、0023H。", nullptr, nullptr, L"ORG 0000H"},
    {L"DB/.DB/.BYTE", L"[标号:] DB 值 [, 值 ...]", L"在程序存储器中定义字节数据（数或字符串），常用于表格。", nullptr, nullptr, L"TABLE: DB 3FH, 06H, 5BH"},
    {L"DW/.DW/.WORD", L"[标号:] DW 值 [, 值 ...]", L"在程序存储器中定义 16 位数据，高字节在前。", nullptr, nullptr, L"DW 1234H"},
    {L"DS/.SKIP/.RS", L"[标号:] DS 字节数", L"保留若干字节的空间（不给初值），常在片内 RAM 中给变量留位置。", nullptr, nullptr, L"BUF: DS 8"},
    {L"EQU/.EQU", L"名字 EQU 表达式（as31：.EQU 名字, 值）", L"定义符号常量，不能重新定义。", nullptr, nullptr, L"COUNT EQU 10"},
    {L"SET", L"名字 SET 表达式", L"定义可以重新赋值的符号。", nullptr, nullptr, L"N SET 5"},
    {L"BIT/.FLAG", L"名字 BIT 位地址（as31：.FLAG 名字, 位地址）", L"给一个位地址起名字。", nullptr, nullptr, L"LED BIT P1.0"},
    {L"DATA", L"名字 DATA 片内直接地址", L"给片内 RAM 或 SFR 的直接地址起名字。", nullptr, nullptr, L"TEMP DATA 30H"},
    {L"IDATA", L"名字 IDATA 地址", L"给间接访问的片内 RAM 地址起名字。", nullptr, nullptr, L"BUF IDATA 80H"},
    {L"XDATA", L"名字 XDATA 地址", L"给片外数据存储器的地址起名字。", nullptr, nullptr, L"PORTA XDATA 8000H"},
    {L"CODE", L"名字 CODE 地址", L"给程序存储器的地址起名字。", nullptr, nullptr, L"TAB CODE 1000H"},
    {L"END/.END", L"END", L"源程序结束，其后的内容被忽略。", nullptr, nullptr, L"END"},
    {L"CSEG/DSEG/BSEG/XSEG/ISEG", L"CSEG [AT 地址]", L"选择绝对段：代码、片内数据、位、片外数据、间接数据。", nullptr, nullptr, L"CSEG AT 0000H"},
    {L"DBIT", L"[名字:] DBIT 位数", L"在位段（BSEG）中保留若干位。", nullptr, nullptr, L"FLAGS: DBIT 4"},
    {L"SEGMENT/RSEG", L"段名 SEGMENT 类型  RSEG 段名", L"定义和选用可重定位段（由链接器定位）。", nullptr, nullptr, L"PROG SEGMENT CODE / RSEG PROG"},
    {L"PUBLIC/EXTRN", L"PUBLIC 名字  EXTRN 类型 (名字)", L"多模块程序中公开本模块的名字、声明别的模块中的名字。", nullptr, nullptr, L"PUBLIC DELAY"},
    {L"NAME", L"NAME 模块名", L"给目标模块命名。", nullptr, nullptr, L"NAME MAIN"},
    {L"$MOD51/$NOMOD51", L"$MOD51", L"控制行：使用（或不用）8051 的 SFR 和位名称的预定义。", nullptr, nullptr, L"$MOD51"},
    {L"$LIST/$NOLIST", L"$LIST  $NOLIST", L"控制行：打开或关闭列表文件的输出。", nullptr, nullptr, L"$NOLIST"},
    {L"USING", L"USING 组号", L"告诉汇编器当前使用第几组工作寄存器（0-3），用于 AR0-AR7；它不切换寄存器组，切换要写 PSW。", nullptr, nullptr, L"USING 1"},
    {L"$INCLUDE/#INCLUDE/.INC", L"$INCLUDE (文件名)", L"把另一个文件的内容插入到这里汇编，如芯片的寄存器定义文件。", nullptr, nullptr, L"$INCLUDE (REG51.INC)"},
};

}  // namespace

std::span<const WordEntry> Directives51() { return kDirectives; }

}  // namespace explain
