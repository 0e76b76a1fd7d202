# vrk occam 2 grammar: occam 2.1 with the occam-pi forms found in real programs, for --occam2.
#
# Read by vrk-lalrgen like the default grammar (see parser/grammar.y for the notation), with one
# difference: %auto-number, so productions carry no numbers and each rule's action is named
# with => after its right side. The actions build the program tree (occam2/tree), one node per
# construct, from the nodes of its parts (actions_*.cpp beside this file); nothing here depends
# on when a lookahead is read. `pass` is the %copy-action: its rules hand their first symbol on,
# which the parser does without a call.
#
# Token codes shared with the default grammar keep their codes; the tokens only this mode has
# are numbered from 302 (301 is the scanner's NUL byte).

%start program
%namespace vrk::occam2
%auto-number
%copy-action pass
%action-context TreeContext occam2/parser/context.h

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
%token USER_OP 360         # @ @@ ** $$ % %% ^ ... : operators with no meaning but a FUNCTION's
%token MISSING_INCLUDE 361 # an #INCLUDE whose file could not be read: the lexeme is why

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


# ---------------------------------------------------------------- program and bodies
# A body is a list of items: declarations (of variables, abbreviations, definitions) and
# processes; a declaration scopes over what follows it up to the next process, inclusive.
program : %empty => empty_program
program : outermost_items => program

# The outermost level may also declare a variable with RESULT, as a formal would be (a form of
# documentation tools' tests); elsewhere RESULT begins the last line of a VALOF.
outermost_items : item => first_item
outermost_items : outermost_items item => next_item
outermost_items : result_declaration => first_item
outermost_items : outermost_items result_declaration => next_item
result_declaration : RESULT type names ':' EOL => result_declaration

items : item => first_item
items : items item => next_item
item : declaration_item => pass
item : several_results_definition => pass
item : process => pass
item : error EOL => recover_from_error

block : %empty => empty_list
block : INDENT items OUTDENT => list_of_second

# ---------------------------------------------------------------- processes
process : simple EOL => pass
process : construct => pass

simple : SKIP => skip_process
simple : STOP => stop_process
simple : assignment => pass
simple : input => pass
simple : output => pass
simple : instance => pass
simple : FORK instance => fork_process
simple : SYNC element => sync_process
simple : SUSPEND => suspend_process

assignment : element ASSIGN expression_list => assignment
assignment : element ',' element_list ASSIGN expression_list => multiple_assignment
element_list : element => first_of_list
element_list : element_list ',' element => next_of_list

input : element '?' input_items => input
input : element '?' AFTER expression => delayed_input
input : element '?' CASE NAME => tagged_input
input : element '?' CASE NAME ';' input_items => tagged_input
input_items : input_item => first_of_list
input_items : input_items ';' input_item => next_of_list
input_item : element => pass
input_item : element COUNTED element => counted_item

output : element '!' output_items => output
output_items : output_item => first_of_list
output_items : output_items ';' output_item => next_of_list
output_item : expression => pass
output_item : expression COUNTED expression => counted_item

instance : NAME '(' ')' => call_without_arguments
instance : NAME '(' actuals ')' => call_with_arguments
actuals : actual => first_of_list
actuals : actuals ',' actual => next_of_list
actual : expression => pass
actual : element direction => pass

direction : '?' => input_direction
direction : '!' => output_direction

# ---------------------------------------------------------------- constructs
construct : SEQ EOL block => seq
construct : SEQ replicator EOL block => replicated_seq
construct : PAR EOL block => par
construct : PRI PAR EOL block => pri_par
construct : PAR replicator EOL block => replicated_par
construct : PRI PAR replicator EOL block => pri_replicated_par
construct : PLACED PAR EOL block => placed_par
construct : PLACED PAR replicator EOL block => placed_par
construct : PAR ENROLL element_list EOL block => enrolled_par
construct : PAR replicator ENROLL element_list EOL block => enrolled_par
construct : PAR BARRIER element_list EOL block => barrier_par
construct : PAR replicator BARRIER element_list EOL block => barrier_par
construct : PROCESSOR expression EOL block => processor
construct : PROCESSOR NUMBER NAME EOL block => processor
construct : IF EOL choice_block => if_construct
construct : IF replicator EOL choice_block => replicated_if
construct : ALT EOL alternative_block => alt
construct : PRI ALT EOL alternative_block => pri_alt
construct : ALT replicator EOL alternative_block => replicated_alt
construct : PRI ALT replicator EOL alternative_block => pri_replicated_alt
construct : CASE expression EOL option_block => case_construct
construct : WHILE expression EOL block => while_construct
construct : element '?' CASE EOL variant_block => case_input
construct : element XINPUT input_items EOL block => extended_input
construct : element XINPUT CASE EOL variant_block => extended_input
construct : element XINPUT CASE NAME EOL block => extended_input
construct : element XINPUT CASE NAME ';' input_items EOL block => extended_input
construct : NAME EOL asm_block => asm_construct
construct : CLAIM element EOL block => claim
construct : CLAIM element direction EOL block => claim
construct : FORKING EOL block => forking
construct : RESIGN element_list EOL block => resign
construct : VALOF EOL INDENT items RESULT expression_list EOL OUTDENT => valof

