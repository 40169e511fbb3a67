; The 80186's instructions: PUSH immediate, PUSHA and POPA, IMUL by an immediate, shifts and
; rotates by an immediate count, ENTER and LEAVE, BOUND within its bounds.
cpu 186
org 100h
    push 1234h
    pop ax
    call print_hex
    push -2
    pop ax
    call print_hex
    call newline
    mov ax, 1
    mov bx, 2
    mov cx, 3
    mov dx, 4
    mov si, 5
    mov di, 6
    mov bp, 7
    pusha
    xor ax, ax
    xor bx, bx
    xor cx, cx
    xor dx, dx
    xor si, si
    xor di, di
    xor bp, bp
    popa
    add ax, bx
    add ax, cx
    add ax, dx
    add ax, si
    add ax, di
    add ax, bp
    call print_hex
    call newline
    mov bx, 300
    imul ax, bx, 7
    call print_hex
    imul ax, bx, -3
    call print_hex
    call newline
    mov ax, 1234h
    shl ax, 4
    call print_hex
    mov ax, 8421h
    ror ax, 3
    call print_hex
    mov ax, 8000h
    sar ax, 5
    call print_hex
    mov al, 81h
    rcl al, 2
    xor ah, ah
    call print_hex
    call newline
    mov dx, sp
    enter 6, 0
    mov ax, dx
    sub ax, sp
    call print_hex
    mov word [bp - 2], 55AAh
    mov ax, [bp - 2]
    call print_hex
    leave
    mov ax, dx
    sub ax, sp
    call print_hex
    call newline
    mov ax, 15
    bound ax, [limits]
    mov dx, inside
    call print_string
    call newline
    mov al, 0
    jmp exit
%include "print.inc"
limits dw 10, 20
inside db 'inside bounds$'
