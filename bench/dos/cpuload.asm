; A CPU-bound DOS program for the bench: a sieve of Eratosthenes over 32,000 numbers, run
; 200 times, with arithmetic, memory and string instructions in its inner loops; prints the
; count of primes.
org 100h
    mov bp, 200
again:
    mov di, sieve
    mov cx, size / 2
    mov ax, 0101h
    rep stosw
    mov bx, 2
outer:
    mov al, [sieve + bx]
    test al, al
    jz next
    mov si, bx
    add si, bx
mark:
    cmp si, size
    jae next
    mov byte [sieve + si], 0
    add si, bx
    jmp mark
next:
    inc bx
    mov ax, bx
    mul bx
    cmp ax, size
    jb outer
    dec bp
    jnz again
    xor dx, dx
    mov bx, 2
count:
    mov al, [sieve + bx]
    cbw
    add dx, ax
    inc bx
    cmp bx, size
    jb count
    mov ax, dx
    call print_decimal
    call newline
    mov al, 0
    jmp exit
%include "print.inc"
size equ 32000
sieve:
