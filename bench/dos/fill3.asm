; Text mode 3's eight pages at B800h filled 100 times, a word at a time, as fill13.asm fills
; mode 13h's screen: text memory stays RAM at the CPU's full speed.
org 100h
    mov ax, 0B800h
    mov es, ax
    mov bx, 100
    mov ax, 0741h
fill:
    xor di, di
    mov cx, 8 * 4096 / 2
    rep stosw
    inc al
    dec bx
    jnz fill
    mov ax, 0003h
    int 10h
    mov ax, 4C00h
    int 21h
