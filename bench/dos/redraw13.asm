; Mode 13h's screen redrawn with a colour of its own each time, as fast as the machine goes,
; for 91 timer ticks (five seconds); then mode 3 again and the number of redraws printed.
org 100h
    mov ax, 0013h
    int 10h
    mov ah, 0
    int 1Ah
    mov [start], dx
    mov ax, 0A000h
    mov es, ax
    mov bl, 1
redraw:
    mov al, bl
    mov ah, bl
    xor di, di
    mov cx, 320 * 200 / 2
    rep stosw
    inc bl
    add word [count], 1
    adc word [count + 2], 0
    mov ah, 0
    int 1Ah
    sub dx, [start]
    cmp dx, 91
    jb redraw
    mov ax, 0003h
    int 10h
    ; The count in decimal, its digits pushed lowest first.
    mov ax, [count]
    mov dx, [count + 2]
    mov bx, 10
    xor cx, cx
digit:
    push ax
    mov ax, dx
    xor dx, dx
    div bx
    mov si, ax
    pop ax
    div bx
    push dx
    inc cx
    mov dx, si
    or si, ax
    jnz digit
print:
    pop dx
    add dl, '0'
    mov ah, 02h
    int 21h
    loop print
    mov dl, 13
    int 21h
    mov dl, 10
    int 21h
    mov ax, 4C00h
    int 21h
start: dw 0
count: dd 0
