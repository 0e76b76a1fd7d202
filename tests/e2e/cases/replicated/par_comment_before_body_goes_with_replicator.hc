i = 0;
par
{
skip;
}  /* par */
i = 1;
par
{
skip;
}  /* par */
