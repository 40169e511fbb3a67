; Arithmetic and flags: each line prints a result and the flags PUSHF saw (the defined ones).
org 100h
; Shows AX and the flags the last instruction defines (the others differ between CPUs).
%macro show 1
    pushf
    call print_hex
    pop ax
    and ax, %1h
    call print_hex
    call newline
%endmacro
    mov ax, 7FFFh
    add ax, 1
    show 08D5
    mov ax, 0
    sub ax, 1
    show 08D5
    mov al, 80h
    neg al
    show 08D5
    mov ax, 1234h
    adc ax, 0EDCCh
    show 08D5
    mov ax, 5
    cmp ax, 9
    show 08D5
    mov ax, 0F0F0h
    xor ax, 0FF00h
    show 08C5
    mov ax, 8001h
    rcl ax, 1
    show 0801
    mov ax, 8001h
    sar ax, 1
    show 08C5
    mov ax, 1
    dec ax
    show 08D4
    mov al, 0
    jmp exit
%include "print.inc"
