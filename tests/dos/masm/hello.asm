; The first program of every textbook: a data segment, a stack segment, INT 21h 09h.
data segment
    msg db 'Hello, world!', 0dh, 0ah, '$'
data ends
stack segment stack
    dw 128 dup (?)
stack ends
code segment
    assume cs:code, ds:data, ss:stack
start:
    mov ax, data
    mov ds, ax
    mov dx, offset msg
    mov ah, 9
    int 21h
    mov ax, 4c00h
    int 21h
code ends
    end start
