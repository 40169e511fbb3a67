; A counter on the pz board's eight digits, multiplexed: each digit is lit for 1 ms in turn
; (the 74HC138 on P2.4-P2.2 chooses it, 111 the leftmost), the segments from a table on P0;
; the count (30h-37h, 37h the units) goes up by one every 25 rounds of the scan.
	.org	0
	mov	sp, #60h
	mov	r0, #30h
clear:	mov	@r0, #0
	inc	r0
	cjne	r0, #38h, clear
main:	mov	r5, #25
round:	acall	scan
	djnz	r5, round
	acall	count
	sjmp	main
; The eight digits, leftmost first, each for 1 ms; the segments go dark before the digit
; changes, so that no digit shows its neighbour's pattern.
scan:	mov	r0, #30h
	mov	r2, #0
digit:	mov	p0, #0
	mov	a, r2
	cpl	a
	anl	a, #07h
	rl	a
	rl	a
	orl	a, #03h
	mov	p2, a
	mov	a, @r0
	mov	dptr, #table
	movc	a, @a+dptr
	mov	p0, a
	acall	wait
	inc	r0
	inc	r2
	cjne	r2, #8, digit
	ret
count:	mov	r0, #37h
carry:	inc	@r0
	cjne	@r0, #10, done
	mov	@r0, #0
	dec	r0
	cjne	r0, #2fh, carry
done:	ret
; About 1 ms.
wait:	mov	r7, #2
outer:	mov	r6, #248
inner:	djnz	r6, inner
	djnz	r7, outer
	ret
table:	.db	3fh, 06h, 5bh, 4fh, 66h, 6dh, 7dh, 07h, 7fh, 6fh
