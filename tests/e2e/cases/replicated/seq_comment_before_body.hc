for (i = 0; i < 2; i = i + 1)
{


/*  each slot */

skip;
}  /* for */
