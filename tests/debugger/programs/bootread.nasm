; A boot sector of two sectors: it prints through the BIOS, reads its second sector from
; drive A: (the image it was booted from) with INT 13h and prints the text there, then waits
; in HLT for ever.
        bits    16
        org     7C00h
start:  xor     ax, ax
        mov     ds, ax
        mov     es, ax
        mov     si, hello
        call    print
        mov     ax, 0201h
        mov     cx, 0002h
        xor     dh, dh
        mov     bx, 7E00h
        int     13h
        jc      failed
        mov     si, 7E00h
        call    print
park:   hlt
        jmp     park
failed: mov     si, nosector
        call    print
        jmp     park
print:  lodsb
        test    al, al
        jz      .end
        mov     ah, 0Eh
        mov     bx, 0007h
        int     10h
        jmp     print
.end:   ret
hello   db      "boot ", 0
nosector db     "no sector 2", 0
        times   510 - ($ - $$) db 0
        dw      0AA55h
second  db      "sector 2", 0
        times   1024 - ($ - $$) db 0
