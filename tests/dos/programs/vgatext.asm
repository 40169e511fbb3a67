; INT 10h's text in graphics modes, with the full block (DBh) and blanks, which every font draws
; alike (the glyphs of other characters differ between DOSBox's font and Korvane's): 09h with a
; count and bit 7's XOR, 0Ah, teletype 0Eh in mode 13h (and DOS's output, which goes to the
; redirected file and leaves the screen and cursor alone),
; 13h's string, 06h's scroll, teletype scrolling at the last row in mode 10h, 09h in mode 12h
; and mode 4; the cursor each leaves. What the BIOS draws in a graphics mode is no text for
; korvane-dos.exe's pipe either.
org 100h
    mov ax, 0013h
    int 10h
    mov ah, 2
    mov bh, 0
    mov dx, 0102h
    int 10h
    mov ax, 09DBh
    mov bx, 002Ch
    mov cx, 3
    int 10h
    mov ah, 2
    mov dx, 0105h
    int 10h
    mov ax, 0ADBh
    mov bl, 4
    mov cx, 1
    int 10h
    mov ah, 2
    mov dx, 0106h
    int 10h
    mov ax, 0EDBh
    mov bl, 0Eh
    int 10h
    int 10h
    call out_cursor
    mov ah, 9
    mov dx, blocks
    int 21h
    call out_cursor
    push ds
    pop es
    mov ax, 1301h
    mov bx, 0009h
    mov cx, 2
    mov dx, 0300h
    mov bp, string
    int 10h
    call out_cursor
    mov ax, 0601h
    mov bh, 5
    mov cx, 0300h
    mov dx, 0401h
    int 10h
    mov ax, 0A000h
    mov es, ax
    mov si, 320 * 8
    mov bx, 320
    mov dx, 80
    mov cx, 40
.line:
    mov ax, cx
    mov cx, dx
    call out_far
    mov cx, ax
    add si, bx
    loop .line
    ; Mode 10h: a block on the last row, scrolled up by a line feed.
    mov ax, 0010h
    int 10h
    mov ah, 2
    mov bh, 0
    mov dx, 1800h
    int 10h
    mov ax, 0EDBh
    mov bl, 0Ah
    int 10h
    mov al, 0Ah
    int 10h
    call out_cursor
    mov si, 80 * 14 * 23
    mov cx, 14 * 2
    call out_plane_lines
    ; Mode 12h: colour 3, then XOR 85h.
    mov ax, 0012h
    int 10h
    mov ax, 09DBh
    mov bx, 0003h
    mov cx, 1
    int 10h
    mov bl, 85h
    int 10h
    mov si, 0
    mov cx, 16
    call out_plane_lines
    ; Mode 4: colour 2, then XOR 83h, at column 1.
    mov ax, 0004h
    int 10h
    mov ah, 2
    mov bh, 0
    mov dx, 0001h
    int 10h
    mov ax, 09DBh
    mov bx, 0002h
    mov cx, 1
    int 10h
    mov bl, 83h
    int 10h
    mov ax, 0B800h
    mov es, ax
    mov si, 0
    mov cx, 4
.bank:
    push cx
    mov cx, 4
    call out_far
    add si, 2000h
    call out_far
    sub si, 2000h - 80
    pop cx
    loop .bank
    jmp finish

out_cursor:                 ; the cursor of page 0, column then row
    push ax
    push bx
    push cx
    push dx
    mov ah, 3
    mov bh, 0
    int 10h
    mov al, dl
    call out_byte
    mov al, dh
    call out_byte
    pop dx
    pop cx
    pop bx
    pop ax
    ret
out_plane_lines:            ; CX lines' first two bytes of each plane from SI, 80 bytes a line
    push cx
    mov cx, 2
    call out_planes
    pop cx
    add si, 80
    loop out_plane_lines
    ret

blocks: db 0DBh, 0DBh, ' ', 0DBh, '$'
string: db 0DBh, 0DBh
out_name: db 'VGATEXT.VID', 0
%include "video.inc"
