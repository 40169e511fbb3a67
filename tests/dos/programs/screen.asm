; The text screen and the keyboard: a cell written straight to B800h, the cursor moved and
; text written by the BIOS and by DOS, then a key read through INT 16h, whose scan code is the
; return code.
org 100h
    push es
    mov ax, 0B800h
    mov es, ax
    mov word [es:0], 1E41h
    pop es
    mov ah, 2
    xor bh, bh
    mov dx, 0200h
    int 10h
    mov ax, 0E74h
    int 10h
    mov al, 't'
    int 10h
    mov al, 'y'
    int 10h
    mov dx, text
    call print_string
    xor ah, ah
    int 16h
    mov al, ah
    jmp exit
%include "print.inc"
text db 'dos$'
