; Jumps and calls: SJMP, AJMP, LJMP, JZ, JNZ, JC, JNC, CJNE in its four forms (and the CY
; it leaves), DJNZ on a register and a direct byte, ACALL, LCALL, RET, and the two jump
; tables, JMP @A+DPTR and MOVC A,@A+PC (with MOVC A,@A+DPTR).
; compare: A B PSW SP DPTR R0 R1 R2 R3 R4 R5 R6 R7
; cycles: s51
	.org 0
	mov	sp, #60h
	mov	r7, #0
	mov	a, #0
	jz	u1
	inc	r7
u1:	jnz	u2
	setb	c
	jc	u3
u2:	inc	r7
u3:	jnc	u4
	clr	c
	jnc	u5
u4:	inc	r7
u5:	mov	r6, #0
	mov	30h, #5
	mov	r0, #30h
	cjne	a, #1, c1
	inc	r6
c1:	mov	r5, psw
	cjne	a, 30h, c2
	inc	r6
c2:	cjne	@r0, #5, c3
	inc	r6
c3:	mov	r1, #10h
	cjne	r1, #0fh, c4
	inc	r6
c4:	mov	r4, psw
	mov	r2, #7
	mov	31h, #3
d1:	inc	a
	djnz	r2, d1
d2:	inc	a
	djnz	31h, d2
	acall	sub1
	lcall	sub2
	mov	b, #0
	mov	dptr, #table
	mov	a, #4
	jmp	@a+dptr
table:	ajmp	k0
	ajmp	k1
	ajmp	k2
k0:	mov	b, #1
	sjmp	k3
k1:	mov	b, #2
	sjmp	k3
k2:	mov	b, #3
k3:	mov	a, #2
	movc	a, @a+pc
	sjmp	k4
	.byte	11h, 22h, 33h, 44h
k4:	mov	r3, a
	mov	a, #1
	mov	dptr, #bytes
	movc	a, @a+dptr
	add	a, r3
	ljmp	far
sub1:	inc	r7
	inc	r7
	ret
sub2:	mov	r2, sp
	ret
bytes:	.byte	5, 6, 7
	.org	0800h
far:	mov	dptr, #0
here:	sjmp	here
