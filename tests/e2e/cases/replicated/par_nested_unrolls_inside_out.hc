i = 0;
par
{
j = 0;
par
{
c ! i + j;
}  /* par */
j = 1;
par
{
c ! i + j;
}  /* par */
}  /* par */
i = 1;
par
{
j = 0;
par
{
c ! i + j;
}  /* par */
j = 1;
par
{
c ! i + j;
}  /* par */
}  /* par */
