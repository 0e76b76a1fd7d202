par
{
{
a ! 1;
b ! 2;
}  /* seq */
c ! 3;
}  /* par */
