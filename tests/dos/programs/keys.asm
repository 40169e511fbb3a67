; Reads two characters the way the command tail's first letter says (1: INT 21h 01h, 7: 07h,
; 8: 08h, k: INT 16h 00h) and prints both in hex; a prompt comes first.
org 100h
    mov dx, prompt
    call print_string
    mov bl, [82h]
    call read
    call print_hex
    call read
    call print_hex
    mov al, 0
    jmp exit
read:
    cmp bl, 'k'
    je .bios
    mov ah, bl
    sub ah, '0'
    int 21h
    xor ah, ah
    ret
.bios:
    xor ah, ah
    int 16h
    ret
%include "print.inc"
prompt db '? $'
