

##### Error: variables are not allowed in occam replicated PAR ! #####

skip;


##### Error: variables are not allowed in occam replicated PAR ! #####

skip;


##### Error: variables are not allowed in occam replicated PAR ! #####

skip;


##### Error: variables are not allowed in occam replicated PAR ! #####

