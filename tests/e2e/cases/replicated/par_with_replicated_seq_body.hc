i = 0;
par
{
for (j = 0; j < 3; j = j + 1)
{
c ! j;
}  /* for */
}  /* par */
i = 1;
par
{
for (j = 0; j < 3; j = j + 1)
{
c ! j;
}  /* for */
}  /* par */
