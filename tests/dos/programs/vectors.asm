; Interrupt vectors: a handler of the program's own for INT 60h, a divide error taken by the
; program's INT 0 handler, the timer's INT 1Ch, and the vectors put back.
org 100h
    mov ax, 3560h
    int 21h
    mov [old60], bx
    mov [old60 + 2], es
    mov ax, 2560h
    mov dx, handler60
    int 21h
    mov ax, 3560h
    int 21h
    cmp bx, handler60
    jne .wrong
    mov ax, es
    mov bx, cs
    cmp ax, bx
    jne .wrong
    mov dx, same
    call print_string
.wrong:
    mov ax, 1234h
    int 60h
    call print_hex
    call newline
    mov ax, 3500h
    int 21h
    mov [old00], bx
    mov [old00 + 2], es
    mov ax, 2500h
    mov dx, handler00
    int 21h
    mov [saved_sp], sp
    mov ax, 100
    xor bl, bl
    div bl
    mov dx, nofault
    call print_string
recovered:
    mov dx, caught
    call print_string
    call newline
    mov ax, 351Ch
    int 21h
    mov [old1c], bx
    mov [old1c + 2], es
    mov ax, 251Ch
    mov dx, handler1c
    int 21h
    sti
.wait:
    cmp word [ticks], 3
    jb .wait
    mov dx, ticked
    call print_string
    call newline
    push ds
    lds dx, [old1c]
    mov ax, 251Ch
    int 21h
    pop ds
    push ds
    lds dx, [old00]
    mov ax, 2500h
    int 21h
    pop ds
    push ds
    lds dx, [old60]
    mov ax, 2560h
    int 21h
    pop ds
    mov al, 0
    jmp exit
handler60:
    add ax, 1111h
    iret
handler00:
    ; Where the return address points differs between CPUs: leave through the stack saved.
    mov sp, [cs:saved_sp]
    jmp recovered
handler1c:
    inc word [cs:ticks]
    iret
%include "print.inc"
same db 'same $'
nofault db 'no fault $'
caught db 'caught$'
ticked db 'ticked$'
old60 dd 0
old00 dd 0
old1c dd 0
saved_sp dw 0
ticks dw 0
