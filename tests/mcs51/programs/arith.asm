; ADD, ADDC, SUBB, INC and DEC in every addressing mode, with the flags they leave
; (each PSW kept in a register).
; compare: A B PSW SP DPTR R0 R1 R2 R3 R4 R5 R6 R7
; cycles: s51
	.org 0
	mov	40h, #0aah
	mov	r0, #40h
	mov	r1, #0c3h
	mov	a, #0c3h
	add	a, r1
	mov	r2, psw
	addc	a, #0aah
	mov	r3, psw
	addc	a, 40h
	addc	a, @r0
	mov	r4, psw
	clr	c
	subb	a, #54h
	mov	r5, psw
	setb	c
	subb	a, @r0
	subb	a, 40h
	subb	a, r1
	mov	r6, psw
	mov	b, a
	mov	a, #7fh
	add	a, #1
	mov	r7, psw
	inc	a
	inc	40h
	inc	@r0
	inc	r1
	dec	a
	dec	40h
	dec	@r0
	dec	r1
	dec	r1
	mov	dptr, #0ffffh
	inc	dptr
	inc	dptr
	mov	r0, 40h
	add	a, r0
	add	a, r1
here:	sjmp	here