# ASM (or GUY) and its lines of transputer instructions: a word, then operands.
asm_block : %empty => nothing
asm_block : INDENT asm_lines OUTDENT => nothing
asm_lines : asm_line => nothing
asm_lines : asm_lines asm_line => nothing
asm_line : asm_word EOL => nothing
asm_line : asm_word asm_operands EOL => nothing
asm_line : ':' NAME EOL => nothing
asm_line : error EOL => recover_from_error
asm_word : NAME => nothing
asm_word : AND => nothing
asm_word : OR => nothing
asm_word : NOT => nothing
asm_word : BYTE => nothing
asm_operands : asm_operand => nothing
asm_operands : asm_operands ',' asm_operand => nothing
asm_operand : expression => nothing
asm_operand : asm_label => nothing
asm_operand : asm_label '-' asm_label => nothing
asm_operand : '.' NAME => nothing
asm_operand : '-' '.' NAME => nothing
# After AND or OR at the end of a line, the next instruction joins its line: AND, then CJ :label.
asm_operand : element asm_label => nothing
asm_operand : element '[' expression ',' expression_list ']' => nothing
asm_label : ':' NAME => nothing

replicator : NAME '=' expression FOR expression => replicator
replicator : NAME '=' expression FOR expression STEP expression => stepped_replicator

# ---------------------------------------------------------------- IF choices
choice_block : %empty => empty_list
choice_block : INDENT choices OUTDENT => list_of_second
choices : choice_item => first_item
choices : choices choice_item => next_item
choice_item : declaration_item => pass
choice_item : choice => pass
choice_item : error EOL => recover_from_error
choice : lead_expression EOL block => choice
choice : IF EOL choice_block => if_construct
choice : IF replicator EOL choice_block => replicated_if

# ---------------------------------------------------------------- ALT alternatives
alternative_block : %empty => empty_list
alternative_block : INDENT alternatives OUTDENT => list_of_second
alternatives : alternative_item => first_item
alternatives : alternatives alternative_item => next_item
alternative_item : declaration_item => pass
alternative_item : alternative => pass
alternative_item : error EOL => recover_from_error
alternative : guard EOL block => alternative
alternative : ALT EOL alternative_block => alt
alternative : PRI ALT EOL alternative_block => pri_alt
alternative : ALT replicator EOL alternative_block => replicated_alt
alternative : PRI ALT replicator EOL alternative_block => pri_replicated_alt
alternative : element '?' CASE EOL variant_block => case_input
alternative : lead_expression '&' element '?' CASE EOL variant_block => case_input
alternative : element XINPUT input_items EOL block => extended_input
alternative : lead_expression '&' element XINPUT input_items EOL block => extended_input
alternative : element XINPUT CASE EOL variant_block => extended_input
alternative : element XINPUT CASE NAME EOL block => extended_input
alternative : element XINPUT CASE NAME ';' input_items EOL block => extended_input
alternative : SYNC element EOL block => sync_alternative
alternative : lead_expression '&' SYNC element EOL block => sync_alternative
guard : input => plain_guard
guard : lead_expression '&' input => conditional_guard
guard : lead_expression '&' SKIP => conditional_skip_guard
guard : SKIP => skip_guard

# ---------------------------------------------------------------- CASE options and variants
option_block : %empty => empty_list
option_block : INDENT options OUTDENT => list_of_second
options : option_item => first_item
options : options option_item => next_item
option_item : declaration_item => pass
option_item : option => pass
option_item : error EOL => recover_from_error
option : lead_expression EOL block => case_option
option : lead_expression ',' expression_list EOL block => case_option_list
option : ELSE EOL block => else_option
# An option that is a conversion (INT KEY.LEFT) begins like a declaration: its end tells them apart.
option : type NAME EOL block => conversion_option

