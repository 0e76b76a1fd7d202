par
{
par
{
skip;
}  /* par */
stop;
}  /* par */
