prialt
{

c ? x:


/*  got a value */

skip;

}  /* prialt */
