; The speaker as programs drive it, chosen by the first letter of the command tail: T plays
; 440 Hz (counter 2 in mode 3) for 9 timer ticks; S plays it for 3 ticks, stops it and stays
; 6 ticks more; B writes BEL to the console and ends at once; G toggles port 61h's bit 1 with
; the gate off, 1500 instructions each half period, 2000 times (1000 Hz for a second in fixed
; time); H plays 100 kHz, above what 44.1 kHz samples carry, for 3 ticks; X sets bit 1 with
; the gate off for 3 ticks, a steady level.
org 100h
    mov al, [82h]
    cmp al, 'S'
    je stopped
    cmp al, 'B'
    je bell
    cmp al, 'G'
    je toggled
    cmp al, 'H'
    je ultrasonic
    cmp al, 'X'
    je steady
    mov bx, 2712
    mov cx, 9
    call tone
    jmp done
stopped:
    mov bx, 2712
    mov cx, 3
    call tone
    mov cx, 6
    call wait_ticks
    jmp done
ultrasonic:
    mov bx, 12
    mov cx, 3
    call tone
    jmp done
steady:
    in al, 61h
    and al, 0FCh
    or al, 2
    out 61h, al
    mov cx, 3
    call wait_ticks
    in al, 61h
    and al, 0FCh
    out 61h, al
    jmp done
bell:
    mov dl, 7
    mov ah, 2
    int 21h
    jmp done
toggled:
    in al, 61h
    and al, 0FCh
    mov bx, 2000
.half:
    xor al, 2
    out 61h, al
    mov cx, 1495
.delay:
    loop .delay
    dec bx
    jnz .half
    and al, 0FCh
    out 61h, al
done:
    mov al, 0
    call exit

; BX = counter 2's divisor, CX = ticks to sound, from the start of a tick.
tone:
    mov al, 0B6h
    out 43h, al
    mov ax, bx
    out 42h, al
    mov al, ah
    out 42h, al
    push cx
    mov cx, 1
    call wait_ticks
    pop cx
    in al, 61h
    or al, 3
    out 61h, al
    call wait_ticks
    in al, 61h
    and al, 0FCh
    out 61h, al
    ret

; CX = timer ticks to wait for, each counted when the BIOS tick count moves on.
wait_ticks:
    push ds
    xor ax, ax
    mov ds, ax
.tick:
    mov ax, [046Ch]
.same:
    cmp ax, [046Ch]
    je .same
    loop .tick
    pop ds
    ret

%include "print.inc"
