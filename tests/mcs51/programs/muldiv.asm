; MUL and DIV (also by zero) and DA after additions, with their flags.
; compare: A B PSW R0 R1 R2 R3 R4 R5 R6 R7
; cycles: s51
	.org 0
	mov	a, #50h
	mov	b, #0a0h
	mul	ab
	mov	r0, a
	mov	r1, b
	mov	r2, psw
	mov	a, #0fbh
	mov	b, #12h
	div	ab
	mov	r3, a
	mov	r4, b
	mov	a, #56h
	setb	c
	addc	a, #67h
	da	a
	mov	r5, a
	mov	r6, psw
	mov	a, #30h
	add	a, #99h
	da	a
	mov	r7, a
	mov	a, #19h
	add	a, #28h
	da	a
	mov	b, #0
	mov	psw, #0
	div	ab
	mov	a, #0eh
	mov	b, #0fh
	mul	ab
here:	sjmp	here
