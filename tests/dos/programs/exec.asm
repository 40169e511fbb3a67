; EXEC: runs TAIL.COM with a command tail of its own, then prints its return code (4Dh).
org 100h
    mov sp, stack_top
    mov ah, 4Ah
    mov bx, (stack_top - $$ + 256 + 15) / 16
    int 21h
    mov [block + 4], cs
    mov [block + 8], cs
    mov [block + 12], cs
    mov ax, 4B00h
    mov dx, child
    mov bx, block
    int 21h
    jc .failed
    mov ah, 4Dh
    int 21h
    call print_hex
    call newline
    mov al, 0
    jmp exit
.failed:
    call print_hex
    mov al, 1
    jmp exit
%include "print.inc"
child db 'TAIL.COM', 0
tail db 8, ' 7 A.B C', 13
fcb times 16 db 0
block dw 0, tail, 0, fcb, 0, fcb, 0
    times 256 db 0
stack_top:
