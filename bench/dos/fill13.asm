; Mode 13h's screen filled 100 times with a colour of its own each time, a word at a time
; straight into A000h, as a drawing program clears its screen; then mode 3 again.
org 100h
    mov ax, 0013h
    int 10h
    mov ax, 0A000h
    mov es, ax
    mov bx, 100
    mov al, 1
fill:
    mov ah, al
    xor di, di
    mov cx, 320 * 200 / 2
    rep stosw
    inc al
    dec bx
    jnz fill
    mov ax, 0003h
    int 10h
    mov ax, 4C00h
    int 21h
