; Files: create, write, seek, read back, rename, search, folders, delete, and the errors DOS
; gives on the way. Each line prints what a call returned.
org 100h
%macro check 0              ; prints "ok" or "error N"
    call report
%endmacro
    mov ah, 3Ch
    xor cx, cx
    mov dx, name1
    int 21h
    check
    mov bx, ax
    mov ah, 40h
    mov cx, text_len
    mov dx, text
    int 21h
    check
    call print_decimal
    mov ah, 3Eh
    int 21h
    check
    call newline
    mov ax, 3D02h
    mov dx, name1
    int 21h
    check
    mov bx, ax
    mov ax, 4202h
    xor cx, cx
    xor dx, dx
    int 21h
    call print_decimal
    mov ax, 4200h
    mov dx, 5
    int 21h
    mov ah, 3Fh
    mov cx, 3
    mov dx, buffer
    int 21h
    call print_decimal
    mov byte [buffer + 3], '$'
    mov dx, buffer
    call print_string
    mov ah, 3Eh
    int 21h
    call newline
    mov ah, 56h
    mov dx, name1
    mov di, name2
    int 21h
    check
    mov ah, 4Eh
    xor cx, cx
    mov dx, pattern
    int 21h
    check
    mov si, 80h + 1Eh
    call print_asciiz
    mov ax, [80h + 1Ah]
    call print_decimal
    mov ah, 4Fh
    int 21h
    check
    call newline
    mov ah, 39h
    mov dx, folder
    int 21h
    check
    mov ah, 3Bh
    int 21h
    check
    mov ah, 3Ch
    xor cx, cx
    mov dx, name1
    int 21h
    mov bx, ax
    mov ah, 3Eh
    int 21h
    mov ah, 3Bh
    mov dx, up
    int 21h
    check
    mov ah, 3Ah
    mov dx, folder
    int 21h
    check
    mov ah, 41h
    mov dx, inner
    int 21h
    check
    mov ah, 3Ah
    mov dx, folder
    int 21h
    check
    call newline
    mov ah, 41h
    mov dx, name2
    int 21h
    check
    mov ax, 3D00h
    mov dx, name2
    int 21h
    check
    mov ax, 3D00h
    mov dx, missing
    int 21h
    check
    call newline
    mov al, 0
    jmp exit
report:                     ; CF and AX of the last call
    push dx
    mov dx, ok
    jnc .print
    mov dx, error
    call print_string
    call print_decimal
    jmp .done
.print:
    call print_string
.done:
    pop dx
    ret
print_asciiz:               ; SI = ASCIIZ string
    push ax
    push dx
.next:
    lodsb
    test al, al
    jz .done
    mov dl, al
    mov ah, 2
    int 21h
    jmp .next
.done:
    mov dl, ' '
    mov ah, 2
    int 21h
    pop dx
    pop ax
    ret
%include "print.inc"
name1 db 'TEST.DAT', 0
name2 db 'TEST2.DAT', 0
pattern db 'TEST?.DAT', 0
folder db 'SUBDIR', 0
up db '..', 0
inner db 'SUBDIR\TEST.DAT', 0
missing db 'NOSUCH\FILE.DAT', 0
text db 'line one', 13, 10, 'line two', 13, 10
text_len equ $ - text
ok db 'ok $'
error db 'error $'
buffer times 16 db 0