variant_block : %empty => nothing
variant_block : INDENT variants OUTDENT => nothing
variants : variant_item => nothing
variants : variants variant_item => nothing
variant_item : declaration_item => nothing
variant_item : variant => nothing
variant_item : error EOL => recover_from_error
variant : NAME EOL block => nothing
variant : NAME ';' input_items EOL block => nothing

# ---------------------------------------------------------------- declarations, abbreviations, definitions
declaration_item : declaration => pass
declaration_item : abbreviation => pass
declaration_item : definition => pass
declaration_item : allocation => pass
# An include that failed stands where its text would have, for the writer to mark.
declaration_item : MISSING_INCLUDE EOL => pass

declaration : type names ':' EOL => declaration
declaration : element '?' names ':' EOL => channel_end_declaration
declaration : element '!' names ':' EOL => channel_end_declaration
declaration : SHARED direction CHAN protocol names ':' EOL => shared_channel_declaration
declaration : SHARED CHAN protocol names ':' EOL => shared_channel_declaration
names : name_item => first_of_list
names : names ',' name_item => next_of_list
name_item : NAME => name_definition
name_item : NAME direction => name_definition

type : keyword_type => pass
type : NAME => named_type
keyword_type : data_type => pass
keyword_type : CHAN protocol => channel_type
keyword_type : CHAN OF protocol => channel_type
keyword_type : TIMER => timer_type
keyword_type : PORT OF data_type => port_type
keyword_type : BARRIER => barrier_type
keyword_type : MOBILE nested_type => mobile_type
keyword_type : '[' expression ']' nested_type => array_type
keyword_type : '[' ']' nested_type => open_array_type
keyword_type : SHARED NAME direction => channel_end_type

# After a dimension or MOBILE a channel-type end may stand alone: []FOO? v.
nested_type : type => pass
nested_type : NAME direction => channel_end_type

data_type : primitive_type => pass
primitive_type : BOOL => primitive_type
primitive_type : BYTE => primitive_type
primitive_type : INT => primitive_type
primitive_type : INT16 => primitive_type
primitive_type : INT32 => primitive_type
primitive_type : INT64 => primitive_type
primitive_type : REAL32 => primitive_type
primitive_type : REAL64 => primitive_type

protocol : type => pass
protocol : NAME direction => channel_end_type
protocol : ANY => any_protocol
protocol : data_type COUNTED '[' ']' data_type => counted_protocol

abbreviation : VAL type NAME IS expression ':' EOL => val_abbreviation
abbreviation : VAL NAME IS expression ':' EOL => untyped_val_abbreviation
abbreviation : type name_item IS abbreviated ':' EOL => abbreviation
abbreviation : element IS abbreviated ':' EOL => untyped_abbreviation
abbreviation : INITIAL type NAME IS expression ':' EOL => initial_declaration
abbreviation : INITIAL type NAME ',' names IS expression_list ':' EOL => several_initial_declarations
abbreviation : type name_item RETYPES expression ':' EOL => retypes
abbreviation : VAL type NAME RETYPES expression ':' EOL => val_retypes
abbreviated : expression => pass
abbreviated : element direction => pass

allocation : PLACE NAME AT expression ':' EOL => place
allocation : PLACE NAME IN WORKSPACE ':' EOL => place
allocation : PLACED type NAME AT expression ':' EOL => placed_declaration
allocation : PLACED type NAME expression ':' EOL => placed_declaration

# ---------------------------------------------------------------- definitions
definition : proc_head body_of_definition ':' EOL => proc_definition
definition : PROC TYPE NAME IS '(' formals ')' ':' EOL => proc_type
definition : function_head IS expression_list ':' EOL => function_is
definition : function_head body_of_definition ':' EOL => function_valof
definition : PROTOCOL NAME IS protocol_items ':' EOL => sequential_protocol
definition : PROTOCOL NAME EOL INDENT CASE EOL tag_block OUTDENT ':' EOL => variant_protocol
definition : PROTOCOL NAME EXTENDS names EOL INDENT CASE EOL tag_block OUTDENT ':' EOL => variant_protocol
definition : DATA TYPE NAME IS type ':' EOL => data_type_alias
definition : DATA TYPE NAME EOL INDENT record_head EOL field_block OUTDENT ':' EOL => record_type
definition : CHAN TYPE NAME EOL INDENT record_head EOL field_block OUTDENT ':' EOL => chan_type
definition : RECURSIVE CHAN TYPE NAME EOL INDENT record_head EOL field_block OUTDENT ':' EOL => recursive_chan_type
definition : CHAN TYPE NAME ':' EOL => chan_type

body_of_definition : EOL block => pass2

