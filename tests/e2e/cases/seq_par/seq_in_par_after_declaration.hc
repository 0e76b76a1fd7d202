par
{
int x;

{
x = 1;
c ! x;
}  /* seq */
skip;
}  /* par */
