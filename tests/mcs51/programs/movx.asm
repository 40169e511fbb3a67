; External RAM: MOVX through DPTR and through R0 and R1 with P2 as the high byte.
; compare: A B PSW DPTR R0 R1 R2 R3 R4 R5 R6 R7
; cycles: s51
	.org 0
	mov	dptr, #1234h
	mov	a, #5ah
	movx	@dptr, a
	inc	dptr
	mov	a, #0a5h
	movx	@dptr, a
	mov	p2, #12h
	mov	r0, #34h
	movx	a, @r0
	mov	r2, a
	inc	r0
	movx	a, @r0
	mov	r3, a
	mov	r1, #0ffh
	mov	a, #77h
	movx	@r1, a
	mov	dptr, #12ffh
	movx	a, @dptr
	mov	r4, a
	mov	p2, #0
	mov	a, #66h
	movx	@r1, a
	mov	dptr, #00ffh
	movx	a, @dptr
	mov	r5, a
	mov	dptr, #12ffh
	movx	a, @dptr
	mov	r6, a
	mov	r7, p2
	mov	b, #0
here:	sjmp	here
