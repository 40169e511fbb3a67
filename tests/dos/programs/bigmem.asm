; An MZ program that asks for more memory than a PC has (minimum allocation A000h paragraphs: 640 KB).
bits 16
section header start=0
    db 'MZ'
    dw 48 % 512
    dw 1
    dw 0
    dw 2
    dw 0xA000
    dw 0xFFFF
    dw 0, 0x100
    dw 0
    dw 0, 0
    dw 0x1C, 0
    times 32 - ($ - $$) db 0
section code follows=header vstart=0
    mov ax, 4C00h
    int 21h
    times 16 - ($ - $$) db 0
