// The MCS-51 instructions, written from Intel's MCS-51 manual: forms, what each does, the
// flags it changes (P always follows A) and its machine cycles (12 oscillator periods each,
// 1 µs at 12 MHz).
#include "explain/WordTable.h"

namespace explain {

namespace {

const wchar_t kNone[] = L"不影响标志（写 A 时 P 随 A 变化）";
const wchar_t kArith[] = L"CY、AC、OV 按结果设置，P 随 A";
const wchar_t kLogicForms[] = L"A,Rn  A,direct  A,@Ri  A,#data  direct,A  direct,#data  C,bit  C,/bit";
const wchar_t kOneOrTwo[] = L"字节运算 1（direct,#data 为 2）；位运算 2";

const WordEntry kInstructions[] = {
    {L"MOV", L"A,Rn  A,direct  A,@Ri  A,#data  Rn,A  Rn,direct  Rn,#data  direct,A  direct,Rn  direct,direct  direct,@Ri  direct,#data  @Ri,A  @Ri,direct  @Ri,#data  DPTR,#data16  C,bit  bit,C",
     L"把源送到目的。Rn 之间不能直接传送（经由 A）；@Ri 只有 @R0、@R1；MOV DPTR 装入 16 位数。", kNone,
     L"大多 1；Rn,direct、direct,Rn、direct,direct、direct,@Ri、@Ri,direct、direct,#data、DPTR,#data16、bit,C 为 2", L"MOV A, #30H"},
    {L"MOVC", L"MOVC A,@A+DPTR  MOVC A,@A+PC", L"从程序存储器查表：A ← 代码[A+DPTR] 或 代码[A+下一条指令地址]。", kNone, L"2",
     L"MOV DPTR, #TABLE / MOVC A, @A+DPTR"},
    {L"MOVX", L"MOVX A,@DPTR  MOVX A,@Ri  MOVX @DPTR,A  MOVX @Ri,A", L"读写片外数据存储器（或挂在外部总线上的器件）。", kNone, L"2", L"MOVX A, @DPTR"},
    {L"PUSH", L"PUSH direct", L"SP 加 1，把直接地址的内容存入片内 RAM 的 SP 处。只能写直接地址，如 PUSH ACC 而不是 PUSH A。", kNone, L"2", L"PUSH ACC"},
    {L"POP", L"POP direct", L"把 SP 处的内容送到直接地址，SP 减 1。", kNone, L"2", L"POP ACC"},
    {L"XCH", L"XCH A,Rn  XCH A,direct  XCH A,@Ri", L"交换 A 与操作数。", kNone, L"1", L"XCH A, R2"},
    {L"XCHD", L"XCHD A,@Ri", L"交换 A 与 @Ri 的低 4 位，高 4 位不变。", kNone, L"1", L"XCHD A, @R0"},
    {L"ADD", L"ADD A,Rn  A,direct  A,@Ri  A,#data", L"A ← A + 源。", kArith, L"1", L"ADD A, #10"},
    {L"ADDC", L"ADDC A,Rn  A,direct  A,@Ri  A,#data", L"带进位加：A ← A + 源 + CY，用于多字节加法。", kArith, L"1", L"ADDC A, R3"},
    {L"SUBB", L"SUBB A,Rn  A,direct  A,@Ri  A,#data", L"带借位减：A ← A − 源 − CY。8051 没有不带借位的减法，需要时先 CLR C。", kArith, L"1", L"CLR C / SUBB A, #1"},
    {L"INC", L"INC A  INC Rn  INC direct  INC @Ri  INC DPTR", L"加 1，255 加 1 得 0。", L"不影响标志", L"1；INC DPTR 2", L"INC R0"},
    {L"DEC", L"DEC A  DEC Rn  DEC direct  DEC @Ri", L"减 1，0 减 1 得 255。", L"不影响标志", L"1", L"DEC R7"},
    {L"MUL", L"MUL AB", L"A×B：乘积低字节在 A，高字节在 B。", L"CY=0；乘积大于 255 时 OV=1", L"4", L"MOV B, #10 / MUL AB"},
    {L"DIV", L"DIV AB", L"A÷B：商在 A，余数在 B。B 为 0 时 OV=1，结果不确定。", L"CY=0；除数为 0 时 OV=1", L"4", L"MOV B, #10 / DIV AB"},
    {L"DA", L"DA A", L"加法后的十进制调整，把两个 BCD 数相加的结果调整为 BCD。", L"CY 表示百位进位", L"1", L"ADD A, R2 / DA A"},
    {L"ANL", kLogicForms, L"按位与（位运算时 C ← C 与 位），常用于清 0 某些位。", L"字节运算不影响标志；位运算改变 CY", kOneOrTwo, L"ANL A, #0FH"},
    {L"ORL", kLogicForms, L"按位或（位运算时 C ← C 或 位），常用于置 1 某些位。", L"字节运算不影响标志；位运算改变 CY", kOneOrTwo, L"ORL P1, #01H"},
    {L"XRL", L"A,Rn  A,direct  A,@Ri  A,#data  direct,A  direct,#data", L"按位异或，常用于取反某些位。", kNone, L"1；direct,#data 2", L"XRL A, #0FFH"},
    {L"CLR", L"CLR A  CLR C  CLR bit", L"清 0：A 的各位、进位或某一位。", L"CLR C 使 CY=0", L"1", L"CLR P1.0"},
    {L"CPL", L"CPL A  CPL C  CPL bit", L"取反：A 的各位、进位或某一位。", L"CPL C 改变 CY", L"1", L"CPL P1.0"},
    {L"SETB", L"SETB C  SETB bit", L"把进位或某一位置 1。", L"SETB C 使 CY=1", L"1", L"SETB TR0"},
    {L"RL", L"RL A", L"A 循环左移一位，第 7 位移到第 0 位。", kNone, L"1", L"RL A"},
    {L"RLC", L"RLC A", L"A 带进位循环左移：第 7 位进入 CY，CY 进入第 0 位。", L"CY 为移出的位", L"1", L"RLC A"},
    {L"RR", L"RR A", L"A 循环右移一位，第 0 位移到第 7 位。", kNone, L"1", L"RR A"},
    {L"RRC", L"RRC A", L"A 带进位循环右移：第 0 位进入 CY，CY 进入第 7 位。", L"CY 为移出的位", L"1", L"RRC A"},
    {L"SWAP", L"SWAP A", L"交换 A 的高 4 位和低 4 位。", kNone, L"1", L"SWAP A"},
    {L"ACALL", L"ACALL addr11", L"绝对调用：返回地址压栈，转到同一个 2 KB 页内的目标。", L"不影响标志", L"2", L"ACALL DELAY"},
    {L"LCALL", L"LCALL addr16", L"长调用：返回地址压栈，转到 64 KB 内任意地址。", L"不影响标志", L"2", L"LCALL DELAY"},
    {L"RET", L"RET", L"子程序返回：从堆栈弹出返回地址。", L"不影响标志", L"2", L"RET"},
    {L"RETI", L"RETI", L"中断返回：弹出返回地址并结束当前中断级别，使同级和低级中断可再被响应。中断服务程序必须用它结束。", L"不影响标志", L"2", L"RETI"},
    {L"AJMP", L"AJMP addr11", L"绝对转移到同一个 2 KB 页内的地址。", L"不影响标志", L"2", L"AJMP LOOP1"},
    {L"LJMP", L"LJMP addr16", L"长转移到 64 KB 内任意地址。", L"不影响标志", L"2", L"LJMP MAIN"},
    {L"SJMP", L"SJMP rel", L"短转移，目标在 -128 到 +127 字节内；SJMP $ 常用作原地等待。", L"不影响标志", L"2", L"SJMP $"},
    {L"JMP", L"JMP @A+DPTR  JMP 标号", L"JMP @A+DPTR 转到 A+DPTR，用于多路分支；JMP 标号由汇编器选用 SJMP、AJMP 或 LJMP。", L"不影响标志", L"2",
     L"MOV DPTR, #JTAB / JMP @A+DPTR"},
    {L"JZ", L"JZ rel", L"A 为 0 时转移。", L"不影响标志", L"2", L"JZ DONE"},
    {L"JNZ", L"JNZ rel", L"A 不为 0 时转移。", L"不影响标志", L"2", L"JNZ AGAIN"},
    {L"JC", L"JC rel", L"CY=1 时转移。", L"不影响标志", L"2", L"JC LESS"},
    {L"JNC", L"JNC rel", L"CY=0 时转移。", L"不影响标志", L"2", L"JNC NOTLESS"},
    {L"JB", L"JB bit,rel", L"位为 1 时转移。", L"不影响标志", L"2", L"JB P3.2, RELEASED"},
    {L"JNB", L"JNB bit,rel", L"位为 0 时转移，常用于等待按键或标志。", L"不影响标志", L"2", L"JNB TI, $"},
    {L"JBC", L"JBC bit,rel", L"位为 1 时转移并把该位清 0。", L"不影响标志（被测位清 0）", L"2", L"JBC TF0, TIMEOUT"},
    {L"CJNE", L"CJNE A,direct,rel  A,#data,rel  Rn,#data,rel  @Ri,#data,rel", L"比较两个操作数，不相等时转移。第一个小于第二个（无符号）时 CY=1，否则 CY=0。",
     L"CY 表示比较结果", L"2", L"CJNE A, #10, NOTTEN"},
    {L"DJNZ", L"DJNZ Rn,rel  DJNZ direct,rel", L"减 1，结果不为 0 时转移，用于计数循环。", L"不影响标志", L"2", L"MOV R7, #100 / DJNZ R7, $"},
    {L"NOP", L"NOP", L"空操作，用一个机器周期。", L"不影响标志", L"1", L"NOP"},
};

}  // namespace

std::span<const WordEntry> Instructions51() { return kInstructions; }

}  // namespace explain
