i = 0; i < 2; i = i + 1)
{
c ? x:
skip;


##### Error: occam replicated ALT not included yet in this vrk version ! #####

