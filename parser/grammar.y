# vrk grammar: the occam subset accepted by the translator.
#
# This file is the single source of the parse tables, the token codes, the
# keyword table and the dispatch of the translation actions: vrk-lalrgen reads
# it at build time and writes three headers into the build tree (tables,
# tokens, actions).
#
# Notation
#   %token NAME CODE     a named token and the code the scanner delivers for it
#   %keyword WORD [TOK]  a word the scanner turns into token TOK (default: WORD)
#   %start NAME          the start symbol; rule 0 is always  $accept : start $end
#   %namespace NS        the C++ namespace of the generated code
#   %expect-rr N         the grammar has exactly N reduce-reduce conflicts
#                        (each resolved for the lower rule); otherwise no output
#   %action-context T H  the actions take a T&, declared in header H
#   %core-limit N        rule numbers above N belong to translator extensions
#   %unused A-B          rule numbers that deliberately have no production
#   N  lhs : a b c       production number N, one per line, in rule-number order
#   ... => name          the production's action is the function `name`
#   %empty               an empty right side
#   'c'                  a single-character token, its code is the character
#   {n name}             an embedded action: a nonterminal of its own with one
#                        empty production, rule n, whose action is `name`
#   {ext n name}         an EXTENSION embedded action (n above the core limit);
#                        vrk-lalrgen --core builds the grammar without them
#   # ...                comment
#
# An embedded action of the core grammar is numbered just before the
# production that contains it. Terminal order, which decides ties between
# default reductions, is: end of input, error, the named tokens by code,
# then the character tokens in order of first appearance below.
#
# The three reduce-reduce conflicts, all resolved for the lower rule:
#   NAME at the start of a process, lookahead '[':  rule 147 over 150
#   type NAME, lookahead ':' or ',':                rule 90 over 149
#   NAME at the start of an ALT guard, '[':         rule 150 over 195

%start program
%core-limit 205
%namespace vrk
%expect-rr 3
%action-context ActionContext parser/action_context.h

%token error 256
%token INT 257
%token CHAN 258
%token ANY 259
%token WAIT 260
%token SKIP 261
%token NAME 262
%token EOL 263
%token VALUE 264          # no production uses it
%token BYTEA 265
%token DEF 266            # no production uses it
%token PROC 267           # no production uses it
%token NOT 268
%token NUMBER 269
%token BOOLEAN 270
%token NOW 271
%token TABLE 272
%token LOGICAL_OP 273
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
%token TYPE_COMMA 287     # no production uses it
%token BOOL 288
%token BYTE 289
%token REAL32 290
%token REAL64 291
%token STOP 292
%token TYPE_293 293       # never produced by the scanner
%token OF 294
%token TYPE_295 295       # never produced by the scanner
%token TYPE_296 296       # never produced by the scanner
%token TYPE_297 297       # never produced by the scanner
%token TYPE_298 298       # never produced by the scanner
%token CASE 299
%token ELSE 300

# The keyword table, in lookup order. TRUE is no keyword: it is scanned as a
# NAME, whose action declares the boolean constants.
%keyword AFTER RELATIONAL_OP
%keyword ALT
%keyword AND LOGICAL_OP
%keyword ANY
%keyword BYTEA
%keyword CHAN
%keyword OF
%keyword DEF
%keyword FALSE BOOLEAN
%keyword FOR
%keyword IF
%keyword NOT
%keyword NOW
%keyword OR LOGICAL_OP
%keyword PAR
%keyword PROC
%keyword SEQ
%keyword SKIP
%keyword STOP
%keyword TABLE
%keyword VALUE
%keyword INT
%keyword BOOL
%keyword BYTE
%keyword REAL32
%keyword REAL64
%keyword WAIT
%keyword WHILE
%keyword CASE
%keyword ELSE

