; Asks for a name, reads it as a line (INT 21h 0Ah), then waits for one key (INT 16h) and
; ends with that key's character as its exit code.
        org     100h
start:  mov     dx, prompt
        mov     ah, 9
        int     21h
        mov     dx, buffer
        mov     ah, 0Ah
        int     21h
        xor     ah, ah
        int     16h
        mov     ah, 4Ch
        int     21h
prompt  db      'Name? $'
buffer  db      20, 0
        times   21 db 0
