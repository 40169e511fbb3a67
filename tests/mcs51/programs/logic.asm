; ANL, ORL and XRL in every form, CLR and CPL A, the rotates through and without CY.
; compare: A B PSW R0 R1 R2 R3 R4 R5 R6 R7
; cycles: s51
	.org 0
	mov	30h, #0f0h
	mov	31h, #0
	mov	r0, #30h
	mov	r1, #3ch
	mov	a, #0ffh
	anl	a, #5ah
	anl	a, 30h
	orl	a, r1
	xrl	a, @r0
	mov	r2, a
	anl	30h, #3fh
	orl	30h, a
	xrl	30h, #0ffh
	mov	a, #81h
	anl	30h, a
	orl	31h, #22h
	xrl	31h, a
	mov	r3, 30h
	mov	r4, 31h
	orl	a, @r0
	xrl	a, r1
	anl	a, @r0
	mov	r5, a
	clr	a
	cpl	a
	clr	c
	rlc	a
	rl	a
	rr	a
	rrc	a
	rrc	a
	mov	r6, a
	mov	r7, psw
	mov	a, #96h
	setb	c
	rlc	a
	mov	b, a
	mov	a, #0c5h
here:	sjmp	here
