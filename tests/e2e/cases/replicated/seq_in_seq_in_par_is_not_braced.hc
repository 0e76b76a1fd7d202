par
{
for (i = 0; i < 2; i = i + 1)
{
skip;
stop;
}  /* for */
}  /* par */
