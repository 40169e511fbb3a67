; Multiplication and division, unsigned and signed, bytes and words.
org 100h
    mov al, 200
    mov bl, 3
    mul bl
    call print_hex
    call newline
    mov ax, 1234h
    mov bx, 5678h
    mul bx
    call print_hex
    mov ax, dx
    call print_hex
    call newline
    mov al, -7
    mov bl, 5
    imul bl
    call print_hex
    call newline
    mov ax, -300
    mov bx, 7
    imul bx
    call print_hex
    mov ax, dx
    call print_hex
    call newline
    mov ax, 1000
    mov bl, 7
    div bl
    call print_hex
    call newline
    mov dx, 1
    mov ax, 0
    mov bx, 3
    div bx
    call print_hex
    mov ax, dx
    call print_hex
    call newline
    mov ax, -1000
    cwd
    mov bx, 7
    idiv bx
    call print_hex
    mov ax, dx
    call print_hex
    call newline
    mov al, -100
    cbw
    mov bl, -3
    idiv bl
    call print_hex
    call newline
    mov al, 0
    jmp exit
%include "print.inc"