# A FUNCTION whose results are of several named types: A, B FUNCTION f (...). Its start reads like
# a multiple assignment's, or a CASE option's, so it stands only among a body's items.
several_results_definition : several_results_head IS expression_list ':' EOL => function_is
several_results_definition : several_results_head body_of_definition ':' EOL => function_valof
several_results_head : element ',' element_list function_keyword function_name '(' formal_list ')' => named_results_function_head

proc_head : proc_keyword NAME '(' formal_list ')' => proc_head
proc_head : proc_keyword NAME '(' formal_list ')' IMPLEMENTS NAME => proc_head
proc_keyword : PROC => nothing
proc_keyword : proc_prefixes PROC => pass
proc_keyword : MOBILE PROC => nothing
proc_keyword : NAME PROC => public_prefix
proc_prefixes : proc_prefix => pass
proc_prefixes : proc_prefixes proc_prefix => combined_prefixes
proc_prefix : INLINE => nothing
proc_prefix : RECURSIVE => recursive_prefix

function_head : result_types function_keyword function_name '(' formal_list ')' => function_head
function_head : NAME function_keyword function_name '(' formal_list ')' => named_function_head
function_keyword : FUNCTION => nothing
function_keyword : proc_prefixes FUNCTION => pass
# A FUNCTION named by a string in quotes defines an operator: "+", "@", "NOT".
function_name : NAME => pass
function_name : STRING => operator_name
# A list of result types begins with a type word: "a, b" before a FUNCTION would read as the
# start of a multiple assignment. A single named type is fine.
result_types : keyword_type => first_of_list
result_types : result_types ',' type => next_of_list

formal_list : %empty => empty_list
formal_list : formals => list_of_first
formals : formal => first_of_list
formals : formals ',' formal => next_of_list
formal : NAME => bare_formal
formal : NAME direction => bare_formal
formal : formal_type NAME => formal
formal : formal_type NAME direction => formal
formal_type : type => pass
formal_type : NAME direction => channel_end_type
formal_type : VAL type => val_formal_type
formal_type : RESULT type => result_formal_type
formal_type : SHARED type => shared_formal_type
formal_type : RESULT NAME direction => result_channel_end_type

protocol_items : protocol => first_of_list
protocol_items : protocol_items ';' protocol => next_of_list

tag_block : %empty => nothing
tag_block : INDENT tags OUTDENT => nothing
tags : tag => nothing
tags : tags tag => nothing
tag : NAME EOL => nothing
tag : NAME ';' protocol_items EOL => nothing
tag : NAME '=' NUMBER EOL => nothing
tag : NAME '=' NUMBER ';' protocol_items EOL => nothing
tag : FROM NAME EOL => nothing

record_head : RECORD => nothing
record_head : PACKED RECORD => nothing
record_head : MOBILE RECORD => nothing
field_block : %empty => nothing
field_block : INDENT fields OUTDENT => nothing
fields : field => nothing
fields : fields field => nothing
field : type names ':' EOL => nothing

# ---------------------------------------------------------------- expressions
expression_list : expression => first_of_list
expression_list : expression_list ',' expression => next_of_list

# No precedence: one dyadic operator per bracket level, except chains of AND or of OR. Where a
# line may begin with a declaration or an expression (IF choices, ALT guards, CASE options) the
# expression is a lead_expression, which cannot begin with a type word, MOBILE or '[': those
# begin declarations there.
expression : lead_expression => pass
expression : table_expression => pass
expression : primitive_type operand => conversion
expression : primitive_type ROUND operand => rounded_conversion
expression : NAME named_operand => named_conversion
expression : NAME ROUND operand => named_rounded_conversion
expression : MOBILE '[' expression ']' allocated_type => mobile_allocation
expression : MOBILE NAME => mobile_allocation
expression : MOBILE BARRIER => mobile_allocation
lead_expression : lead_operand => pass
lead_expression : monadic_operator operand => monadic
lead_expression : monadic_operator element direction => monadic
lead_expression : lead_operand dyadic_operator operand => dyadic
lead_expression : and_chain => logical_chain
lead_expression : or_chain => logical_chain
lead_expression : CLONE operand => clone
lead_expression : SIZE operand => size_of
lead_expression : SIZE element direction => size_of
lead_expression : SIZE '[' expression ']' primitive_type => size_of_type
lead_expression : DEFINED operand => defined
table_expression : bracket_table => pass
table_expression : bracket_table dyadic_operator operand => dyadic
allocated_type : data_type => nothing
allocated_type : NAME => nothing
allocated_type : NAME direction => nothing
allocated_type : SHARED NAME direction => nothing
allocated_type : '[' expression ']' allocated_type => nothing
allocated_type : MOBILE allocated_type => nothing
allocated_type : '[' ']' allocated_type => nothing
and_chain : lead_operand AND operand => first_of_chain
and_chain : and_chain AND operand => next_of_chain
or_chain : lead_operand OR operand => first_of_chain
or_chain : or_chain OR operand => next_of_chain

