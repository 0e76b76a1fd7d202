if (b)
{
skip;

}  /* if */