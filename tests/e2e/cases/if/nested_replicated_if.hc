if (a)
{
skip;

}  /* if */i = 0; i < 2; i = i + 1)
{

else if (b[i])
{
stop;

}  /* if */

##### Error: occam replicated IF not included yet in this vrk version ! #####

