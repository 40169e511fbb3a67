; The mouse driver's answers, a line per function: reset (00h, 21h: installed, at least two
; buttons), version (24h), the position after a reset and after 04h (03h), the ranges (07h,
; 08h) clamping 04h and put back by a reset, presses and releases with no button used (05h,
; 06h), the motion counters (0Bh), the ratios (0Fh) and sensitivity (1Ah, 1Bh) kept. Every
; value is one a driver gives without a mouse moving.
    org 100h
    xor ax, ax
    mov es, ax
    mov ax, [es:33h*4+2]            ; a driver is there: its vector is set
    or ax, [es:33h*4]
    jz .none
    mov ax, 1
.none:
    call print_hex
    call newline

    xor ax, ax
    int 33h
    call print_ax_bx
    mov ax, 21h
    int 33h
    call print_ax_bx
    mov ax, 24h
    int 33h
    mov ax, bx
    call print_hex
    mov al, ch                      ; the type; CL's IRQ differs between drivers
    xor ah, ah
    call print_hex
    call newline

    mov ax, 3                       ; the middle of the screen after a reset
    int 33h
    call print_bx_cx_dx
    mov ax, 4
    mov cx, 123
    mov dx, 45
    int 33h
    mov ax, 3
    int 33h
    call print_bx_cx_dx

    mov ax, 7                       ; a range given high to low is taken low to high
    mov cx, 400
    mov dx, 200
    int 33h
    mov ax, 8
    mov cx, 16
    mov dx, 80
    int 33h
    mov ax, 4
    mov cx, 600
    mov dx, 0
    int 33h
    mov ax, 3
    int 33h
    call print_bx_cx_dx
    mov ax, 4
    mov cx, 0
    mov dx, 150
    int 33h
    mov ax, 3
    int 33h
    call print_bx_cx_dx

    mov ax, 5
    xor bx, bx
    int 33h
    call print_ax_bx_cx_dx
    mov ax, 6
    mov bx, 1
    int 33h
    call print_ax_bx_cx_dx
    mov ax, 0Bh
    int 33h
    call print_bx_cx_dx

    mov ax, 0Fh
    mov cx, 4
    mov dx, 12
    int 33h
    mov ax, 1Ah
    mov bx, 30
    mov cx, 70
    mov dx, 90
    int 33h
    mov ax, 1Bh
    int 33h
    call print_bx_cx_dx

    mov ax, 21h                     ; the whole screen again
    int 33h
    mov ax, 4
    mov cx, 1000
    mov dx, 1000
    int 33h
    mov ax, 3
    int 33h
    call print_bx_cx_dx
    xor ax, ax
    int 33h
    mov ax, 4C00h
    int 21h

print_ax_bx:
    call print_hex
    cmp bx, 2
    mov ax, 1
    jae .buttons
    dec ax
.buttons:
    call print_hex
    jmp newline
print_bx_cx_dx:
    mov ax, bx
print_ax_bx_cx_dx:
    call print_hex
    mov ax, cx
    call print_hex
    mov ax, dx
    call print_hex
    jmp newline

%include "print.inc"
