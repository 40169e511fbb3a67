; Mode 13h: bytes written straight to A000h, pixels
; through INT 10h 0Ch (bit 7 is no XOR in 256 colours) and read by 0Dh, the DAC programmed
; through 3C8h/3C9h and INT 10h 1010h/1012h, read through 3C7h/3C9h and 1015h/1017h, the pel
; mask, 3C7h's state and the write index after a triple; mode 93h, which keeps the memory.
org 100h
    mov ax, 0013h
    int 10h
    mov ax, 0A000h
    mov es, ax
    xor di, di
    mov cx, 320
    mov al, 1
.row:
    stosb
    inc al
    loop .row
    mov byte [es:0FFFFh], 5Ah
    mov di, 320 * 100 + 160
    mov ax, 0C0Dh
    mov cx, 8
    rep stosw
    mov ax, 0C8Fh           ; colour 8Fh, drawn as it is
    mov cx, 10
    mov dx, 20
    mov bh, 0
    int 10h
    mov ax, 0C8Fh
    int 10h
    mov ah, 0Dh
    int 10h
    call out_byte
    mov si, 0
    mov cx, 330
    call out_far
    mov si, 320 * 20
    mov cx, 16
    call out_far
    mov si, 320 * 100 + 156
    mov cx, 24
    call out_far
    mov al, [es:0FFFFh]
    call out_byte
    mov al, [es:0]
    call out_byte
    ; The DAC by its ports: entries 10h-12h, then the write index and 3C7h's state.
    mov dx, 3C8h
    mov al, 10h
    out dx, al
    inc dx
    mov si, colours
    mov cx, 9
.colour:
    lodsb
    out dx, al
    loop .colour
    mov al, 3Fh             ; a red alone: the index does not move yet
    out dx, al
    mov dx, 3C8h
    in al, dx
    call out_byte
    mov dx, 3C7h
    in al, dx
    call out_byte
    mov al, 0Fh
    mov cx, 5
    call out_dac
    mov dx, 3C7h
    in al, dx
    call out_byte
    ; The DAC by the BIOS.
    mov ax, 1010h
    mov bx, 20h
    mov dh, 1
    mov ch, 2
    mov cl, 43h             ; 6 bits kept
    int 10h
    push ds
    pop es
    mov ax, 1012h
    mov bx, 21h
    mov cx, 3
    mov dx, colours
    int 10h
    mov ax, 1015h
    mov bx, 22h
    int 10h
    mov al, dh
    call out_byte
    mov al, ch
    call out_byte
    mov al, cl
    call out_byte
    mov ax, 1017h
    mov bx, 1Eh
    mov cx, 6
    mov dx, table
    int 10h
    mov si, table
    mov cx, 18
    call out_bytes
    mov ax, 1019h
    int 10h
    mov al, bl
    call out_byte
    mov al, 0
    mov cx, 40
    call out_dac
    mov al, 0F0h
    mov cx, 16
    call out_dac
    ; Mode 93h keeps the memory (and the program's colours go), as 0487h and 0Fh's bit 7 say.
    mov ax, 0093h
    int 10h
    call out_kept
    mov ax, 0013h
    int 10h
    call out_kept
    jmp finish

out_kept:                   ; a pixel, 0Fh's mode, 0487h, DAC entry 10h
    mov ax, 0A000h
    mov es, ax
    mov al, [es:320 * 100 + 160]
    call out_byte
    mov ah, 0Fh
    int 10h
    call out_byte
    mov ax, 40h
    mov es, ax
    mov al, [es:87h]
    call out_byte
    mov al, 10h
    mov cx, 1
    call out_dac
    ret

colours: db 3Fh, 00h, 00h, 00h, 3Fh, 00h, 01h, 02h, 03h
table: times 18 db 0
out_name: db 'VGA13.VID', 0
%include "video.inc"
