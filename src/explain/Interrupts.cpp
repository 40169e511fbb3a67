// INT 21h's DOS functions, INT 10h's video and INT 16h's keyboard BIOS functions, written
// from the DOS and BIOS references: what each does, its registers on entry and on return.
#include "explain/InterruptTable.h"

namespace explain {

namespace {

const wchar_t kCarry[] = L"成功时 CF=0；失败时 CF=1，AX 为错误码";

const InterruptEntry kInterrupts[] = {
    {0x20, kWholeInterrupt, L"结束程序（旧方式）", L"CS 为程序段前缀所在段（.COM 程序中自然成立）", L"不返回", L"INT 20H"},
    {0x21, kWholeInterrupt, L"DOS 功能调用", L"AH=功能号，其余寄存器按功能而定", L"按功能而定", L"MOV AH, 4CH / INT 21H"},
    {0x21, 0x00, L"结束程序（旧方式）", L"AH=00H，CS=程序段前缀的段", L"不返回；新程序应使用 4CH", L"MOV AH, 0 / INT 21H"},
    {0x21, 0x01, L"键盘输入并回显", L"AH=01H", L"AL=读到的字符（已显示在屏幕上）；按 Ctrl+C 会中止程序", L"MOV AH, 1 / INT 21H"},
    {0x21, 0x02, L"显示一个字符", L"AH=02H，DL=字符", L"AL 被改变", L"MOV DL, 'A' / MOV AH, 2 / INT 21H"},
    {0x21, 0x05, L"打印一个字符", L"AH=05H，DL=字符", L"无", L"MOV AH, 5 / INT 21H"},
    {0x21, 0x06, L"直接控制台输入输出", L"AH=06H；DL=0FFH 表示读键，其他值表示显示 DL", L"读键时：ZF=0 且 AL=字符；没有键时 ZF=1", L"MOV DL, 0FFH / MOV AH, 6 / INT 21H"},
    {0x21, 0x07, L"无回显直接键盘输入", L"AH=07H", L"AL=字符（不显示，不检查 Ctrl+C）", L"MOV AH, 7 / INT 21H"},
    {0x21, 0x08, L"无回显键盘输入", L"AH=08H", L"AL=字符（不显示，检查 Ctrl+C），常用于输入密码", L"MOV AH, 8 / INT 21H"},
    {0x21, 0x09, L"显示字符串", L"AH=09H，DS:DX=以 '$' 结尾的字符串", L"AL 被改变；字符串没有 '$' 时会显示一大片乱码", L"LEA DX, MSG / MOV AH, 9 / INT 21H"},
    {0x21, 0x0A, L"缓冲区键盘输入", L"AH=0AH，DS:DX=缓冲区：第 0 字节为最多字符数（含回车），第 1 字节留给 DOS",
     L"第 1 字节=实际读入的字符数（不含回车），字符从第 2 字节开始，以 0DH 结束", L"LEA DX, BUF / MOV AH, 0AH / INT 21H"},
    {0x21, 0x0B, L"检查键盘状态", L"AH=0BH", L"AL=0FFH 表示有键可读，00H 表示没有", L"MOV AH, 0BH / INT 21H"},
    {0x21, 0x0C, L"清键盘缓冲区后输入", L"AH=0CH，AL=随后调用的输入功能号（01H、06H、07H、08H、0AH）", L"与 AL 所指功能相同", L"MOV AX, 0C01H / INT 21H"},
    {0x21, 0x0E, L"选择当前驱动器", L"AH=0EH，DL=驱动器号（0=A，1=B，2=C）", L"AL=驱动器总数", L"MOV DL, 2 / MOV AH, 0EH / INT 21H"},
    {0x21, 0x19, L"取当前驱动器", L"AH=19H", L"AL=驱动器号（0=A，1=B，2=C）", L"MOV AH, 19H / INT 21H"},
    {0x21, 0x1A, L"设置磁盘传输区（DTA）", L"AH=1AH，DS:DX=DTA 地址", L"无", L"MOV AH, 1AH / INT 21H"},
    {0x21, 0x25, L"设置中断向量", L"AH=25H，AL=中断号，DS:DX=新的中断处理程序", L"无", L"MOV AX, 251CH / INT 21H"},
    {0x21, 0x2A, L"取日期", L"AH=2AH", L"CX=年（1980-2099），DH=月，DL=日，AL=星期（0=星期日）", L"MOV AH, 2AH / INT 21H"},
    {0x21, 0x2B, L"设置日期", L"AH=2BH，CX=年，DH=月，DL=日", L"AL=00H 成功，0FFH 日期无效", L"MOV AH, 2BH / INT 21H"},
    {0x21, 0x2C, L"取时间", L"AH=2CH", L"CH=时，CL=分，DH=秒，DL=百分之一秒", L"MOV AH, 2CH / INT 21H"},
    {0x21, 0x2D, L"设置时间", L"AH=2DH，CH=时，CL=分，DH=秒，DL=百分之一秒", L"AL=00H 成功，0FFH 时间无效", L"MOV AH, 2DH / INT 21H"},
    {0x21, 0x30, L"取 DOS 版本号", L"AH=30H", L"AL=主版本号，AH=次版本号", L"MOV AH, 30H / INT 21H"},
    {0x21, 0x31, L"结束并驻留", L"AH=31H，AL=返回码，DX=保留的节数（16 字节为一节）", L"不返回", L"MOV AH, 31H / INT 21H"},
    {0x21, 0x35, L"取中断向量", L"AH=35H，AL=中断号", L"ES:BX=中断处理程序地址", L"MOV AX, 351CH / INT 21H"},
    {0x21, 0x39, L"建立子目录", L"AH=39H，DS:DX=以 0 结尾的路径", kCarry, L"MOV AH, 39H / INT 21H"},
    {0x21, 0x3A, L"删除子目录", L"AH=3AH，DS:DX=以 0 结尾的路径", kCarry, L"MOV AH, 3AH / INT 21H"},
    {0x21, 0x3B, L"改变当前目录", L"AH=3BH，DS:DX=以 0 结尾的路径", kCarry, L"MOV AH, 3BH / INT 21H"},
    {0x21, 0x3C, L"建立文件", L"AH=3CH，CX=属性（0 为普通文件），DS:DX=以 0 结尾的文件名", L"成功时 CF=0，AX=文件句柄；失败时 CF=1，AX=错误码",
     L"MOV CX, 0 / LEA DX, FNAME / MOV AH, 3CH / INT 21H"},
    {0x21, 0x3D, L"打开文件", L"AH=3DH，AL=方式（0 读，1 写，2 读写），DS:DX=以 0 结尾的文件名", L"成功时 CF=0，AX=文件句柄；失败时 CF=1，AX=错误码（2 为找不到文件）",
     L"MOV AX, 3D00H / LEA DX, FNAME / INT 21H"},
    {0x21, 0x3E, L"关闭文件", L"AH=3EH，BX=文件句柄", kCarry, L"MOV BX, HANDLE / MOV AH, 3EH / INT 21H"},
    {0x21, 0x3F, L"读文件或设备", L"AH=3FH，BX=句柄（0 为键盘），CX=字节数，DS:DX=缓冲区", L"成功时 CF=0，AX=实际读到的字节数（0 表示已到文件尾）",
     L"MOV AH, 3FH / INT 21H"},
    {0x21, 0x40, L"写文件或设备", L"AH=40H，BX=句柄（1 为屏幕），CX=字节数，DS:DX=数据", L"成功时 CF=0，AX=实际写入的字节数", L"MOV BX, 1 / MOV AH, 40H / INT 21H"},
    {0x21, 0x41, L"删除文件", L"AH=41H，DS:DX=以 0 结尾的文件名", kCarry, L"MOV AH, 41H / INT 21H"},
    {0x21, 0x42, L"移动文件指针", L"AH=42H，AL=起点（0 开头，1 当前，2 结尾），BX=句柄，CX:DX=位移", L"成功时 CF=0，DX:AX=新的位置",
     L"MOV AX, 4200H / INT 21H"},
    {0x21, 0x43, L"取或设置文件属性", L"AH=43H，AL=0 取、1 设置，CX=属性（设置时），DS:DX=文件名", L"成功时 CF=0，CX=属性", L"MOV AX, 4300H / INT 21H"},
    {0x21, 0x44, L"设备输入输出控制（IOCTL）", L"AH=44H，AL=子功能（0 取设备信息），BX=句柄", L"成功时 CF=0，DX=设备信息", L"MOV AX, 4400H / INT 21H"},
    {0x21, 0x47, L"取当前目录", L"AH=47H，DL=驱动器（0 当前，1=A），DS:SI=64 字节缓冲区", kCarry, L"MOV AH, 47H / INT 21H"},
    {0x21, 0x48, L"分配内存", L"AH=48H，BX=节数", L"成功时 CF=0，AX=所分配内存的段；失败时 BX=最多可分配的节数", L"MOV AH, 48H / INT 21H"},
    {0x21, 0x49, L"释放内存", L"AH=49H，ES=内存块的段", kCarry, L"MOV AH, 49H / INT 21H"},
    {0x21, 0x4A, L"改变内存块大小", L"AH=4AH，ES=内存块的段，BX=新的节数", kCarry, L"MOV AH, 4AH / INT 21H"},
    {0x21, 0x4C, L"结束程序并返回", L"AH=4CH，AL=返回码（0 表示正常）", L"不返回；回到 DOS 或父程序，打开的文件被关闭", L"MOV AX, 4C00H / INT 21H"},
    {0x21, 0x4D, L"取子程序的返回码", L"AH=4DH", L"AL=返回码，AH=结束方式", L"MOV AH, 4DH / INT 21H"},
    {0x21, 0x4E, L"查找第一个文件", L"AH=4EH，CX=属性，DS:DX=可带 * ? 的文件名", L"成功时 CF=0，结果在 DTA 中", L"MOV AH, 4EH / INT 21H"},
    {0x21, 0x4F, L"查找下一个文件", L"AH=4FH（在 4EH 之后）", L"成功时 CF=0，结果在 DTA 中；没有更多文件时 CF=1", L"MOV AH, 4FH / INT 21H"},
    {0x21, 0x56, L"文件改名", L"AH=56H，DS:DX=旧名，ES:DI=新名（都以 0 结尾）", kCarry, L"MOV AH, 56H / INT 21H"},

    {0x10, kWholeInterrupt, L"BIOS 视频服务", L"AH=功能号", L"按功能而定", L"MOV AH, 0EH / INT 10H"},
    {0x10, 0x00, L"设置显示方式", L"AH=00H，AL=方式（03H 为 80×25 彩色文本，13H 为 320×200 256 色图形）", L"屏幕被清除", L"MOV AX, 0003H / INT 10H"},
    {0x10, 0x01, L"设置光标形状", L"AH=01H，CH=起始扫描线，CL=结束扫描线（CH=20H 隐藏光标）", L"无", L"MOV CX, 2000H / MOV AH, 1 / INT 10H"},
    {0x10, 0x02, L"设置光标位置", L"AH=02H，BH=页号，DH=行，DL=列（从 0 开始）", L"无", L"MOV DX, 0C28H / MOV BH, 0 / MOV AH, 2 / INT 10H"},
    {0x10, 0x03, L"取光标位置和形状", L"AH=03H，BH=页号", L"DH=行，DL=列，CH/CL=光标形状", L"MOV BH, 0 / MOV AH, 3 / INT 10H"},
    {0x10, 0x04, L"读光笔位置", L"AH=04H", L"AH=0 表示光笔未触发", L"MOV AH, 4 / INT 10H"},
    {0x10, 0x05, L"选择显示页", L"AH=05H，AL=页号", L"无", L"MOV AX, 0501H / INT 10H"},
    {0x10, 0x06, L"窗口上卷", L"AH=06H，AL=行数（0 为清除整个窗口），BH=空出行的属性，CH/CL=左上角行列，DH/DL=右下角行列", L"无",
     L"MOV AX, 0600H / MOV BH, 07H / MOV CX, 0 / MOV DX, 184FH / INT 10H"},
    {0x10, 0x07, L"窗口下卷", L"AH=07H，其余同 06H", L"无", L"MOV AX, 0701H / INT 10H"},
    {0x10, 0x08, L"读光标处的字符和属性", L"AH=08H，BH=页号", L"AL=字符，AH=属性", L"MOV BH, 0 / MOV AH, 8 / INT 10H"},
    {0x10, 0x09, L"在光标处写字符和属性", L"AH=09H，AL=字符，BH=页号，BL=属性（颜色），CX=重复次数", L"光标不移动", L"MOV AX, 0941H / MOV BX, 001EH / MOV CX, 1 / INT 10H"},
    {0x10, 0x0A, L"在光标处写字符", L"AH=0AH，AL=字符，BH=页号，CX=重复次数", L"属性不变，光标不移动", L"MOV AX, 0A2AH / MOV CX, 10 / INT 10H"},
    {0x10, 0x0B, L"设置调色板或背景色", L"AH=0BH，BH=0 时 BL=背景或边框颜色", L"无", L"MOV AH, 0BH / MOV BX, 0001H / INT 10H"},
    {0x10, 0x0C, L"写像素", L"AH=0CH，AL=颜色，BH=页号，CX=列，DX=行（图形方式）", L"无", L"MOV AH, 0CH / MOV AL, 4 / INT 10H"},
    {0x10, 0x0D, L"读像素", L"AH=0DH，BH=页号，CX=列，DX=行", L"AL=颜色", L"MOV AH, 0DH / INT 10H"},
    {0x10, 0x0E, L"电传方式显示字符", L"AH=0EH，AL=字符，BH=页号", L"光标后移，处理回车、换行、退格和响铃", L"MOV AL, 'A' / MOV AH, 0EH / INT 10H"},
    {0x10, 0x0F, L"取当前显示方式", L"AH=0FH", L"AL=显示方式，AH=每行字符数，BH=当前页", L"MOV AH, 0FH / INT 10H"},
    {0x10, 0x13, L"显示字符串", L"AH=13H，AL=写方式（1 为移动光标），BH=页号，BL=属性，CX=长度，DH/DL=行列，ES:BP=字符串", L"无",
     L"MOV AX, 1301H / MOV BX, 000FH / INT 10H"},

    {0x16, kWholeInterrupt, L"BIOS 键盘服务", L"AH=功能号", L"按功能而定", L"MOV AH, 0 / INT 16H"},
    {0x16, 0x00, L"读键（等待）", L"AH=00H", L"AL=字符的 ASCII 码（功能键为 0），AH=扫描码；键被取走", L"MOV AH, 0 / INT 16H"},
    {0x16, 0x01, L"检查是否有键（不等待）", L"AH=01H", L"ZF=1 表示没有键；ZF=0 时 AX 为键（仍留在缓冲区中）", L"MOV AH, 1 / INT 16H / JZ NOKEY"},
    {0x16, 0x02, L"取换档键状态", L"AH=02H", L"AL=状态：位 0 右 Shift，位 1 左 Shift，位 2 Ctrl，位 3 Alt，位 4-7 Scroll/Num/Caps Lock 与插入", L"MOV AH, 2 / INT 16H"},
};

}  // namespace

std::span<const InterruptEntry> Interrupts() { return kInterrupts; }

}  // namespace explain
