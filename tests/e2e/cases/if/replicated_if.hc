i = 0; i < 3; i = i + 1)
{
a[i])
{
skip;

}  /* if */

##### Error: occam replicated IF not included yet in this vrk version ! #####

