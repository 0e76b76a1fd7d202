i = 5;
par
{
c ! i;
}  /* par */
