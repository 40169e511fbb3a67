; EXEC 4Bh 01h as a debugger uses it: loads TAIL.COM without running it, prints the entry IP
; DOS gave back, runs it from there with the child as the current PSP, and when the child has
; ended (DOS returns to the instruction after the load) prints its return code.
cpu 8086
org 100h
    mov sp, stack_top
    mov ah, 4Ah
    mov bx, (stack_top - $$ + 256 + 15) / 16
    int 21h
    mov [block + 4], cs
    mov [block + 8], cs
    mov [block + 12], cs
    mov ax, 4B01h
    mov dx, child
    mov bx, block
    int 21h
    ; DOS comes back here twice: once loaded, once when the child has ended.
    push cs
    pop ds
    cmp byte [loaded], 0
    jne .ended
    jnc .loaded
    jmp failed
.loaded:
    mov byte [loaded], 1
    mov ax, [block + 12h]
    call print_hex
    call newline
    mov ah, 51h
    int 21h
    cli
    mov ss, [block + 10h]
    mov sp, [block + 0Eh]
    sti
    pop ax
    push word [block + 14h]
    push word [block + 12h]
    mov ds, bx
    mov es, bx
    retf
.ended:
    mov ah, 4Dh
    int 21h
    call print_hex
    call newline
    ; The program is the current one again (as a debugger makes sure).
    mov ah, 50h
    mov bx, cs
    int 21h

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
loaded db 0
    times 256 db 0
stack_top:
