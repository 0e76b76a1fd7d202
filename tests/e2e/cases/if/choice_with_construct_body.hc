if (x > 0)
{
y = x;
c ! y;

}  /* if */
else if (TRUE)
{
skip;

}  /* if */