; Mode 13h: 16 bars of the first colours above, the 256 colours in diagonals below, a white
; frame round the screen; then it waits for a key and sets mode 3 again.
org 100h
    mov ax, 0013h
    int 10h
    mov ax, 0A000h
    mov es, ax
    xor di, di
    xor dx, dx              ; y
row:
    xor bx, bx              ; x
col:
    mov ax, bx
    cmp dx, 100
    jae .diag
    push dx
    xor dx, dx
    mov cx, 20
    div cx
    pop dx
    jmp .frame
.diag:
    add ax, dx
.frame:
    cmp bx, 0
    je .white
    cmp bx, 319
    je .white
    cmp dx, 0
    je .white
    cmp dx, 199
    jne .put
.white:
    mov al, 15
.put:
    stosb
    inc bx
    cmp bx, 320
    jb col
    inc dx
    cmp dx, 200
    jb row
waitkey: mov ah, 0
    int 16h
    mov ax, 0003h
    int 10h
    mov ax, 4C00h
    int 21h
