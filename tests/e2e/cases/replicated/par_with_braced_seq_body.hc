w = 0;
par
{
int v;

{
in ? v;
out ! v;
}  /* seq */
}  /* par */
w = 1;
par
{
int v;

{
in ? v;
out ! v;
}  /* seq */
}  /* par */
