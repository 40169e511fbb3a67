; Counts in memory: 50,000 times round a first loop (just over 100,000 instructions), then
; 3 x 65,536 times round a second one (too many for the history).
        org     100h
start:  mov     cx, 50000
first:  inc     word [count]
        loop    first
done1:  mov     dx, 3
outer:  xor     cx, cx
second: inc     word [count]
        loop    second
        dec     dx
        jnz     outer
done2:  mov     ax, 4C00h
        int     21h
count   dw      0
