if (a)
{
skip;

}  /* if */
else if (b)
{
stop;

}  /* if */
else if (TRUE)
{
x = 0;

}  /* if */