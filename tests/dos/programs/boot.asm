; A boot sector (512 bytes ending in 55h AAh) that counts its boots in low memory, which a
; restart keeps: it prints "boot N DL=xx" through INT 10h 0Eh, restarts through INT 19h after
; the first two boots and by a jump to FFFF:0000 after the third, and at the fourth writes the
; count into the disk's last sector (INT 13h 03h) and halts.
bits 16
org 7C00h
count equ 0600h
mark equ 0602h
    cli
    xor ax, ax
    mov ds, ax
    mov es, ax
    mov ss, ax
    mov sp, 7C00h
    sti
    mov [drive], dl
    cmp word [mark], 'KV'
    je counted
    mov word [mark], 'KV'
    mov word [count], 0
counted:
    inc word [count]
    mov si, text_boot
    call print
    mov al, [count]
    add al, '0'
    call put
    mov si, text_drive
    call print
    mov al, [drive]
    call put_hex
    mov si, text_line
    call print
    mov ax, [count]
    cmp ax, 3
    jb by_interrupt
    je by_reset
    mov di, 7E00h
    mov cx, 256
    rep stosw
    mov ax, 0301h
    mov cx, 4F12h
    mov dx, 0100h
    mov bx, 7E00h
    int 13h
    cli
    hlt
by_interrupt:
    int 19h
by_reset:
    jmp 0FFFFh:0000h

print:
    lodsb
    test al, al
    jz .end
    call put
    jmp print
.end:
    ret
put:
    mov ah, 0Eh
    mov bx, 0007h
    int 10h
    ret
put_hex:
    push ax
    shr al, 4
    call digit
    pop ax
    and al, 0Fh
digit:
    add al, '0'
    cmp al, '9'
    jbe put
    add al, 7
    jmp put

drive db 0FFh
text_boot db "boot ", 0
text_drive db " DL=", 0
text_line db 13, 10, 0
    times 510 - ($ - $$) db 0
    dw 0AA55h
