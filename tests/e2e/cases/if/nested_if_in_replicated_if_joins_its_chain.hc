i = 0; i < 2; i = i + 1)
{
a == b)
{
skip;

}  /* if */
else if (c == d)
{
skip;

}  /* if */

##### Error: occam replicated IF not included yet in this vrk version ! #####

