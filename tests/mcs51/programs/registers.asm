; Every register form of the instructions: Rn (R0-R7) and @Ri (R0, R1) with ADD, ADDC, SUBB,
; ORL, ANL, XRL, MOV both ways and with direct bytes and immediates, INC, DEC, XCH, XCHD, CJNE,
; DJNZ, MOVX; the direct and immediate forms of the logic; AJMP and ACALL into all eight
; 256-byte pages of a 2 KB block; A5h, which does nothing.
; compare: A B PSW SP R0 R1 R2 R3 R4 R5 R6 R7
; cycles: s51
	.org 0
	mov sp, #60h
	mov 30h, #5ah
	mov 31h, #0c3h
	mov p2, #0
	mov r0, #011h
	mov r1, #022h
	mov r2, #033h
	mov r3, #044h
	mov r4, #055h
	mov r5, #066h
	mov r6, #077h
	mov r7, #088h
	mov r0, #30h
	mov r1, #31h
	clr a
	add a, r2
	addc a, r2
	orl a, r2
	anl a, r2
	xrl a, r2
	subb a, r2
	xch a, r2
	inc r2
	dec r2
	mov r2, a
	mov 42h, r2
	mov r2, #06eh
	add a, r2
	mov r2, 42h
	mov a, r2
	cjne r2, #046h, c1
	inc a
c1:
	djnz r2, d1
	inc a
d1:
	add a, 42h
	add a, r3
	addc a, r3
	orl a, r3
	anl a, r3
	xrl a, r3
	subb a, r3
	xch a, r3
	inc r3
	dec r3
	mov r3, a
	mov 43h, r3
	mov r3, #0a5h
	add a, r3
	mov r3, 43h
	mov a, r3
	cjne r3, #069h, c2
	inc a
c2:
	djnz r3, d2
	inc a
d2:
	add a, 43h
	add a, r4
	addc a, r4
	orl a, r4
	anl a, r4
	xrl a, r4
	subb a, r4
	xch a, r4
	inc r4
	dec r4
	mov r4, a
	mov 44h, r4
	mov r4, #0dch
	add a, r4
	mov r4, 44h
	mov a, r4
	cjne r4, #08ch, c3
	inc a
c3:
	djnz r4, d3
	inc a
d3:
	add a, 44h
	add a, r5
	addc a, r5
	orl a, r5
	anl a, r5
	xrl a, r5
	subb a, r5
	xch a, r5
	inc r5
	dec r5
	mov r5, a
	mov 45h, r5
	mov r5, #013h
	add a, r5
	mov r5, 45h
	mov a, r5
	cjne r5, #0afh, c4
	inc a
c4:
	djnz r5, d4
	inc a
d4:
	add a, 45h
	add a, r6
	addc a, r6
	orl a, r6
	anl a, r6
	xrl a, r6
	subb a, r6
	xch a, r6
	inc r6
	dec r6
	mov r6, a
	mov 46h, r6
	mov r6, #04ah
	add a, r6
	mov r6, 46h
	mov a, r6
	cjne r6, #0d2h, c5
	inc a
c5:
	djnz r6, d5
	inc a
d5:
	add a, 46h
	add a, r7
	addc a, r7
	orl a, r7
	anl a, r7
	xrl a, r7
	subb a, r7
	xch a, r7
	inc r7
	dec r7
	mov r7, a
	mov 47h, r7
	mov r7, #081h
	add a, r7
	mov r7, 47h
	mov a, r7
	cjne r7, #0f5h, c6
	inc a
c6:
	djnz r7, d6
	inc a
d6:
	add a, 47h
	add a, @r0
	addc a, @r0
	orl a, @r0
	anl a, @r0
	xrl a, @r0
	subb a, @r0
	xch a, @r0
	xchd a, @r0
	inc @r0
	dec @r0
	mov @r0, a
	mov a, @r0
	mov @r0, #066h
	add a, @r0
	mov @r0, 45h
	mov 50h, @r0
	movx @r0, a
	movx a, @r0
	cjne @r0, #12h, c7
	inc a
c7:
	add a, @r1
	addc a, @r1
	orl a, @r1
	anl a, @r1
	xrl a, @r1
	subb a, @r1
	xch a, @r1
	xchd a, @r1
	inc @r1
	dec @r1
	mov @r1, a
	mov a, @r1
	mov @r1, #067h
	add a, @r1
	mov @r1, 45h
	mov 51h, @r1
	movx @r1, a
	movx a, @r1
	cjne @r1, #12h, c8
	inc a
c8:
	add a, r0
	addc a, r0
	orl a, r0
	anl a, r0
	xrl a, r0
	subb a, r0
	xch a, r0
	inc r0
	dec r0
	mov r0, a
	mov a, r0
	mov 48h, r0
	mov r0, 42h
	cjne r0, #0, c9
	inc a
c9:
	djnz r0, d9
	inc a
d9:
	add a, r1
	addc a, r1
	orl a, r1
	anl a, r1
	xrl a, r1
	subb a, r1
	xch a, r1
	inc r1
	dec r1
	mov r1, a
	mov a, r1
	mov 49h, r1
	mov r1, 43h
	cjne r1, #0, c10
	inc a
c10:
	djnz r1, d10
	inc a
d10:
	mov 32h, #0f0h
	add a, 32h
	add a, #3ch
	addc a, 32h
	addc a, #3ch
	subb a, 32h
	subb a, #3ch
	orl a, 32h
	orl a, #3ch
	anl a, 32h
	anl a, #3ch
	xrl a, 32h
	xrl a, #3ch
	.byte 0a5h
	ljmp drive
	.org 0800h
drive:
	acall s0
	ajmp j0
b0:
	acall s1
	ajmp j1
b1:
	acall s2
	ajmp j2
b2:
	acall s3
	ajmp j3
b3:
	acall s4
	ajmp j4
b4:
	acall s5
	ajmp j5
b5:
	acall s6
	ajmp j6
b6:
	acall s7
	ajmp j7
b7:
	mov b, 50h
	add a, 51h
here:	sjmp	here
	.org 0880h
s0:
	add a, #1
	ret
j0:
	xrl a, #1
	ajmp b0
	.org 0900h
s1:
	add a, #2
	ret
j1:
	xrl a, #4
	ajmp b1
	.org 0a00h
s2:
	add a, #3
	ret
j2:
	xrl a, #7
	ajmp b2
	.org 0b00h
s3:
	add a, #4
	ret
j3:
	xrl a, #10
	ajmp b3
	.org 0c00h
s4:
	add a, #5
	ret
j4:
	xrl a, #13
	ajmp b4
	.org 0d00h
s5:
	add a, #6
	ret
j5:
	xrl a, #16
	ajmp b5
	.org 0e00h
s6:
	add a, #7
	ret
j6:
	xrl a, #19
	ajmp b6
	.org 0f00h
s7:
	add a, #8
	ret
j7:
	xrl a, #22
	ajmp b7
