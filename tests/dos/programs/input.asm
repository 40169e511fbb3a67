; Redirected standard input: a line through INT 21h 0Ah, bytes through 3Fh, then the last
; three characters through 01h (with their echo).
org 100h
    mov ah, 0Ah
    mov dx, line
    int 21h
    call newline
    mov al, [line + 1]
    xor ah, ah
    call print_decimal
    mov bl, [line + 1]
    xor bh, bh
    mov byte [line + 2 + bx], '$'
    mov dx, line + 2
    call print_string
    call newline
    mov ah, 3Fh
    xor bx, bx
    mov cx, 8
    mov dx, bytes
    int 21h
    call print_decimal
    mov cx, ax
    mov si, bytes
.hex:
    lodsb
    xor ah, ah
    call print_hex
    loop .hex
    call newline
    mov cx, 3
.chars:
    mov ah, 1
    int 21h
    xor ah, ah
    call print_hex
    loop .chars
    call newline
    mov al, 0
    jmp exit
%include "print.inc"
line db 20, 0
    times 22 db 0
bytes times 8 db 0
