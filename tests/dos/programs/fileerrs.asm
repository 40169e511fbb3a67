; What DOS answers when the host says no: a file another handle holds with "deny all", a
; read-only file opened for writing or deleted, a folder opened as a file, a handle closed
; twice; and a file's date and time set and read back. Prints each call's result.
org 100h
    mov ah, 3Ch
    xor cx, cx
    mov dx, name
    int 21h
    mov bx, ax
    mov ah, 3Eh
    int 21h
    mov ax, 3D12h               ; read and write, deny all
    mov dx, name
    int 21h
    call report
    mov [held], ax
    mov ax, 3D40h               ; read, deny none
    mov dx, name
    int 21h
    call report
    mov bx, [held]
    mov ax, 5701h               ; 2001-02-03 12:34:56
    mov cx, (12 << 11) | (34 << 5) | (56 / 2)
    mov dx, ((2001 - 1980) << 9) | (2 << 5) | 3
    int 21h
    call report
    mov ax, 5700h
    int 21h
    mov ax, cx
    call print_hex
    mov ax, dx
    call print_hex
    mov ah, 3Eh
    int 21h
    call report
    mov ah, 3Eh
    int 21h
    call report
    call newline
    mov ax, 4301h
    mov cx, 1
    mov dx, name
    int 21h
    call report
    mov ax, 4300h
    int 21h
    mov ax, cx
    and ax, 1
    call print_hex
    mov ax, 3D01h
    int 21h
    call report
    mov ah, 41h
    int 21h
    call report
    mov ax, 4301h
    xor cx, cx
    int 21h
    mov ah, 41h
    int 21h
    call report
    mov ax, 3D00h
    mov dx, folder
    int 21h
    call report
    call newline
    mov al, 0
    jmp exit
report:                     ; "ok" or the error code, from CF and AX
    push ax
    jc .error
    mov ax, 0
.error:
    call print_hex
    pop ax
    ret
%include "print.inc"
name db 'FILE.DAT', 0
folder db '..', 0
held dw 0
