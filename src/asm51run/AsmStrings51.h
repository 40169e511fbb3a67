// The string ids of korvane-asm51.exe's texts (res/korvane-asm51.rc): its own, and one for
// each of the assembler's messages at kMessageBase plus the message's number.
#pragma once

#define IDS_ASM51_USAGE 100
#define IDS_ASM51_CANNOT_OPEN 101
#define IDS_ASM51_CANNOT_WRITE 102
#define IDS_ASM51_DONE 103
#define IDS_ASM51_FAILED 104
#define IDS_ASM51_MESSAGE_BASE 200
