

##### Error: occam replicated PAR too large to unroll in this vrk version ! #####

skip;


##### Error: occam replicated PAR too large to unroll in this vrk version ! #####

