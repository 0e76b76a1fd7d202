

##### Error: occam replicated PAR too large to unroll in this vrk version ! #####

i = 2147483646;
par
{
skip;
}  /* par */
i = 2147483647;
par
{
skip;
}  /* par */


##### Error: occam replicated PAR too large to unroll in this vrk version ! #####

