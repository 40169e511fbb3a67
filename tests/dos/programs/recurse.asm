; Procedures and recursion: factorials and Fibonacci numbers through the stack.
org 100h
    mov cx, 0
.factorials:
    mov ax, cx
    call factorial
    call print_decimal
    inc cx
    cmp cx, 9
    jb .factorials
    call newline
    mov cx, 0
.fibonacci:
    mov ax, cx
    call fibonacci
    call print_decimal
    inc cx
    cmp cx, 15
    jb .fibonacci
    call newline
    mov al, 0
    jmp exit
factorial:                  ; AX = n -> AX = n!
    cmp ax, 1
    ja .more
    mov ax, 1
    ret
.more:
    push ax
    dec ax
    call factorial
    pop bx
    mul bx
    ret
fibonacci:                  ; AX = n -> AX = fib(n)
    push bp
    mov bp, sp
    push bx
    cmp ax, 2
    jb .done
    push ax
    dec ax
    call fibonacci
    mov bx, ax
    pop ax
    sub ax, 2
    call fibonacci
    add ax, bx
.done:
    pop bx
    pop bp
    ret
%include "print.inc"