# ---------------------------------------------------------------- program and process
1    program : eols process
3    program : {2 start_program} process
4    process : primitive_process eols => end_primitive_process
6    process : NAME {5 call_name} eols => end_call_without_arguments
8    process : NAME '(' {7 open_call_arguments} actual_list ')' eols => end_call_with_arguments
9    process : construct
11   process : declaration {10 end_declaration} eols process
12   process : error eols => recover_from_error

# ---------------------------------------------------------------- primitive processes
13   primitive_process : assignment
14   primitive_process : input
15   primitive_process : output
16   primitive_process : delay
17   primitive_process : skip_process
18   primitive_process : stop_process

# ---------------------------------------------------------------- SEQ and PAR
19   construct : SEQ eols INDENT process_list OUTDENT => close_seq
21   construct : SEQ {20 open_replicated_seq} replicator eols INDENT process OUTDENT => close_replicated_seq
22   construct : SEQ eols
24   construct : PAR eols INDENT {23 open_par_body} process_list OUTDENT => close_par
27   construct : PAR {25 mark_replicated_par_start} replicator eols INDENT {26 mark_replicated_par_body} process OUTDENT => close_replicated_par
28   construct : PAR eols

# ---------------------------------------------------------------- IF, ALT, WHILE, CASE
30   construct : IF eols INDENT {29 open_if} choice_list OUTDENT => close_if
31   construct : IF replicator eols INDENT choice OUTDENT => close_replicated_if
32   construct : IF eols
34   construct : ALT eols INDENT {33 open_alt} alternative_list OUTDENT => close_alt
35   construct : ALT replicator eols INDENT alternative OUTDENT => close_replicated_alt
36   construct : ALT eols
40   construct : WHILE {37 open_while} expression eols {38 end_while_condition} INDENT {39 open_while_body} process OUTDENT => close_while
43   construct : CASE {41 open_case} expression {42 end_case_selector} eols case_body => close_case
44   case_body : %empty
45   case_body : INDENT case_options case_tail
46   case_tail : OUTDENT
49   case_tail : ELSE eols {47 open_case_default} INDENT process {48 close_case_block} OUTDENT OUTDENT

# ---------------------------------------------------------------- lists
50   eols : EOL
51   eols : eols EOL
52   process_list : process
53   process_list : process_list process
54   choice_list : choice
55   choice_list : choice_list choice
56   alternative_list : alternative => end_alternative
57   alternative_list : alternative_list alternative => end_alternative

# ---------------------------------------------------------------- CASE options
60   case_options : expression eols {58 open_case_option} INDENT process {59 close_case_block} OUTDENT
63   case_options : case_options expression eols {61 open_case_option} INDENT process {62 close_further_case_option} OUTDENT

# ---------------------------------------------------------------- replicator
66   replicator : NAME {64 begin_replicator} '=' replicator_base FOR {65 begin_replicator_count} replicator_count => complete_replicator
67   replicator_base : expression => end_replicator_base
68   replicator_count : expression => end_replicator_count

# ---------------------------------------------------------------- IF choices
70   choice : expression eols INDENT {69 open_choice_process} process OUTDENT => close_choice
71   choice : IF eols
72   choice : IF eols INDENT choice_list OUTDENT
73   choice : IF replicator eols INDENT choice OUTDENT => close_replicated_if

# ---------------------------------------------------------------- ALT alternatives and guards
74   alternative : guard eols INDENT process OUTDENT
75   alternative : ALT eols
76   alternative : ALT eols INDENT alternative_list OUTDENT
77   alternative : ALT replicator eols INDENT alternative OUTDENT => close_replicated_alt
79   guard : expression '&' {78 mark_guard_condition} input => end_guarded_input_or_delay
80   guard : input => end_plain_input_or_delay_guard
82   guard : expression '&' {81 mark_guard_condition} delay => end_guarded_input_or_delay
83   guard : delay => end_plain_input_or_delay_guard
85   guard : expression '&' {84 mark_guard_condition} SKIP => end_skip_guard
86   guard : SKIP => end_skip_guard

