# vrk occam 2 grammar: occam 2.1 with the occam-pi forms found in real programs, for --occam2.
#
# Read by vrk-lalrgen like the default grammar (see ../grammar.y for the notation), with one
# difference: %auto-number, so productions carry no numbers and each rule's action is named
# with => after its right side. The actions build the text of each construct from the texts of
# its parts (occam2/actions_*.cpp); nothing here depends on when a lookahead is read.
#
# Token codes shared with the default grammar keep their codes; the tokens only this mode has
# are numbered from 302 (301 is the scanner's NUL byte).

%start program
%namespace vrk::occam2
%auto-number
%action-context Occam2Context parser/occam2/context.h

%token error 256
%token INT 257
%token CHAN 258
%token ANY 259
%token SKIP 261
%token NAME 262
%token EOL 263
%token PROC 267
%token NOT 268
%token NUMBER 269
%token BOOLEAN 270
%token SHIFT_OP 274
%token RELATIONAL_OP 275
%token CHARACTER 276
%token STRING 277
%token BIT_OP 278
%token SEQ 279
%token ALT 280
%token IF 281
%token PAR 282
%token WHILE 283
%token FOR 284
%token INDENT 285
%token OUTDENT 286
%token BOOL 288
%token BYTE 289
%token REAL32 290
%token REAL64 291
%token STOP 292
%token OF 294
%token CASE 299
%token ELSE 300
%token ASSIGN 302          # :=
%token COUNTED 303         # ::
%token XINPUT 304          # ??
%token REAL_NUMBER 305     # 1.5  2.0E+3
%token AFTER 306
%token AND 307
%token OR 308
%token ARITH_WORD 309      # REM PLUS TIMES
%token MINUS 310
%token BITNOT 311
%token AT 312
%token BYTESIN 313
%token DATA 314
%token FROM 315
%token FUNCTION 316
%token INLINE 317
%token INT16 318
%token INT32 319
%token INT64 320
%token IS 321
%token MOSTNEG 322
%token MOSTPOS 323
%token OFFSETOF 324
%token PACKED 325
%token PLACE 326
%token PLACED 327
%token PORT 328
%token PRI 329
%token PROCESSOR 330
%token PROTOCOL 331
%token RECORD 332
%token RETYPES 333         # RETYPES RESHAPES
%token RESULT 334
%token ROUND 335           # ROUND TRUNC
%token SIZE 336
%token TIMER 337
%token TYPE 338
%token VAL 339
%token VALOF 340
%token MOBILE 341
%token SHARED 342
%token CLAIM 343
%token FORK 344
%token FORKING 345
%token BARRIER 346
%token SYNC 347
%token RESIGN 348
%token ENROLL 349
%token CLONE 350
%token DEFINED 351
%token INITIAL 352
%token RECURSIVE 353       # RECURSIVE REC
%token STEP 354
%token EXTENDS 355
%token IMPLEMENTS 356
%token SUSPEND 357
%token IN 358
%token WORKSPACE 359       # WORKSPACE VECSPACE

%keyword AFTER
%keyword ALT
%keyword AND
%keyword ANY
%keyword AT
%keyword BARRIER
%keyword BITAND BIT_OP
%keyword BITNOT
%keyword BITOR BIT_OP
%keyword BOOL
%keyword BYTE
%keyword BYTESIN
%keyword CASE
%keyword CHAN
%keyword CLAIM
%keyword CLONE
%keyword DATA
%keyword DEFINED
%keyword ELSE
%keyword ENROLL
%keyword EXTENDS
%keyword FALSE BOOLEAN
%keyword FOR
%keyword FORK
%keyword FORKING
%keyword FROM
%keyword FUNCTION
%keyword IF
%keyword IMPLEMENTS
%keyword IN
%keyword INITIAL
%keyword INLINE
%keyword INT
%keyword INT16
%keyword INT32
%keyword INT64
%keyword IS
%keyword MINUS
%keyword MOBILE
%keyword MOSTNEG
%keyword MOSTPOS
%keyword NOT
%keyword OF
%keyword OFFSETOF
%keyword OR
%keyword PACKED
%keyword PAR
%keyword PLACE
%keyword PLACED
%keyword PLUS ARITH_WORD
%keyword PORT
%keyword PRI
%keyword PROC
%keyword PROCESSOR
%keyword PROTOCOL
%keyword REAL32
%keyword REAL64
%keyword REC RECURSIVE
%keyword RECORD
%keyword RECURSIVE
%keyword REM ARITH_WORD
%keyword RESHAPES RETYPES
%keyword RESIGN
%keyword RESULT
%keyword RETYPES
%keyword ROUND
%keyword SEQ
%keyword SHARED
%keyword SIZE
%keyword SKIP
%keyword STEP
%keyword STOP
%keyword SUSPEND
%keyword SYNC
%keyword TIMER
%keyword TIMES ARITH_WORD
%keyword TRUE BOOLEAN
%keyword TRUNC ROUND
%keyword TYPE
%keyword VAL
%keyword VALOF
%keyword VECSPACE WORKSPACE
%keyword WHILE
%keyword WORKSPACE

# ---------------------------------------------------------------- grammar (being written)
program : %empty
