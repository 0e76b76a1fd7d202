# vrk grammar: the occam subset accepted by the translator.
#
# This file is the single source of the parse tables: vrk-lalrgen reads it
# at build time and writes the tables header into the build tree.
#
# Notation
#   %token NAME CODE     a named token and the code the scanner delivers for it
#   %start NAME          the start symbol; rule 0 is always  $accept : start $end
#   %core-limit N        rule numbers above N belong to translator extensions
#   %unused A-B          rule numbers that deliberately have no production
#   N  lhs : a b c       production number N, one per line, in rule-number order
#   %empty               an empty right side
#   'c'                  a single-character token, its code is the character
#   {n}                  an embedded action: a nonterminal of its own with one
#                        empty production, rule n; actions are dispatched by n
#   {ext n}              an EXTENSION embedded action (n above the core limit);
#                        vrk-lalrgen --core builds the grammar without them
#   # ...                comment
#
# An embedded action of the core grammar is numbered just before the
# production that contains it. Terminal order, which decides ties between
# default reductions, is: end of input, error, the named tokens by code,
# then the character tokens in order of first appearance below.

%start program
%core-limit 205

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

# ---------------------------------------------------------------- program and process
1    program : eols process
3    program : {2} process
4    process : primitive_process eols
6    process : NAME {5} eols
8    process : NAME '(' {7} actual_list ')' eols
9    process : construct
11   process : declaration {10} eols process
12   process : error eols

# ---------------------------------------------------------------- primitive processes
13   primitive_process : assignment
14   primitive_process : input
15   primitive_process : output
16   primitive_process : delay
17   primitive_process : skip_process
18   primitive_process : stop_process

# ---------------------------------------------------------------- SEQ and PAR
19   construct : SEQ eols INDENT process_list OUTDENT
21   construct : SEQ {20} replicator eols INDENT process OUTDENT
22   construct : SEQ eols
24   construct : PAR eols INDENT {23} process_list OUTDENT
27   construct : PAR {25} replicator eols INDENT {26} process OUTDENT
28   construct : PAR eols

# ---------------------------------------------------------------- IF, ALT, WHILE, CASE
30   construct : IF eols INDENT {29} choice_list OUTDENT
31   construct : IF replicator eols INDENT choice OUTDENT
32   construct : IF eols
34   construct : ALT eols INDENT {33} alternative_list OUTDENT
35   construct : ALT replicator eols INDENT alternative OUTDENT
36   construct : ALT eols
40   construct : WHILE {37} expression eols {38} INDENT {39} process OUTDENT
43   construct : CASE {41} expression {42} eols case_body
44   case_body : %empty
45   case_body : INDENT case_options case_tail
46   case_tail : OUTDENT
49   case_tail : ELSE eols {47} INDENT process {48} OUTDENT OUTDENT

# ---------------------------------------------------------------- lists
50   eols : EOL
51   eols : eols EOL
52   process_list : process
53   process_list : process_list process
54   choice_list : choice
55   choice_list : choice_list choice
56   alternative_list : alternative
57   alternative_list : alternative_list alternative

# ---------------------------------------------------------------- CASE options
60   case_options : expression eols {58} INDENT process {59} OUTDENT
63   case_options : case_options expression eols {61} INDENT process {62} OUTDENT

# ---------------------------------------------------------------- replicator
66   replicator : NAME {64} '=' replicator_base FOR {65} replicator_count
67   replicator_base : expression
68   replicator_count : expression

# ---------------------------------------------------------------- IF choices
70   choice : expression eols INDENT {69} process OUTDENT
71   choice : IF eols
72   choice : IF eols INDENT choice_list OUTDENT
73   choice : IF replicator eols INDENT choice OUTDENT

# ---------------------------------------------------------------- ALT alternatives and guards
74   alternative : guard eols INDENT process OUTDENT
75   alternative : ALT eols
76   alternative : ALT eols INDENT alternative_list OUTDENT
77   alternative : ALT replicator eols INDENT alternative OUTDENT
79   guard : expression '&' {78} input
80   guard : input
82   guard : expression '&' {81} delay
83   guard : delay
85   guard : expression '&' {84} SKIP
86   guard : SKIP

# ---------------------------------------------------------------- declarations and types
88   declaration : type name_list {87} ':'
89   declaration : type element_list ':'
90   name_list : NAME
92   name_list : name_list {91} list_separator NAME
93   type : primitive_type
94   type : array_type
95   primitive_type : TYPE_293 OF type
97   primitive_type : CHAN OF {96} type
98   primitive_type : TYPE_295
99   primitive_type : BOOL
100  primitive_type : BYTE
101  primitive_type : INT
102  primitive_type : TYPE_296
103  primitive_type : TYPE_297
104  primitive_type : TYPE_298
105  primitive_type : REAL32
106  primitive_type : REAL64
108  array_type : '[' {107} expression ']' type
109  list_separator : ',' EOL
110  list_separator : ','

# ---------------------------------------------------------------- primitive process forms
112  assignment : variable {111} ':' '=' expression
114  input : element '?' {113} input_list
116  input : element '?' {115} ANY
118  output : element '!' {117} output_list
120  output : element '!' {119} ANY
122  delay : WAIT {121} expression
123  skip_process : SKIP
124  stop_process : STOP
125  input_list : variable
127  input_list : input_list ';' {126} variable
128  output_list : expression
130  output_list : output_list ';' {129} expression
131  actual_list : expression
133  actual_list : actual_list ',' {132} expression

%unused 134-136

137  element_list : element
139  element_list : element_list {138} ',' element

%unused 140-145

# ---------------------------------------------------------------- variables, elements, subscripts
146  variable : NAME
148  variable : NAME {147} subscript
149  element : NAME
152  element : NAME {150} '[' {151} expression ']'

%unused 153-156

158  subscript : '[' {157} expression ']'

%unused 159-169

# ---------------------------------------------------------------- expressions
170  expression : monadic_operator operand
171  expression : operand dyadic_operator operand
172  expression : operand_chain
173  operand_chain : operand
174  operand_chain : operand_chain associative_operator operand
175  monadic_operator : '-'
176  monadic_operator : NOT
177  operand : NUMBER
178  operand : BOOLEAN
179  operand : NOW
180  operand : CHARACTER
182  operand : '(' {181} expression ')'
183  operand : element_operand
184  dyadic_operator : arithmetic_operator
185  dyadic_operator : RELATIONAL_OP
186  dyadic_operator : '='
187  dyadic_operator : SHIFT_OP
188  associative_operator : '+'
189  associative_operator : '*'
190  associative_operator : BIT_OP
191  associative_operator : LOGICAL_OP
192  arithmetic_operator : '-'
193  arithmetic_operator : '/'
194  arithmetic_operator : '\\'
195  name_operand : NAME
196  element_operand : name_operand
197  element_operand : name_operand subscript
198  element_operand : table_operand subscript
199  table_operand : string_literal
200  table_operand : TABLE '[' BYTEA expression_list ']'
201  table_operand : TABLE '[' expression_list ']'
202  string_literal : STRING
203  string_literal : string_literal eols STRING
204  expression_list : expression
205  expression_list : expression_list ',' expression