# ---------------------------------------------------------------- declarations and types
88   declaration : type name_list {87 end_name_list} ':'
89   declaration : type element_list ':'
90   name_list : NAME => declared_name
92   name_list : name_list {91 separate_names} list_separator NAME => declared_name
93   type : primitive_type
94   type : array_type
95   primitive_type : TYPE_293 OF type
97   primitive_type : CHAN OF {96 open_channel_type} type => close_channel_type
98   primitive_type : TYPE_295
99   primitive_type : BOOL => integer_type_word
100  primitive_type : BYTE => integer_type_word
101  primitive_type : INT => integer_type_word
102  primitive_type : TYPE_296 => integer_type_word
103  primitive_type : TYPE_297 => integer_type_word
104  primitive_type : TYPE_298 => integer_type_word
105  primitive_type : REAL32 => floating_point_type
106  primitive_type : REAL64 => floating_point_type
108  array_type : '[' {107 open_array_type} expression ']' type
109  list_separator : ',' EOL
110  list_separator : ','

# ---------------------------------------------------------------- primitive process forms
112  assignment : variable {111 assignment_operator} ':' '=' expression
114  input : element '?' {113 input_operator} input_list
116  input : element '?' {115 input_operator} ANY => any_item
118  output : element '!' {117 output_operator} output_list
120  output : element '!' {119 output_operator} ANY => any_item
122  delay : WAIT {121 delay_keyword} expression
123  skip_process : SKIP => skip_process
124  stop_process : STOP => stop_process
125  input_list : variable
127  input_list : input_list ';' {126 protocol_separator} variable => protocol_item_banner
128  output_list : expression
130  output_list : output_list ';' {129 protocol_separator} expression => protocol_item_banner
131  actual_list : expression
133  actual_list : actual_list ',' {132 argument_separator} expression

%unused 134-136

137  element_list : element
139  element_list : element_list {138 separate_names} ',' element

%unused 140-145

# ---------------------------------------------------------------- variables, elements, subscripts
146  variable : NAME => variable_name
148  variable : NAME {147 variable_name} subscript
149  element : NAME => element_name
152  element : NAME {150 element_name} '[' {151 open_element_subscript} expression ']' => close_element_subscript

%unused 153-156

158  subscript : '[' {157 open_subscript} expression ']' => close_subscript

%unused 159-169

# ---------------------------------------------------------------- expressions
170  expression : monadic_operator operand
171  expression : operand dyadic_operator operand
172  expression : operand_chain
173  operand_chain : operand
174  operand_chain : operand_chain associative_operator operand
175  monadic_operator : '-' => monadic_operator
176  monadic_operator : NOT => monadic_operator
177  operand : NUMBER => number_operand
178  operand : BOOLEAN => boolean_operand
179  operand : NOW => copy_current_token_text
180  operand : CHARACTER => character_operand
182  operand : '(' {181 open_parenthesis} expression ')' => close_parenthesis
183  operand : element_operand
184  dyadic_operator : arithmetic_operator
185  dyadic_operator : RELATIONAL_OP => copy_current_token_text
186  dyadic_operator : '=' => equals_operator
187  dyadic_operator : SHIFT_OP => copy_current_token_text
188  associative_operator : '+' => spaced_operator
189  associative_operator : '*' => spaced_operator
190  associative_operator : BIT_OP => spaced_operator
191  associative_operator : LOGICAL_OP => spaced_operator
192  arithmetic_operator : '-' => spaced_operator
193  arithmetic_operator : '/' => spaced_operator
194  arithmetic_operator : '\\' => spaced_operator
195  name_operand : NAME => name_operand
196  element_operand : name_operand
197  element_operand : name_operand subscript
198  element_operand : table_operand subscript
199  table_operand : string_literal
200  table_operand : TABLE '[' BYTEA expression_list ']'
201  table_operand : TABLE '[' expression_list ']'
202  string_literal : STRING => copy_current_token_text
203  string_literal : string_literal eols STRING => copy_current_token_text
204  expression_list : expression
205  expression_list : expression_list ',' expression