monadic_operator : '-' => pass
monadic_operator : MINUS => pass
monadic_operator : NOT => pass
monadic_operator : '~' => pass
monadic_operator : BITNOT => pass
monadic_operator : USER_OP => pass
monadic_operator : XINPUT => pass

dyadic_operator : '+' => pass
dyadic_operator : '-' => pass
dyadic_operator : '*' => pass
dyadic_operator : '/' => pass
dyadic_operator : '\\' => pass
dyadic_operator : '=' => pass
dyadic_operator : ARITH_WORD => pass
dyadic_operator : MINUS => pass
dyadic_operator : AFTER => pass
dyadic_operator : BIT_OP => pass
dyadic_operator : SHIFT_OP => pass
dyadic_operator : RELATIONAL_OP => pass
dyadic_operator : USER_OP => pass

operand : lead_operand => pass
operand : bracket_table => pass
lead_operand : element => pass
lead_operand : literal => pass
lead_operand : string_table => pass
lead_operand : '(' expression ')' => pass2
lead_operand : call_operand => pass
lead_operand : MOSTPOS most_type => mostpos
lead_operand : MOSTNEG most_type => mostneg
lead_operand : BYTESIN '(' expression ')' => bytesin_expression
lead_operand : BYTESIN '(' primitive_type ')' => bytesin_expression
lead_operand : OFFSETOF '(' NAME ',' NAME ')' => offsetof_expression
lead_operand : valof_operand => pass
most_type : primitive_type => pass
most_type : NAME => named_type
call_operand : NAME '(' ')' => function_call_without_arguments
call_operand : NAME '(' expression_list ')' => function_call
call_operand : call_operand '[' expression ']' => subscript

# The operand of a conversion to a named type (MYINT x): no bracket may begin it, where it would
# read as the type's call or subscript.
named_operand : named_element => pass
named_operand : literal => pass
named_operand : STRING => pass
named_operand : call_operand => pass
named_element : NAME => pass
named_element : named_element '[' expression ']' => subscript

# A VALOF as an operand, in brackets, with declarations before it: (INT r : VALOF ... RESULT r).
# Lines inside the brackets are laid out from the column of the bracket's first token.
valof_operand : '(' valof ')' => pass2
valof_operand : '(' valof_declaratives valof ')' => specified_valof
valof : VALOF EOL INDENT items RESULT expression_list EOL OUTDENT => valof
valof_declaratives : first_valof_declarative => first_item
valof_declaratives : valof_declaratives declaration_item => next_item
first_valof_declarative : primitive_type names ':' EOL => declaration
first_valof_declarative : '[' expression ']' primitive_type names ':' EOL => bracketed_array_declaration
first_valof_declarative : VAL type NAME IS expression ':' EOL => val_abbreviation
first_valof_declarative : VAL NAME IS expression ':' EOL => untyped_val_abbreviation

literal : NUMBER => pass
literal : REAL_NUMBER => real_number
literal : CHARACTER => pass
literal : BOOLEAN => pass
literal : NUMBER '(' type ')' => typed_literal
literal : REAL_NUMBER '(' type ')' => real_number
literal : CHARACTER '(' type ')' => typed_literal

string_table : STRING => pass
string_table : string_table '[' expression ']' => subscript
string_table : string_table '(' NAME ')' => typed_table
bracket_table : '[' expression ']' => single_table
bracket_table : '[' expression ',' expression_list ']' => table_of_several
bracket_table : '[' ']' => empty_table
bracket_table : '[' expression FOR expression '|' expression ']' => constructor
bracket_table : '[' expression FOR expression STEP expression '|' expression ']' => constructor
bracket_table : bracket_table '[' expression ']' => subscript
bracket_table : bracket_table '(' NAME ')' => typed_table

element : NAME => pass
element : element '[' expression ']' => subscript
element : '[' expression FROM expression FOR expression ']' => slice_from_for
element : '[' expression FROM expression ']' => slice_from
element : '[' expression FOR expression ']' => slice_for
element : '[' element direction FROM expression FOR expression ']' => directed_slice_from_for
element : '[' element direction FOR expression ']' => directed_slice_for
