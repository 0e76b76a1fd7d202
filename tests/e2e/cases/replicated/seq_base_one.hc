for (i = 1; i < (1) + (3); i = i + 1)
{
c ! i;
}  /* for */
