par
{
{
skipstop;
}  /* seq */
}  /* par */
