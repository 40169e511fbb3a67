// The messages of Korvane's own 8051 assembler, "error A51-n" (warnings from 40 on).
#include "explain/MessageTable.h"

namespace explain {

namespace {

const MessageEntry kAsm51[] = {
    {1, nullptr, L"语法错误", L"含义：这一行的写法不符合 ASM51 的格式。\n常见原因：标号后少冒号；逗号多了或少了；括号不配对。\n处理：对照指令格式改正。"},
    {2, nullptr, L"符号未定义", L"含义：用到的名字没有定义。\n常见原因：拼写不一致；忘了用 EQU、DATA、BIT 定义。\n处理：改正拼写或补上定义。"},
    {3, nullptr, L"符号重复定义", L"含义：同一个名字定义了两次。\n处理：给其中一个改名。"},
    {4, nullptr, L"不认识的指令或伪指令", L"含义：这一行开头的词不是 8051 的指令或伪指令。\n常见原因：拼写错误；用了 8086 的指令（如 JMP 写成 JNE）。\n处理：改为 8051 的指令。"},
    {5, nullptr, L"指令的操作数不合法",
     L"含义：8051 的这条指令没有这种操作数组合。\n常见原因：MOV R1, R2（寄存器之间不能直接传送）；ADD B, A（ADD 的目的只能是 A）；@R2（只有 @R0、@R1）。\n处理：对照指令表经由 A 中转。"},
    {6, nullptr, L"数值超出范围", L"含义：数放不进操作数，如 MOV A, #300。\n处理：改小数值，字节只能是 0 到 255。"},
    {7, nullptr, L"相对转移的目标太远", L"含义：SJMP、JZ、DJNZ、CJNE 等只能跳到 -128 到 +127 字节以内。\n处理：改用 LJMP，或用反条件短转移绕过一条 LJMP。"},
    {8, nullptr, L"AJMP/ACALL 目标不在同一个 2 KB 页内", L"含义：AJMP、ACALL 只能到达同一个 2 KB 页。\n处理：改用 LJMP/LCALL。"},
    {9, nullptr, L"不是可位寻址的位置", L"含义：只有 20H-2FH 和地址能被 8 整除的 SFR 可以按位访问。\n处理：换用可位寻址的字节。"},
    {10, nullptr, L"无法打开包含文件", L"含义：$INCLUDE 或 #include 的文件找不到。\n处理：检查文件名，把文件放在源程序旁边。"},
    {11, nullptr, L"字符串缺少结束的引号", L"含义：引号没有成对。\n处理：补上引号。"},
    {12, nullptr, L"数字写法不对", L"含义：数字中有不属于其进制的字符。\n常见原因：十六进制数忘了 H；以字母开头没加 0（如 0FFH）。\n处理：改正数字写法。"},
    {13, nullptr, L"除数为零", L"含义：表达式里除以 0。\n处理：改正表达式。"},
    {14, nullptr, L"这里不能用后面才定义的符号", L"含义：ORG、DS、EQU 等的值必须马上算出。\n处理：把所用符号的定义移到前面。"},
    {15, nullptr, L"地址处已经有代码", L"含义：两段代码放到了同一个地址（ORG 重叠）。\n常见原因：中断入口的 ORG 之间代码太长；ORG 写了比前面更小的地址。\n处理：调整 ORG，把长代码移到别处再跳转过去。"},
    {16, nullptr, L"代码超出 64 KB", L"含义：程序地址超过 0FFFFH。\n处理：检查 ORG 和代码长度。"},
    {17, nullptr, L"不支持的写法", L"含义：内置汇编器只汇编单个使用绝对地址的源程序，不支持可重定位段等。\n处理：改用 ORG 和绝对地址，或换用外部工具。"},
    {18, nullptr, L"包含文件嵌套太深", L"含义：包含文件又包含文件的层数太多，可能互相包含。\n处理：检查包含关系。"},
    {19, nullptr, L"数据段里不能放字节", L"含义：DB、DW 只用于代码段（ROM）；片内 RAM 只能用 DS 保留空间。\n处理：把 DB 移到 CSEG，或在 DSEG 中改用 DS。"},
    {40, nullptr, L"源程序没有 END", L"含义：警告：源程序最后没有 END，汇编到文件末尾为止。\n处理：在最后一行写 END。"},
};

}  // namespace

std::span<const MessageEntry> Asm51Messages() { return kAsm51; }

}  // namespace explain
