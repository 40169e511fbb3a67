; A 1 kHz square wave on P1.0: Timer 0 in mode 2 overflows every 250 us, and every second
; overflow inverts the pin.
        .org    0
        ljmp    start
        .org    0bh
        ljmp    tick
        .org    30h
start:  mov     tmod, #02h
        mov     th0, #06h
        mov     tl0, #06h
        mov     r7, #2
        setb    et0
        setb    ea
        setb    tr0
wait:   sjmp    wait

tick:   djnz    r7, done
        mov     r7, #2
        cpl     p1.0
done:   reti
        .end
