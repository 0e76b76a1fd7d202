par
{
{
skip;
stop;
skip;
}  /* seq */
}  /* par */
