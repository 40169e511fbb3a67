; A .COM program in MASM: ORG 100h, one segment, no relocations, for EXE2BIN.
code    segment
        assume cs:code, ds:code
        org 100h
start:  mov dx, offset msg
        mov ah, 9
        int 21h
        mov ax, 4c03h
        int 21h
msg     db 'Hello from a .COM', 0dh, 0ah, '$'
code    ends
        end start
