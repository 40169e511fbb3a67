; A DOS program that restarts the PC: by INT 19h, or with J as its command tail by a jump to
; the processor's reset address FFFF:0000.
org 100h
    mov dx, text
    call print_string
    cmp byte [82h], 'J'
    je reset
    int 19h
reset:
    jmp 0FFFFh:0000h

text db "restarting", 13, 10, "$"

%include "print.inc"
