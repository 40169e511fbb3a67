; A text through the serial port in mode 1 at 2400 baud (Timer 1 in mode 2, TH1 = F3h),
; polling TI, each byte written as soon as the last one has gone.
; compare: A B PSW SP DPTR R7
; cycles: s51-12 (s51 sets TI one Timer 1 overflow after the tenth rollover of the
; divide-by-16 counter that ends the stop bit, where the data sheet sets it at that rollover)
	.org 0
	mov	sp, #30h
	mov	scon, #50h
	mov	tmod, #20h
	mov	th1, #0f3h
	mov	tl1, #0f3h
	setb	tr1
	mov	dptr, #text
	mov	r7, #0
next:	clr	a
	movc	a, @a+dptr
	jz	done
	mov	sbuf, a
wait:	jnb	ti, wait
	clr	ti
	inc	dptr
	inc	r7
	sjmp	next
done:	mov	b, r7
here:	sjmp	here
text:	.byte	"Hello, 8051!", 13, 10, 0
