; Programs the machine must stop with its own message: selected by the first character of the
; command tail ('d' divide error, 'i' invalid opcode, 'h' HLT with interrupts off, 'u' an INT 21h
; function DOS lacks, called twice).
cpu 186
org 100h
    mov al, [82h]
    cmp al, 'd'
    je divide
    cmp al, 'i'
    je invalid
    cmp al, 'h'
    je halt
    mov ah, 1Fh
    int 21h
    pushf
    call print_hex
    pop ax
    and ax, 1
    call print_hex
    mov ah, 1Fh
    int 21h
    call newline
    mov al, 0
    jmp exit
divide:
    mov ax, 1
    xor bl, bl
    div bl
invalid:
    db 63h, 0C0h
halt:
    cli
    hlt
%include "print.inc"
