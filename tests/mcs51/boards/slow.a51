; The pz board's digits driven too slowly: an 8 on each digit in turn for 10 ms, so that a
; person sees at most two or three digits at a time and the display flickers.
	.org	0
	mov	r2, #0
digit:	mov	p0, #0
	mov	a, r2
	cpl	a
	anl	a, #07h
	rl	a
	rl	a
	mov	p2, a
	mov	p0, #7fh
	acall	wait
	inc	r2
	sjmp	digit
; About 10 ms.
wait:	mov	r7, #20
outer:	mov	r6, #250
inner:	djnz	r6, inner
	djnz	r7, outer
	ret
