; A running light on the pz board's LEDs D1-D8 (P2, lit by 0): one lit LED moves on every
; 100 ms, D1 first, and starts again after D8.
	.org	0
	mov	a, #0feh
step:	mov	p2, a
	acall	wait
	rl	a
	sjmp	step
; 100 ms: 200 rounds of 250 DJNZs (two cycles each).
wait:	mov	r7, #200
outer:	mov	r6, #250
inner:	djnz	r6, inner
	djnz	r7, outer
	ret
