// The 8087 coprocessor's instructions, which Korvane's disassembler shows too, written from
// Intel's 8087 data sheet: the 8087's own clocks; none of them changes the CPU's flags.
#include "explain/WordTable.h"

namespace explain {

namespace {

const wchar_t kCpuFlags[] = L"不影响 CPU 的标志";
const wchar_t kCompare[] = L"不影响 CPU 的标志；设置 8087 状态字的 C3、C2、C0（可用 FSTSW 后 SAHF 再条件转移）";
const wchar_t kArithForms[] = L"F 指令  F 指令 ST,ST(i)  F 指令 ST(i),ST  F 指令 mem32/mem64  F 指令P ST(i),ST（运算后弹出）";
const wchar_t kIntForms[] = L"FI 指令 mem16/mem32（整数操作数）";

const WordEntry kInstructions[] = {
    {L"FLD", L"FLD ST(i)  FLD mem32/mem64/mem80", L"把实数压入 8087 的寄存器栈（成为新的 ST）。", kCpuFlags, L"寄存器 17-22；mem32 (38-56)+EA；mem64 (40-60)+EA；mem80 (53-65)+EA", L"FLD X"},
    {L"FST", L"FST ST(i)  FST mem32/mem64", L"把 ST 存到目的，不弹出。", kCpuFlags, L"寄存器 15-22；mem32 (84-90)+EA；mem64 (96-104)+EA", L"FST Y"},
    {L"FSTP", L"FSTP ST(i)  FSTP mem32/mem64/mem80", L"把 ST 存到目的并弹出。", kCpuFlags, L"寄存器 17-24；mem32 (86-92)+EA；mem80 (52-58)+EA", L"FSTP RESULT"},
    {L"FXCH", L"FXCH [ST(i)]", L"交换 ST 与 ST(i)（默认 ST(1)）。", kCpuFlags, L"10-15", L"FXCH ST(1)"},
    {L"FILD", L"FILD mem16/mem32/mem64", L"把整数转换成实数后压栈。", kCpuFlags, L"mem16 (46-54)+EA；mem32 (52-60)+EA；mem64 (60-68)+EA", L"FILD N"},
    {L"FIST", L"FIST mem16/mem32", L"把 ST 按当前舍入方式转换成整数存储，不弹出。", kCpuFlags, L"mem16 (80-90)+EA；mem32 (82-92)+EA", L"FIST N"},
    {L"FISTP", L"FISTP mem16/mem32/mem64", L"把 ST 转换成整数存储并弹出。", kCpuFlags, L"mem16 (82-92)+EA；mem64 (94-105)+EA", L"FISTP N"},
    {L"FBLD", L"FBLD mem80", L"把 18 位压缩 BCD 数转换成实数后压栈。", kCpuFlags, L"(290-310)+EA", L"FBLD PACKED"},
    {L"FBSTP", L"FBSTP mem80", L"把 ST 转换成压缩 BCD 数存储并弹出。", kCpuFlags, L"(520-540)+EA", L"FBSTP PACKED"},
    {L"FADD/FADDP", kArithForms, L"实数加。", kCpuFlags, L"寄存器 70-100；mem32 (90-120)+EA；mem64 (95-125)+EA", L"FADD ST, ST(1)"},
    {L"FSUB/FSUBP", kArithForms, L"实数减：目的 ← 目的 − 源。", kCpuFlags, L"寄存器 70-100；mem32 (90-120)+EA", L"FSUB Y"},
    {L"FSUBR/FSUBRP", kArithForms, L"反向实数减：目的 ← 源 − 目的。", kCpuFlags, L"寄存器 70-100；mem32 (90-120)+EA", L"FSUBR Y"},
    {L"FMUL/FMULP", kArithForms, L"实数乘。", kCpuFlags, L"寄存器 90-145；mem32 (110-125)+EA；mem64 (112-168)+EA", L"FMUL ST, ST(1)"},
    {L"FDIV/FDIVP", kArithForms, L"实数除：目的 ← 目的 ÷ 源。", kCpuFlags, L"寄存器 193-203；mem32 (215-225)+EA", L"FDIV Y"},
    {L"FDIVR/FDIVRP", kArithForms, L"反向实数除：目的 ← 源 ÷ 目的。", kCpuFlags, L"寄存器 194-204；mem32 (216-226)+EA", L"FDIVR Y"},
    {L"FIADD", kIntForms, L"ST ← ST + 整数。", kCpuFlags, L"mem16 (102-137)+EA；mem32 (108-143)+EA", L"FIADD N"},
    {L"FISUB", kIntForms, L"ST ← ST − 整数。", kCpuFlags, L"mem16 (102-137)+EA；mem32 (108-143)+EA", L"FISUB N"},
    {L"FISUBR", kIntForms, L"ST ← 整数 − ST。", kCpuFlags, L"mem16 (102-137)+EA；mem32 (108-143)+EA", L"FISUBR N"},
    {L"FIMUL", kIntForms, L"ST ← ST × 整数。", kCpuFlags, L"mem16 (124-138)+EA；mem32 (130-144)+EA", L"FIMUL N"},
    {L"FIDIV", kIntForms, L"ST ← ST ÷ 整数。", kCpuFlags, L"mem16 (224-238)+EA；mem32 (230-243)+EA", L"FIDIV N"},
    {L"FIDIVR", kIntForms, L"ST ← 整数 ÷ ST。", kCpuFlags, L"mem16 (225-239)+EA；mem32 (231-245)+EA", L"FIDIVR N"},
    {L"FCOM", L"FCOM [ST(i)]  FCOM mem32/mem64", L"比较 ST 与源（默认 ST(1)）。", kCompare, L"寄存器 40-50；mem32 (60-70)+EA", L"FCOM ST(1)"},
    {L"FCOMP", L"FCOMP [ST(i)]  FCOMP mem32/mem64", L"比较 ST 与源后弹出一次。", kCompare, L"寄存器 42-52；mem32 (63-73)+EA", L"FCOMP Y"},
    {L"FCOMPP", L"FCOMPP", L"比较 ST 与 ST(1) 后弹出两次。", kCompare, L"45-55", L"FCOMPP"},
    {L"FICOM", L"FICOM mem16/mem32", L"比较 ST 与整数。", kCompare, L"mem16 (72-86)+EA；mem32 (78-91)+EA", L"FICOM N"},
    {L"FICOMP", L"FICOMP mem16/mem32", L"比较 ST 与整数后弹出。", kCompare, L"mem16 (74-88)+EA；mem32 (80-93)+EA", L"FICOMP N"},
    {L"FTST", L"FTST", L"比较 ST 与 0。", kCompare, L"38-48", L"FTST"},
    {L"FXAM", L"FXAM", L"检查 ST 的种类（零、正常数、无穷、非数、空）并放入条件码。", kCompare, L"12-23", L"FXAM"},
    {L"FSQRT", L"FSQRT", L"ST ← ST 的平方根。", kCpuFlags, L"180-186", L"FSQRT"},
    {L"FABS", L"FABS", L"ST ← |ST|。", kCpuFlags, L"10-17", L"FABS"},
    {L"FCHS", L"FCHS", L"改变 ST 的符号。", kCpuFlags, L"10-17", L"FCHS"},
    {L"FSCALE", L"FSCALE", L"ST ← ST × 2 的 ST(1) 次方（ST(1) 取整）。", kCpuFlags, L"32-38", L"FSCALE"},
    {L"FPREM", L"FPREM", L"部分求余：ST ← ST 除以 ST(1) 的余数，C2=1 表示还未完成。", kCompare, L"15-190", L"FPREM"},
    {L"FRNDINT", L"FRNDINT", L"把 ST 按当前舍入方式取整。", kCpuFlags, L"16-50", L"FRNDINT"},
    {L"FXTRACT", L"FXTRACT", L"把 ST 分成指数和有效数字两部分，有效数字在新的 ST。", kCpuFlags, L"27-55", L"FXTRACT"},
    {L"FPTAN", L"FPTAN", L"部分正切：求 ST（0 到 π/4）的正切，结果为 ST(1)/ST 两数之比。", kCpuFlags, L"30-540", L"FPTAN"},
    {L"FPATAN", L"FPATAN", L"部分反正切：ST ← arctan(ST(1)/ST)，弹出一次。", kCpuFlags, L"250-800", L"FPATAN"},
    {L"F2XM1", L"F2XM1", L"ST ← 2 的 ST 次方 − 1（0 ≤ ST ≤ 0.5）。", kCpuFlags, L"310-630", L"F2XM1"},
    {L"FYL2X", L"FYL2X", L"ST ← ST(1) × log₂(ST)，弹出一次。", kCpuFlags, L"900-1100", L"FYL2X"},
    {L"FYL2XP1", L"FYL2XP1", L"ST ← ST(1) × log₂(ST + 1)，弹出一次。", kCpuFlags, L"700-1000", L"FYL2XP1"},
    {L"FLDZ", L"FLDZ", L"压入 +0.0。", kCpuFlags, L"11-17", L"FLDZ"},
    {L"FLD1", L"FLD1", L"压入 +1.0。", kCpuFlags, L"15-21", L"FLD1"},
    {L"FLDPI", L"FLDPI", L"压入 π。", kCpuFlags, L"16-22", L"FLDPI"},
    {L"FLDL2T", L"FLDL2T", L"压入 log₂10。", kCpuFlags, L"16-22", L"FLDL2T"},
    {L"FLDL2E", L"FLDL2E", L"压入 log₂e。", kCpuFlags, L"15-21", L"FLDL2E"},
    {L"FLDLG2", L"FLDLG2", L"压入 lg2。", kCpuFlags, L"18-24", L"FLDLG2"},
    {L"FLDLN2", L"FLDLN2", L"压入 ln2。", kCpuFlags, L"17-23", L"FLDLN2"},
    {L"FINIT/FNINIT", L"FINIT", L"初始化 8087：清空寄存器栈，设置默认的控制字。使用 8087 前先执行。", kCpuFlags, L"2-8", L"FINIT"},
    {L"FCLEX/FNCLEX", L"FCLEX", L"清除 8087 的异常标志和忙标志。", kCpuFlags, L"2-8", L"FCLEX"},
    {L"FENI/FNENI", L"FENI", L"允许 8087 发出中断请求。", kCpuFlags, L"2-8", L"FENI"},
    {L"FDISI/FNDISI", L"FDISI", L"禁止 8087 发出中断请求。", kCpuFlags, L"2-8", L"FDISI"},
    {L"FSTSW/FNSTSW", L"FSTSW mem16", L"把 8087 的状态字存到存储器，再 MOV AH,[...] / SAHF 就能用 CPU 的条件转移判断比较结果。", kCpuFlags, L"(12-18)+EA",
     L"FSTSW STATUS"},
    {L"FSTCW/FNSTCW", L"FSTCW mem16", L"把控制字存到存储器。", kCpuFlags, L"(12-18)+EA", L"FSTCW CTRL"},
    {L"FLDCW", L"FLDCW mem16", L"从存储器装入控制字（精度、舍入方式、异常屏蔽）。", kCpuFlags, L"(7-14)+EA", L"FLDCW CTRL"},
    {L"FSTENV/FNSTENV", L"FSTENV mem", L"把 8087 的环境（控制字、状态字、标记字和异常指针，14 字节）存到存储器。", kCpuFlags, L"(40-50)+EA", L"FSTENV ENV"},
    {L"FLDENV", L"FLDENV mem", L"从存储器装入 8087 的环境。", kCpuFlags, L"(35-45)+EA", L"FLDENV ENV"},
    {L"FSAVE/FNSAVE", L"FSAVE mem", L"保存 8087 的全部状态（94 字节）并初始化它。", kCpuFlags, L"(197-207)+EA", L"FSAVE STATE"},
    {L"FRSTOR", L"FRSTOR mem", L"从存储器恢复 FSAVE 保存的全部状态。", kCpuFlags, L"(197-207)+EA", L"FRSTOR STATE"},
    {L"FINCSTP", L"FINCSTP", L"栈顶指针加 1。", kCpuFlags, L"6-12", L"FINCSTP"},
    {L"FDECSTP", L"FDECSTP", L"栈顶指针减 1。", kCpuFlags, L"6-12", L"FDECSTP"},
    {L"FFREE", L"FFREE ST(i)", L"把 ST(i) 标记为空。", kCpuFlags, L"9-16", L"FFREE ST(7)"},
    {L"FNOP", L"FNOP", L"8087 的空操作。", kCpuFlags, L"10-16", L"FNOP"},
};

}  // namespace

std::span<const WordEntry> Instructions8087() { return kInstructions; }

}  // namespace explain
