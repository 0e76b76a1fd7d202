while (b)
{
skip;

}  /* while */
