i = 0;
par
{


/*  worker */

{
skip;
}  /* seq */
}  /* par */
i = 1;
par
{


/*  worker */

{
skip;
}  /* seq */
}  /* par */
