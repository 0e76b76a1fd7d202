par
{
skip;
skip;
}  /* par */
