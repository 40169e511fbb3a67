; Mode 12h's planes through the graphics controller: the map mask, set/reset and its enable,
; the bit mask over the latches, rotation with the logical functions, write mode 1's copy of
; the latches, write modes 2 and 3, read mode 0's map and read mode 1's colour compare and
; don't care; pixels through INT 10h 0Ch (bit 7 XORs) and 0Dh; the attribute palette through
; INT 10h 10h and the ports, the CRTC's start and offset, misc output.
org 100h
    mov ax, 0012h
    int 10h
    mov ax, 0A000h
    mov es, ax
    ; Write mode 0 through a map mask of planes 0 and 2.
    mov ax, 0502h
    call set_sequencer
    mov byte [es:0], 0AAh
    mov ax, 0F02h
    call set_sequencer
    ; Set/reset on every plane, then on planes 0 and 1 only.
    mov ax, 0C00h
    call set_graphics
    mov ax, 0F01h
    call set_graphics
    mov byte [es:1], 55h
    mov ax, 0100h
    call set_graphics
    mov ax, 0301h
    call set_graphics
    mov byte [es:2], 3Ch
    mov ax, 0001h
    call set_graphics
    ; The bit mask keeps the latches' bits.
    mov byte [es:3], 0Fh
    mov al, [es:3]
    mov ax, 0F008h
    call set_graphics
    mov byte [es:3], 0F0h
    mov ax, 0FF08h
    call set_graphics
    ; Rotate by 1 and OR with the latches, then AND, then XOR.
    mov byte [es:4], 81h
    mov si, functions
.function:
    lodsb
    mov ah, al
    mov al, 3
    call set_graphics
    mov al, [es:4]
    mov byte [es:4], 66h
    cmp si, functions + 3
    jb .function
    mov ax, 0003h
    call set_graphics
    ; Four planes of their own at 10h, copied by write mode 1 to 110h.
    mov bx, 0
.plane:
    mov ah, 1
    mov cl, bl
    shl ah, cl
    mov al, 2
    call set_sequencer
    mov al, [patterns + bx]
    mov [es:10h], al
    inc bx
    cmp bx, 4
    jb .plane
    mov ax, 0F02h
    call set_sequencer
    mov ax, 0105h
    call set_graphics
    mov al, [es:10h]
    mov byte [es:110h], 0
    mov ax, 0005h
    call set_graphics
    ; Write mode 2: colour 9 under a bit mask of 3Ch.
    mov ax, 0205h
    call set_graphics
    mov ax, 3C08h
    call set_graphics
    mov al, [es:20h]
    mov byte [es:20h], 09h
    mov ax, 0FF08h
    call set_graphics
    ; Write mode 3: set/reset 6, the rotated byte as the mask.
    mov ax, 0305h
    call set_graphics
    mov ax, 0600h
    call set_graphics
    mov al, [es:30h]
    mov byte [es:30h], 0F0h
    mov ax, 0005h
    call set_graphics
    mov ax, 0000h
    call set_graphics
    ; Read mode 1 at 30h: colour 6 with every plane, with plane 1 alone, colour 0.
    mov ax, 0805h
    call set_graphics
    mov si, compares
.compare:
    lodsw
    mov ah, al
    mov al, 2
    call set_graphics
    lodsb
    mov ah, al
    mov al, 7
    call set_graphics
    mov al, [es:30h]
    call out_byte
    cmp si, compares + 9
    jb .compare
    mov ax, 0005h
    call set_graphics
    mov ax, 0F07h
    call set_graphics
    ; Pixels: colour 5 at (3, 1), XORed with 3, and one at the last line.
    mov ax, 0C05h
    mov bh, 0
    mov cx, 3
    mov dx, 1
    int 10h
    mov ax, 0C83h
    int 10h
    mov ah, 0Dh
    int 10h
    call out_byte
    mov ax, 0C0Eh
    mov cx, 639
    mov dx, 479
    int 10h
    mov ah, 0Dh
    int 10h
    call out_byte
    mov si, 0
    mov cx, 40h
    call out_planes
    mov si, 50h
    mov cx, 4
    call out_planes
    mov si, 110h
    mov cx, 1
    call out_planes
    mov si, 80 * 480 - 2
    mov cx, 2
    call out_planes
    mov ax, 0F04h
    call set_graphics       ; read map 3 beyond the planes' range reads plane 3
    mov al, [es:1]
    call out_byte
    mov ax, 0004h
    call set_graphics
    ; The attribute palette: one register, all sixteen and the border, blinking, colour select.
    mov ax, 1000h
    mov bx, 2A05h
    int 10h
    push ds
    pop es
    mov ax, 1002h
    mov dx, palette
    int 10h
    mov ax, 1000h
    mov bx, 3F0Eh
    int 10h
    mov ax, 1001h
    mov bh, 21h
    int 10h
    mov ax, 1007h
    mov bl, 3
    int 10h
    mov al, bh
    call out_byte
    mov ax, 1008h
    int 10h
    mov al, bh
    call out_byte
    mov ax, 1009h
    mov dx, table
    int 10h
    mov si, table
    mov cx, 17
    call out_bytes
    mov ax, 1013h
    mov bx, 0100h
    int 10h
    mov ax, 1013h
    mov bx, 0501h
    int 10h
    mov ax, 101Ah
    int 10h
    mov ax, bx
    call out_byte
    mov al, ah
    call out_byte
    ; Palette register 7 through the ports.
    mov dx, 3DAh
    in al, dx
    mov dx, 3C0h
    mov al, 07h
    out dx, al
    mov al, 11h
    out dx, al
    mov al, 20h
    out dx, al
    call out_attributes
    ; The CRTC's start address and offset, misc output read and written back.
    mov dx, 3D4h
    mov ax, 120Ch
    out dx, ax
    mov ax, 340Dh
    out dx, ax
    mov ax, 5013h
    out dx, ax
    mov bl, 0Ch
    mov cx, 2
    call out_indexed
    mov bl, 13h
    mov cx, 1
    call out_indexed
    mov dx, 3CCh
    in al, dx
    mov dx, 3C2h
    out dx, al
    mov dx, 3CCh
    in al, dx
    call out_byte
    jmp finish

functions: db 11h, 09h, 19h
patterns: db 11h, 22h, 44h, 88h
compares: db 06h, 0, 0Fh, 06h, 0, 02h, 00h, 0, 0Fh
palette: db 0, 1, 2, 3, 4, 5, 6, 7, 10h, 11h, 12h, 13h, 14h, 15h, 16h, 17h, 09h
table: times 17 db 0
out_name: db 'VGAPLANE.VID', 0
%include "video.inc"
