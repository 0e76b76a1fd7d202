$$$$$i = 0; i < j = 0;
par
{
skip;
}  /* par */
j = 1;
par
{
skip;
}  /* par */
