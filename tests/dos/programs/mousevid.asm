; The mouse cursor shown in mode 13h, where the BIOS's pixel services work under it: a pixel
; written under the arrow (161, 101) stays when the cursor goes, the one at the hot spot comes
; back as it was (0), and a pixel read under the shown arrow is the picture's, not the cursor's.
    org 100h
    mov ax, 13h
    int 10h
    xor ax, ax
    int 33h
    mov ax, 1
    int 33h
    mov ax, 0C04h
    xor bh, bh
    mov cx, 161
    mov dx, 101
    int 10h
    mov ax, 2
    int 33h
    mov cx, 161
    mov dx, 101
    call read_pixel
    mov cx, 160
    mov dx, 100
    call read_pixel
    mov ax, 1
    int 33h
    mov cx, 162
    mov dx, 102
    call read_pixel
    mov ax, 2
    int 33h
    mov ax, 3
    int 10h
    call newline
    mov ax, 4C00h
    int 21h

read_pixel:                         ; the pixel at CX, DX printed
    mov ah, 0Dh
    xor bh, bh
    int 10h
    xor ah, ah
    jmp print_hex

%include "print.inc"
