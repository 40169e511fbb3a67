; A device of the test's own on the bus: bytes out to port 300h, a byte in from port 301h, and a
; byte written to and read from segment D000h, which the device answers for; the return code is
; what port 301h gave plus what D000h:0020h gave.
org 100h
    mov dx, 300h
    mov al, 12h
    out dx, al
    mov al, 34h
    out dx, al
    inc dx
    in al, dx
    mov bl, al
    push ds
    mov ax, 0D000h
    mov ds, ax
    mov byte [10h], 5Ah
    mov al, [20h]
    pop ds
    add al, bl
    jmp exit

%include "print.inc"
