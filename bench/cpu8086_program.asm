; The CPU benchmark's DOS program (.COM, built by nasm): loops of arithmetic, memory moves,
; calls and repeated string instructions, run the same in DOSBox and in CCpu8086.
        org 100h
start:  mov     bp, 60000           ; outer repetitions
outer:  mov     cx, 400
        xor     ax, ax
        mov     bx, 1234h
        xor     dx, dx
arith:  add     ax, bx
        adc     dx, 0
        xor     bx, ax
        rol     bx, 1
        sub     ax, cx
        inc     si
        dec     di
        cmp     ax, dx
        jb      .skip
        sar     dx, 1
.skip:  loop    arith
        mov     [sum], ax
        ; memory moves
        mov     si, buf1
        mov     di, buf2
        mov     cx, 128
.mv:    mov     ax, [si]
        mov     [di], ax
        add     si, 2
        add     di, 2
        loop    .mv
        ; calls
        mov     cx, 100
.cl:    call    func
        loop    .cl
        ; strings
        cld
        mov     si, buf1
        mov     di, buf2
        mov     cx, 256
        rep     movsw
        mov     di, buf2
        mov     al, 0FFh
        mov     cx, 512
        repne   scasb
        mov     si, buf1
        mov     di, buf2
        mov     cx, 256
        repe    cmpsw
        dec     bp
        jnz     outer
        mov     ax, 4C00h
        int     21h
func:   push    bx
        mov     bx, [sum]
        add     bx, cx
        mov     [sum], bx
        pop     bx
        ret
sum:    dw      0
buf1:   times 512 db 0
buf2:   times 512 db 0
