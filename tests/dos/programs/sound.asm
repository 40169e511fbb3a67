; The speaker as programs drive it, chosen by the first letter of the command tail: T plays
; 440 Hz (counter 2 in mode 3) for 9 timer ticks; S plays it for 3 ticks, stops it and stays
; 6 ticks more; B writes BEL to the console and ends at once; G toggles port 61h's bit 1 with
; the gate off, 1500 instructions each half period, 2000 times (1000 Hz for a second in fixed
; time); H plays 100 kHz, above what 44.1 kHz samples carry, for 3 ticks; X sets bit 1 with
; the gate off for 3 ticks, a steady level; P prints port 61h's bit 5 (counter 2's output)
; with the gate off, then how often it changes in a tick with the gate on, 440 Hz set.
cpu 8086
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
    cmp al, 'P'
    jne play
    jmp output
play:
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
output:
    mov al, 0B6h
    out 43h, al
    mov ax, 2712
    out 42h, al
    mov al, ah
    out 42h, al
    in al, 61h
    and al, 0FCh
    out 61h, al
    xor bx, bx
    mov cx, 1000
.gated_off:
    in al, 61h
    or bl, al
    loop .gated_off
    mov ax, bx
    and ax, 20h
    call print_hex
    in al, 61h
    or al, 1
    out 61h, al
    mov cx, 1
    call wait_ticks
    xor ax, ax
    mov ds, ax
    mov si, [046Ch]
    xor dx, dx
    in al, 61h
    and al, 20h
    mov bl, al
.count:
    in al, 61h
    and al, 20h
    cmp al, bl
    je .same
    mov bl, al
    inc dx
.same:
    cmp si, [046Ch]
    je .count
    push cs
    pop ds
    mov ax, dx
    call print_decimal
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
