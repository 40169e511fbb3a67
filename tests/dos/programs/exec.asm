; EXEC: runs TAIL.COM with a command tail of its own and prints its return code (4Bh 00h, 4Dh),
; then loads it as an overlay into a block of its own (4Bh 03h).
cpu 8086
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
    jnc .ran
    jmp failed
.ran:
    mov ah, 4Dh
    int 21h
    call print_hex
    call newline

    mov ah, 48h
    mov bx, 40h
    int 21h
    jnc .allocated
    jmp failed
.allocated:
    mov [overlay], ax
    mov [overlay + 2], ax
    mov ax, 4B03h
    mov dx, child
    mov bx, overlay
    push cs
    pop es
    int 21h
    jc failed
    push ds
    mov ds, [overlay]
    mov ax, [0]
    pop ds
    cmp ax, [first_word]
    jne failed
    mov dx, same
    call print_string
    call newline
    mov al, 0
    jmp exit
failed:
    call print_hex
    mov al, 1
    jmp exit
%include "print.inc"
child db 'TAIL.COM', 0
tail db 8, ' 7 A.B C', 13
fcb times 16 db 0
block dw 0, tail, 0, fcb, 0, fcb, 0, 0, 0, 0, 0
overlay dw 0, 0
; TAIL.COM begins with MOV DL, '['.
first_word db 0B2h, '['
same db 'overlay loaded$'
    times 256 db 0
stack_top:
