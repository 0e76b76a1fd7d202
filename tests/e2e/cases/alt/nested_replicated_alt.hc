prialt
{

c ? x:
skip;

i = 0; i < 2; i = i + 1)
{
d ? y:
stop;


##### Error: occam replicated ALT not included yet in this vrk version ! #####


}  /* prialt */
