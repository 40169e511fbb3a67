; Data moves in every addressing mode: MOV, XCH, XCHD, SWAP, PUSH and POP.
; compare: A B PSW SP DPTR R0 R1 R2 R3 R4 R5 R6 R7
; cycles: s51
	.org 0
	mov	sp, #50h
	mov	a, #12h
	mov	30h, a
	mov	r0, #30h
	mov	a, @r0
	mov	31h, #34h
	mov	r1, #31h
	mov	@r1, #56h
	mov	32h, 31h
	mov	r2, 32h
	mov	33h, r2
	mov	@r0, 33h
	mov	34h, @r1
	mov	r3, #9ah
	mov	a, r3
	mov	@r1, a
	mov	b, @r1
	mov	dptr, #0beefh
	xch	a, r3
	xch	a, 30h
	xch	a, @r0
	xchd	a, @r1
	swap	a
	push	acc
	push	b
	push	dph
	pop	04h
	pop	05h
	pop	06h
	mov	r7, 51h
	mov	r0, 34h
	mov	r1, 30h
	mov	r2, sp
here:	sjmp	here
