; The CGA modes at B800h: bytes written to both banks, pixels through INT 10h 0Ch (bit 7 XORs)
; and 0Dh in modes 4 and 6, the palette and background of INT 10h 0Bh as the attribute
; registers and 0466h hold them; then mode 0Dh's pixels on page 1, and the CRTC's start when
; INT 10h 05h shows that page.
org 100h
    mov ax, 0004h
    int 10h
    mov ax, 0B800h
    mov es, ax
    mov byte [es:0], 1Bh
    mov byte [es:2000h], 0E4h
    mov ax, 0C02h
    mov bh, 0
    mov cx, 5
    mov dx, 2
    int 10h
    mov ax, 0C83h
    int 10h
    mov ah, 0Dh
    int 10h
    call out_byte
    mov ax, 0C01h
    mov cx, 319
    mov dx, 199
    int 10h
    call out_cga
    mov ah, 0Bh
    mov bx, 0100h
    int 10h
    call out_attributes
    mov ah, 0Bh
    mov bx, 0011h
    int 10h
    call out_attributes
    mov ah, 0Bh
    mov bx, 0101h
    int 10h
    call out_attributes
    mov ax, 0006h
    int 10h
    mov ax, 0C01h
    mov bh, 0
    mov cx, 9
    mov dx, 3
    int 10h
    mov ax, 0C81h
    mov cx, 8
    int 10h
    mov ax, 0C81h
    mov cx, 9
    int 10h
    mov ah, 0Dh
    mov cx, 8
    int 10h
    call out_byte
    call out_cga
    mov ax, 000Dh
    int 10h
    mov ax, 0C0Ah
    mov bh, 1
    mov cx, 17
    mov dx, 2
    int 10h
    mov ah, 0Dh
    int 10h
    call out_byte
    mov ah, 0Dh
    mov bh, 0
    int 10h
    call out_byte
    mov si, 2000h + 2 * 40
    mov cx, 4
    call out_planes
    mov ax, 0501h
    int 10h
    mov dx, 3D4h
    mov bl, 0Ch
    mov cx, 2
    call out_indexed
    jmp finish

out_cga:                    ; the first bytes of both banks and the last line's, 0466h
    push es
    mov ax, 0B800h
    mov es, ax
    mov si, 0
    mov cx, 8
    call out_far
    mov si, 50h
    mov cx, 8
    call out_far
    mov si, 2000h
    mov cx, 8
    call out_far
    mov si, 2000h + 99 * 80 + 72
    mov cx, 8
    call out_far
    mov ax, 40h
    mov es, ax
    mov al, [es:66h]
    call out_byte
    pop es
    ret

out_name: db 'VGACGA.VID', 0
%include "video.inc"
