; Machine time as a program sees it: counts its loops until the BIOS tick count has moved on
; five times, and prints that count, the ticks, timer 0's counter latched at the end and DOS's
; date and time, so that two runs with fixed time print the same.
org 100h
    xor ax, ax
    mov es, ax
    xor si, si              ; loops, low word
    xor di, di              ; loops, high word
    mov cx, 5
    mov bx, [es:046Ch]
wait_tick:
    add si, 1
    adc di, 0
    cmp bx, [es:046Ch]
    je wait_tick
    mov bx, [es:046Ch]
    loop wait_tick
    mov ax, di
    call print_hex
    mov ax, si
    call print_hex
    mov ax, [es:046Ch]
    call print_hex
    mov al, 0
    out 43h, al
    in al, 40h
    mov ah, al
    in al, 40h
    xchg al, ah
    call print_hex
    mov ah, 2Ah
    int 21h
    mov ax, cx
    call print_decimal
    mov al, dh
    xor ah, ah
    call print_decimal
    mov al, dl
    call print_decimal
    mov ah, 2Ch
    int 21h
    mov al, ch
    xor ah, ah
    call print_decimal
    mov al, cl
    call print_decimal
    mov al, dh
    call print_decimal
    call newline
    mov al, 0
    jmp exit

%include "print.inc"
