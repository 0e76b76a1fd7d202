par
{
skip;
}  /* par */
