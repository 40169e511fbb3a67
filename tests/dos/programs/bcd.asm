; Decimal adjustments: packed and unpacked BCD with their flags.
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
    mov al, 38h
    add al, 45h
    daa
    show 00D5
    mov al, 83h
    sub al, 38h
    das
    show 00D5
    mov ax, 0009h
    add al, 8
    aaa
    show 0011
    mov ax, 0103h
    sub al, 5
    aas
    show 0011
    mov al, 63
    aam
    show 00C4
    mov ax, 0607h
    aad
    show 00C4
    mov al, 99h
    add al, 1
    daa
    show 00D5
    mov al, 0
    jmp exit
%include "print.inc"
