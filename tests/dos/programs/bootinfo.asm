; A boot sector that writes what it finds when the BIOS starts it into the disk's second
; sector: DL, CS and IP, INT 11h's equipment word, INT 12h's memory size, and what INT 13h 02h
; answers for the boot sector itself (AX, CF, its last word); then halts.
bits 16
org 7C00h
    mov [found], dl
    call here
here:
    pop word [found + 3]
    mov [found + 1], cs
    xor ax, ax
    mov ds, ax
    mov es, ax
    int 11h
    mov [found + 5], ax
    int 12h
    mov [found + 7], ax
    mov ax, 0201h
    mov cx, 0001h
    xor dx, dx
    mov bx, 7E00h
    int 13h
    mov [found + 9], ax
    sbb ax, ax
    mov [found + 11], ax
    mov ax, [7E00h + 510]
    mov [found + 13], ax
    mov ax, 0301h
    mov cx, 0002h
    xor dx, dx
    mov bx, found
    int 13h
    cli
    hlt

    times 256 - ($ - $$) db 0
found:
    times 510 - ($ - $$) db 0
    dw 0AA55h
