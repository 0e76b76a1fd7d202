i = 0;
par
{
c ! 5;
}  /* par */
i = 1;
par
{
c ! 5;
}  /* par */
