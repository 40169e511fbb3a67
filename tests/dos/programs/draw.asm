; A known picture in the graphics mode its command tail names in hex ("DRAW 12"), drawn
; through INT 10h's pixels: 16 bars of the first colours, a yellow diagonal from the top left
; corner, a white frame; then it waits for a key and sets mode 3 again.
org 100h
    mov si, 81h
    xor bx, bx
.tail:
    lodsb
    cmp al, ' '
    je .tail
    cmp al, 0Dh
    je .find
    sub al, '0'
    cmp al, 9
    jbe .digit
    and al, 0DFh            ; a letter as 'A' - '0' and up
    sub al, 'A' - '0' - 10
.digit:
    shl bl, 1
    shl bl, 1
    shl bl, 1
    shl bl, 1
    or bl, al
    jmp .tail
.find:
    mov si, modes
.next:
    lodsb
    cmp al, 0FFh
    je .unknown
    cmp al, bl
    je .found
    add si, 4
    jmp .next
.unknown:
    mov ax, 4C01h
    int 21h
.found:
    lodsw
    mov [width], ax
    lodsw
    mov [height], ax
    xor ah, ah
    mov al, bl
    int 10h
    xor dx, dx              ; y
row:
    xor cx, cx              ; x
col:
    ; the bar: x * 16 / width
    push dx
    mov ax, cx
    shl ax, 1
    shl ax, 1
    shl ax, 1
    shl ax, 1
    xor dx, dx
    div word [width]
    pop dx
    cmp cx, dx
    jne .edge
    mov al, 14
.edge:
    mov bx, [width]
    dec bx
    cmp cx, bx
    je .white
    mov bx, [height]
    dec bx
    cmp dx, bx
    je .white
    or cx, cx
    jz .white
    or dx, dx
    jnz .put
.white:
    mov al, 15
.put:
    mov ah, 0Ch
    xor bh, bh
    int 10h
    inc cx
    cmp cx, [width]
    jb col
    inc dx
    cmp dx, [height]
    jb row
    mov ah, 0
    int 16h
    mov ax, 0003h
    int 10h
    mov ax, 4C00h
    int 21h

; Each mode with its width and height.
modes:  db 0Dh
        dw 320, 200
        db 10h
        dw 640, 350
        db 12h
        dw 640, 480
        db 13h
        dw 320, 200
        db 0FFh
width:  dw 0
height: dw 0
