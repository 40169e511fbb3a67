; A text through the serial port (mode 1, Timer 1 reloading F3H) in ASM51 syntax: a generic
; JMP forward (LJMP) and generic CALLs back (ACALL), SET redefining a name, IDATA and XDATA
; names with MOVX, a comparison, NOT, a bit named through ACC.7, character constants and "$"
; in expressions. serial51.asm is the same program for as31.
; expect: A=F0 B=04 PSW=A0 R6=05 R7=00
; output: 0123Z
RELOAD	EQU	0F3H
LIMIT	SET	3
LIMIT	SET	LIMIT+1
SAVED	IDATA	60H
STORE	XDATA	0100H
SIGN	BIT	ACC.7
	ORG	0
	JMP	START
SEND:	MOV	SBUF,A
	JNB	TI,$
	CLR	TI
	RET
START:	MOV	SCON,#50H
	MOV	TMOD,#20H
	MOV	TH1,#RELOAD
	MOV	TL1,#RELOAD
	SETB	TR1
	MOV	R0,#SAVED
	MOV	R7,#LIMIT
	MOV	A,#'0'
NEXT:	CALL	SEND
	MOV	@R0,A
	INC	R0
	INC	A
	DJNZ	R7,NEXT
	MOV	A,#(LIMIT GT 3) AND 'Z'
	CALL	SEND
	MOV	A,#NOT 0FH AND 0FFH
	MOV	DPTR,#STORE
	MOVX	@DPTR,A
	CLR	A
	MOVX	A,@DPTR
	MOV	C,SIGN
	MOV	F0,C
	MOV	R6,#HERE-$
	MOV	B,#LOW(STORE+LIMIT)
HERE:	SJMP	HERE
	END
