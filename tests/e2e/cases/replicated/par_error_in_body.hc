i = 0;
par
{
x = }  /* par */
i = 1;
par
{
x = }  /* par */
j = 0;
par
{
skip;
}  /* par */
j = 1;
par
{
skip;
}  /* par */
