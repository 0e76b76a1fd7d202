i = -2;
par
{
c ! i;
}  /* par */
i = -1;
par
{
c ! i;
}  /* par */
i = 0;
par
{
c ! i;
}  /* par */
