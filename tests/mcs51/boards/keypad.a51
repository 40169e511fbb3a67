; The pz board's 4x4 keypad (rows P1.7-P1.4, columns P1.3-P1.0; S1 at P1.7 x P1.3) scanned a
; row at a time; the number of the key held (1-16) shows on the two rightmost digits, nothing
; while no key is held.
	.org	0
	mov	sp, #60h
loop:	acall	keys
	acall	show
	sjmp	loop
; R4: the key held, 0 for none. Each row in turn is driven low and the columns read.
keys:	mov	r4, #0
	mov	r3, #0
	mov	b, #7fh
row:	mov	p1, b
	mov	a, p1
	cpl	a
	anl	a, #0fh
	jz	nextrow
	mov	r1, #1
col:	jb	acc.3, found
	rl	a
	inc	r1
	sjmp	col
found:	mov	a, r3
	add	a, r1
	mov	r4, a
	ret
nextrow:	mov	a, r3
	add	a, #4
	mov	r3, a
	mov	a, b
	rr	a
	mov	b, a
	cjne	r3, #16, row
	ret
; The tens on the next-to-rightmost digit (code 001), the units on the rightmost (000), 1 ms each.
show:	mov	a, r4
	jz	dark
	mov	b, #10
	div	ab
	mov	r5, b
	mov	dptr, #table
	jz	units
	movc	a, @a+dptr
	mov	p0, #0
	mov	p2, #07h
	mov	p0, a
	acall	wait
units:	mov	a, r5
	movc	a, @a+dptr
	mov	p0, #0
	mov	p2, #03h
	mov	p0, a
	acall	wait
	ret
dark:	mov	p0, #0
	acall	wait
	ret
wait:	mov	r7, #2
outer:	mov	r6, #248
inner:	djnz	r6, inner
	djnz	r7, outer
	ret
table:	.db	3fh, 06h, 5bh, 4fh, 66h, 6dh, 7dh, 07h, 7fh, 6fh
