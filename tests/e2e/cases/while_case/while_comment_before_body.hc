while (n < 10

/*  count up */

)
{
n = n + 1;

}  /* while */
