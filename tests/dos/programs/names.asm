; Host names as DOS sees them: opens the file the command tail names and prints its first
; bytes, lists the current folder (the listing overwrites the tail, where the DTA is), and
; creates the file NEW.TXT.
org 100h
    xor bx, bx
    mov bl, [80h]
    mov byte [81h + bx], 0
    mov ax, 3D00h
    mov dx, 82h
    int 21h
    jc .failed
    mov bx, ax
    mov ah, 3Fh
    mov cx, 5
    mov dx, buffer
    int 21h
    mov dx, buffer
    call print_string
    mov ah, 3Eh
    int 21h
.failed:
    call newline
    mov ah, 4Eh
    mov cx, 10h
    mov dx, all
.list:
    int 21h
    jc .listed
    mov si, 80h + 1Eh
.name:
    lodsb
    test al, al
    jz .named
    mov dl, al
    mov ah, 2
    int 21h
    jmp .name
.named:
    mov dl, ' '
    int 21h
    mov ah, 4Fh
    jmp .list
.listed:
    call newline
    mov ah, 3Ch
    xor cx, cx
    mov dx, created
    int 21h
    mov bx, ax
    mov ah, 3Eh
    int 21h
    mov al, 0
    jmp exit
%include "print.inc"
all db '*.*', 0
created db 'NEW.TXT', 0
buffer db 0, 0, 0, 0, 0, '$'
