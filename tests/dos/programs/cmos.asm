; Sets the CMOS clock through its ports and through INT 1Ah and checks that DOS's date and time
; follow: ends with 0, or with the number of the first check that failed.
        org     100h
        mov     al, 09h         ; the year, 24 in BCD, through the ports
        out     70h, al
        mov     al, 24h
        out     71h, al
        mov     ah, 2Ah
        int     21h
        mov     al, 1
        cmp     cx, 2024
        jne     fail
        mov     ah, 05h         ; INT 1Ah: the date 2025-12-09
        mov     cx, 2025h
        mov     dx, 1209h
        int     1Ah
        mov     al, 2
        jc      fail
        mov     ah, 03h         ; INT 1Ah: the time 08:30:00
        mov     cx, 0830h
        mov     dh, 00h
        int     1Ah
        mov     al, 3
        jc      fail
        mov     ah, 03h         ; a time that is no BCD is refused
        mov     cx, 0A30h
        int     1Ah
        mov     al, 4
        jnc     fail
        mov     ah, 2Ah
        int     21h
        mov     al, 5
        cmp     cx, 2025
        jne     fail
        cmp     dx, 0C09h
        jne     fail
        mov     ah, 2Ch
        int     21h
        mov     al, 6
        cmp     cx, 081Eh
        jne     fail
        mov     al, 04h         ; the hour, 13, through the ports
        out     70h, al
        mov     al, 13h
        out     71h, al
        mov     ah, 2Ch
        int     21h
        mov     al, 7
        cmp     ch, 13
        jne     fail
        mov     al, 0
fail:   mov     ah, 4Ch
        int     21h
