; INT 13h on drive A: case by case, one line each: the case's letter, then AX, CF and what the
; case reads back. a reset, b read the boot sector (its last word), c write a pattern to
; cylinder 1 head 1 sector 5 (the boot sector read before), d read it back (a word of it), e verify the disk's last sector,
; f read sector 19 (none), g status of that, h read 3 from sector 17 (on to head 1), i read 3
; from head 1's sector 17 (off the cylinder), j parameters (BX, CX, DX, ES:DI's 5th byte),
; k type of A:, l type of B:, m change line, n read from drive 80h, o read no sectors.
org 100h
    mov si, cases
next:
    lodsb
    test al, al
    jz finish
    mov dl, al
    mov ah, 2
    int 21h
    mov dl, ':'
    int 21h
    lodsw
    mov bp, ax              ; AX for INT 13h
    lodsw
    mov cx, ax
    lodsw
    mov dx, ax
    lodsw                   ; what to show afterwards
    mov [show], ax
    push si
    push ds
    pop es
    mov bx, buffer
    mov ax, bp
    int 13h
    pushf
    call print_hex
    pop ax
    and ax, 1
    call print_hex
    call [show]
    call newline
    pop si
    jmp next
finish:
    mov al, 0
    call exit

show_none:
    ret
show_last_word:
    mov ax, [buffer + 510]
    jmp print_hex
show_pattern:
    mov ax, [buffer + 100]
    jmp print_hex
show_parameters:
    mov ax, bx
    call print_hex
    mov ax, cx
    call print_hex
    mov ax, dx
    call print_hex
    mov al, [es:di + 4]
    xor ah, ah
    jmp print_hex
show_cleared:
    push ds
    pop es
    mov di, buffer
    mov cx, 256
    xor ax, ax
    rep stosw
    ret

cases:
    db 'a'
    dw 0000h, 0, 0000h, show_none
    db 'b'
    dw 0201h, 0001h, 0000h, show_last_word
    db 'c'
    dw 0301h, 0105h, 0100h, show_cleared
    db 'd'
    dw 0201h, 0105h, 0100h, show_pattern
    db 'e'
    dw 0401h, 4F12h, 0100h, show_none
    db 'f'
    dw 0201h, 0013h, 0000h, show_none
    db 'g'
    dw 0100h, 0, 0000h, show_none
    db 'h'
    dw 0203h, 0011h, 0000h, show_none
    db 'i'
    dw 0203h, 0011h, 0100h, show_none
    db 'j'
    dw 0800h, 0, 0000h, show_parameters
    db 'k'
    dw 1500h, 0, 0000h, show_none
    db 'l'
    dw 1500h, 0, 0001h, show_none
    db 'm'
    dw 1600h, 0, 0000h, show_none
    db 'n'
    dw 0201h, 0001h, 0080h, show_none
    db 'o'
    dw 0200h, 0001h, 0000h, show_none
    db 0

%include "print.inc"

show dw 0
buffer:
    times 3 * 512 db 0
