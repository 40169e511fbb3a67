// as31's messages, as it prints them: "Warning, line 2, Undefined symbol foo." or "Error,
// line 3, ..."; it has no numbers. The texts were collected by running it on bad programs.
#include "explain/MessageTable.h"

namespace explain {

namespace {

const MessageEntry kAs31[] = {
    {0, L"syntax error near", L"语法错误",
     L"含义：as31 读不懂引号中的那段文字（引号中为空时，是行尾）。\n常见原因：指令拼错；伪指令没写点（as31 写 .org、.db、.equ、.end）；"
     L"寄存器写错，如 R9；位地址写法不对；标号后少了冒号。\n处理：对照指令格式改正这一行。"},
    {0, L"Attempt to redefine symbol", L"符号重复定义", L"含义：同一个标号或 .equ 名字定义了两次。\n处理：给其中一个改名。"},
    {0, L"Undefined symbol", L"符号未定义", L"含义：用到的标号或常量没有定义。\n常见原因：拼写不一致；忘了定义。\n处理：改正拼写或补上定义。"},
    {0, L"Symbol * undefined", L"符号未定义", L"含义：这个符号到最后也没有定义。\n处理：补上定义或改正拼写。"},
    {0, L"Symbol * must be defined in pass 1", L"符号必须先定义", L"含义：这里用的符号必须在使用前定义（如 .org、.skip 中）。\n处理：把定义移到前面。"},
    {0, L"Expression is undefined in pass 1", L"表达式在第一遍无法求值",
     L"含义：表达式用到了后面才定义的符号，而这里必须马上知道值。\n常见原因：.equ 引用了后面的名字。\n处理：把被引用的定义移到前面。"},
    {0, L"Relative offset exceeds", L"相对转移超出范围",
     L"含义：SJMP、JZ、DJNZ、JB 等相对转移只能跳到前后 -128 到 +127 字节。\n处理：改用 LJMP/AJMP，或用反条件的短转移绕过一条 LJMP。"},
    {0, L"Address outside current 2K page", L"地址不在当前 2K 页内",
     L"含义：AJMP/ACALL 只能到达同一个 2 KB 页里的地址。\n处理：改用 LJMP/LCALL。"},
    {0, L"Expression greater than 8-bits", L"表达式超过 8 位",
     L"含义：这里只能放一个字节（0 到 255），数太大。\n常见原因：MOV A, #300；直接地址超过 0FFH（片外 RAM 要用 MOVX）。\n处理：改小数值，或换用合适的指令。"},
    {0, L"Expression greater than 16-bits", L"表达式超过 16 位", L"含义：数超过 0FFFFH。\n处理：改小数值。"},
    {0, L"Value greater than 16-bits", L"数值超过 16 位", L"含义：数超过 0FFFFH。\n处理：改小数值。"},
    {0, L"Address greater than 16-bits", L"地址超过 16 位", L"含义：地址超出 64 KB。\n处理：改正地址。"},
    {0, L"Bit address exceeds 8-bits", L"位地址超过 8 位", L"含义：位地址只能是 0 到 0FFH。\n处理：改正位地址，或用 字节.位 的写法。"},
    {0, L"Invalid bit addressable RAM location", L"不是可位寻址的位置",
     L"含义：字节.位 写法中的字节不可位寻址。只有 20H-2FH 和地址能被 8 整除的 SFR 可以。\n处理：换用可位寻址的地址。"},
    {0, L"Location counter has exceeded 16-bits", L"地址计数超过 64K", L"含义：代码或数据放到了 0FFFFH 之后。\n常见原因：.org 太大。\n处理：检查 .org 与代码长度。"},
    {0, L"String terminated improperly", L"字符串没有正确结束", L"含义：字符串缺少结束的引号。\n处理：补上引号。"},
    {0, L"String constant longer than", L"字符串常量太长", L"含义：字符串超过 as31 允许的长度。\n处理：拆成几条 .db。"},
    {0, L"Missing quote in character constant", L"字符常量缺少引号", L"含义：'A' 这样的字符常量只能有一个字符，且要有结束引号。\n处理：改正引号，多个字符用 .db \"...\"。"},
    {0, L"Invalid escape character", L"不合法的转义字符", L"含义：字符串中的 \\ 后面跟了不认识的字符。\n处理：改正转义。"},
    {0, L"Invalid binary digit", L"二进制数中有非法数字", L"含义：二进制数（以 B 结尾）中只能有 0 和 1。\n处理：改正数字。"},
    {0, L"Invalid hex digit", L"十六进制数中有非法数字", L"含义：十六进制数中只能有 0-9 和 A-F。\n处理：改正数字。"},
    {0, L"Invalid decimal digit", L"十进制数中有非法数字", L"含义：十进制数里有字母。\n常见原因：十六进制数忘了写 H。\n处理：加上 H 或改正数字。"},
    {0, L"Invalid octal digit", L"八进制数中有非法数字", L"含义：八进制数中只能有 0-7。\n处理：改正数字。"},
    {0, L"Immediate mode is illegal", L"不允许立即数", L"含义：这个指令的这个位置不能用 #数。\n处理：改用直接地址或寄存器。"},
    {0, L"Invalid addressing mode", L"不合法的寻址方式", L"含义：指令不支持这种操作数组合。\n处理：对照指令表改写。"},
    {0, L"Illegal indirect register", L"不合法的间接寄存器", L"含义：间接寻址只能用 @R0、@R1（MOVX 还可用 @DPTR）。\n处理：改用 R0 或 R1。"},
    {0, L"Cannot open input file", L"无法打开源文件", L"含义：as31 找不到要汇编的文件。\n处理：先保存文件，检查文件名。"},
    {0, L"Cannot open include file", L"无法打开包含文件", L"含义：.inc 指定的文件找不到。\n处理：检查文件名与路径。"},
    {0, L"Cannot create temp file", L"无法建立临时文件", L"含义：as31 不能写临时文件。\n处理：检查磁盘空间和临时文件夹。"},
    {0, L"Cannot open file", L"无法写出文件", L"含义：as31 不能建立输出文件。\n处理：检查文件夹是否可写。"},
};

}  // namespace

std::span<const MessageEntry> As31Messages() { return kAs31; }

}  // namespace explain
