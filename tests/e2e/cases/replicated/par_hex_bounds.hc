i = 14;
par
{
c ! i;
}  /* par */
i = 15;
par
{
c ! i;
}  /* par */
