for (k = lo + 1; k < (lo + 1) + (n - 1); k = k + 1)
{
a[k] = 0;
}  /* for */
for (i = - 1; i < (- 1) + (2); i = i + 1)
{
skip;
}  /* for */
for (i = 0; i < n + 1; i = i + 1)
{
stop;
}  /* for */
