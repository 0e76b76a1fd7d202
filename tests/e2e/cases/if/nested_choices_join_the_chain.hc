if (a)
{
skip;

}  /* if */
else if (b)
{
stop;

}  /* if */
else if (c)
{
skip;

}  /* if */
else if (TRUE)
{
stop;

}  /* if */