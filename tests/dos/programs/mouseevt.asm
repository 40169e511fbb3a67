; The mouse driver's calls of an event handler (0Ch) with the call mask of the command tail (two
; hex digits): the first call is awaited with every register set, which must come back as it
; was, with the stack where it was ("same" or "changed"); then each call's AX, BX, CX, DX,
; SI, DI and whether interrupts were off in the handler are printed, a line each, until a key
; is pressed.
    org 100h
    mov si, 82h
    call hex_digit
    mov cl, 4
    shl al, cl
    mov bl, al
    call hex_digit
    or bl, al
    xor bh, bh
    mov [mask], bx

    xor ax, ax
    int 33h
    mov ax, 0Ch
    mov cx, [mask]
    push cs
    pop es
    mov dx, handler
    int 33h

    mov [stack], sp
    mov ax, 1111h
    mov bx, 2222h
    mov cx, 3333h
    mov dx, 4444h
    mov si, 5555h
    mov di, 6666h
    mov bp, 7777h
.first:
    cmp byte [calls], 0
    jne .called
    push ax
    mov ah, 1                       ; a key before any call ends the program
    int 16h
    pop ax
    jz .first
    jmp .done
.called:
    cmp ax, 1111h
    jne .changed
    cmp bx, 2222h
    jne .changed
    cmp cx, 3333h
    jne .changed
    cmp dx, 4444h
    jne .changed
    cmp si, 5555h
    jne .changed
    cmp di, 6666h
    jne .changed
    cmp bp, 7777h
    jne .changed
    cmp sp, [stack]
    jne .changed
    mov dx, same
    jmp .report
.changed:
    mov dx, changed
.report:
    call print_string

.loop:
    mov al, [calls]
    cmp al, [printed]
    je .key
    inc byte [printed]
    mov si, saved
    mov cx, 7
.word:
    lodsw
    call print_hex
    loop .word
    call newline
.key:
    mov ah, 1
    int 16h
    jz .loop
.done:
    xor ax, ax
    int 33h
    mov ax, 4C00h
    int 21h

handler:
    mov [cs:saved], ax
    mov [cs:saved+2], bx
    mov [cs:saved+4], cx
    mov [cs:saved+6], dx
    mov [cs:saved+8], si
    mov [cs:saved+10], di
    pushf
    pop ax
    and ax, 0200h
    mov [cs:saved+12], ax
    mov ax, 0BADh                   ; the handler may change every register
    mov bx, ax
    mov cx, ax
    mov dx, ax
    mov si, ax
    mov di, ax
    mov bp, ax
    inc byte [cs:calls]
    retf

hex_digit:                          ; AL = the value of the hex digit at DS:SI, SI past it
    lodsb
    sub al, '0'
    cmp al, 9
    jbe .digit
    and al, 0DFh
    sub al, 'A' - '0' - 10
.digit:
    ret

%include "print.inc"

same db "same", 13, 10, "$"
changed db "changed", 13, 10, "$"
mask dw 0
stack dw 0
calls db 0
printed db 0
saved times 7 dw 0
