if (a)
{
skip;

}  /* if */
else if (b