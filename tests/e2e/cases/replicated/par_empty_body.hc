i = 0;
par
{
}  /* par */
i = 1;
par
{
}  /* par */
