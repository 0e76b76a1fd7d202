

/*  both at once */

par
{


/*  one after another */

{
skip;
stop;
}  /* seq */
skip;
}  /* par */
