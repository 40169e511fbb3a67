; DOS's console output in mode 13h: "A" and a full block through INT 21h AH=9, drawn by the
; BIOS in grey; the mode is left as it is for the test to look at.
org 100h
    mov ax, 0013h
    int 10h
    mov ah, 9
    mov dx, text
    int 21h
    mov ax, 4C00h
    int 21h
text: db 'A', 0DBh, '$'
