; A text through the serial port in mode 1 at 2400 baud (Timer 1 in mode 2, TH1 = F3h),
; polling TI, each byte written as soon as the last one has gone.
; s51 0.6.4 also starts a timer a cycle early: it counts the cycle of the SETB TRx that starts
; it (and not that of the CLR TRx that stops it), where the data sheet writes the run bit at the
; end of the instruction, so a timer counts from the cycle after.
; compare: A B PSW SP DPTR R7
; cycles: s51-10 (s51 sets TI one Timer 1 overflow after the tenth rollover of the
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
